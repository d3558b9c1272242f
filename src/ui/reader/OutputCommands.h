// Printing and saving a message of the current mailbox, shared by the reader
// and the mailbox window. The dialogs go through kesto::ui::GetDialogs().
#pragma once

#include "Board.h"

class QPainter;
class QPagedPaintDevice;
class QWidget;

namespace kesto {
struct MessageOutput;
}

namespace kesto::ui {

struct Session;

// Asks for a printer and prints message `number`; true when it went to the printer.
bool PrintMessage(QWidget* parent, Session& s, kesto::RecordNo number);
// Asks for a file and writes the message as text; true when the file was written.
bool SaveMessage(QWidget* parent, Session& s, kesto::RecordNo number);
// Puts the process's current directory back to the board's main directory,
// which a file dialog may have changed.
void ResetCommonDialog(Session& s);

// Lays out the pages on a painter already begun on `device` (millimetre layout,
// footer, title, bar, header on the first page). Returns the number of pages.
int PaintMessagePages(QPainter& painter, QPagedPaintDevice& device, const kesto::MessageOutput& out);

} // namespace kesto::ui
