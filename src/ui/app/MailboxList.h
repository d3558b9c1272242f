// What the reader and the composer need from the mailbox window's list: its
// rows in their current (sorted) order. frmMain implements it; tests fake it.
#pragma once

#include "Board.h"

namespace kesto::ui {

class MailboxList {
  public:
    virtual ~MailboxList() = default;
    // Number of rows shown.
    virtual int GetRowCount() const = 0;
    // Record number in the "#" column of 1-based row `position` (0 when out of range).
    virtual kesto::RecordNo GetMessageNumberAt(int position) const = 0;
};

} // namespace kesto::ui
