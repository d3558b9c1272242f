#include "mailbox/frmMain.h"
#include "app/BoardText.h"

#include "app/Dialogs.h"
#include "app/Icons.h"
#include "app/Twips.h"
#include "mailbox/MailListModel.h"

#include "Bytes.h"
#include "TextHelpers.h"
#include "Cp1252.h"
#include "ErrorLog.h"
#include "MailBase.h"
#include "MailList.h"
#include "Startup.h"
#include "UserFile.h"
#include "platform/BoardPath.h"
#include "platform/File.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>

#include <algorithm>

namespace kesto::ui {
namespace {

constexpr const char* kModule = "frmMain";

// Design-time placement of the tab strip and the list inside the client area, in twips.
constexpr int kTabLeft = 30;
constexpr int kTabTop = 30;
constexpr int kListLeft = 90;

// The initial client area.
constexpr int kClientWidth = 10335;
constexpr int kClientHeight = 5655;

QFont TahomaFont() {
    QFont f(QStringLiteral("Tahoma"));
    f.setPointSizeF(8.25);
    return f;
}

// The reader's commands that make no sense once the list under it was rebuilt.
const char* const kReaderCommands[] = {
    "mnuFileSaveAs",    "mnuActionsPrint",     "mnuActionsReply",           "mnuActionsDelete",
    "mnuActionsInfo",   "mnuActionsAddSender", "mnuActionsPreviousMessage", "mnuActionsNextMessage",
    "Toolbar1_Button1", "Toolbar1_Button3",    "Toolbar1_Button4",          "Toolbar1_Button5",
    "Toolbar1_Button7", "Toolbar1_Button9",    "Toolbar1_Button10",         "mnuPopUpAdd",
};

// Only the fields a row shows, straight from an index record: decoding every
// field of 32,767 records would cost more than the rest of the refresh.
kesto::MessageInfo ShownFields(std::string_view rec) {
    kesto::MessageInfo m;
    m.FromHandle = kesto::GetText(rec, 8, 40);
    m.ToHandle = kesto::GetText(rec, 48, 40);
    m.Subject = kesto::GetText(rec, 268, 64);
    m.Deleted = kesto::GetI16(rec, 332);
    m.Creation = kesto::GetText(rec, 334, 40);
    m.Offline = kesto::GetI32(rec, 374);
    m.AttFileName = kesto::GetText(rec, 382, 12);
    m.MsgLength = kesto::GetI32(rec, 482);
    return m;
}

} // namespace

frmMain::frmMain(Session& session, QWidget* parent) : QMainWindow(parent), s_(session) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Kesto"));
    InitIcons();
    setWindowIcon(Icon("app"));

    buildMenus();
    buildToolbar();
    buildContextMenu();
    buildList();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &frmMain::Timer1_Timer);

    const double d = dpi();
    resize(TwipsToPixels(kClientWidth, d), TwipsToPixels(kClientHeight, d));
}

frmMain::~frmMain() = default;

double frmMain::dpi() const {
    return ScreenDpi(this);
}

// ---------------------------------------------------------------- building

