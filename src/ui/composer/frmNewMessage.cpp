#include "composer/frmNewMessage.h"

#include "AllUsers.h"
#include "FileHelpers.h"
#include "TextHelpers.h"
#include "Delivery.h"
#include "MailBase.h"
#include "MessageOutput.h"
#include "Recipient.h"
#include "SystemFiles.h"
#include "addressbook/frmAddressBook.h"
#include "app/Actions.h"
#include "app/BoardText.h"
#include "app/Dialogs.h"
#include "app/ScreenFit.h"
#include "app/Twips.h"
#include "app/TwipsLayout.h"
#include "composer/frmSendToAll.h"
#include "composer/frmUserListing.h"
#include "reader/frmAbout.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace kesto::ui {
namespace {

constexpr int kMaxMessageLength = 32767;
constexpr int kDesignWidth = 9600, kDesignHeight = 7200;

QFont Tahoma() {
    QFont f(QStringLiteral("Tahoma"));
    f.setPointSizeF(8.25);
    return f;
}

QString Title() {
    return FromBoard(kesto::kComposerTitle);
}

} // namespace

frmNewMessage::frmNewMessage(Session& s, QWidget* parent, std::optional<kesto::RecordNo> replyTo)
    : QDialog(parent), s_(s) {
    setObjectName(QStringLiteral("frmNewMessage"));
    setWindowTitle(QStringLiteral("Kesto - New Message"));
    setFont(Tahoma());
    SetupActions();
    BuildControls();
    resize(TwipsToPixels(kDesignWidth, ScreenDpi(this)), TwipsToPixels(kDesignHeight, ScreenDpi(this)));
    KeepOnScreen(this);
    Form_Load(replyTo);
}

bool frmNewMessage::WriteMessage() {
    // Only a successful send accepts the window.
    return exec() == QDialog::Accepted;
}

