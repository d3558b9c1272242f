#include "addressbook/AddSenderCommand.h"

#include "AddressBook.h"
#include "addressbook/frmAddToAddressBook.h"
#include "app/Dialogs.h"

namespace kesto::ui {

void AddSenderToAddressBook(QWidget* parent, Session& s, kesto::RecordNo messageNumber) {
    const QString title = QStringLiteral("Kesto - Address Book");
    if (kesto::IsInAddressBook(s.board, s.CurrentUserNumber, s.CurrentMailbox, messageNumber)) {
        GetDialogs().ShowMessage(parent, Dialogs::Icon::Information, title,
                                 QStringLiteral("This user is already in the address book."));
        return;
    }
    std::optional<std::string> entry;
    {
        frmAddToAddressBook dlg(s, messageNumber, parent);
        entry = dlg.ProposeEntry();
    }
    if (!entry) return;
    (void)kesto::AddToAddressBook(s.board, s.CurrentUserNumber, *entry); // a failure is logged
    GetDialogs().ShowMessage(parent, Dialogs::Icon::Information, title,
                             QStringLiteral("This user has been added."));
}

} // namespace kesto::ui
