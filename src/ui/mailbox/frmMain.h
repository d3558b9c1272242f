// The main window: the current user's received or sent mail in a list, the
// commands that act on it, and the one-second timer that watches the index.
#pragma once

#include "app/MailboxList.h"
#include "app/Session.h"

#include "Search.h"

#include <QFutureWatcher>
#include <QList>
#include <QMainWindow>
#include <QSize>
#include <QString>

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QAction;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QSystemTrayIcon;
class QTabBar;
class QTimer;
class QToolBar;
class QTreeView;

namespace kesto::ui {

class EndOfSession;
class MailListModel;

// What a text search on the worker thread hands back.
struct TextSearchResult {
    std::vector<std::size_t> numbers; // record numbers whose text matched
    std::optional<kesto::Error> error;
};

class frmMain : public QMainWindow, public MailboxList {
    Q_OBJECT
  public:
    // Builds the window; nothing is read until Form_Load.
    explicit frmMain(Session& session, QWidget* parent = nullptr);
    ~frmMain() override;

    // The load sequence: settings, user 1, caption, placement, show, list, timer.
    void Form_Load();

    Session& GetSession() { return s_; }
    bool IsLoading() const { return Loading; }
    // Size of the shown index file at the last tick (0 before the first).
    float GetLastMailboxSize() const { return LastMailboxSize; }

    // The list.
    void RefreshList();
    void RefreshItem(int position);
    void RefreshAllItems();
    void ClearSelection();
    void SelectRow(int position);
    int GetSelectedPosition() const;         // 1-based; 0 when nothing is selected
    QList<int> GetSelectedPositions() const; // 1-based, ascending
    void UpdateCaption();
    void DisableControls();
    void EnableControls();
    // Words Delete as "Delete" or "UnDelete" after the row at `position`.
    void RowClick(int position);
    // A click on header `column` (1-based): arrow, sort state and sort.
    void ListView1_ColumnClick(int column);
    // One tick of Timer1.
    void Timer1_Timer();

    // MailboxList
    int GetRowCount() const override;
    kesto::RecordNo GetMessageNumberAt(int position) const override;

    // Brings the window forward when a second copy of the program starts.
    void BringToFront();
    // Closes the window as File > Exit does, once a send in progress has finished.
    void RequestExit();
    // Closes on the signals `ending` reports, and saves the settings when the desktop
    // session ends or the application quits without closing the window.
    void CloseOnEndOfSession(EndOfSession& ending);
    // Writes KESTO.DAT from the live view state, unless that is what was last written.
    void SaveSettings();

    // The filter box: the rows shown are those matching its query (SearchQuery.h). Header
    // words filter at once; text words are searched on a worker thread, and their
    // rows join the list when it is done (FilterApplied).
    void txtFilter_Change();
    void FocusFilter();
    bool IsSearchingTexts() const { return searching_; }

    // Commands; menus, toolbar buttons and the context menu share them.
    void mnuActionsOpen_Click();
    void mnuActionsPrint_Click();
    void mnuFileSaveAs_Click();
    // The shown rows, as an mbox file.
    void mnuFileExport_Click();
    void mnuActionsDelete_Click();
    void mnuActionsDeleteAll_Click();
    void mnuActionsRefresh_Click();
    void mnuHelpAbout_Click();
    void mnuActionsNew_Click();
    void mnuActionsReply_Click();
    void mnuActionsAddressBook_Click();
    void mnuActionsAddSender_Click();
    void mnuFileChangeUser_Click();

  signals:
    // The timer rebuilt the list because the index shrank: an open reader may be
    // showing a message that is no longer where its row says.
    void ListRebuilt();
    // The filter's rows are shown, the text search included.
    void FilterApplied();
    // The timer saw unread mail for the current user arrive; the texts are escaped
    // for the tray, whose tool tip and notifications may be rendered as markup.
    void MailArrived(const QString& toolTip, const QString& notice);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void SetupActions();
    void BuildMenus();
    void BuildToolbar();
    void BuildContextMenu();
    void BuildList();
    void UpdateActions();
    void ShowPopupMenu(const QPoint& globalPos);
    void RefreshSelectedRow();
    void OnTabChanged(int index);
    bool Form_QueryUnload();
    void Form_Unload();
    void RecordPlacement();
    void ApplySavedOuterSize();
    bool SortColumn(int column, int direction, bool numeric);
    std::string_view GetMailboxName() const;
    double GetDpi() const;

