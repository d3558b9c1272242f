// Edits entry AddressBookEditIndex of the current user's address book.
#pragma once

#include "AddressBook.h"
#include "app/Session.h"

#include <QDialog>

class QGroupBox;
class QLineEdit;
class QPushButton;

namespace kesto::ui {

class frmAddressBookEdit : public QDialog {
    Q_OBJECT
  public:
    explicit frmAddressBookEdit(Session& s, QWidget* parent = nullptr);

    void cmdOk_Click();
    void cmdCancel_Click();

  private:
    bool indexValid() const;

    Session& s_;
    kesto::AddressBook book_;
    int index_ = 0;

    QGroupBox* fraAddressBook_ = nullptr;
    QLineEdit* DescriptionValue_ = nullptr;
    QLineEdit* AddressValue_ = nullptr;
    QLineEdit* NetIdValue_ = nullptr;
    QPushButton* cmdOk_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
};

} // namespace kesto::ui
