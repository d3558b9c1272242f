// The user picker: every listed user of the board, by number, handle and real name.
#pragma once

#include "app/Session.h"

#include <QDialog>

#include <cstdint>
#include <optional>
#include <vector>

class QGroupBox;
class QListWidget;
class QPushButton;

namespace kesto::ui {

class frmUserListing : public QDialog {
    Q_OBJECT
  public:
    explicit frmUserListing(Session& s, QWidget* parent = nullptr);

    // Runs the picker; the chosen user's record number, nothing on Cancel or an empty list.
    std::optional<std::int32_t> PickUser();
    const std::optional<std::int32_t>& GetPickedUser() const { return picked_; }

    void cmdOk_Click();
    void cmdCancel_Click();
    void lstUsers_DblClick();

    const std::vector<std::int32_t>& GetUserNumbers() const { return UserNumbers; }

  private:
    Session& s_;
    std::vector<std::int32_t> UserNumbers;
    std::optional<std::int32_t> picked_;
    QGroupBox* fraUserListing = nullptr;
    QListWidget* lstUsers = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;
};

} // namespace kesto::ui