void frmNewMessage::SetupActions() {
    act_.close = NewCommand(this, "mnuFileClose", QStringLiteral("&Close"));
    act_.send = NewCommand(this, "mnuActionsSend", QStringLiteral("&Send"));
    act_.attach = NewCommand(this, "mnuActionsAttach", QStringLiteral("&Attach a File"));
    act_.addressBook = NewCommand(this, "mnuActionsAddressBook", QStringLiteral("Address &Book"));
    act_.userList = NewCommand(this, "mnuActionsUserlist", QStringLiteral("&User Listing"));
    act_.sendToAll = NewCommand(this, "mnuActionsSendToAll", QStringLiteral("Send to A&ll Users"));
    act_.about = NewCommand(this, "mnuHelpAbout", QStringLiteral("&About"));
    connect(act_.close, &QAction::triggered, this, &frmNewMessage::mnuFileClose_Click);
    connect(act_.send, &QAction::triggered, this, &frmNewMessage::mnuActionsSend_Click);
    connect(act_.attach, &QAction::triggered, this, &frmNewMessage::mnuActionsAttach_Click);
    connect(act_.addressBook, &QAction::triggered, this, &frmNewMessage::mnuActionsAddressBook_Click);
    connect(act_.userList, &QAction::triggered, this, &frmNewMessage::mnuActionsUserlist_Click);
    connect(act_.sendToAll, &QAction::triggered, this, &frmNewMessage::mnuActionsSendToAll_Click);
    connect(act_.about, &QAction::triggered, this, &frmNewMessage::mnuHelpAbout_Click);

    menuBar_ = new QMenuBar(this);
    QMenu* mnuFile = menuBar_->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuFile->addAction(act_.close);
    QMenu* mnuActions = menuBar_->addMenu(QStringLiteral("&Actions"));
    mnuActions->setObjectName(QStringLiteral("mnuActions"));
    mnuActions->addAction(act_.send);
    AddMenuSeparator(mnuActions, "mnuActionsSeperator0");
    mnuActions->addAction(act_.attach);
    AddMenuSeparator(mnuActions, "mnuActionsSeperator1");
    mnuActions->addAction(act_.addressBook);
    mnuActions->addAction(act_.userList);
    mnuActions->addAction(act_.sendToAll);
    QMenu* mnuHelp = menuBar_->addMenu(QStringLiteral("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuHelp->addAction(act_.about);
}

void frmNewMessage::BuildControls() {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->setMenuBar(menuBar_);
    page_ = new QWidget(this);
    outer->addWidget(page_);

    Toolbar1 = new QToolBar(page_);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setIconSize(QSize(16, 16));
    AddToolbarButtons(Toolbar1, {{act_.send, "send", "Send"},
                                 {},
                                 {act_.attach, "attach", "Attach a File"},
                                 {},
                                 {act_.addressBook, "book", "Address Book"},
                                 {act_.userList, "user", "User Listing"},
                                 {act_.sendToAll, "group", "Send to All Users"}});

    cmdTo = new QPushButton(QStringLiteral("To..."), page_);
    cmdTo->setObjectName(QStringLiteral("cmdTo"));
    // The window has no default button: Return in a text box must not open a picker.
    cmdTo->setAutoDefault(false);
    connect(cmdTo, &QPushButton::clicked, this, &frmNewMessage::mnuActionsAddressBook_Click);
    MailTo = new QLineEdit(page_);
    MailTo->setObjectName(QStringLiteral("MailTo"));
    MailTo->setMaxLength(255);
    connect(MailTo, &QLineEdit::textChanged, this, &frmNewMessage::MailTo_Change);
    MailToNetid = new QComboBox(page_);
    MailToNetid->setObjectName(QStringLiteral("MailToNetid"));
    lblMailSubject = new QLabel(QStringLiteral("Subject:"), page_);
    lblMailSubject->setObjectName(QStringLiteral("lblMailSubject"));
    lblMailSubject->setTextFormat(Qt::PlainText);
    MailSubject = new QLineEdit(page_);
    MailSubject->setObjectName(QStringLiteral("MailSubject"));
    MailSubject->setMaxLength(64);
    lblMailSubject->setBuddy(MailSubject);
    cmdAttach = new QPushButton(QStringLiteral("Attach..."), page_);
    cmdAttach->setObjectName(QStringLiteral("cmdAttach"));
    cmdAttach->setAutoDefault(false);
    connect(cmdAttach, &QPushButton::clicked, this, &frmNewMessage::mnuActionsAttach_Click);
    MailAttach = new QLineEdit(page_);
    MailAttach->setObjectName(QStringLiteral("MailAttach"));
    MailAttach->setMaxLength(255);
    txtMessage = new QPlainTextEdit(page_);
    txtMessage->setObjectName(QStringLiteral("txtMessage"));
    txtMessage->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont courier(QStringLiteral("Courier New"));
    courier.setPointSizeF(9.75);
    courier.setStyleHint(QFont::TypeWriter);
    txtMessage->setFont(courier);
    connect(txtMessage->document(), &QTextDocument::contentsChange, this,
            [this](int position, int, int added) { LimitMessageLength(position, added); });
    // Controls without a caption of their own.
    MailTo->setAccessibleName(QStringLiteral("To"));
    MailToNetid->setAccessibleName(QStringLiteral("Network"));
    MailSubject->setAccessibleName(QStringLiteral("Subject"));
    MailAttach->setAccessibleName(QStringLiteral("Attached file"));
    txtMessage->setAccessibleName(QStringLiteral("Message text"));

    // Twips below the menu bar, the toolbar band included, at the design size of 9600 x 7200.
    using L = TwipsLayout;
    new TwipsLayout(page_, {{kDesignWidth, kDesignHeight}, {5000, 3500}},
                    {
                        {Toolbar1, 0, 0, 9600, 420, L::TopLeft | L::Right},
                        {cmdTo, 120, 480, 855, 315},
                        {MailTo, 1080, 480, 5600, 315, L::TopLeft | L::Right},
                        {MailToNetid, 7325, 480, 2055, 315, L::Top | L::Right},
                        {lblMailSubject, 120, 900, 855, 255},
                        {MailSubject, 1080, 870, 8400, 315, L::TopLeft | L::Right},
                        {cmdAttach, 120, 1260, 855, 315},
                        {MailAttach, 1080, 1260, 8400, 315, L::TopLeft | L::Right},
                        {txtMessage, 120, 1680, 9240, 4580, L::All},
                    });
}

void frmNewMessage::Form_Load(std::optional<kesto::RecordNo> replyTo) {
    FirstActivate = true;
    ReplyPending = false;
    FillNetList();
    if (MailToNetid->count() > 0) MailToNetid->setCurrentIndex(0);
    attachAllowed_ = s_.CurrentUser.SecurityLevel >= s_.board.mainCfg.EmailAttachLevel;
    UpdateActions();
    if (!replyTo) return;

    const std::string_view mailbox = kesto::MailboxName(s_.CurrentMailbox);
    // What cannot be read is logged there and replied to as an empty message.
    RepliedMessage = kesto::GetMessageInfo(s_.board, mailbox, *replyTo).value_or(kesto::EmptyMessageInfo());
    RepliedText =
        kesto::GetMessage(s_.board, mailbox, RepliedMessage.MsgPos, RepliedMessage.MsgLength, true, false)
            .value_or(std::string());
    const auto fill = kesto::ReplyRecipient(RepliedMessage, kesto::OwnSystemId(s_.board), NetList);
    SetRecipient(fill.mailTo, fill.networkLine);
    MailSubject->setText(FromBoard(kesto::Trim(RepliedMessage.Subject)));
    QString quoted = FromBoard(kesto::QuoteMessage(RepliedText, RepliedMessage.Subject) + "\r\n\r\n");
    // The text box ends its lines with LF alone.
    quoted.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    txtMessage->setPlainText(quoted);
    ReplyPending = true;
}

void frmNewMessage::FillNetList() {
    NetList = kesto::FillNetList(s_.board);
    MailToNetid->clear();
    for (const auto& entry : NetList) MailToNetid->addItem(FromBoard(kesto::NetListLabel(entry)));
}

bool frmNewMessage::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) Form_Activate();
    if (e->type() == QEvent::KeyPress) {
        // Return presses the focused button and nothing else; in a text box it does nothing.
        const auto* key = static_cast<QKeyEvent*>(e);
        // There is no cancel button: a stray Escape must not throw the message away.
        if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) return true;
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            if (auto* button = qobject_cast<QPushButton*>(focusWidget()); button && button->isEnabled())
                button->click();
            return true;
        }
    }
    return QDialog::event(e);
}

