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
    std::optional<std::string> proposeEntry();
    const std::optional<std::string>& entry() const { return entry_; }
    bool failed() const { return failed_; }

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

    QLabel* lblAddressValue_ = nullptr;
    QLineEdit* DescriptionValue_ = nullptr;
    QPushButton* cmdOk_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
};

} // namespace kesto::ui