    void BuildFilter();
    // Escape clears the filter and Down goes to the list; true when the key was used.
    bool HandleFilterKey(QKeyEvent* key);
    // Shows the rows the query matches. A rebuild waits for the text search and
    // leaves the selection to itself; a keystroke hands the texts to a worker.
    void ApplyFilter(bool rebuilding);
    // keep[i] for each row whose header fields match; the rows left to the text go to `checks`.
    std::vector<char> MatchHeaders(std::vector<kesto::TextCheck>* checks) const;
    void ShowFiltered(const std::vector<char>& keep, bool select = true);
    void OnTextSearchDone(std::uint64_t generation, const TextSearchResult& result, bool rebuilding);
    void CancelTextSearch();
    void UpdateFilterLabel();
    // Reads the records the index grew by since the last look and tells of unread ones.
    void NoticeArrivals(std::int64_t indexSize);
    void ShowArrival(const QString& toolTip, const QString& notice);

    Session& s_;
    bool Loading = false;
    bool busy_ = false;                     // between DisableControls and EnableControls
    int CurrentListIndex = 0;               // 1-based row the reader or composer works on; 0 none
    float LastMailboxSize = 0;              // bytes of the shown index file at the last tick
    bool sortAscending_ = true;             // the list's last sort direction
    std::string indexBuffer_;               // reused by every rebuild and RefreshAllItems
    std::optional<QSize> savedOuterSize_;   // to be given the frame's room once it is known
    bool maximizedBeforeMinimized_ = false; // the state a minimized window comes back to
    // What KESTO.DAT was last written with.
    std::optional<kesto::LiveViewState> savedState_;

    kesto::Query query_;                 // the filter box's query
    std::uint64_t filterGeneration_ = 0; // a text search's results count only for its own
    std::shared_ptr<std::atomic<bool>> searchCancel_;
    std::uint64_t searchGeneration_ = 0; // the generation the running text search serves
    QFutureWatcher<TextSearchResult>* searchWatcher_ = nullptr;
    bool searching_ = false;
    bool searchFailed_ = false;
    std::int64_t noticedSize_ = 0; // bytes of EMAIL.DAT whose records were looked at for arrivals
    int arrivals_ = 0;             // unread messages arrived since the last rebuild

    MailListModel* model_ = nullptr;
    QTreeView* ListView1 = nullptr;
    QTabBar* tbsOptions = nullptr;
    QToolBar* Toolbar1 = nullptr;
    QTimer* Timer1 = nullptr;
    QWidget* page_ = nullptr;
    QLineEdit* txtFilter = nullptr;
    QLabel* lblFilter = nullptr;
    QSystemTrayIcon* tray_ = nullptr;

    QMenu* mnuPopUp = nullptr;
    QAction* popUpDelete_ = nullptr; // the context entry worded "Delete" or "UnDelete"

    struct Actions {
        QAction* saveAs = nullptr;
        QAction* exportMail = nullptr;
        QAction* changeUser = nullptr;
        QAction* exit = nullptr;
        QAction* newMessage = nullptr;
        QAction* open = nullptr;
        QAction* print = nullptr;
        QAction* reply = nullptr;
        QAction* del = nullptr;
        QAction* deleteAll = nullptr;
        QAction* addressBook = nullptr;
        QAction* addSender = nullptr;
        QAction* refresh = nullptr;
        QAction* about = nullptr;
        QAction* refreshRow = nullptr; // the context menu's own Refresh: the selected row only
        QAction* find = nullptr;       // focuses the filter box (Ctrl+F, /)
    } act_;
};

} // namespace kesto::ui
