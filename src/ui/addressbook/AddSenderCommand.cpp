#include "addressbook/AddSenderCommand.h"

#include "AddressBook.h"
#include "addressbook/frmAddToAddressBook.h"
#include "app/Dialogs.h"

namespace kesto::ui {

void AddSenderToAddressBook(QWidget* parent, Session& s, std::int16_t messageNumber) {
    const QString title = QStringLiteral("Kesto - Address Book");
    if (kesto::IsInAddressBook(s.board, s.CurrentUserNumber, s.CurrentMailbox, messageNumber)) {
        dialogs().message(parent, Dialogs::Icon::Information, title,
                          QStringLiteral("This user is already in the address book."));
        return;
    }
    const std::int16_t previous = s.CurrentMessageNumber;
    s.CurrentMessageNumber = messageNumber;
    s.DialogMode.clear();
    {
        frmAddToAddressBook dlg(s, parent);
        dlg.exec();
    }
    if (!s.DialogMode.empty()) {
        (void)kesto::AddToAddressBook(s.board, s.CurrentUserNumber, s.DialogMode); // a failure is logged
        dialogs().message(parent, Dialogs::Icon::Information, title,
                          QStringLiteral("This user has been added."));
    }
    s.CurrentMessageNumber = previous;
    s.DialogMode.clear();
}

} // namespace kesto::ui
