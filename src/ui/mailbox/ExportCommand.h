// File › Export: the rows the main window shows, written as an mbox file.
#pragma once

#include "Board.h"

#include <vector>

class QWidget;

namespace kesto::ui {

struct Session;

// Asks for a file and writes messages `numbers` of the current mailbox to it as an
// mbox, the oldest first, with a progress dialog whose Cancel leaves no file. True
// when the file was written.
bool ExportMailbox(QWidget* parent, Session& s, std::vector<kesto::RecordNo> numbers);

} // namespace kesto::ui
