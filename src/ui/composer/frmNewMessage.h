// The composer: writes a new message or a reply and hands it to delivery.
#pragma once

#include "app/Session.h"

#include <QDialog>
#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class QToolBar;
class QWidget;

namespace kesto::ui {

class frmNewMessage : public QDialog {
    Q_OBJECT
  public:
    // A new message, or with `replyTo` a reply to that message of the shown mailbox.
    explicit frmNewMessage(Session& s, QWidget* parent = nullptr,
                           std::optional<kesto::RecordNo> replyTo = {});

    // Runs the window; true when a message was sent (the window then closed itself).
    bool WriteMessage();

    // Commands; menu items and toolbar buttons share them.
    void mnuFileClose_Click();
    void mnuActionsSend_Click();
    void mnuActionsAttach_Click();
    void mnuActionsAddressBook_Click();
    void mnuActionsUserlist_Click();
    void mnuActionsSendToAll_Click();
    void mnuHelpAbout_Click();

    void MailTo_Change();
    void Form_Activate();
    void LockComposer();
    void UnlockComposer();

    const std::vector<std::string>& GetNetList() const { return NetList; }
    bool IsLocked() const { return locked_; }

    // Closing is refused while a send runs: the send is still using the window.
    void reject() override;

  protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

  private:
    void Form_Load(std::optional<kesto::RecordNo> replyTo);
    void SetupActions();
    void BuildControls();
    void UpdateActions();
    void FillNetList();
    bool IsAttachAllowed() const;
    void SetRecipient(const std::string& mailTo, int line);
    void LimitMessageLength(int position, int added);
    std::string GetMessageText() const;
    // The file to attach: the one picked while the box still shows it, else what the box names.
    std::string GetAttachmentSource() const;
    bool IsPickedFileShown() const;

    Session& s_;
    std::vector<std::string> NetList;
    kesto::MessageInfo RepliedMessage;
    std::string RepliedText;
    bool FirstActivate = true;
    bool ReplyPending = false;
    bool locked_ = false;
    bool attachAllowed_ = false; // the attach rule as last evaluated (on a change of the recipient)
    QString attachPicked_;       // the file last picked with Attach, as the file system names it
    QString attachShown_;        // the box's text for it

    QMenuBar* menuBar_ = nullptr;
    QWidget* page_ = nullptr;
    QToolBar* Toolbar1 = nullptr;
    QPushButton* cmdTo = nullptr;
    QLineEdit* MailTo = nullptr;
    QComboBox* MailToNetid = nullptr;
    QLabel* lblMailSubject = nullptr;
    QLineEdit* MailSubject = nullptr;
    QPushButton* cmdAttach = nullptr;
    QLineEdit* MailAttach = nullptr;
    QPlainTextEdit* txtMessage = nullptr;

    struct Actions {
        QAction* close = nullptr;
        QAction* send = nullptr;
        QAction* attach = nullptr;
        QAction* addressBook = nullptr;
        QAction* userList = nullptr;
        QAction* sendToAll = nullptr;
        QAction* about = nullptr;
    } act_;
};

} // namespace kesto::ui
