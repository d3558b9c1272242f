#include "composer/frmNewMessage.h"

#include "AllUsers.h"
#include "FileHelpers.h"
#include "StringHelpers.h"
#include "TextHelpers.h"
#include "Delivery.h"
#include "MailBase.h"
#include "MessageOutput.h"
#include "Recipient.h"
#include "SystemFiles.h"
#include "addressbook/frmAddressBook.h"
#include "app/Dialogs.h"
#include "app/Icons.h"
#include "app/Twips.h"
#include "app/BoardText.h"
#include "composer/frmSendToAll.h"
#include "composer/frmUserListing.h"
#include "reader/frmAbout.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
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

// Design-time places in twips (form client coordinates, the toolbar band included).
constexpr int kRowTo = 480, kRowSubject = 870, kRowAttach = 1260, kTextTop = 1680;
constexpr int kLabelLeft = 120, kBoxLeft = 1080, kButtonWidth = 855, kRowHeight = 315;
constexpr int kNetWidth = 2055, kToolbarHeight = 420;

QFont Tahoma() {
    QFont f(QStringLiteral("Tahoma"));
    f.setPointSizeF(8.25);
    return f;
}

QString Title() {
    return FromBoard(kesto::kComposerTitle);
}

} // namespace

frmNewMessage::frmNewMessage(Session& s, QWidget* parent) : QDialog(parent), s_(s) {
    setObjectName(QStringLiteral("frmNewMessage"));
    setWindowTitle(QStringLiteral("Kesto - New Message"));
    setFont(Tahoma());
    buildControls();
    resize(TwipsToPixels(9600, ScreenDpi(this)), TwipsToPixels(7200, ScreenDpi(this)));
    Form_Load();
}

