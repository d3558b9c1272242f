#include "mailbox/frmMain.h"
#include "app/BoardText.h"

#include "app/Actions.h"
#include "app/Dialogs.h"
#include "app/EndOfSession.h"
#include "app/Icons.h"
#include "app/ScreenFit.h"
#include "app/Twips.h"
#include "app/TwipsLayout.h"
#include "composer/frmNewMessage.h"
#include "mailbox/MailListModel.h"

#include "Cp1252.h"
#include "ErrorLog.h"
#include "MailBase.h"
#include "MailList.h"
#include "Startup.h"
#include "TextHelpers.h"
#include "UserFile.h"
#include "platform/BoardPath.h"
#include "platform/File.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QSessionManager>
#include <QSignalBlocker>
#include <QSystemTrayIcon>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>

#include <algorithm>

namespace kesto::ui {
namespace {

constexpr const char* kModule = "frmMain";

// The initial client area.
constexpr int kClientWidth = 10335;
constexpr int kClientHeight = 5655;

QFont TahomaFont() {
    QFont f(QStringLiteral("Tahoma"));
    f.setPointSizeF(8.25);
    return f;
}

} // namespace

frmMain::frmMain(Session& session, QWidget* parent) : QMainWindow(parent), s_(session) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Kesto"));
    InitIcons();
    setWindowIcon(Icon("app"));

    SetupActions();
    BuildMenus();
    BuildToolbar();
    BuildContextMenu();
    BuildList();
    BuildFilter();
    connect(this, &frmMain::MailArrived, this, &frmMain::ShowArrival);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &frmMain::Timer1_Timer);

    const double d = GetDpi();
    resize(TwipsToPixels(kClientWidth, d), TwipsToPixels(kClientHeight, d));
}

frmMain::~frmMain() {
    CancelTextSearch(); // a search still running stops at its next read
}

double frmMain::GetDpi() const {
    return ScreenDpi(this);
}

// ---------------------------------------------------------------- building

void frmMain::SetupActions() {
    act_.saveAs = NewCommand(this, "mnuFileSaveAs", QStringLiteral("Save &As..."));
    act_.exportMail = NewCommand(this, "mnuFileExport", QStringLiteral("&Export..."));
    act_.changeUser = NewCommand(this, "mnuFileChangeUser", QStringLiteral("&Change Current User"));
    act_.exit = NewCommand(this, "mnuFileExit", QStringLiteral("E&xit"));
    act_.newMessage = NewCommand(this, "mnuActionsNew", QStringLiteral("&New Message"), Qt::CTRL | Qt::Key_N);
    act_.open = NewCommand(this, "mnuActionsOpen", QStringLiteral("&Open Message"), Qt::CTRL | Qt::Key_O);
    act_.print = NewCommand(this, "mnuActionsPrint", QStringLiteral("&Print Message"), Qt::CTRL | Qt::Key_P);
    act_.reply =
        NewCommand(this, "mnuActionsReply", QStringLiteral("&Reply to Message"), Qt::CTRL | Qt::Key_R);
    act_.del = NewCommand(this, "mnuActionsDelete", QStringLiteral("&Delete Message"), Qt::Key_Delete);
    act_.deleteAll = NewCommand(this, "mnuActionsDeleteAll", QStringLiteral("Delete A&ll Messages"));
    act_.addressBook = NewCommand(this, "mnuActionsAddressBook", QStringLiteral("Address &Book"));
    act_.addSender = NewCommand(this, "mnuActionsAddSender", QStringLiteral("&Add Sender to Address Book"),
                                Qt::CTRL | Qt::Key_Insert);
    act_.refresh = NewCommand(this, "mnuActionsRefresh", QStringLiteral("&Refresh"), Qt::Key_F5);
    act_.about = NewCommand(this, "mnuHelpAbout", QStringLiteral("&About"));

    connect(act_.saveAs, &QAction::triggered, this, &frmMain::mnuFileSaveAs_Click);
    connect(act_.exportMail, &QAction::triggered, this, &frmMain::mnuFileExport_Click);
    connect(act_.changeUser, &QAction::triggered, this, &frmMain::mnuFileChangeUser_Click);
    connect(act_.exit, &QAction::triggered, this, &QWidget::close);
    connect(act_.newMessage, &QAction::triggered, this, &frmMain::mnuActionsNew_Click);
    connect(act_.open, &QAction::triggered, this, &frmMain::mnuActionsOpen_Click);
    connect(act_.print, &QAction::triggered, this, &frmMain::mnuActionsPrint_Click);
    connect(act_.reply, &QAction::triggered, this, &frmMain::mnuActionsReply_Click);
    connect(act_.del, &QAction::triggered, this, &frmMain::mnuActionsDelete_Click);
    connect(act_.deleteAll, &QAction::triggered, this, &frmMain::mnuActionsDeleteAll_Click);
    connect(act_.addressBook, &QAction::triggered, this, &frmMain::mnuActionsAddressBook_Click);
    connect(act_.addSender, &QAction::triggered, this, &frmMain::mnuActionsAddSender_Click);
    connect(act_.refresh, &QAction::triggered, this, &frmMain::mnuActionsRefresh_Click);
    connect(act_.about, &QAction::triggered, this, &frmMain::mnuHelpAbout_Click);
}

