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
    // Shows the message in 1-based `row` of `list`, the mailbox window's list.
    frmOpenMessage(Session& s, const MailboxList& list, int row, QWidget* parent = nullptr);

    // Shows the message in `row`: the answer to StepRequested.
    void ShowRow(int row);
    int GetRow() const { return row_; }
    kesto::RecordNo GetMessageNumber() const { return number_; }

    void ShowMessage();
    void ShowDeletedNotice();
    void DisableCommands();
    void EnableCommands();

    // The shown record as last read (after Delete: as read again).
    const kesto::MessageInfo& GetShownRecord() const { return shown_.info; }

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

    // The list was rebuilt under the window: the shown message may no longer be
    // where its row says, so only Close and About stay. Nothing gives the rest back.
    void OnListRebuilt();

  signals:
    // Previous or Next asks for `row`, which lies within the list.
    void StepRequested(int row);
    // Reply asks for an answer to `messageNumber`; the window closes after it.
    void ReplyRequested(kesto::RecordNo messageNumber);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void SetupActions();
    void UpdateActions();
    bool HasListedRows() const;
    void Step(int delta);

    Session& s_;
    const MailboxList& list_;
    int row_ = 0;
    kesto::RecordNo number_ = 0;
    kesto::ShownMessage shown_;
    bool busy_ = false; // between DisableCommands and EnableCommands
    bool listRebuilt_ = false;

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
    QToolBar* Toolbar1 = nullptr;
    QMenu* mnuPopUp = nullptr;
    QWidget* body_ = nullptr;
    QLabel* lblMailFromValue = nullptr;
    QLabel* lblMailToValue = nullptr;
    QLabel* lblMailSubjectValue = nullptr;
    QLabel* lblMailDateValue = nullptr;
    QLabel* lblMailDeleteValue = nullptr;
    QPlainTextEdit* txtMessage = nullptr;
};

} // namespace kesto::ui