void frmNewMessage::Form_Activate() {
    if (!FirstActivate) return;
    if (ReplyPending) {
        txtMessage->setFocus();
        txtMessage->moveCursor(QTextCursor::End);
        ReplyPending = false;
    } else {
        MailTo->setFocus();
    }
    FirstActivate = false;
}

void frmNewMessage::SetRecipient(const std::string& mailTo, int line) {
    MailTo->setText(FromBoard(mailTo));
    // The attach rule ran on the text change above; choosing the line alone does not re-run it.
    if (line >= 0 && line < MailToNetid->count()) MailToNetid->setCurrentIndex(line);
}

void frmNewMessage::MailTo_Change() {
    attachAllowed_ = IsAttachAllowed();
    UpdateActions();
}

bool frmNewMessage::IsAttachAllowed() const {
    return kesto::AttachAllowed(s_.CurrentUser.SecurityLevel, s_.board.mainCfg, ToBoard(MailTo->text()),
                                MailToNetid->currentIndex());
}

void frmNewMessage::UpdateActions() {
    // A running send locks everything; otherwise attaching follows the attach rule as
    // last evaluated, sending to all users the SysOp level, and the network list is
    // off while the address names its own network.
    const bool open = !locked_;
    for (QAction* a : {act_.close, act_.send, act_.addressBook, act_.userList, act_.about})
        a->setEnabled(open);
    act_.attach->setEnabled(open && attachAllowed_);
    act_.sendToAll->setEnabled(open && s_.CurrentUser.SecurityLevel >= 255);
    cmdTo->setEnabled(open);
    cmdAttach->setEnabled(open);
    // A combo box cannot be read-only; disabled is the nearest.
    MailToNetid->setEnabled(open && !MailTo->text().contains(QLatin1Char('*')));
}

void frmNewMessage::LimitMessageLength(int position, int added) {
    if (added <= 0) return;
    QTextDocument* doc = txtMessage->document();
    // The text is filed with CR LF: each line break counts as the two characters it becomes.
    // characterCount() counts one separator per block, the last one closing the text.
    const int filed = doc->characterCount() - 1 + doc->blockCount() - 1;
    int excess = filed - kMaxMessageLength;
    if (excess <= 0) return;
    // Cut from the end of what was just added, as far as it takes.
    QTextCursor c(doc);
    const int end = position + added;
    int from = end;
    while (from > position && excess > 0) {
        --from;
        excess -= doc->characterAt(from) == QChar::ParagraphSeparator ? 2 : 1;
    }
    c.setPosition(from);
    c.setPosition(end, QTextCursor::KeepAnchor);
    c.removeSelectedText();
}

std::string frmNewMessage::GetMessageText() const {
    // The raw text keeps no-break blanks (a board byte of its own), which the plain form turns
    // into ordinary ones; only the line separators are mapped.
    QString text = txtMessage->document()->toRawText();
    for (QChar& c : text)
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator) c = QLatin1Char('\n');
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return ToBoard(text);
}

void frmNewMessage::mnuFileClose_Click() {
    reject();
}

void frmNewMessage::reject() {
    if (locked_) return;
    QDialog::reject();
}

void frmNewMessage::closeEvent(QCloseEvent* e) {
    if (locked_) {
        e->ignore();
        return;
    }
    QDialog::closeEvent(e);
}

