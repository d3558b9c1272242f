#include "addressbook/frmAddressBookEdit.h"
#include "app/BoardText.h"
#include "app/DialogButtons.h"
#include "app/ScreenFit.h"

#include "FileHelpers.h"
#include "TextHelpers.h"
#include "Cp1252.h"
#include "addressbook/EntryFieldFilter.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <cmath>
#include <cstdio>

namespace kesto::ui {
namespace {

// The numeric value of a stored network id as the user should see it: "007" is 7,
// "12abc" is 12, an empty id 0.
QString NumberText(const std::string& text) {
    const double v = kesto::NumericValue(text);
    if (!std::isfinite(v)) return QStringLiteral("0");
    // Plain digits only, never an exponent: the field's filter would mangle one.
    char buf[400];
    std::snprintf(buf, sizeof buf, v == std::trunc(v) ? "%.0f" : "%.15f", v);
    QString out = QString::fromLatin1(buf);
    if (out.contains(QLatin1Char('.'))) {
        while (out.endsWith(QLatin1Char('0'))) out.chop(1);
        if (out.endsWith(QLatin1Char('.'))) out.chop(1);
    }
    return out;
}

QLineEdit* MakeField(QWidget* parent, const char* name, const QString& tip, EntryFieldFilter::Kind kind) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setToolTip(tip);
    e->setValidator(new EntryFieldFilter(kind, e));
    return e;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QString& tip,
                  QWidget* buddy) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setTextFormat(Qt::PlainText);
    l->setToolTip(tip);
    l->setBuddy(buddy);
    // The field reads out under the caption beside it, without the colon.
    buddy->setAccessibleName(text.chopped(1));
    return l;
}

} // namespace

frmAddressBookEdit::frmAddressBookEdit(Session& s, int entryNumber, QWidget* parent)
    : QDialog(parent), s_(s), index_(entryNumber) {
    setObjectName(QStringLiteral("frmAddressBookEdit"));
    setWindowTitle(QStringLiteral("Kesto - Address Book"));
    setModal(true);

    const QString descTip = QStringLiteral("A description for this address book entry.");
    const QString addrTip =
        QStringLiteral("The email address for this user. It should be in the format of user@address.");
    const QString netTip = QStringLiteral("The network id number to use for this email address.");

    fraAddressBook = new QGroupBox(this);
    fraAddressBook->setObjectName(QStringLiteral("fraAddressBook"));
    DescriptionValue = MakeField(fraAddressBook, "DescriptionValue", descTip, EntryFieldFilter::Kind::Text);
    AddressValue = MakeField(fraAddressBook, "AddressValue", addrTip, EntryFieldFilter::Kind::Text);
    NetIdValue = MakeField(fraAddressBook, "NetIdValue", netTip, EntryFieldFilter::Kind::NetworkId);
    auto* form = new QFormLayout(fraAddressBook);
    form->addRow(MakeLabel(fraAddressBook, "lblDescription", QStringLiteral("Description:"), descTip,
                           DescriptionValue),
                 DescriptionValue);
    form->addRow(MakeLabel(fraAddressBook, "lblAddress", QStringLiteral("Address:"), addrTip, AddressValue),
                 AddressValue);
    form->addRow(MakeLabel(fraAddressBook, "lblNetId", QStringLiteral("Network Id:"), netTip, NetIdValue),
                 NetIdValue);

    const DialogButtons buttons = AddDialogButtons(this, fraAddressBook);
    cmdOk = buttons.ok;
    cmdCancel = buttons.cancel;

    connect(cmdOk, &QPushButton::clicked, this, &frmAddressBookEdit::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmAddressBookEdit::cmdCancel_Click);

    // The editor may be the first to touch the book of a user who has none yet.
    const std::string file = kesto::AddressBookFile(s_.board, s_.CurrentUserNumber);
    if (!kesto::FileExists(s_.board, file))
        (void)kesto::CreateFile(s_.board, file, false); // a failure is logged
    book_ = kesto::LoadAddressBook(s_.board, s_.CurrentUserNumber);

    fraAddressBook->setTitle(QStringLiteral("Entry %1 / %2").arg(index_).arg(book_.Count()));
    if (IsIndexValid()) {
        const kesto::AddressBookEntry e = kesto::SplitAddressBookLine(book_.lines[index_ - 1]);
        EntryFieldFilter::SetStoredText(DescriptionValue, FromBoard(e.description));
        EntryFieldFilter::SetStoredText(AddressValue, FromBoard(e.address));
        EntryFieldFilter::SetStoredText(NetIdValue, NumberText(e.networkId));
    } else {
        // Nothing to edit: OK must not invent an entry.
        cmdOk->setEnabled(false);
        cmdCancel->setDefault(true);
    }
    DescriptionValue->setFocus();
    KeepOnScreen(this);
}

bool frmAddressBookEdit::IsIndexValid() const {
    return index_ >= 1 && static_cast<std::size_t>(index_) <= book_.Count();
}

std::optional<std::string> frmAddressBookEdit::EditEntry() {
    saved_.reset();
    exec();
    return saved_;
}

void frmAddressBookEdit::cmdOk_Click() {
    if (!IsIndexValid()) return;
    book_.lines[index_ - 1] = kesto::Trim(ToBoard(DescriptionValue->text())) + "," +
                              kesto::Trim(ToBoard(AddressValue->text())) + "," +
                              kesto::Trim(ToBoard(NetIdValue->text()));
    (void)kesto::SaveAddressBook(s_.board, s_.CurrentUserNumber, book_); // a failure is logged
    saved_ = book_.lines[index_ - 1];
    accept();
}

void frmAddressBookEdit::cmdCancel_Click() {
    reject();
}

} // namespace kesto::ui
