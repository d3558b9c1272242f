// The reader window: one message of the listed mailbox, with stepping through
// the list's rows, the deletion mark, printing, saving and the reply request.
#pragma once

#include "ReadMark.h"

#include <QDialog>

#include <cstdint>

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QToolBar;

namespace kesto::ui {

class MailboxList;
struct Session;

class frmOpenMessage : public QDialog {
    Q_OBJECT
  public:
    frmOpenMessage(Session& s, MailboxList& list, QWidget* parent = nullptr);

    void ShowMessage();
    void ShowDeletedNotice();
    void DisableCommands();
    void EnableCommands();

    // The shown record as last read (after Delete: as read again).
    const kesto::MessageInfo& shownRecord() const { return shown_.info; }

    void mnuFileSaveAs_Click();
    void mnuFileClose_Click();
    void mnuActionsPrint_Click();
    void mnuActionsReply_Click();
    void mnuActionsDelete_Click();
    void mnuActionsInfo_Click();
    void mnuActionsAddSender_Click();
    void mnuActionsPreviousMessage_Click();
    void mnuActionsNextMessage_Click();
    void mnuHelpAbout_Click();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void setupActions();
    void updateActions();
    bool listHasRows() const;
    void step(int delta);

    Session& s_;
    MailboxList& list_;
    kesto::ShownMessage shown_;
    bool busy_ = false; // between DisableCommands and EnableCommands

    struct Actions {
        QAction* saveAs = nullptr;
        QAction* close = nullptr;
        QAction* print = nullptr;
        QAction* reply = nullptr;
        QAction* del = nullptr;
        QAction* info = nullptr;
        QAction* addSender = nullptr;
        QAction* previous = nullptr;
        QAction* next = nullptr;
        QAction* about = nullptr;
    } act_;

    QMenuBar* menuBar_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    QMenu* mnuPopUp_ = nullptr;
    QWidget* body_ = nullptr;
    QLabel* lblMailFromValue_ = nullptr;
    QLabel* lblMailToValue_ = nullptr;
    QLabel* lblMailSubjectValue_ = nullptr;
    QLabel* lblMailDateValue_ = nullptr;
    QLabel* lblMailDeleteValue_ = nullptr;
    QPlainTextEdit* txtMessage_ = nullptr;
};

} // namespace kesto::ui