void frmNewMessage::mnuActionsSend_Click() {
    const std::string to = ToBoard(MailTo->text());
    const std::string subject = ToBoard(MailSubject->text());
    const auto check =
        kesto::CheckSend(s_.board, to, subject, NetList, std::max(0, MailToNetid->currentIndex()));
    auto show = [this](const std::string& message) {
        GetDialogs().ShowMessage(this, Dialogs::Icon::Information, Title(), FromBoard(message));
    };
    switch (check.outcome) {
    case kesto::SendCheck::Outcome::Refused:
        show(check.message);
        if (check.focus == kesto::SendCheck::Focus::MailTo) MailTo->setFocus();
        if (check.focus == kesto::SendCheck::Focus::MailSubject) MailSubject->setFocus();
        return;
    case kesto::SendCheck::Outcome::AllUsers: {
        LockComposer();
        // The walk can take a while on a large board: the windows keep painting between users.
        const auto pump = [](std::int32_t, std::int32_t) { QCoreApplication::processEvents(); };
        const auto r = kesto::SendAllUsers(s_.board, s_.CurrentUserNumber, to, subject, GetMessageText(),
                                           GetAttachmentSource(), pump);
        if (!r.success) {
            if (!r.message.empty()) show(r.message);
            UnlockComposer();
            return;
        }
        break;
    }
    case kesto::SendCheck::Outcome::Single: {
        LockComposer();
        const auto r = kesto::SendEmail(s_.board, s_.CurrentUserNumber, check.address, subject,
                                        GetMessageText(), GetAttachmentSource(), true);
        if (!r.success) {
            if (!r.message.empty()) show(r.message);
            UnlockComposer();
            return;
        }
        break;
    }
    }
    UnlockComposer();
    accept();
}

void frmNewMessage::mnuActionsAttach_Click() {
    QString start = QDir::currentPath();
    if (IsPickedFileShown()) {
        start = QFileInfo(attachPicked_).absolutePath();
    } else {
        const std::string current = kesto::Trim(ToBoard(MailAttach->text()));
        if (!current.empty() && kesto::FileExists(s_.board, current))
            start = QFileInfo(FromBoard(kesto::GetLongFilename(s_.board, current))).absolutePath();
    }
    const QString chosen = GetDialogs().GetOpenFileName(this, QStringLiteral("Please select a file."), start);
    if (chosen.isEmpty()) return;
    // The box shows the short upper-case form, which is also what the record files; the
    // copy is made from the file picked, whatever else that form could name.
    attachPicked_ = chosen;
    attachShown_ = FromBoard(kesto::UpperAscii(
        kesto::Trim(kesto::GetShortFilename(s_.board, QFile::encodeName(chosen).toStdString()))));
    MailAttach->setText(attachShown_);
}

bool frmNewMessage::IsPickedFileShown() const {
    return !attachPicked_.isEmpty() && MailAttach->text() == attachShown_;
}

std::string frmNewMessage::GetAttachmentSource() const {
    // A path typed (or changed) by hand is looked up as a board path.
    if (IsPickedFileShown()) return QFile::encodeName(attachPicked_).toStdString();
    return kesto::AttachmentSource(s_.board, ToBoard(MailAttach->text()));
}

void frmNewMessage::mnuActionsAddressBook_Click() {
    std::optional<std::string> picked;
    {
        frmAddressBook dlg(s_, frmAddressBook::Mode::Pick, this);
        picked = dlg.PickAddress();
    }
    if (!picked) return;
    const auto fill = kesto::AddressBookRecipient(*picked, kesto::OwnSystemId(s_.board), NetList);
    SetRecipient(fill.mailTo, fill.networkLine);
    MailSubject->setFocus();
}

void frmNewMessage::mnuActionsUserlist_Click() {
    std::optional<std::int32_t> user;
    {
        frmUserListing dlg(s_, this);
        user = dlg.PickUser();
    }
    if (!user) return;
    SetRecipient(std::to_string(*user), 0);
    MailSubject->setFocus();
}

void frmNewMessage::mnuActionsSendToAll_Click() {
    if (s_.CurrentUser.SecurityLevel < 255) {
        GetDialogs().ShowMessage(this, Dialogs::Icon::Information, Title(), FromBoard(kesto::kMsgSysopOnly));
        return;
    }
    std::optional<std::string> criterion;
    {
        frmSendToAll dlg(this);
        criterion = dlg.PickCriterion();
    }
    if (!criterion) return;
    SetRecipient(*criterion, 0);
    MailSubject->setFocus();
}

void frmNewMessage::mnuHelpAbout_Click() {
    frmAbout dlg(this);
    dlg.exec();
}

void frmNewMessage::LockComposer() {
    for (QLineEdit* box : {MailTo, MailSubject, MailAttach}) box->setReadOnly(true);
    txtMessage->setReadOnly(true);
    locked_ = true;
    UpdateActions();
}

void frmNewMessage::UnlockComposer() {
    locked_ = false;
    for (QLineEdit* box : {MailTo, MailSubject, MailAttach}) box->setReadOnly(false);
    txtMessage->setReadOnly(false);
    // The permission rules, for the recipient and the user as they are now.
    attachAllowed_ = IsAttachAllowed();
    UpdateActions();
}

} // namespace kesto::ui