void frmMain::buildMenus() {
    auto make = [this](QMenu* menu, const char* name, const char* caption, QKeySequence key = {}) {
        auto* a = new QAction(QString::fromUtf8(caption), this);
        a->setObjectName(QString::fromLatin1(name));
        if (!key.isEmpty()) a->setShortcut(key);
        menu->addAction(a);
        return a;
    };
    auto separator = [](QMenu* menu, const char* name) {
        menu->addSeparator()->setObjectName(QString::fromLatin1(name));
    };

    mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuFileSaveAs = make(mnuFile, "mnuFileSaveAs", "Save &As...");
    separator(mnuFile, "mnuFileSeperator0");
    mnuFileChangeUser = make(mnuFile, "mnuFileChangeUser", "&Change Current User");
    separator(mnuFile, "mnuFileSeperator1");
    mnuFileExit = make(mnuFile, "mnuFileExit", "E&xit");

    mnuActions = menuBar()->addMenu(QStringLiteral("&Actions"));
    mnuActions->setObjectName(QStringLiteral("mnuActions"));
    mnuActionsNew = make(mnuActions, "mnuActionsNew", "&New Message", QKeySequence(Qt::CTRL | Qt::Key_N));
    separator(mnuActions, "mnuActionsSeperator0");
    mnuActionsOpen = make(mnuActions, "mnuActionsOpen", "&Open Message", QKeySequence(Qt::CTRL | Qt::Key_O));
    mnuActionsPrint =
        make(mnuActions, "mnuActionsPrint", "&Print Message", QKeySequence(Qt::CTRL | Qt::Key_P));
    separator(mnuActions, "mnuActionsSeperator1");
    mnuActionsReply =
        make(mnuActions, "mnuActionsReply", "&Reply to Message", QKeySequence(Qt::CTRL | Qt::Key_R));
    mnuActionsDelete = make(mnuActions, "mnuActionsDelete", "&Delete Message", QKeySequence(Qt::Key_Delete));
    mnuActionsDeleteAll = make(mnuActions, "mnuActionsDeleteAll", "Delete A&ll Messages");
    separator(mnuActions, "mnuActionsSeperator2");
    mnuActionsAddressBook = make(mnuActions, "mnuActionsAddressBook", "Address &Book");
    mnuActionsAddSender = make(mnuActions, "mnuActionsAddSender", "&Add Sender to Address Book",
                               QKeySequence(Qt::CTRL | Qt::Key_Insert));
    separator(mnuActions, "mnuActionsSeperator3");
    mnuActionsRefresh = make(mnuActions, "mnuActionsRefresh", "&Refresh", QKeySequence(Qt::Key_F5));

    mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuHelpAbout = make(mnuHelp, "mnuHelpAbout", "&About");

    connect(mnuFileSaveAs, &QAction::triggered, this, &frmMain::mnuFileSaveAs_Click);
    connect(mnuFileChangeUser, &QAction::triggered, this, &frmMain::mnuFileChangeUser_Click);
    connect(mnuFileExit, &QAction::triggered, this, &QWidget::close);
    connect(mnuActionsNew, &QAction::triggered, this, &frmMain::mnuActionsNew_Click);
    connect(mnuActionsOpen, &QAction::triggered, this, &frmMain::mnuActionsOpen_Click);
    connect(mnuActionsPrint, &QAction::triggered, this, &frmMain::mnuActionsPrint_Click);
    connect(mnuActionsReply, &QAction::triggered, this, &frmMain::mnuActionsReply_Click);
    connect(mnuActionsDelete, &QAction::triggered, this, &frmMain::mnuActionsDelete_Click);
    connect(mnuActionsDeleteAll, &QAction::triggered, this, &frmMain::mnuActionsDeleteAll_Click);
    connect(mnuActionsAddressBook, &QAction::triggered, this, &frmMain::mnuActionsAddressBook_Click);
    connect(mnuActionsAddSender, &QAction::triggered, this, &frmMain::mnuActionsAddSender_Click);
    connect(mnuActionsRefresh, &QAction::triggered, this, &frmMain::mnuActionsRefresh_Click);
    connect(mnuHelpAbout, &QAction::triggered, this, &frmMain::mnuHelpAbout_Click);
}

void frmMain::buildToolbar() {
    Toolbar1 = addToolBar(QStringLiteral("Toolbar1"));
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setMovable(false);
    Toolbar1->setFloatable(false);
    Toolbar1->setIconSize(QSize(16, 16));
    Toolbar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    Toolbar1->toggleViewAction()->setVisible(false);
    setContextMenuPolicy(Qt::NoContextMenu); // no toolbar on/off menu on the window

    struct Button {
        int index;
        const char* key; // nullptr: separator
        const char* tip;
        void (frmMain::*command)();
    };
    const Button buttons[] = {
        {1, "new", "New Mail Message", &frmMain::mnuActionsNew_Click},
        {2, nullptr, nullptr, nullptr},
        {3, "open", "Open", &frmMain::mnuActionsOpen_Click},
        {4, "print", "Print", &frmMain::mnuActionsPrint_Click},
        {5, nullptr, nullptr, nullptr},
        {6, "reply", "Reply", &frmMain::mnuActionsReply_Click},
        {7, "delete", "Delete", &frmMain::mnuActionsDelete_Click},
        {8, "email_delete", "Delete All Messages", &frmMain::mnuActionsDeleteAll_Click},
        {9, nullptr, nullptr, nullptr},
        {10, "book", "Address Book", &frmMain::mnuActionsAddressBook_Click},
        {11, "book_add", "Add Sender to Address Book", &frmMain::mnuActionsAddSender_Click},
        {12, nullptr, nullptr, nullptr},
        {13, "refresh", "Refresh", &frmMain::mnuActionsRefresh_Click},
    };
    for (const Button& b : buttons) {
        QAction* a = nullptr;
        if (!b.key) {
            a = Toolbar1->addSeparator();
        } else {
            a = Toolbar1->addAction(Icon(b.key), QString::fromUtf8(b.tip));
            a->setToolTip(QString::fromUtf8(b.tip));
            connect(a, &QAction::triggered, this, b.command);
        }
        a->setObjectName(QStringLiteral("Toolbar1_Button%1").arg(b.index));
        Toolbar1_Button[static_cast<std::size_t>(b.index)] = a;
    }
}

