// Edits one entry of the current user's address book and saves the book on OK.
#pragma once

#include "AddressBook.h"
#include "app/Session.h"

#include <QDialog>

#include <optional>
#include <string>

class QGroupBox;
class QLineEdit;
class QPushButton;

namespace kesto::ui {

class frmAddressBookEdit : public QDialog {
    Q_OBJECT
  public:
    // Edits entry `entryNumber` (1-based) of the book as it is in the file.
    frmAddressBookEdit(Session& s, int entryNumber, QWidget* parent = nullptr);

    // Runs the editor; the entry line as saved on OK (raw board bytes), nothing on Cancel.
    std::optional<std::string> EditEntry();
    const std::optional<std::string>& GetSavedEntry() const { return saved_; }

    void cmdOk_Click();
    void cmdCancel_Click();

  private:
    bool IsIndexValid() const;

    Session& s_;
    kesto::AddressBook book_;
    int index_ = 0;
    std::optional<std::string> saved_;

    QGroupBox* fraAddressBook = nullptr;
    QLineEdit* DescriptionValue = nullptr;
    QLineEdit* AddressValue = nullptr;
    QLineEdit* NetIdValue = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;
};

} // namespace kesto::ui
