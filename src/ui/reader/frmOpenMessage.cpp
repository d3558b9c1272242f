#include "reader/frmOpenMessage.h"
#include "app/BoardText.h"

#include "addressbook/AddSenderCommand.h"
#include "app/Icons.h"
#include "app/MailboxList.h"
#include "app/Session.h"
#include "app/Twips.h"
#include "reader/OutputCommands.h"
#include "reader/frmAbout.h"
#include "reader/frmMessageInfo.h"

#include "Cp1252.h"
#include "DeleteMessage.h"
#include "MailBase.h"

#include <QAction>
#include <QEvent>
#include <QFont>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QResizeEvent>
#include <QToolBar>
#include <QVBoxLayout>

namespace kesto::ui {

namespace {

// Designed positions in twips, within the area below the menu bar.
struct Place {
    int left, top, width, height;
};
constexpr Place kFrom{120, 540, 855, 255};
constexpr Place kFromValue{1020, 540, 5000, 255};
constexpr Place kTo{120, 780, 855, 255};
constexpr Place kToValue{1020, 780, 5000, 255};
constexpr Place kSubject{120, 1020, 855, 255};
constexpr Place kSubjectValue{1020, 1020, 5000, 255};
constexpr int kDateTop = 540, kDateWidth = 435, kDateValueWidth = 2895;
constexpr int kDeleteTop = 780, kDeleteWidth = 3135;
constexpr int kTextLeft = 120, kTextTop = 1440;
constexpr int kToolbarHeight = 420;
constexpr int kMinWidth = 3000, kMinHeight = 3500;
constexpr int kDesignWidth = 9600, kDesignHeight = 7200;

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption) {
    auto* l = new QLabel(caption, parent);
    l->setObjectName(QLatin1String(name));
    l->setTextFormat(Qt::PlainText);
    l->setFont(QFont(QStringLiteral("Tahoma"), 8));
    return l;
}

} // namespace