void frmMain::buildContextMenu() {
    // Never part of the menu bar: it only pops up over the list.
    mnuPopUp = new QMenu(QStringLiteral("Options"), this);
    mnuPopUp->setObjectName(QStringLiteral("mnuPopUp"));
    const char* const captions[] = {"Open",    "Print",  nullptr,
                                    "Reply",   "Delete", nullptr,
                                    "Refresh", nullptr,  "Add Sender to Address Book"};
    for (int i = 0; i < 9; ++i) {
        QAction* a =
            captions[i] ? mnuPopUp->addAction(QString::fromUtf8(captions[i])) : mnuPopUp->addSeparator();
        a->setObjectName(QStringLiteral("mnuPopUpOptions_%1").arg(i));
        mnuPopUpOptions[static_cast<std::size_t>(i)] = a;
    }
    connect(mnuPopUpOptions[0], &QAction::triggered, this, &frmMain::mnuActionsOpen_Click);
    connect(mnuPopUpOptions[1], &QAction::triggered, this, &frmMain::mnuActionsPrint_Click);
    connect(mnuPopUpOptions[3], &QAction::triggered, this, &frmMain::mnuActionsReply_Click);
    connect(mnuPopUpOptions[4], &QAction::triggered, this, &frmMain::mnuActionsDelete_Click);
    connect(mnuPopUpOptions[6], &QAction::triggered, this, &frmMain::popupRefresh);
    connect(mnuPopUpOptions[8], &QAction::triggered, this, &frmMain::mnuActionsAddSender_Click);
}

void frmMain::buildList() {
    page_ = new QWidget(this);
    page_->setObjectName(QStringLiteral("fraMain"));
    setCentralWidget(page_);

    tbsOptions = new QTabBar(page_);
    tbsOptions->setObjectName(QStringLiteral("tbsOptions"));
    tbsOptions->setFont(TahomaFont());
    tbsOptions->setDrawBase(true);
    tbsOptions->setExpanding(false);
    tbsOptions->addTab(QStringLiteral("Received Email"));
    tbsOptions->setTabToolTip(0, QStringLiteral("Email sent to you."));
    tbsOptions->addTab(QStringLiteral("Sent Email"));
    tbsOptions->setTabToolTip(1, QStringLiteral("Email you sent to others."));
    connect(tbsOptions, &QTabBar::currentChanged, this, &frmMain::onTabChanged);

    model_ = new MailListModel(this);
    ListView1 = new QTreeView(page_);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setFont(TahomaFont());
    QFont bold = TahomaFont();
    bold.setBold(true);
    model_->setBoldFont(bold);
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
    ListView1->viewport()->installEventFilter(this);
    // The menu key and Shift+F10 go to the focused list itself, not to its viewport.
    ListView1->installEventFilter(this);
}

// ---------------------------------------------------------------- load and close