void frmMain::BuildMenus() {
    QMenu* mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuFile->addAction(act_.saveAs);
    mnuFile->addAction(act_.exportMail);
    AddMenuSeparator(mnuFile, "mnuFileSeperator0");
    mnuFile->addAction(act_.changeUser);
    AddMenuSeparator(mnuFile, "mnuFileSeperator1");
    mnuFile->addAction(act_.exit);

    QMenu* mnuActions = menuBar()->addMenu(QStringLiteral("&Actions"));
    mnuActions->setObjectName(QStringLiteral("mnuActions"));
    mnuActions->addAction(act_.newMessage);
    AddMenuSeparator(mnuActions, "mnuActionsSeperator0");
    mnuActions->addAction(act_.open);
    mnuActions->addAction(act_.print);
    AddMenuSeparator(mnuActions, "mnuActionsSeperator1");
    mnuActions->addAction(act_.reply);
    mnuActions->addAction(act_.del);
    mnuActions->addAction(act_.deleteAll);
    AddMenuSeparator(mnuActions, "mnuActionsSeperator2");
    mnuActions->addAction(act_.addressBook);
    mnuActions->addAction(act_.addSender);
    AddMenuSeparator(mnuActions, "mnuActionsSeperator3");
    mnuActions->addAction(act_.refresh);

    QMenu* mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuHelp->addAction(act_.about);
}

void frmMain::BuildToolbar() {
    Toolbar1 = addToolBar(QStringLiteral("Toolbar1"));
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setMovable(false);
    Toolbar1->setFloatable(false);
    Toolbar1->setIconSize(QSize(16, 16));
    Toolbar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    Toolbar1->toggleViewAction()->setVisible(false);
    setContextMenuPolicy(Qt::NoContextMenu); // no toolbar on/off menu on the window

    AddToolbarButtons(Toolbar1, {{act_.newMessage, "new", "New Mail Message"},
                                 {},
                                 {act_.open, "open", "Open"},
                                 {act_.print, "print", "Print"},
                                 {},
                                 {act_.reply, "reply", "Reply"},
                                 {act_.del, "delete", "Delete"},
                                 {act_.deleteAll, "email_delete", "Delete All Messages"},
                                 {},
                                 {act_.addressBook, "book", "Address Book"},
                                 {act_.addSender, "book_add", "Add Sender to Address Book"},
                                 {},
                                 {act_.refresh, "refresh", "Refresh"}});
}

