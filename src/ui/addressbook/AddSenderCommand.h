// "Add Sender to Address Book", shared by the mailbox window and the reader.
#pragma once

#include "app/Session.h"

#include <cstdint>

class QWidget;

namespace kesto::ui {

// Adds the correspondent of message `messageNumber` of the shown mailbox to the
// current user's address book, telling the user when it is already there.
void AddSenderToAddressBook(QWidget* parent, Session& s, kesto::RecordNo messageNumber);

} // namespace kesto::ui
