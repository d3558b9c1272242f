// The main window: the current user's received or sent mail in a list, the
// commands that act on it, and the one-second timer that watches the index.
#pragma once

#include "app/MailboxList.h"
#include "app/Session.h"

#include <QList>
#include <QMainWindow>
#include <QSize>
#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class QAction;
class QMenu;
class QTabBar;
class QTimer;
class QToolBar;
class QTreeView;

namespace kesto::ui {

class MailListModel;

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

    Session& s_;
    bool Loading = false;
    bool busy_ = false;                     // between DisableControls and EnableControls
    int CurrentListIndex = 0;               // 1-based row the reader or composer works on; 0 none
    float LastMailboxSize = 0;              // bytes of the shown index file at the last tick
    bool sortAscending_ = true;             // the list's last sort direction
    std::string indexBuffer_;               // reused by every rebuild and RefreshAllItems
    std::optional<QSize> savedOuterSize_;   // to be given the frame's room once it is known
    bool maximizedBeforeMinimized_ = false; // the state a minimized window comes back to

    MailListModel* model_ = nullptr;
    QTreeView* ListView1 = nullptr;
    QTabBar* tbsOptions = nullptr;
    QToolBar* Toolbar1 = nullptr;
    QTimer* Timer1 = nullptr;
    QWidget* page_ = nullptr;

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
    } act_;
};

} // namespace kesto::ui