void frmMain::Form_Load() {
    Loading = true;
    const double d = dpi();
    QScreen* scr = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect screenRect = scr ? scr->geometry() : QRect(0, 0, 1024, 768);
    kesto::ScreenGeometry g;
    g.screenWidth = PixelsToTwips(screenRect.width(), d);
    g.screenHeight = PixelsToTwips(screenRect.height(), d);
    g.windowWidth = PixelsToTwips(width(), d);
    g.windowHeight = PixelsToTwips(height(), d);
    s_.viewSettings = kesto::LoadDat(s_.board, g);
    const kesto::ViewSettings& vs = s_.viewSettings;

    s_.CurrentUserNumber = 1;
    s_.CurrentMailbox = kesto::Mailbox::Received;
    s_.CurrentListIndex = 0;
    s_.CurrentMessageNumber = 0;
    s_.ReplyMode = false;
    s_.MessageSent = false;
    s_.LastMailboxSize = 0;
    s_.CurrentUser = kesto::GetUser(s_.board, 1).value_or(kesto::DecodeUserRecord({}));
    updateCaption();

    move(TwipsToPixels(vs.Left, d), TwipsToPixels(vs.Top, d));
    resize(TwipsToPixels(vs.Width, d), TwipsToPixels(vs.Height, d));
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
    // Closed before the first tick: keep the loaded placement rather than zeros.
    kesto::LiveViewState& live = s_.live;
    if (live.WindowWidth == 0 && live.WindowHeight == 0) {
        live.WindowTop = static_cast<float>(s_.viewSettings.Top);
        live.WindowLeft = static_cast<float>(s_.viewSettings.Left);
        live.WindowWidth = static_cast<float>(s_.viewSettings.Width);
        live.WindowHeight = static_cast<float>(s_.viewSettings.Height);
        recordPlacement();
    }
    // Settings that cannot be saved are logged; the window closes all the same.
    (void)kesto::SaveDat(s_.board, live);
    QCoreApplication::processEvents();
    return true;
}

void frmMain::Form_Unload() {
    // Every other window goes with the main window, the last opened first.
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (auto it = windows.crbegin(); it != windows.crend(); ++it) {
        QWidget* w = *it;
        if (w != this && w->isVisible() && !w->inherits("QMenu")) w->close();
    }
}

void frmMain::bringToFront() {
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

// ---------------------------------------------------------------- layout

void frmMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    layoutControls();
}

void frmMain::layoutControls() {
    if (!tbsOptions || !ListView1) return;
    const double d = dpi();
    const int W = std::max(3000, PixelsToTwips(width(), d));
    const int H = std::max(3000, PixelsToTwips(height(), d));
    // The tab strip shows only its tabs; the list fills the page below them.
    const int tabHeight = PixelsToTwips(tbsOptions->sizeHint().height(), d);
    tbsOptions->setGeometry(TwipsToPixels(kTabLeft, d), TwipsToPixels(kTabTop, d),
                            TwipsToPixels(W - 3 * kTabLeft, d), TwipsToPixels(tabHeight, d));
    const int listTop = kTabTop + tabHeight;
    ListView1->setGeometry(TwipsToPixels(kListLeft, d), TwipsToPixels(listTop, d),
                           TwipsToPixels(W - 3 * kListLeft + 90, d), TwipsToPixels(H - 3 * listTop - 180, d));
}

// ---------------------------------------------------------------- enabling

void frmMain::DisableControls() {
    for (QAction* a : {mnuFileSaveAs, mnuFileExit, mnuActionsNew, mnuActionsOpen, mnuActionsPrint,
                       mnuActionsReply, mnuActionsDelete, mnuActionsDeleteAll, mnuActionsAddressBook,
                       mnuActionsAddSender, mnuActionsRefresh, mnuHelpAbout})
        a->setEnabled(false);
    for (int i : {1, 3, 4, 6, 7, 8, 10, 11, 13})
        Toolbar1_Button[static_cast<std::size_t>(i)]->setEnabled(false);
    tbsOptions->hide();
}

void frmMain::EnableControls() {
    for (QAction* a : {mnuFileSaveAs, mnuFileExit, mnuActionsNew, mnuActionsOpen, mnuActionsPrint,
                       mnuActionsReply, mnuActionsDelete, mnuActionsDeleteAll, mnuActionsAddressBook,
                       mnuActionsAddSender, mnuActionsRefresh, mnuHelpAbout})
        a->setEnabled(true);
    for (int i : {1, 3, 4, 6, 7, 8, 10, 11, 13})
        Toolbar1_Button[static_cast<std::size_t>(i)]->setEnabled(true);
    tbsOptions->show();
    if (rowCount() == 0) {
        for (QAction* a : {mnuFileSaveAs, mnuActionsOpen, mnuActionsPrint, mnuActionsReply, mnuActionsDelete,
                           mnuActionsDeleteAll, mnuActionsAddSender})
            a->setEnabled(false);
        for (int i : {3, 4, 6, 7, 8, 11})
            Toolbar1_Button[static_cast<std::size_t>(i)]->setEnabled(false);
    }
}