void frmMain::BuildContextMenu() {
    // Never part of the menu bar: it only pops up over the list. Its entries carry
    // captions of their own and stand for the menu's commands.
    mnuPopUp = new QMenu(QStringLiteral("Options"), this);
    mnuPopUp->setObjectName(QStringLiteral("mnuPopUp"));
    auto separator = [this](int index) {
        mnuPopUp->addSeparator()->setObjectName(QStringLiteral("mnuPopUpOptions_%1").arg(index));
    };
    AddBoundEntry(mnuPopUp, "mnuPopUpOptions_0", QStringLiteral("Open"), act_.open);
    AddBoundEntry(mnuPopUp, "mnuPopUpOptions_1", QStringLiteral("Print"), act_.print);
    separator(2);
    AddBoundEntry(mnuPopUp, "mnuPopUpOptions_3", QStringLiteral("Reply"), act_.reply);
    popUpDelete_ = AddBoundEntry(mnuPopUp, "mnuPopUpOptions_4", QStringLiteral("Delete"), act_.del);
    separator(5);
    act_.refreshRow = mnuPopUp->addAction(QStringLiteral("Refresh"));
    act_.refreshRow->setObjectName(QStringLiteral("mnuPopUpOptions_6"));
    connect(act_.refreshRow, &QAction::triggered, this, &frmMain::RefreshSelectedRow);
    separator(7);
    AddBoundEntry(mnuPopUp, "mnuPopUpOptions_8", QStringLiteral("Add Sender to Address Book"),
                  act_.addSender);
}

void frmMain::BuildList() {
    page_ = new QWidget(this);
    page_->setObjectName(QStringLiteral("fraMain"));
    setCentralWidget(page_);

    tbsOptions = new QTabBar(page_);
    tbsOptions->setObjectName(QStringLiteral("tbsOptions"));
    tbsOptions->setAccessibleName(QStringLiteral("Mailbox"));
    tbsOptions->setFont(TahomaFont());
    tbsOptions->setDrawBase(true);
    tbsOptions->setExpanding(false);
    tbsOptions->addTab(QStringLiteral("Received Email"));
    tbsOptions->setTabToolTip(0, QStringLiteral("Email sent to you."));
    tbsOptions->addTab(QStringLiteral("Sent Email"));
    tbsOptions->setTabToolTip(1, QStringLiteral("Email you sent to others."));
    connect(tbsOptions, &QTabBar::currentChanged, this, &frmMain::OnTabChanged);

    model_ = new MailListModel(this);
    ListView1 = new QTreeView(page_);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setAccessibleName(QStringLiteral("Messages"));
    ListView1->setFont(TahomaFont());
    QFont bold = TahomaFont();
    bold.setBold(true);
    model_->SetBoldFont(bold);
    ListView1->setModel(model_);
    ListView1->setRootIsDecorated(false);
    ListView1->setItemsExpandable(false);
    ListView1->setUniformRowHeights(true); // lets the view skip measuring 32,767 rows
    ListView1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setAllColumnsShowFocus(true);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setSortingEnabled(false); // the model sorts; the header only reports clicks
    ListView1->setIconSize(QSize(16, 16));
    QHeaderView* header = ListView1->header();
    header->setSectionsClickable(true);
    header->setSectionsMovable(false);
    header->setStretchLastSection(false);
    header->setSortIndicatorShown(false);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setMinimumSectionSize(1);
    connect(header, &QHeaderView::sectionClicked, this,
            [this](int section) { ListView1_ColumnClick(section + 1); });
    connect(ListView1, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex&) { mnuActionsOpen_Click(); });
    connect(ListView1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current, const QModelIndex&) {
                if (current.isValid()) RowClick(current.row() + 1);
            });
    // A click on the row that is already current words Delete after it all the same:
    // Delete All or a closed reader may have worded it after another row.
    connect(ListView1, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        if (index.isValid()) RowClick(index.row() + 1);
    });
    ListView1->viewport()->installEventFilter(this);
    // The menu key and Shift+F10 go to the focused list itself, not to its viewport.
    ListView1->installEventFilter(this);

    // Twips in the client area below the toolbar, at the initial client size. The tab
    // strip shows only its tabs; the list fills the page below them.
    const int tabs = PixelsToTwips(tbsOptions->sizeHint().height(), GetDpi());
    const int listTop = 30 + tabs;
    using L = TwipsLayout;
    new TwipsLayout(
        page_, {{kClientWidth, kClientHeight}, {3000, 3000}, TwipsLayout::Measure::Window},
        {
            {tbsOptions, 30, 30, kClientWidth - 3 * 30, tabs, L::TopLeft | L::Right},
            {ListView1, 90, listTop, kClientWidth - 3 * 90 + 90, kClientHeight - 3 * listTop - 180, L::All},
        });
}

