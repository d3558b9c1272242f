// The address book window: lists the current user's entries for management
// (view mode) or as a recipient picker that hands back handle@system*network.
#pragma once

#include "AddressBook.h"
#include "app/Session.h"

#include <QDialog>

#include <optional>
#include <string>

class QGroupBox;
class QListWidget;
class QPushButton;
class QToolButton;

namespace kesto::ui {

class frmAddressBook : public QDialog {
    Q_OBJECT
  public:
    enum class Mode {
        View, // managing the entries: Select is off, Edit is the default
        Pick  // choosing a recipient
    };
    frmAddressBook(Session& s, Mode mode, QWidget* parent = nullptr);

    // Runs the picker; the chosen entry as handle@system*network (raw board bytes),
    // nothing when the window was closed without a choice.
    std::optional<std::string> PickAddress();
    const std::optional<std::string>& GetPickedAddress() const { return picked_; }

    bool IsBusy() const { return busy_; }
    bool IsViewMode() const { return viewMode_; }

    void cmdOk_Click();
    void cmdEdit_Click();
    void cmdInsert_Click();
    void cmdDelete_Click();
    void cmdMoveUp_Click();
    void cmdMoveDown_Click();
    void cmdCancel_Click();
    void lstAddressBook_DblClick();

  protected:
    void closeEvent(QCloseEvent* e) override;
    void reject() override;

  private:
    void Reload();
    void FillList();
    void SelectRow(int row);
    // Writes the book, reads it back and refills the list, so the list always shows the file.
    void SaveAndReload();

    Session& s_;
    kesto::AddressBook book_;
    bool busy_ = true;
    bool viewMode_ = false;
    std::optional<std::string> picked_;

    QGroupBox* fraAddressBook = nullptr;
    QListWidget* lstAddressBook = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdEdit = nullptr;
    QPushButton* cmdInsert = nullptr;
    QPushButton* cmdDelete = nullptr;
    QToolButton* cmdMoveUp = nullptr;
    QToolButton* cmdMoveDown = nullptr;
    QPushButton* cmdCancel = nullptr;
};

} // namespace kesto::ui
