// Entry points into the composer for the other windows.
#pragma once

#include "app/Session.h"

class QWidget;

namespace kesto::ui {

// The reader asked for a reply (ReplyMode set, CurrentMessageNumber the message):
// shows the composer; a sent reply only clears MessageSent, the caller refreshes its rows.
void ReplyAfterReading(QWidget* parent, Session& s);

} // namespace kesto::ui
