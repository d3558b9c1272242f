#include "reader/frmOpenMessage.h"
#include "app/BoardText.h"

#include "addressbook/AddSenderCommand.h"
#include "app/Actions.h"
#include "app/MailboxList.h"
#include "app/ScreenFit.h"
#include "app/Session.h"
#include "app/Twips.h"
#include "app/TwipsLayout.h"
#include "reader/OutputCommands.h"
#include "reader/frmAbout.h"
#include "reader/frmMessageInfo.h"

#include "Cp1252.h"
#include "DeleteMessage.h"
#include "MailBase.h"

#include <QAction>
#include <QEvent>
#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QToolBar>
#include <QVBoxLayout>

namespace kesto::ui {

namespace {

constexpr int kDesignWidth = 9600, kDesignHeight = 7200;

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption) {
    auto* l = new QLabel(caption, parent);
    l->setObjectName(QLatin1String(name));
    l->setTextFormat(Qt::PlainText);
    l->setFont(QFont(QStringLiteral("Tahoma"), 8));
    return l;
}

} // namespace

frmOpenMessage::frmOpenMessage(Session& s, const MailboxList& list, int row, QWidget* parent)
    : QDialog(parent), s_(s), list_(list) {
    setObjectName(QStringLiteral("frmOpenMessage"));
    setWindowTitle(QStringLiteral("Kesto - Message"));
    setModal(true);

    SetupActions();

    body_ = new QWidget(this);
    body_->setObjectName(QStringLiteral("body"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(menuBar_);
    layout->addWidget(body_);

    Toolbar1 = new QToolBar(body_);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setIconSize(QSize(16, 16));
    AddToolbarButtons(Toolbar1, {{act_.print, "print", "Print"},
                                 {},
                                 {act_.reply, "reply", "Reply"},
                                 {act_.del, "delete", "Delete"},
                                 {act_.info, "info", "Message Information"},
                                 {},
                                 {act_.addSender, "book_add", "Add Sender to Address Book"},
                                 {},
                                 {act_.previous, "previous", "Previous"},
                                 {act_.next, "next", "Next"}});

    auto* lblMailFrom = MakeLabel(body_, "lblMailFrom", QStringLiteral("From:"));
    lblMailFromValue = MakeLabel(body_, "lblMailFromValue", {});
    auto* lblMailTo = MakeLabel(body_, "lblMailTo", QStringLiteral("To:"));
    lblMailToValue = MakeLabel(body_, "lblMailToValue", {});
    auto* lblMailSubject = MakeLabel(body_, "lblMailSubject", QStringLiteral("Subject:"));
    lblMailSubjectValue = MakeLabel(body_, "lblMailSubjectValue", {});
    auto* lblMailDate = MakeLabel(body_, "lblMailDate", QStringLiteral("Sent:"));
    lblMailDateValue = MakeLabel(body_, "lblMailDateValue", {});
    lblMailDeleteValue =
        MakeLabel(body_, "lblMailDeleteValue", QStringLiteral("This message is marked for deletion."));
    lblMailDeleteValue->setVisible(false);
    lblMailFromValue->installEventFilter(this);
    // The values read out under the captions they stand beside.
    lblMailFromValue->setAccessibleName(QStringLiteral("From"));
    lblMailToValue->setAccessibleName(QStringLiteral("To"));
    lblMailSubjectValue->setAccessibleName(QStringLiteral("Subject"));
    lblMailDateValue->setAccessibleName(QStringLiteral("Sent"));

    txtMessage = new QPlainTextEdit(body_);
    txtMessage->setObjectName(QStringLiteral("txtMessage"));
    txtMessage->setReadOnly(true);
    // Selectable from the keyboard too, so Ctrl+C copies what was selected either way.
    txtMessage->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    txtMessage->setAccessibleName(QStringLiteral("Message text"));
    txtMessage->installEventFilter(this);
    txtMessage->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont fixed(QStringLiteral("Courier New"), 10);
    fixed.setStyleHint(QFont::Monospace);
    fixed.setFixedPitch(true);
    txtMessage->setFont(fixed);

    // Twips below the menu bar, at the design size of 9600 x 7200. The sender,
    // recipient and subject may be long: their values reach as far right as the text.
    using L = TwipsLayout;
    new TwipsLayout(body_, {{kDesignWidth, kDesignHeight}, {3000, 3500}},
                    {
                        {Toolbar1, 0, 0, 9600, 420, L::TopLeft | L::Right},
                        {lblMailFrom, 120, 540, 855, 255},
                        {lblMailFromValue, 1020, 540, 8340, 255, L::TopLeft | L::Right},
                        {lblMailTo, 120, 780, 855, 255},
                        {lblMailToValue, 1020, 780, 8340, 255, L::TopLeft | L::Right},
                        {lblMailSubject, 120, 1020, 855, 255},
                        {lblMailSubjectValue, 1020, 1020, 8340, 255, L::TopLeft | L::Right},
                        {lblMailDate, 5865, 540, 435, 255, L::Top | L::Right},
                        {lblMailDateValue, 6345, 540, 2895, 255, L::Top | L::Right},
                        {lblMailDeleteValue, 6105, 780, 3135, 255, L::Top | L::Right},
                        {txtMessage, 120, 1440, 9240, 4820, L::All},
                    });

    const double dpi = ScreenDpi(this);
    resize(TwipsToPixels(kDesignWidth, dpi), TwipsToPixels(kDesignHeight, dpi));
    KeepOnScreen(this);
    ShowRow(row);
}

void frmOpenMessage::SetupActions() {
    act_.saveAs = NewCommand(this, "mnuFileSaveAs", QStringLiteral("Save &As..."));
    act_.close = NewCommand(this, "mnuFileClose", QStringLiteral("&Close"));
    act_.print = NewCommand(this, "mnuActionsPrint", QStringLiteral("&Print Message"), Qt::CTRL | Qt::Key_P);
    act_.reply =
        NewCommand(this, "mnuActionsReply", QStringLiteral("&Reply to Message"), Qt::CTRL | Qt::Key_R);
    act_.del = NewCommand(this, "mnuActionsDelete", QStringLiteral("&Delete Message"), Qt::Key_Delete);
    act_.info = NewCommand(this, "mnuActionsInfo", QStringLiteral("Message &Information"));
    act_.addSender = NewCommand(this, "mnuActionsAddSender", QStringLiteral("&Add Sender to Address Book"),
                                Qt::CTRL | Qt::Key_Insert);
    act_.previous = NewCommand(this, "mnuActionsPreviousMessage", QStringLiteral("&Previous Message"));
    act_.next = NewCommand(this, "mnuActionsNextMessage", QStringLiteral("&Next Message"));
    act_.about = NewCommand(this, "mnuHelpAbout", QStringLiteral("&About"));

    connect(act_.saveAs, &QAction::triggered, this, &frmOpenMessage::mnuFileSaveAs_Click);
    connect(act_.close, &QAction::triggered, this, &frmOpenMessage::mnuFileClose_Click);
    connect(act_.print, &QAction::triggered, this, &frmOpenMessage::mnuActionsPrint_Click);
    connect(act_.reply, &QAction::triggered, this, &frmOpenMessage::mnuActionsReply_Click);
    connect(act_.del, &QAction::triggered, this, &frmOpenMessage::mnuActionsDelete_Click);
    connect(act_.info, &QAction::triggered, this, &frmOpenMessage::mnuActionsInfo_Click);
    connect(act_.addSender, &QAction::triggered, this, &frmOpenMessage::mnuActionsAddSender_Click);
    connect(act_.previous, &QAction::triggered, this, &frmOpenMessage::mnuActionsPreviousMessage_Click);
    connect(act_.next, &QAction::triggered, this, &frmOpenMessage::mnuActionsNextMessage_Click);
    connect(act_.about, &QAction::triggered, this, &frmOpenMessage::mnuHelpAbout_Click);

    menuBar_ = new QMenuBar(this);
    menuBar_->setObjectName(QStringLiteral("MenuBar"));
    QMenu* mnuFile = menuBar_->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuFile->addAction(act_.saveAs);
    AddMenuSeparator(mnuFile, "mnuFileSeperator0");
    mnuFile->addAction(act_.close);

    QMenu* mnuActions = menuBar_->addMenu(QStringLiteral("&Actions"));
    mnuActions->setObjectName(QStringLiteral("mnuActions"));
    mnuActions->addAction(act_.print);
    AddMenuSeparator(mnuActions, "mnuActionsSeperator0");
    mnuActions->addAction(act_.reply);
    mnuActions->addAction(act_.del);
    mnuActions->addAction(act_.info);
    AddMenuSeparator(mnuActions, "mnuActionsSeperator1");
    mnuActions->addAction(act_.addSender);
    AddMenuSeparator(mnuActions, "mnuActionsSeperator2");
    mnuActions->addAction(act_.previous);
    mnuActions->addAction(act_.next);

    QMenu* mnuHelp = menuBar_->addMenu(QStringLiteral("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuHelp->addAction(act_.about);

    // Never in the menu bar: only the sender line's context menu.
    mnuPopUp = new QMenu(QStringLiteral("Options"), this);
    mnuPopUp->setObjectName(QStringLiteral("mnuPopUp"));
    AddBoundEntry(mnuPopUp, "mnuPopUpAdd", QStringLiteral("Add to Address Book"), act_.addSender);
}

void frmOpenMessage::UpdateActions() {
    // While printing or saving the window takes no commands; once the list was
    // rebuilt under it only Close and About are left.
    const bool ready = !busy_;
    const bool onList = ready && !listRebuilt_;
    for (QAction* a : {act_.close, act_.about}) a->setEnabled(ready);
    for (QAction* a :
         {act_.saveAs, act_.print, act_.reply, act_.del, act_.info, act_.addSender, act_.previous, act_.next})
        a->setEnabled(onList);
    // The toolbar's Previous and Next also follow the row; their menu entries do not.
    Toolbar1->widgetForAction(act_.previous)->setEnabled(onList && row_ > 1);
    Toolbar1->widgetForAction(act_.next)->setEnabled(onList && row_ < list_.GetRowCount());
}

bool frmOpenMessage::HasListedRows() const {
    return list_.GetRowCount() > 0;
}

void frmOpenMessage::ShowRow(int row) {
    row_ = row;
    number_ = list_.GetMessageNumberAt(row);
    ShowMessage();
}

void frmOpenMessage::ShowMessage() {
    UpdateActions();
    shown_ = kesto::ShowMessage(s_.board, s_.CurrentMailbox, number_, s_.CurrentUserNumber, s_.CurrentUser);
    ShowDeletedNotice();
    lblMailFromValue->setText(FromBoard(shown_.fromLine));
    lblMailToValue->setText(FromBoard(shown_.toLine));
    lblMailSubjectValue->setText(FromBoard(shown_.subject));
    lblMailDateValue->setText(FromBoard(shown_.date));
    QString text = FromBoard(shown_.text);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    txtMessage->setPlainText(text);
}

void frmOpenMessage::ShowDeletedNotice() {
    lblMailDeleteValue->setVisible(shown_.info.Deleted != 0);
}

void frmOpenMessage::DisableCommands() {
    busy_ = true;
    UpdateActions();
}

void frmOpenMessage::EnableCommands() {
    busy_ = false;
    UpdateActions();
}

void frmOpenMessage::OnListRebuilt() {
    listRebuilt_ = true;
    UpdateActions();
}

void frmOpenMessage::Step(int delta) {
    if (!HasListedRows()) return;
    const int target = row_ + delta;
    if (target < 1 || target > list_.GetRowCount()) return;
    emit StepRequested(target);
}

void frmOpenMessage::mnuActionsPreviousMessage_Click() {
    Step(-1);
}
void frmOpenMessage::mnuActionsNextMessage_Click() {
    Step(+1);
}

void frmOpenMessage::mnuActionsDelete_Click() {
    if (!HasListedRows()) return;
    // A mark that cannot be written is logged; the record read back shows what holds.
    (void)kesto::DeleteMessage(s_.board, s_.CurrentMailbox, number_);
    // Only the mark is shown again; the labels keep what they show.
    shown_.info = kesto::GetMessageInfo(s_.board, kesto::MailboxName(s_.CurrentMailbox), number_)
                      .value_or(kesto::EmptyMessageInfo());
    ShowDeletedNotice();
}

void frmOpenMessage::mnuActionsAddSender_Click() {
    if (!HasListedRows()) return;
    AddSenderToAddressBook(this, s_, number_);
}

void frmOpenMessage::mnuActionsInfo_Click() {
    if (!HasListedRows()) return;
    frmMessageInfo dlg(s_, number_, this);
    dlg.exec();
}

void frmOpenMessage::mnuActionsPrint_Click() {
    if (!HasListedRows()) return;
    DisableCommands();
    PrintMessage(this, s_, number_);
    EnableCommands();
}

void frmOpenMessage::mnuFileSaveAs_Click() {
    if (!HasListedRows()) return;
    DisableCommands();
    SaveMessage(this, s_, number_);
    EnableCommands();
}

void frmOpenMessage::mnuActionsReply_Click() {
    if (!HasListedRows()) return;
    emit ReplyRequested(number_);
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
    // The text box would take Ctrl+Ins as a copy key; here it adds the sender.
    if (watched == txtMessage && event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Insert && key->modifiers() == Qt::ControlModifier) return true;
    }
    if (watched == lblMailFromValue && event->type() == QEvent::MouseButtonRelease) {
        auto* me = static_cast<QMouseEvent*>(event);
        if (me->button() == Qt::RightButton && HasListedRows()) {
            mnuPopUp->popup(me->globalPosition().toPoint());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace kesto::ui