// ---------------------------------------------------------------- load and close

void frmMain::Form_Load() {
    Loading = true;
    const double d = GetDpi();
    QScreen* scr = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect screenRect = scr ? scr->geometry() : QRect(0, 0, 1024, 768);
    kesto::ScreenGeometry g;
    g.screenWidth = PixelsToTwips(screenRect.width(), d);
    g.screenHeight = PixelsToTwips(screenRect.height(), d);
    g.windowWidth = PixelsToTwips(frameGeometry().width(), d);
    g.windowHeight = PixelsToTwips(frameGeometry().height(), d);
    s_.viewSettings = kesto::LoadDat(s_.board, g);
    const kesto::ViewSettings& vs = s_.viewSettings;

    s_.CurrentUserNumber = 1;
    s_.CurrentMailbox = kesto::Mailbox::Received;
    CurrentListIndex = 0;
    LastMailboxSize = 0;
    s_.CurrentUser = kesto::GetUser(s_.board, 1).value_or(kesto::DecodeUserRecord({}));
    UpdateCaption();

    // The saved size is the outer one, frame and caption included. A placement written
    // on another screen (or at another scale) that would leave the window mostly out
    // of sight is brought onto this one.
    QRect frame(TwipsToPixels(vs.Left, d), TwipsToPixels(vs.Top, d), TwipsToPixels(vs.Width, d),
                TwipsToPixels(vs.Height, d));
    if (scr) frame = OntoScreen(frame, scr->availableGeometry());
    move(frame.topLeft());
    resize(frame.size());
    savedOuterSize_ = frame.size();
    // A window saved minimized opens normal, at its last normal placement.
    if (vs.WindowState == 2) setWindowState(Qt::WindowMaximized);

    s_.live = kesto::LiveViewState{};
    s_.live.ColumnWidths = vs.ColumnWidths;
    s_.live.SortedColumn = vs.SortedColumn;
    s_.live.SortOrder = vs.SortOrder;
    {
        QSignalBlocker block(tbsOptions);
        tbsOptions->setCurrentIndex(0);
    }

    show();
    ApplySavedOuterSize();
    RefreshList();
    // The list takes the keys first, so a keyboard user can act on the selected row at once.
    ListView1->setFocus();
    Timer1->start();
    Loading = false;
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (!Form_QueryUnload()) {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

bool frmMain::Form_QueryUnload() {
    if (Loading) return false;
    Timer1->stop();
    SaveSettings();
    QCoreApplication::processEvents();
    return true;
}

void frmMain::SaveSettings() {
    // Closed before the first tick: keep the loaded placement rather than zeros.
    kesto::LiveViewState& live = s_.live;
    if (live.WindowWidth == 0 && live.WindowHeight == 0) {
        live.WindowTop = static_cast<float>(s_.viewSettings.Top);
        live.WindowLeft = static_cast<float>(s_.viewSettings.Left);
        live.WindowWidth = static_cast<float>(s_.viewSettings.Width);
        live.WindowHeight = static_cast<float>(s_.viewSettings.Height);
        RecordPlacement();
    }
    // One ending may arrive by several roads (the session's end, then the quit that
    // follows it): what is already saved is not written again.
    if (savedState_ && *savedState_ == live) return;
    // Settings that cannot be saved are logged; the window closes all the same.
    (void)kesto::SaveDat(s_.board, live);
    savedState_ = live;
}

void frmMain::CloseOnEndOfSession(EndOfSession& ending) {
    connect(&ending, &EndOfSession::EndRequested, this, &frmMain::RequestExit);
    // The desktop asks for the data before it ends the session, and may not close the
    // window at all; a quit without a close still saves on the way out.
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) { SaveSettings(); });
    connect(qApp, &QCoreApplication::aboutToQuit, this, &frmMain::SaveSettings);
}