frmOpenMessage::frmOpenMessage(Session& s, MailboxList& list, QWidget* parent)
    : QDialog(parent), s_(s), list_(list) {
    setObjectName(QStringLiteral("frmOpenMessage"));
    setWindowTitle(QStringLiteral("Kesto - Message"));
    setModal(true);

    menuBar_ = new QMenuBar(this);
    menuBar_->setObjectName(QStringLiteral("MenuBar"));
    auto* mnuFile = menuBar_->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    auto* saveAs = addMenuAction(mnuFile, "mnuFileSaveAs", QStringLiteral("Save &As..."), {});
    addSeparator(mnuFile, "mnuFileSeperator0");
    auto* close = addMenuAction(mnuFile, "mnuFileClose", QStringLiteral("&Close"), {});

    auto* mnuActions = menuBar_->addMenu(QStringLiteral("&Actions"));
    mnuActions->setObjectName(QStringLiteral("mnuActions"));
    auto* print = addMenuAction(mnuActions, "mnuActionsPrint", QStringLiteral("&Print Message"),
                                QKeySequence(Qt::CTRL | Qt::Key_P));
    addSeparator(mnuActions, "mnuActionsSeperator0");
    auto* reply = addMenuAction(mnuActions, "mnuActionsReply", QStringLiteral("&Reply to Message"),
                                QKeySequence(Qt::CTRL | Qt::Key_R));
    auto* del = addMenuAction(mnuActions, "mnuActionsDelete", QStringLiteral("&Delete Message"),
                              QKeySequence(Qt::Key_Delete));
    auto* info = addMenuAction(mnuActions, "mnuActionsInfo", QStringLiteral("Message &Information"), {});
    addSeparator(mnuActions, "mnuActionsSeperator1");
    auto* addSender =
        addMenuAction(mnuActions, "mnuActionsAddSender", QStringLiteral("&Add Sender to Address Book"),
                      QKeySequence(Qt::CTRL | Qt::Key_Insert));
    addSeparator(mnuActions, "mnuActionsSeperator2");
    auto* previous =
        addMenuAction(mnuActions, "mnuActionsPreviousMessage", QStringLiteral("&Previous Message"), {});
    auto* next = addMenuAction(mnuActions, "mnuActionsNextMessage", QStringLiteral("&Next Message"), {});

    auto* mnuHelp = menuBar_->addMenu(QStringLiteral("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    auto* about = addMenuAction(mnuHelp, "mnuHelpAbout", QStringLiteral("&About"), {});

    // Never in the menu bar: only the sender line's context menu.
    mnuPopUp_ = new QMenu(QStringLiteral("Options"), this);
    mnuPopUp_->setObjectName(QStringLiteral("mnuPopUp"));
    auto* popUpAdd = addMenuAction(mnuPopUp_, "mnuPopUpAdd", QStringLiteral("Add to Address Book"), {});

    body_ = new QWidget(this);
    body_->setObjectName(QStringLiteral("body"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(menuBar_);
    layout->addWidget(body_);

    toolbar_ = new QToolBar(body_);
    toolbar_->setObjectName(QStringLiteral("Toolbar1"));
    toolbar_->setIconSize(QSize(16, 16));
    addButton(1, "print", QStringLiteral("Print"));
    addButton(2, nullptr, {});
    addButton(3, "reply", QStringLiteral("Reply"));
    addButton(4, "delete", QStringLiteral("Delete"));
    addButton(5, "info", QStringLiteral("Message Information"));
    addButton(6, nullptr, {});
    addButton(7, "book_add", QStringLiteral("Add Sender to Address Book"));
    addButton(8, nullptr, {});
    addButton(9, "previous", QStringLiteral("Previous"));
    addButton(10, "next", QStringLiteral("Next"));

    lblMailFrom_ = MakeLabel(body_, "lblMailFrom", QStringLiteral("From:"));
    lblMailFromValue_ = MakeLabel(body_, "lblMailFromValue", {});
    lblMailTo_ = MakeLabel(body_, "lblMailTo", QStringLiteral("To:"));
    lblMailToValue_ = MakeLabel(body_, "lblMailToValue", {});
    lblMailSubject_ = MakeLabel(body_, "lblMailSubject", QStringLiteral("Subject:"));
    lblMailSubjectValue_ = MakeLabel(body_, "lblMailSubjectValue", {});
    lblMailDate_ = MakeLabel(body_, "lblMailDate", QStringLiteral("Sent:"));
    lblMailDateValue_ = MakeLabel(body_, "lblMailDateValue", {});
    lblMailDeleteValue_ =
        MakeLabel(body_, "lblMailDeleteValue", QStringLiteral("This message is marked for deletion."));
    lblMailDeleteValue_->setVisible(false);
    lblMailFromValue_->installEventFilter(this);

    txtMessage_ = new QPlainTextEdit(body_);
    txtMessage_->setObjectName(QStringLiteral("txtMessage"));
    txtMessage_->setReadOnly(true);
    txtMessage_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont fixed(QStringLiteral("Courier New"), 10);
    fixed.setStyleHint(QFont::Monospace);
    fixed.setFixedPitch(true);
    txtMessage_->setFont(fixed);

    connect(saveAs, &QAction::triggered, this, &frmOpenMessage::mnuFileSaveAs_Click);
    connect(close, &QAction::triggered, this, &frmOpenMessage::mnuFileClose_Click);
    connect(print, &QAction::triggered, this, &frmOpenMessage::mnuActionsPrint_Click);
    connect(reply, &QAction::triggered, this, &frmOpenMessage::mnuActionsReply_Click);
    connect(del, &QAction::triggered, this, &frmOpenMessage::mnuActionsDelete_Click);
    connect(info, &QAction::triggered, this, &frmOpenMessage::mnuActionsInfo_Click);
    connect(addSender, &QAction::triggered, this, &frmOpenMessage::mnuActionsAddSender_Click);
    connect(previous, &QAction::triggered, this, &frmOpenMessage::mnuActionsPreviousMessage_Click);
    connect(next, &QAction::triggered, this, &frmOpenMessage::mnuActionsNextMessage_Click);
    connect(about, &QAction::triggered, this, &frmOpenMessage::mnuHelpAbout_Click);
    connect(popUpAdd, &QAction::triggered, this, &frmOpenMessage::mnuActionsAddSender_Click);
    connect(buttons_[1], &QAction::triggered, this, &frmOpenMessage::mnuActionsPrint_Click);
    connect(buttons_[3], &QAction::triggered, this, &frmOpenMessage::mnuActionsReply_Click);
    connect(buttons_[4], &QAction::triggered, this, &frmOpenMessage::mnuActionsDelete_Click);
    connect(buttons_[5], &QAction::triggered, this, &frmOpenMessage::mnuActionsInfo_Click);
    connect(buttons_[7], &QAction::triggered, this, &frmOpenMessage::mnuActionsAddSender_Click);
    connect(buttons_[9], &QAction::triggered, this, &frmOpenMessage::mnuActionsPreviousMessage_Click);
    connect(buttons_[10], &QAction::triggered, this, &frmOpenMessage::mnuActionsNextMessage_Click);

    const double dpi = ScreenDpi(this);
    resize(TwipsToPixels(kDesignWidth, dpi), TwipsToPixels(kDesignHeight, dpi));
    layoutControls();
    ShowMessage();
}

QAction* frmOpenMessage::addMenuAction(QMenu* menu, const char* name, const QString& caption,
                                       const QKeySequence& key) {
    auto* a = new QAction(caption, this);
    a->setObjectName(QLatin1String(name));
    if (!key.isEmpty()) a->setShortcut(key);
    menu->addAction(a);
    // Shortcuts work while the menu is closed because the window owns the action.
    addAction(a);
    return a;
}

QAction* frmOpenMessage::addSeparator(QMenu* menu, const char* name) {
    QAction* a = menu->addSeparator();
    a->setObjectName(QLatin1String(name));
    return a;
}

QAction* frmOpenMessage::addButton(int index, const char* icon, const QString& tip) {
    auto* a = new QAction(this);
    a->setObjectName(QStringLiteral("Toolbar1_Button") + QString::number(index));
    if (icon) {
        a->setIcon(Icon(icon));
        a->setText(tip);
        a->setToolTip(tip);
    } else {
        a->setSeparator(true);
    }
    toolbar_->addAction(a);
    buttons_[index] = a;
    return a;
}

bool frmOpenMessage::listHasRows() const {
    return list_.rowCount() > 0;
}

void frmOpenMessage::ShowMessage() {
    UpdateNavButtons();
    shown_ = kesto::ShowMessage(s_.board, s_.CurrentMailbox, s_.CurrentMessageNumber, s_.CurrentUserNumber,
                                s_.CurrentUser);
    ShowDeletedNotice();
    lblMailFromValue_->setText(FromBoard(shown_.fromLine));
    lblMailToValue_->setText(FromBoard(shown_.toLine));
    lblMailSubjectValue_->setText(FromBoard(shown_.subject));
    lblMailDateValue_->setText(FromBoard(shown_.date));
    QString text = FromBoard(shown_.text);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    txtMessage_->setPlainText(text);
}

void frmOpenMessage::ShowDeletedNotice() {
    lblMailDeleteValue_->setVisible(shown_.info.Deleted != 0);
}

void frmOpenMessage::UpdateNavButtons() {
    buttons_[9]->setEnabled(s_.CurrentListIndex > 1);
    buttons_[10]->setEnabled(s_.CurrentListIndex < list_.rowCount());
}

namespace {
constexpr const char* kCommandMenus[] = {
    "mnuFileSaveAs",         "mnuFileClose",   "mnuActionsPrint",     "mnuActionsReply",
    "mnuActionsDelete",      "mnuActionsInfo", "mnuActionsAddSender", "mnuActionsPreviousMessage",
    "mnuActionsNextMessage", "mnuHelpAbout"};
constexpr int kCommandButtons[] = {1, 3, 4, 5, 7, 9, 10};
} // namespace

void frmOpenMessage::DisableCommands() {
    for (const char* name : kCommandMenus)
        if (auto* a = findChild<QAction*>(QLatin1String(name))) a->setEnabled(false);
    for (int i : kCommandButtons)
        buttons_[i]->setEnabled(false);
}

void frmOpenMessage::EnableCommands() {
    for (const char* name : kCommandMenus)
        if (auto* a = findChild<QAction*>(QLatin1String(name))) a->setEnabled(true);
    for (int i : kCommandButtons)
        buttons_[i]->setEnabled(true);
    UpdateNavButtons();
}

void frmOpenMessage::step(int delta) {
    if (!listHasRows()) return;
    int target = s_.CurrentListIndex + delta;
    if (target < 1 || target > list_.rowCount()) return;
    s_.CurrentListIndex = static_cast<std::int16_t>(target);
    s_.CurrentMessageNumber = list_.messageNumberAt(target);
    s_.ReplyMode = false;
    ShowMessage();
}

void frmOpenMessage::mnuActionsPreviousMessage_Click() {
    step(-1);
}
void frmOpenMessage::mnuActionsNextMessage_Click() {
    step(+1);
}

void frmOpenMessage::mnuActionsDelete_Click() {
    if (!listHasRows()) return;
    // A mark that cannot be written is logged; the record read back shows what holds.
    (void)kesto::DeleteMessage(s_.board, s_.CurrentMailbox, s_.CurrentMessageNumber);
    // Only the mark is shown again; the labels keep what they show.
    shown_.info =
        kesto::GetMessageInfo(s_.board, kesto::MailboxName(s_.CurrentMailbox), s_.CurrentMessageNumber)
            .value_or(kesto::EmptyMessageInfo());
    ShowDeletedNotice();
}

void frmOpenMessage::mnuActionsAddSender_Click() {
    if (!listHasRows()) return;
    AddSenderToAddressBook(this, s_, s_.CurrentMessageNumber);
}

void frmOpenMessage::mnuActionsInfo_Click() {
    if (!listHasRows()) return;
    frmMessageInfo dlg(s_, this);
    dlg.exec();
}

void frmOpenMessage::mnuActionsPrint_Click() {
    if (!listHasRows()) return;
    DisableCommands();
    PrintMessage(this, s_, s_.CurrentMessageNumber);
    EnableCommands();
}

void frmOpenMessage::mnuFileSaveAs_Click() {
    if (!listHasRows()) return;
    DisableCommands();
    SaveMessage(this, s_, s_.CurrentMessageNumber);
    EnableCommands();
}

void frmOpenMessage::mnuActionsReply_Click() {
    if (!listHasRows()) return;
    s_.ReplyMode = true;
    accept();
}

void frmOpenMessage::mnuFileClose_Click() {
    reject();
}

void frmOpenMessage::mnuHelpAbout_Click() {
    frmAbout dlg(this);
    dlg.exec();
}

bool frmOpenMessage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lblMailFromValue_ && event->type() == QEvent::MouseButtonRelease) {
        auto* me = static_cast<QMouseEvent*>(event);
        if (me->button() == Qt::RightButton && listHasRows()) {
            mnuPopUp_->popup(me->globalPosition().toPoint());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmOpenMessage::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    layoutControls();
}

void frmOpenMessage::layoutControls() {
    const double dpi = ScreenDpi(this);
    auto px = [dpi](int twips) { return TwipsToPixels(twips, dpi); };
    auto place = [&](QWidget* w, int left, int top, int width, int height) {
        w->setGeometry(px(left), px(top), px(width), px(height));
    };
    // Outer size, as the window's frame measures it; below the minimum the
    // controls are laid out as if the window had the minimum size.
    const QSize outer = frameGeometry().size();
    const int W = std::max(kMinWidth, PixelsToTwips(outer.width(), dpi));
    const int H = std::max(kMinHeight, PixelsToTwips(outer.height(), dpi));

    toolbar_->setGeometry(0, 0, std::max(body_->width(), px(W)), px(kToolbarHeight));
    place(lblMailFrom_, kFrom.left, kFrom.top, kFrom.width, kFrom.height);
    place(lblMailFromValue_, kFromValue.left, kFromValue.top, kFromValue.width, kFromValue.height);
    place(lblMailTo_, kTo.left, kTo.top, kTo.width, kTo.height);
    place(lblMailToValue_, kToValue.left, kToValue.top, kToValue.width, kToValue.height);
    place(lblMailSubject_, kSubject.left, kSubject.top, kSubject.width, kSubject.height);
    place(lblMailSubjectValue_, kSubjectValue.left, kSubjectValue.top, kSubjectValue.width,
          kSubjectValue.height);
    place(lblMailDateValue_, W - kDateValueWidth - 360, kDateTop, kDateValueWidth, 255);
    place(lblMailDate_, W - kDateValueWidth - 840, kDateTop, kDateWidth, 255);
    place(lblMailDeleteValue_, W - kDeleteWidth - 360, kDeleteTop, kDeleteWidth, 255);
    place(txtMessage_, kTextLeft, kTextTop, W - 3 * kTextLeft, H + 500 - 2 * kTextTop);
}

} // namespace kesto::ui
