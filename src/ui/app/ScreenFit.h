// Keeping windows reachable on the screen they open on: a saved placement mostly
// off it comes back onto it, and a dialog taller or wider than it scrolls.
#pragma once

#include <QRect>

class QDialog;

namespace kesto::ui {

// `frame` (the window's outer rectangle) as it should open within `available`: as it
// is when at least half of it lies there, otherwise no larger than `available` and
// moved just far enough to lie wholly inside it.
QRect OntoScreen(const QRect& frame, const QRect& available);

// Each time `dialog` is shown: when its layout needs more room than the screen
// offers, its contents move into a scroll area (objectNames and layouts unchanged);
// then the dialog is made to fit the screen and brought onto it.
void KeepOnScreen(QDialog* dialog);

} // namespace kesto::ui