void frmMain::RequestExit() {
    // A send in progress finishes first; its composer cannot be closed meanwhile.
    const QList<frmNewMessage*> composers = findChildren<frmNewMessage*>();
    const bool sending = std::any_of(composers.cbegin(), composers.cend(),
                                     [](const frmNewMessage* c) { return c->IsLocked(); });
    if (Loading || sending) {
        QTimer::singleShot(100, this, &frmMain::RequestExit);
        return;
    }
    close();
}

void frmMain::Form_Unload() {
    // Every window opened from here goes with the main window, the last opened first.
    const QList<QDialog*> windows = findChildren<QDialog*>();
    for (auto it = windows.crbegin(); it != windows.crend(); ++it)
        if ((*it)->isVisible()) (*it)->close();
}

void frmMain::BringToFront() {
    // A window minimized from maximized comes back maximized.
    if (isMinimized() && maximizedBeforeMinimized_)
        showMaximized();
    else if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

void frmMain::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange && !(windowState() & Qt::WindowMinimized))
        maximizedBeforeMinimized_ = (windowState() & Qt::WindowMaximized) != 0;
    QMainWindow::changeEvent(event);
}

void frmMain::ApplySavedOuterSize() {
    // The frame is known only once the window is on screen (with some window managers
    // a little later): the inner size then gives up what the frame takes.
    if (!savedOuterSize_ || windowState() != Qt::WindowNoState) return;
    // Resized since it opened, by the user or the window manager: that size stands.
    if (size() != *savedOuterSize_) {
        savedOuterSize_.reset();
        return;
    }
    const QSize frame = frameGeometry().size() - size();
    if (frame.isNull()) return;
    resize(*savedOuterSize_ - frame);
    savedOuterSize_.reset();
}

// ---------------------------------------------------------------- enabling

void frmMain::DisableControls() {
    busy_ = true;
    UpdateActions();
}

void frmMain::EnableControls() {
    busy_ = false;
    UpdateActions();
}

void frmMain::UpdateActions() {
    // While the list is being rebuilt (or a rebuild failed) nothing but Change Current
    // User runs and the tabs are hidden; the commands on a message need a row.
    const bool ready = !busy_;
    const bool rows = ready && GetRowCount() > 0;
    for (QAction* a : {act_.exit, act_.newMessage, act_.addressBook, act_.refresh, act_.about, act_.find})
        a->setEnabled(ready);
    for (QAction* a : {act_.saveAs, act_.exportMail, act_.open, act_.print, act_.reply, act_.del,
                       act_.deleteAll, act_.addSender})
        a->setEnabled(rows);
    tbsOptions->setVisible(ready);
}

// ---------------------------------------------------------------- the list

std::string_view frmMain::GetMailboxName() const {
    return kesto::MailboxName(s_.CurrentMailbox);
}

int frmMain::GetRowCount() const {
    return model_->rowCount();
}

kesto::RecordNo frmMain::GetMessageNumberAt(int position) const {
    if (position < 1 || position > GetRowCount()) return 0;
    return model_->GetRow(position - 1).number;
}