void frmNewMessage::buildControls() {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    menuBar_ = new QMenuBar(this);
    outer->setMenuBar(menuBar_);
    page_ = new QWidget(this);
    outer->addWidget(page_);

    auto action = [&](QMenu* menu, const char* name, const QString& caption, void (frmNewMessage::*slot)()) {
        auto* a = menu->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    QMenu* mnuFile = menuBar_->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuFileClose =
        action(mnuFile, "mnuFileClose", QStringLiteral("&Close"), &frmNewMessage::mnuFileClose_Click);
    QMenu* mnuActions = menuBar_->addMenu(QStringLiteral("&Actions"));
    mnuActions->setObjectName(QStringLiteral("mnuActions"));
    mnuActionsSend =
        action(mnuActions, "mnuActionsSend", QStringLiteral("&Send"), &frmNewMessage::mnuActionsSend_Click);
    mnuActions->addSeparator()->setObjectName(QStringLiteral("mnuActionsSeperator0"));
    mnuActionsAttach = action(mnuActions, "mnuActionsAttach", QStringLiteral("&Attach a File"),
                              &frmNewMessage::mnuActionsAttach_Click);
    mnuActions->addSeparator()->setObjectName(QStringLiteral("mnuActionsSeperator1"));
    mnuActionsAddressBook = action(mnuActions, "mnuActionsAddressBook", QStringLiteral("Address &Book"),
                                   &frmNewMessage::mnuActionsAddressBook_Click);
    mnuActionsUserlist = action(mnuActions, "mnuActionsUserlist", QStringLiteral("&User Listing"),
                                &frmNewMessage::mnuActionsUserlist_Click);
    mnuActionsSendToAll = action(mnuActions, "mnuActionsSendToAll", QStringLiteral("Send to A&ll Users"),
                                 &frmNewMessage::mnuActionsSendToAll_Click);
    QMenu* mnuHelp = menuBar_->addMenu(QStringLiteral("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuHelpAbout =
        action(mnuHelp, "mnuHelpAbout", QStringLiteral("&About"), &frmNewMessage::mnuHelpAbout_Click);

    Toolbar1 = new QToolBar(page_);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setIconSize(QSize(16, 16));
    struct Button {
        const char* tip;
        const char* key;
        void (frmNewMessage::*slot)();
    };
    const Button buttons[8] = {{},
                               {"Send", "send", &frmNewMessage::mnuActionsSend_Click},
                               {},
                               {"Attach a File", "attach", &frmNewMessage::mnuActionsAttach_Click},
                               {},
                               {"Address Book", "book", &frmNewMessage::mnuActionsAddressBook_Click},
                               {"User Listing", "user", &frmNewMessage::mnuActionsUserlist_Click},
                               {"Send to All Users", "group", &frmNewMessage::mnuActionsSendToAll_Click}};
    for (int i = 1; i <= 7; ++i) {
        QAction* a = nullptr;
        if (buttons[i].slot == nullptr) {
            a = Toolbar1->addSeparator();
        } else {
            a = Toolbar1->addAction(Icon(buttons[i].key), QString::fromLatin1(buttons[i].tip));
            a->setToolTip(QString::fromLatin1(buttons[i].tip));
            connect(a, &QAction::triggered, this, buttons[i].slot);
        }
        a->setObjectName(QStringLiteral("Toolbar1_Button%1").arg(i));
        Toolbar1_Button[static_cast<std::size_t>(i)] = a;
    }

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
    MailSubject = new QLineEdit(page_);
    MailSubject->setObjectName(QStringLiteral("MailSubject"));
    MailSubject->setMaxLength(64);
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
            [this](int position, int, int added) { limitMessageLength(position, added); });
}

void frmNewMessage::Form_Load() {
    FirstActivate = true;
    ReplyPending = false;
    FillNetList();
    if (MailToNetid->count() > 0) MailToNetid->setCurrentIndex(0);
    applySendToAllRule();
    const bool canAttach = s_.CurrentUser.SecurityLevel >= s_.board.mainCfg.EmailAttachLevel;
    mnuActionsAttach->setEnabled(canAttach);
    Toolbar1_Button[3]->setEnabled(canAttach);
    if (!s_.ReplyMode) return;

    const std::string_view mailbox = kesto::MailboxName(s_.CurrentMailbox);
    // What cannot be read is logged there and replied to as an empty message.
    RepliedMessage =
        kesto::GetMessageInfo(s_.board, mailbox, s_.CurrentMessageNumber).value_or(kesto::EmptyMessageInfo());
    RepliedText =
        kesto::GetMessage(s_.board, mailbox, RepliedMessage.MsgPos, RepliedMessage.MsgLength, true, false)
            .value_or(std::string());
    const auto fill = kesto::ReplyRecipient(RepliedMessage, kesto::OwnSystemId(s_.board), NetList);
    setRecipient(fill.mailTo, fill.networkLine);
    MailSubject->setText(FromBoard(kesto::Trim(RepliedMessage.Subject)));
    std::string quoted = kesto::QuoteMessage(RepliedText, RepliedMessage.Subject) + "\r\n\r\n";
    txtMessage->setPlainText(FromBoard(kesto::StrReplace(quoted, "\r\n", "\n")));
    ReplyPending = true;
}

void frmNewMessage::FillNetList() {
    NetList = kesto::FillNetList(s_.board);
    MailToNetid->clear();
    for (const auto& entry : NetList)
        MailToNetid->addItem(FromBoard(kesto::NetListLabel(entry)));
}

bool frmNewMessage::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) Form_Activate();
    if (e->type() == QEvent::KeyPress) {
        // Return presses the focused button and nothing else; in a text box it does nothing.
        const auto* key = static_cast<QKeyEvent*>(e);
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

void frmNewMessage::setRecipient(const std::string& mailTo, int line) {
    MailTo->setText(FromBoard(mailTo));
    // The attach rule ran on the text change above; choosing the line alone does not re-run it.
    if (line >= 0 && line < MailToNetid->count()) MailToNetid->setCurrentIndex(line);
}

void frmNewMessage::MailTo_Change() {
    applyNetworkRule();
    applyAttachRule();
}

void frmNewMessage::applyNetworkRule() {
    if (locked_) return;
    MailToNetid->setEnabled(!MailTo->text().contains(QLatin1Char('*')));
}

void frmNewMessage::applyAttachRule() {
    if (locked_) return;
    const bool allowed = kesto::AttachAllowed(s_.CurrentUser.SecurityLevel, s_.board.mainCfg,
                                              ToBoard(MailTo->text()), MailToNetid->currentIndex());
    mnuActionsAttach->setEnabled(allowed);
    Toolbar1_Button[3]->setEnabled(allowed);
}

void frmNewMessage::applySendToAllRule() {
    const bool sysop = s_.CurrentUser.SecurityLevel >= 255;
    mnuActionsSendToAll->setEnabled(sysop);
    Toolbar1_Button[7]->setEnabled(sysop);
}

void frmNewMessage::limitMessageLength(int position, int added) {
    QTextDocument* doc = txtMessage->document();
    // characterCount() counts the closing paragraph separator too.
    const int excess = doc->characterCount() - 1 - kMaxMessageLength;
    if (excess <= 0 || added <= 0) return;
    QTextCursor c(doc);
    const int end = position + added;
    c.setPosition(std::max(position, end - excess));
    c.setPosition(end, QTextCursor::KeepAnchor);
    c.removeSelectedText();
}

std::string frmNewMessage::messageText() const {
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
        dialogs().message(this, Dialogs::Icon::Information, Title(), FromBoard(message));
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
        const auto r = kesto::SendAllUsers(s_.board, s_.CurrentUserNumber, to, subject, messageText(),
                                           ToBoard(MailAttach->text()), pump);
        if (!r.success) {
            if (!r.message.empty()) show(r.message);
            UnlockComposer();
            return;
        }
        break;
    }
    case kesto::SendCheck::Outcome::Single: {
        LockComposer();
        const auto r = kesto::SendEmail(s_.board, s_.CurrentUserNumber, check.address,
                                        subject, messageText(), ToBoard(MailAttach->text()), true);
        if (!r.success) {
            if (!r.message.empty()) show(r.message);
            UnlockComposer();
            return;
        }
        break;
    }
    }
    s_.MessageSent = true;
    UnlockComposer();
    accept();
}

