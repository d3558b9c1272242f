#include "addressbook/frmAddToAddressBook.h"
#include "app/BoardText.h"
#include "app/DialogButtons.h"
#include "app/ScreenFit.h"

#include "AddressBook.h"
#include "TextHelpers.h"
#include "Cp1252.h"
#include "MailBase.h"
#include "addressbook/EntryFieldFilter.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace kesto::ui {
namespace {

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    // The address comes from the message: shown as it is, never as markup.
    l->setTextFormat(Qt::PlainText);
    return l;
}

} // namespace

frmAddToAddressBook::frmAddToAddressBook(Session& s, kesto::RecordNo messageNumber, QWidget* parent)
    : QDialog(parent), s_(s), message_(kesto::EmptyMessageInfo()) {
    setObjectName(QStringLiteral("frmAddToAddressBook"));
    setWindowTitle(QStringLiteral("Kesto - Add Address Book Entry"));
    setModal(true);

    auto* fra = new QGroupBox(QStringLiteral("New Address Book Entry"), this);
    fra->setObjectName(QStringLiteral("fraAddressBook"));
    lblAddressValue = MakeLabel(fra, "lblAddressValue", QString());
    DescriptionValue = new QLineEdit(fra);
    DescriptionValue->setObjectName(QStringLiteral("DescriptionValue"));
    DescriptionValue->setValidator(new EntryFieldFilter(EntryFieldFilter::Kind::Text, DescriptionValue));
    auto* lblDescription = MakeLabel(fra, "lblDescription", QStringLiteral("Description:"));
    lblDescription->setBuddy(DescriptionValue);
    lblAddressValue->setAccessibleName(QStringLiteral("Address"));
    DescriptionValue->setAccessibleName(QStringLiteral("Description"));
    auto* form = new QFormLayout(fra);
    form->addRow(MakeLabel(fra, "lblAddress", QStringLiteral("Address:")), lblAddressValue);
    form->addRow(lblDescription, DescriptionValue);

    const DialogButtons buttons = AddDialogButtons(this, fra);
    cmdOk = buttons.ok;
    cmdCancel = buttons.cancel;

    connect(cmdOk, &QPushButton::clicked, this, &frmAddToAddressBook::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmAddToAddressBook::cmdCancel_Click);

    // Without a message there is no correspondent to propose.
    failed_ = messageNumber < 1;
    if (!failed_) {
        kesto::Result<kesto::MessageInfo> read =
            kesto::GetMessageInfo(s_.board, kesto::MailboxName(s_.CurrentMailbox), messageNumber);
        failed_ = !read;
        message_ = std::move(read).value_or(kesto::EmptyMessageInfo());
    }
    const QString address = FromBoard(kesto::CorrespondentAddress(message_, s_.CurrentMailbox));
    lblAddressValue->setText(address);
    EntryFieldFilter::SetStoredText(DescriptionValue, address);
    DescriptionValue->selectAll();
    DescriptionValue->setFocus();
    KeepOnScreen(this);
}

void frmAddToAddressBook::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    // Leave at once without an entry, so the caller adds nothing.
    if (failed_) QTimer::singleShot(0, this, [this] { QDialog::done(QDialog::Rejected); });
}

std::optional<std::string> frmAddToAddressBook::ProposeEntry() {
    entry_.reset();
    exec();
    return entry_;
}

void frmAddToAddressBook::cmdOk_Click() {
    if (failed_) return;
    const bool received = s_.CurrentMailbox == kesto::Mailbox::Received;
    entry_ = kesto::AddressBookEntryLine(ToBoard(DescriptionValue->text()),
                                         received ? message_.FromHandle : message_.ToHandle,
                                         received ? message_.FromNetNode : message_.ToNetNode,
                                         received ? message_.FromNetId : message_.ToNetId);
    accept();
}

void frmAddToAddressBook::cmdCancel_Click() {
    reject();
}

void frmAddToAddressBook::reject() {
    entry_.reset();
    QDialog::reject();
}

} // namespace kesto::ui