void frmMain::UpdateCaption() {
    setWindowTitle(QStringLiteral("Kesto - ") + FromBoard(kesto::Trim(s_.CurrentUser.Handle)) +
                   QStringLiteral(" (#") + QString::number(s_.CurrentUserNumber) + QLatin1Char(')'));
}

void frmMain::RefreshList() {
    DisableControls();
    // Hiding the list hands its focus on (to the filter box); it comes back with the list.
    const bool listHadFocus = ListView1->hasFocus();
    ListView1->hide();
    model_->SetReceived(s_.CurrentMailbox == kesto::Mailbox::Received);
    // Taken before the walk: mail arriving meanwhile may be listed and told of, but
    // none goes untold.
    const std::string indexPath = kesto::platform::NativePath(
        kesto::MailboxFile(s_.board, GetMailboxName(), ".DAT"), s_.board.startDir);
    const std::int64_t indexSize = kesto::platform::FileLengthIfAny(indexPath).value_or(0);
    kesto::Result<std::vector<kesto::MailRow>> rows =
        kesto::ReadMailboxRows(s_.board, s_.CurrentMailbox, s_.CurrentUserNumber, indexBuffer_);
    if (!rows) {
        // The list stays hidden and its commands off until a refresh succeeds.
        kesto::LogFailure(s_.board.log, kModule, "RefreshList", rows.error());
        GetDialogs().ShowMessage(this, Dialogs::Icon::Critical, QStringLiteral("Kesto Error"),
                                 QStringLiteral("An error occurred while refreshing the list."));
        return;
    }
    model_->SetRows(std::move(*rows));
    // Mail that arrived before this rebuild is in the list now.
    noticedSize_ = indexSize;
    arrivals_ = 0;
    if (tray_) tray_->hide();
    const double d = GetDpi();
    for (int c = 0; c < MailListModel::ColumnCount; ++c)
        ListView1->header()->resizeSection(
            c, TwipsToPixels(s_.live.ColumnWidths[static_cast<std::size_t>(c)], d));

    // Re-apply the saved sort: the header click flips the order back.
    s_.live.SortOrder = s_.live.SortOrder != 0 ? 0 : 1;
    ListView1_ColumnClick(s_.live.SortedColumn);
    ApplyFilter(true);

    ListView1->show();
    if (listHadFocus) ListView1->setFocus(Qt::OtherFocusReason);
    ClearSelection();
    const int count = GetRowCount();
    if (count > 0) {
        int p = CurrentListIndex >= 1 ? CurrentListIndex : 1;
        p = std::min(p, count); // the index may have shrunk under the reader
        SelectRow(p);
        RowClick(p);
    }
    EnableControls();
}

void frmMain::RefreshItem(int position) {
    if (GetRowCount() == 0 || position < 1 || position > GetRowCount()) return;
    const std::string_view mailbox = GetMailboxName();
    const std::string path =
        kesto::platform::NativePath(kesto::MailboxFile(s_.board, mailbox, ".DAT"), s_.board.startDir);
    if (!kesto::platform::IsFile(path)) return;
    const kesto::RecordNo number = GetMessageNumberAt(position);
    // A record that cannot be read is logged where it is read and shows as the empty record.
    const kesto::MessageInfo m =
        kesto::GetMessageInfo(s_.board, mailbox, number).value_or(kesto::EmptyMessageInfo());
    model_->UpdateRow(position - 1, kesto::MakeMailRow(number, m, s_.CurrentMailbox));
    RowClick(position);
}

