// Entry points into the composer for the other windows.
#pragma once

#include "app/Session.h"

#include <cstdint>

class QWidget;

namespace kesto::ui {

// The reader asked for a reply to message `messageNumber` of the shown mailbox:
// shows the composer for it. The caller refreshes its rows, sent or not.
void ReplyAfterReading(QWidget* parent, Session& s, kesto::RecordNo messageNumber);

} // namespace kesto::ui