void frmNewMessage::mnuActionsAttach_Click() {
    const std::string current = kesto::Trim(ToBoard(MailAttach->text()));
    QString start = QDir::currentPath();
    if (!current.empty() && kesto::FileExists(s_.board, current)) {
        start = QFileInfo(FromBoard(kesto::GetLongFilename(s_.board, current))).absolutePath();
    }
    const QString chosen = dialogs().openFileName(this, QStringLiteral("Please select a file."), start);
    if (chosen.isEmpty()) return;
    MailAttach->setText(
        FromBoard(kesto::UpperAscii(kesto::Trim(kesto::GetShortFilename(s_.board, chosen.toStdString())))));
}

void frmNewMessage::mnuActionsAddressBook_Click() {
    s_.DialogMode.clear();
    {
        frmAddressBook dlg(s_, this);
        dlg.exec();
    }
    if (!s_.DialogMode.empty()) {
        const auto fill = kesto::AddressBookRecipient(s_.DialogMode, kesto::OwnSystemId(s_.board), NetList);
        setRecipient(fill.mailTo, fill.networkLine);
        MailSubject->setFocus();
    }
    s_.DialogMode.clear();
}

void frmNewMessage::mnuActionsUserlist_Click() {
    s_.DialogMode.clear();
    {
        frmUserListing dlg(s_, this);
        dlg.exec();
    }
    if (s_.DialogMode.empty()) return;
    setRecipient(s_.DialogMode, 0);
    MailSubject->setFocus();
    s_.DialogMode.clear();
}