void frmMain::RefreshAllItems() {
    const int rows = GetRowCount();
    if (rows == 0) return;
    const std::string path = kesto::platform::NativePath(
        kesto::MailboxFile(s_.board, GetMailboxName(), ".DAT"), s_.board.startDir);
    if (!kesto::platform::IsFile(path)) return;
    // One read of the index for every row instead of one open per row.
    if (auto read = kesto::platform::ReadAll(path, indexBuffer_); !read) {
        kesto::LogFailure(s_.board.log, kModule, "RefreshAllItems", read.error());
        return;
    }
    const std::string_view all(indexBuffer_);
    for (int p = 1; p <= rows; ++p) {
        const kesto::RecordNo number = GetMessageNumberAt(p);
        if (number < 1) {
            kesto::LogFailure(s_.board.log, kModule, "RefreshItem",
                              kesto::Error(kesto::ErrorCode::BadRecordNumber));
            GetDialogs().ShowMessage(this, Dialogs::Icon::Critical, QStringLiteral("Kesto Error"),
                                     QStringLiteral("An error occurred while refreshing this item."));
            continue;
        }
        const std::size_t off = static_cast<std::size_t>(number - 1) * kesto::kMessageInfoSize;
        // A record past the end reads as the empty record, as a single read would.
        const std::string_view rec =
            off < all.size() ? all.substr(off, kesto::kMessageInfoSize) : std::string_view{};
        model_->UpdateRow(p - 1, kesto::MakeMailRow(number, rec, s_.CurrentMailbox), false);
    }
    model_->NotifyRowsChanged();
    RowClick(rows);
}

void frmMain::ClearSelection() {
    QItemSelectionModel* sel = ListView1->selectionModel();
    sel->clearSelection();
    sel->clearCurrentIndex();
}

void frmMain::SelectRow(int position) {
    if (position < 1 || position > GetRowCount()) return;
    const QModelIndex idx = model_->index(position - 1, 0);
    ListView1->selectionModel()->setCurrentIndex(idx,
                                                 QItemSelectionModel::Select | QItemSelectionModel::Rows);
    ListView1->scrollTo(idx);
}

int frmMain::GetSelectedPosition() const {
    const QItemSelectionModel* sel = ListView1->selectionModel();
    const QModelIndex cur = sel->currentIndex();
    if (cur.isValid() && sel->isRowSelected(cur.row(), {})) return cur.row() + 1;
    const QList<int> all = GetSelectedPositions();
    return all.isEmpty() ? 0 : all.first();
}

QList<int> frmMain::GetSelectedPositions() const {
    QList<int> out;
    const QModelIndexList rows = ListView1->selectionModel()->selectedRows();
    out.reserve(rows.size());
    for (const QModelIndex& i : rows) out.append(i.row() + 1);
    std::sort(out.begin(), out.end());
    return out;
}

void frmMain::RowClick(int position) {
    if (position < 1 || position > GetRowCount()) return;
    const bool deleted = model_->GetRow(position - 1).state == kesto::RowState::Deleted;
    const QString word = deleted ? QStringLiteral("UnDelete") : QStringLiteral("Delete");
    act_.del->setToolTip(word); // the toolbar's word; the menu keeps "&Delete Message"
    popUpDelete_->setText(word);
}

