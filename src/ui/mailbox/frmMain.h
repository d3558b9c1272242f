// The main window: the current user's received or sent mail in a list, the
// commands that act on it, and the one-second timer that watches the index.
#pragma once

#include "app/MailboxList.h"
#include "app/Session.h"

#include <QList>
#include <QMainWindow>
#include <QString>

#include <array>
#include <cstdint>
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

    Session& session() { return s_; }
    bool isLoading() const { return Loading; }

    // The list.
    void RefreshList();
    void RefreshItem(int position);
    void RefreshAllItems();
    void ClearSelection();
    void selectRow(int position);
    int selectedPosition() const;         // 1-based; 0 when nothing is selected
    QList<int> selectedPositions() const; // 1-based, ascending
    void updateCaption();
    void DisableControls();
    void EnableControls();
    // Words Delete as "Delete" or "UnDelete" after the row at `position`.
    void RowClick(int position);
    // A click on header `column` (1-based): arrow, sort state and sort.
    void ListView1_ColumnClick(int column);
    // One tick of Timer1.
    void Timer1_Timer();

    // MailboxList
    int rowCount() const override;
    std::int16_t messageNumberAt(int position) const override;

    // Brings the window forward when a second copy of the program starts.
    void bringToFront();

    // Commands; menus, toolbar buttons and the context menu share them.
    void mnuActionsOpen_Click();
    void mnuActionsPrint_Click();
    void mnuFileSaveAs_Click();
    void mnuActionsDelete_Click();
    void mnuActionsDeleteAll_Click();
    void mnuActionsRefresh_Click();
    void mnuHelpAbout_Click();
    void mnuActionsNew_Click();
    void mnuActionsReply_Click();
    void mnuActionsAddressBook_Click();
    void mnuActionsAddSender_Click();
    void mnuFileChangeUser_Click();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildMenus();
    void buildToolbar();
    void buildContextMenu();
    void buildList();
    void layoutControls();
    void showPopupMenu(const QPoint& globalPos);
    void popupRefresh();
    void onTabChanged(int index);
    bool Form_QueryUnload();
    void Form_Unload();
    void recordPlacement();
    bool SortColumn(int column, int direction, bool numeric);
    std::string_view mailboxName() const;
    double dpi() const;

    Session& s_;
    bool Loading = false;
    bool sortAscending_ = true; // the list's last sort direction
    std::string indexBuffer_;   // reused by every rebuild and RefreshAllItems

    MailListModel* model_ = nullptr;
    QTreeView* ListView1 = nullptr;
    QTabBar* tbsOptions = nullptr;
    QToolBar* Toolbar1 = nullptr;
    QTimer* Timer1 = nullptr;
    QWidget* page_ = nullptr;

    QMenu* mnuFile = nullptr;
    QMenu* mnuActions = nullptr;
    QMenu* mnuHelp = nullptr;
    QMenu* mnuPopUp = nullptr;

    QAction* mnuFileSaveAs = nullptr;
    QAction* mnuFileChangeUser = nullptr;
    QAction* mnuFileExit = nullptr;
    QAction* mnuActionsNew = nullptr;
    QAction* mnuActionsOpen = nullptr;
    QAction* mnuActionsPrint = nullptr;
    QAction* mnuActionsReply = nullptr;
    QAction* mnuActionsDelete = nullptr;
    QAction* mnuActionsDeleteAll = nullptr;
    QAction* mnuActionsAddressBook = nullptr;
    QAction* mnuActionsAddSender = nullptr;
    QAction* mnuActionsRefresh = nullptr;
    QAction* mnuHelpAbout = nullptr;
    std::array<QAction*, 9> mnuPopUpOptions{};
    std::array<QAction*, 14> Toolbar1_Button{}; // 1-based; [0] unused
};

} // namespace kesto::ui