// ---------------------------------------------------------------- the list

std::string_view frmMain::mailboxName() const {
    return kesto::MailboxName(s_.CurrentMailbox);
}

int frmMain::rowCount() const {
    return model_->rowCount();
}

std::int16_t frmMain::messageNumberAt(int position) const {
    if (position < 1 || position > rowCount()) return 0;
    return model_->row(position - 1).number;
}

void frmMain::updateCaption() {
    setWindowTitle(QStringLiteral("Kesto - ") + FromBoard(kesto::Trim(s_.CurrentUser.Handle)) +
                   QStringLiteral(" (#") + QString::number(s_.CurrentUserNumber) + QLatin1Char(')'));
}

void frmMain::RefreshList() {
    DisableControls();
    ListView1->hide();
    model_->setReceived(s_.CurrentMailbox == kesto::Mailbox::Received);
    kesto::Result<std::vector<kesto::MailRow>> rows =
        kesto::ReadMailboxRows(s_.board, s_.CurrentMailbox, s_.CurrentUserNumber, indexBuffer_);
    if (!rows) {
        // The list stays hidden and its commands off until a refresh succeeds.
        kesto::LogFailure(s_.board.log, kModule, "RefreshList", rows.error());
        dialogs().message(this, Dialogs::Icon::Critical, QStringLiteral("Kesto Error"),
                          QStringLiteral("An error occurred while refreshing the list."));
        return;
    }
    model_->setRows(std::move(*rows));
    const double d = dpi();
    for (int c = 0; c < MailListModel::ColumnCount; ++c)
        ListView1->header()->resizeSection(
            c, TwipsToPixels(s_.live.ColumnWidths[static_cast<std::size_t>(c)], d));

    // Re-apply the saved sort: the header click flips the order back.
    s_.live.SortOrder = s_.live.SortOrder != 0 ? 0 : 1;
    ListView1_ColumnClick(s_.live.SortedColumn);

    ListView1->show();
    ClearSelection();
    const int count = rowCount();
    if (count > 0) {
        int p = s_.CurrentListIndex >= 1 ? s_.CurrentListIndex : 1;
        p = std::min(p, count); // the index may have shrunk under the reader
        selectRow(p);
        RowClick(p);
    }
    EnableControls();
}

void frmMain::RefreshItem(int position) {
    if (rowCount() == 0 || position < 1 || position > rowCount()) return;
    const std::string_view mailbox = mailboxName();
    const std::string path =
        kesto::platform::NativePath(kesto::MailboxFile(s_.board, mailbox, ".DAT"), s_.board.startDir);
    if (!kesto::platform::IsFile(path)) return;
    const std::int16_t number = messageNumberAt(position);
    // A record that cannot be read is logged where it is read and shows as the empty record.
    const kesto::MessageInfo m =
        kesto::GetMessageInfo(s_.board, mailbox, number).value_or(kesto::EmptyMessageInfo());
    model_->updateRow(position - 1, kesto::MakeMailRow(number, m, s_.CurrentMailbox));
    RowClick(position);
}

void frmMain::RefreshAllItems() {
    const int rows = rowCount();
    if (rows == 0) return;
    const std::string path =
        kesto::platform::NativePath(kesto::MailboxFile(s_.board, mailboxName(), ".DAT"), s_.board.startDir);
    if (!kesto::platform::IsFile(path)) return;
    // One read of the index for every row instead of one open per row.
    if (auto read = kesto::platform::ReadAll(path, indexBuffer_); !read) {
        kesto::LogFailure(s_.board.log, kModule, "RefreshAllItems", read.error());
        return;
    }
    const std::string_view all(indexBuffer_);
    for (int p = 1; p <= rows; ++p) {
        const std::int16_t number = messageNumberAt(p);
        if (number < 1) {
            kesto::LogFailure(s_.board.log, kModule, "RefreshItem",
                              kesto::Error(kesto::ErrorCode::BadRecordNumber));
            dialogs().message(this, Dialogs::Icon::Critical, QStringLiteral("Kesto Error"),
                              QStringLiteral("An error occurred while refreshing this item."));
            continue;
        }
        const std::size_t off = static_cast<std::size_t>(number - 1) * kesto::kMessageInfoSize;
        // A record past the end reads as the empty record, as a single read would.
        const std::string_view rec =
            off < all.size() ? all.substr(off, kesto::kMessageInfoSize) : std::string_view{};
        model_->updateRow(p - 1, kesto::MakeMailRow(number, ShownFields(rec), s_.CurrentMailbox), false);
    }
    model_->rowsChanged();
    RowClick(rows);
}