void frmMain::OnTabChanged(int index) {
    if (Loading) {
        QSignalBlocker block(tbsOptions);
        tbsOptions->setCurrentIndex(s_.CurrentMailbox == kesto::Mailbox::Received ? 0 : 1);
        return;
    }
    const kesto::Mailbox chosen = index == 0 ? kesto::Mailbox::Received : kesto::Mailbox::Sent;
    if (chosen != s_.CurrentMailbox) {
        s_.CurrentMailbox = chosen;
        RefreshList();
    }
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtFilter && event->type() == QEvent::KeyPress) {
        if (HandleFilterKey(static_cast<QKeyEvent*>(event))) return true;
    } else if (ListView1 && watched == ListView1->viewport()) {
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
            // Below the last row a right press would clear the selection the menu acts on.
            auto* me = static_cast<QMouseEvent*>(event);
            if (me->button() == Qt::RightButton && !ListView1->indexAt(me->position().toPoint()).isValid())
                return true;
        } else if (event->type() == QEvent::MouseButtonRelease) {
            auto* me = static_cast<QMouseEvent*>(event);
            if (me->button() == Qt::RightButton && GetRowCount() > 0)
                ShowPopupMenu(me->globalPosition().toPoint());
        } else if (event->type() == QEvent::ContextMenu) {
            return true; // the mouse shows the menu on release (above), the keyboard's on the list (below)
        }
    } else if (ListView1 && watched == ListView1) {
        // The menu key arrives as a context-menu event; X11 sends nothing for Shift+F10, so take the key.
        const bool menuKey = event->type() == QEvent::ContextMenu &&
                             static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard;
        const bool shiftF10 = event->type() == QEvent::KeyPress &&
                              static_cast<QKeyEvent*>(event)->key() == Qt::Key_F10 &&
                              static_cast<QKeyEvent*>(event)->modifiers() == Qt::ShiftModifier;
        // Return or Enter opens the selected message, as a double click does.
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
                (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
                if (act_.open->isEnabled()) act_.open->trigger();
                return true;
            }
        }
        if (menuKey || shiftF10) {
            if (GetRowCount() > 0) {
                // Open at the current row rather than wherever the pointer happens to be.
                const QRect row = ListView1->visualRect(ListView1->currentIndex());
                ShowPopupMenu(
                    ListView1->viewport()->mapToGlobal(row.isValid() ? row.bottomLeft() : QPoint()));
            }
            return true;
        }
        if (event->type() == QEvent::ContextMenu) return true; // the mouse shows it on release
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::ShowPopupMenu(const QPoint& globalPos) {
    mnuPopUp->popup(globalPos);
}

void frmMain::RefreshSelectedRow() {
    if (GetRowCount() == 0) return;
    const int p = GetSelectedPosition();
    if (p > 0) RefreshItem(p);
}

// ---------------------------------------------------------------- the timer

void frmMain::RecordPlacement() {
    const double d = GetDpi();
    kesto::LiveViewState& live = s_.live;
    const Qt::WindowStates st = windowState();
    const std::int32_t state = (st & Qt::WindowMinimized)                            ? 1
                               : (st & (Qt::WindowMaximized | Qt::WindowFullScreen)) ? 2
                                                                                     : 0;
    if (state == 0) {
        // The outer size, as it is restored.
        const int w = PixelsToTwips(frameGeometry().width(), d);
        const int h = PixelsToTwips(frameGeometry().height(), d);
        if (w > 3000 && h > 3000) {
            live.WindowTop = static_cast<float>(PixelsToTwips(pos().y(), d));
            live.WindowLeft = static_cast<float>(PixelsToTwips(pos().x(), d));
            live.WindowWidth = static_cast<float>(w);
            live.WindowHeight = static_cast<float>(h);
        }
    }
    live.WindowStateValue = state;
    for (int c = 0; c < MailListModel::ColumnCount; ++c)
        live.ColumnWidths[static_cast<std::size_t>(c)] =
            PixelsToTwips(ListView1->header()->sectionSize(c), d);
}

void frmMain::Timer1_Timer() {
    // By the first tick as a normal window the frame is known, if it has one.
    ApplySavedOuterSize();
    if (windowState() == Qt::WindowNoState) savedOuterSize_.reset();
    if (!Loading) RecordPlacement();

    const std::string path = kesto::platform::NativePath(
        kesto::MailboxFile(s_.board, GetMailboxName(), ".DAT"), s_.board.startDir);
    const std::int64_t bytes = kesto::platform::FileLengthIfAny(path).value_or(0);
    const float newSize = static_cast<float>(bytes);
    if (newSize < LastMailboxSize) {
        RefreshList();
        emit ListRebuilt();
    } else if (!Loading && s_.CurrentMailbox == kesto::Mailbox::Received) {
        // Growth never rebuilds the list; unread mail for the user is told of instead.
        NoticeArrivals(bytes);
    }
    LastMailboxSize = newSize;
}

} // namespace kesto::ui