void frmNewMessage::mnuActionsSendToAll_Click() {
    if (s_.CurrentUser.SecurityLevel < 255) {
        dialogs().message(this, Dialogs::Icon::Information, Title(), FromBoard(kesto::kMsgSysopOnly));
        return;
    }
    s_.DialogMode.clear();
    {
        frmSendToAll dlg(s_, this);
        dlg.exec();
    }
    if (s_.DialogMode.empty()) return;
    setRecipient(s_.DialogMode, 0);
    MailSubject->setFocus();
    s_.DialogMode.clear();
}

void frmNewMessage::mnuHelpAbout_Click() {
    frmAbout dlg(this);
    dlg.exec();
}

void frmNewMessage::LockComposer() {
    for (QAction* a : {mnuFileClose, mnuActionsSend, mnuActionsAttach, mnuActionsAddressBook,
                       mnuActionsUserlist, mnuActionsSendToAll, mnuHelpAbout})
        a->setEnabled(false);
    for (int i : {1, 3, 5, 6, 7})
        Toolbar1_Button[static_cast<std::size_t>(i)]->setEnabled(false);
    cmdTo->setEnabled(false);
    cmdAttach->setEnabled(false);
    for (QLineEdit* box : {MailTo, MailSubject, MailAttach})
        box->setReadOnly(true);
    txtMessage->setReadOnly(true);
    // A combo box cannot be read-only; disabled is the nearest.
    MailToNetid->setEnabled(false);
    locked_ = true;
}

void frmNewMessage::UnlockComposer() {
    locked_ = false;
    for (QAction* a : {mnuFileClose, mnuActionsSend, mnuActionsAddressBook, mnuActionsUserlist, mnuHelpAbout})
        a->setEnabled(true);
    for (int i : {1, 5, 6})
        Toolbar1_Button[static_cast<std::size_t>(i)]->setEnabled(true);
    cmdTo->setEnabled(true);
    cmdAttach->setEnabled(true);
    for (QLineEdit* box : {MailTo, MailSubject, MailAttach})
        box->setReadOnly(false);
    txtMessage->setReadOnly(false);
    applyNetworkRule();
    applyAttachRule();
    applySendToAllRule();
}

void frmNewMessage::resizeEvent(QResizeEvent* e) {
    QDialog::resizeEvent(e);
    layoutControls();
}

void frmNewMessage::layoutControls() {
    if (!page_) return;
    const double dpi = ScreenDpi(this);
    auto px = [dpi](double twips) { return TwipsToPixels(twips, dpi); };
    const QRect frame = frameGeometry();
    const int W = std::max(PixelsToTwips(frame.width(), dpi), 5000);
    const int H = std::max(PixelsToTwips(frame.height(), dpi), 3500);

    Toolbar1->setGeometry(0, 0, page_->width(), px(kToolbarHeight));
    cmdTo->setGeometry(px(kLabelLeft), px(kRowTo), px(kButtonWidth), px(kRowHeight));
    MailTo->setGeometry(px(kBoxLeft), px(kRowTo), px(W - 1840 - 2 * kBoxLeft), px(kRowHeight));
    MailToNetid->setGeometry(px(W - kNetWidth - 220), px(kRowTo), px(kNetWidth), px(kRowHeight));
    lblMailSubject->setGeometry(px(kLabelLeft), px(kRowSubject + 30), px(kButtonWidth), px(255));
    MailSubject->setGeometry(px(kBoxLeft), px(kRowSubject), px(W + 960 - 2 * kBoxLeft), px(kRowHeight));
    cmdAttach->setGeometry(px(kLabelLeft), px(kRowAttach), px(kButtonWidth), px(kRowHeight));
    MailAttach->setGeometry(px(kBoxLeft), px(kRowAttach), px(W + 960 - 2 * kBoxLeft), px(kRowHeight));
    txtMessage->setGeometry(px(kLabelLeft), px(kTextTop), px(W - 3 * kLabelLeft), px(H + 740 - 2 * kTextTop));
}

} // namespace kesto::ui