void frmMain::ClearSelection() {
    QItemSelectionModel* sel = ListView1->selectionModel();
    sel->clearSelection();
    sel->clearCurrentIndex();
}

void frmMain::selectRow(int position) {
    if (position < 1 || position > rowCount()) return;
    const QModelIndex idx = model_->index(position - 1, 0);
    ListView1->selectionModel()->setCurrentIndex(idx,
                                                 QItemSelectionModel::Select | QItemSelectionModel::Rows);
    ListView1->scrollTo(idx);
}

int frmMain::selectedPosition() const {
    const QItemSelectionModel* sel = ListView1->selectionModel();
    const QModelIndex cur = sel->currentIndex();
    if (cur.isValid() && sel->isRowSelected(cur.row(), {})) return cur.row() + 1;
    const QList<int> all = selectedPositions();
    return all.isEmpty() ? 0 : all.first();
}

QList<int> frmMain::selectedPositions() const {
    QList<int> out;
    const QModelIndexList rows = ListView1->selectionModel()->selectedRows();
    out.reserve(rows.size());
    for (const QModelIndex& i : rows)
        out.append(i.row() + 1);
    std::sort(out.begin(), out.end());
    return out;
}

void frmMain::RowClick(int position) {
    if (position < 1 || position > rowCount()) return;
    const bool deleted = model_->row(position - 1).state == kesto::RowState::Deleted;
    const QString word = deleted ? QStringLiteral("UnDelete") : QStringLiteral("Delete");
    Toolbar1_Button[7]->setToolTip(word);
    mnuPopUpOptions[4]->setText(word);
}

void frmMain::onTabChanged(int index) {
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
    if (ListView1 && watched == ListView1->viewport()) {
        if (event->type() == QEvent::MouseButtonRelease) {
            auto* me = static_cast<QMouseEvent*>(event);
            if (me->button() == Qt::RightButton && rowCount() > 0)
                showPopupMenu(me->globalPosition().toPoint());
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
        if (menuKey || shiftF10) {
            if (rowCount() > 0) {
                // Open at the current row rather than wherever the pointer happens to be.
                const QRect row = ListView1->visualRect(ListView1->currentIndex());
                showPopupMenu(
                    ListView1->viewport()->mapToGlobal(row.isValid() ? row.bottomLeft() : QPoint()));
            }
            return true;
        }
        if (event->type() == QEvent::ContextMenu) return true; // the mouse shows it on release
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::showPopupMenu(const QPoint& globalPos) {
    mnuPopUp->popup(globalPos);
}

void frmMain::popupRefresh() {
    if (rowCount() == 0) return;
    const int p = selectedPosition();
    if (p > 0) RefreshItem(p);
}

// ---------------------------------------------------------------- the timer

void frmMain::recordPlacement() {
    const double d = dpi();
    kesto::LiveViewState& live = s_.live;
    const Qt::WindowStates st = windowState();
    const std::int32_t state = (st & Qt::WindowMinimized)                            ? 1
                               : (st & (Qt::WindowMaximized | Qt::WindowFullScreen)) ? 2
                                                                                     : 0;
    if (state == 0) {
        const int w = PixelsToTwips(width(), d);
        const int h = PixelsToTwips(height(), d);
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
    if (!Loading) recordPlacement();

    const std::string path =
        kesto::platform::NativePath(kesto::MailboxFile(s_.board, mailboxName(), ".DAT"), s_.board.startDir);
    const float newSize = static_cast<float>(kesto::platform::FileLengthIfAny(path).value_or(0));
    if (newSize < s_.LastMailboxSize) {
        // The reader may be showing a message of the old list: leave it only Close and About.
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->objectName().compare(QLatin1String("frmOpenMessage"), Qt::CaseInsensitive) != 0 ||
                !w->isVisible())
                continue;
            for (const char* name : kReaderCommands)
                if (QAction* a = w->findChild<QAction*>(QString::fromLatin1(name))) a->setEnabled(false);
        }
        RefreshList();
    }
    s_.LastMailboxSize = newSize;
}

} // namespace kesto::ui
