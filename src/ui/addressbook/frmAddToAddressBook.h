// Proposes an address book entry for the correspondent of one message of the
// shown mailbox; OK hands the entry line back.
#pragma once

#include "Records.h"
#include "app/Session.h"

#include <QDialog>

#include <cstdint>
#include <optional>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace kesto::ui {

class frmAddToAddressBook : public QDialog {
    Q_OBJECT
  public:
    frmAddToAddressBook(Session& s, kesto::RecordNo messageNumber, QWidget* parent = nullptr);

    // Runs the dialog; the entry line ("description,handle@node,network", raw board
    // bytes) when the user pressed OK, nothing on Cancel or when the message could not be read.
    std::optional<std::string> ProposeEntry();
    const std::optional<std::string>& GetEntry() const { return entry_; }
    bool HasFailed() const { return failed_; }

    void cmdOk_Click();
    void cmdCancel_Click();
    void reject() override;

  protected:
    void showEvent(QShowEvent* e) override;

  private:
    Session& s_;
    kesto::MessageInfo message_;
    bool failed_ = false;
    std::optional<std::string> entry_;

    QLabel* lblAddressValue = nullptr;
    QLineEdit* DescriptionValue = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;
};

} // namespace kesto::ui
