// Proposes an address book entry for the correspondent of message
// CurrentMessageNumber; OK hands the entry line back in DialogMode.
#pragma once

#include "Records.h"
#include "app/Session.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace kesto::ui {

class frmAddToAddressBook : public QDialog {
    Q_OBJECT
  public:
    explicit frmAddToAddressBook(Session& s, QWidget* parent = nullptr);

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

    QLabel* lblAddressValue_ = nullptr;
    QLineEdit* DescriptionValue_ = nullptr;
    QPushButton* cmdOk_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
};

} // namespace kesto::ui
