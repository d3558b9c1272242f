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
    lblAddressValue_ = MakeLabel(fra, "lblAddressValue", QString());
    DescriptionValue_ = new QLineEdit(fra);
    DescriptionValue_->setObjectName(QStringLiteral("DescriptionValue"));
    DescriptionValue_->setValidator(new EntryFieldFilter(EntryFieldFilter::Kind::Text, DescriptionValue_));
    auto* lblDescription = MakeLabel(fra, "lblDescription", QStringLiteral("Description:"));
    lblDescription->setBuddy(DescriptionValue_);
    lblAddressValue_->setAccessibleName(QStringLiteral("Address"));
    DescriptionValue_->setAccessibleName(QStringLiteral("Description"));
    auto* form = new QFormLayout(fra);
    form->addRow(MakeLabel(fra, "lblAddress", QStringLiteral("Address:")), lblAddressValue_);
    form->addRow(lblDescription, DescriptionValue_);

    const DialogButtons buttons = AddDialogButtons(this, fra);
    cmdOk_ = buttons.ok;
    cmdCancel_ = buttons.cancel;

    connect(cmdOk_, &QPushButton::clicked, this, &frmAddToAddressBook::cmdOk_Click);
    connect(cmdCancel_, &QPushButton::clicked, this, &frmAddToAddressBook::cmdCancel_Click);

    // Without a message there is no correspondent to propose.
    failed_ = messageNumber < 1;
    if (!failed_) {
        kesto::Result<kesto::MessageInfo> read =
            kesto::GetMessageInfo(s_.board, kesto::MailboxName(s_.CurrentMailbox), messageNumber);
        failed_ = !read;
        message_ = std::move(read).value_or(kesto::EmptyMessageInfo());
    }
    const QString address = FromBoard(kesto::CorrespondentAddress(message_, s_.CurrentMailbox));
    lblAddressValue_->setText(address);
    EntryFieldFilter::SetStoredText(DescriptionValue_, address);
    DescriptionValue_->selectAll();
    DescriptionValue_->setFocus();
    KeepOnScreen(this);
}

void frmAddToAddressBook::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    // Leave at once without an entry, so the caller adds nothing.
    if (failed_) QTimer::singleShot(0, this, [this] { QDialog::done(QDialog::Rejected); });
}

std::optional<std::string> frmAddToAddressBook::proposeEntry() {
    entry_.reset();
    exec();
    return entry_;
}

void frmAddToAddressBook::cmdOk_Click() {
    if (failed_) return;
    const bool received = s_.CurrentMailbox == kesto::Mailbox::Received;
    entry_ = kesto::AddressBookEntryLine(ToBoard(DescriptionValue_->text()),
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
