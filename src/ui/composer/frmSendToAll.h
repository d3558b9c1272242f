// Builds an "all users" criterion for the composer's recipient box.
#pragma once

#include <QDialog>

#include <array>
#include <optional>
#include <string>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kesto::ui {

class frmSendToAll : public QDialog {
    Q_OBJECT
  public:
    explicit frmSendToAll(QWidget* parent = nullptr);

    // Runs the dialog; the criterion ("all users > 20", raw board bytes), nothing on Cancel.
    std::optional<std::string> PickCriterion();
    const std::optional<std::string>& GetCriterion() const { return criterion_; }

    void Option1_Click(int index);
    void cmdOk_Click();
    void cmdCancel_Click();

  private:
    bool IsLevelSelected() const;

    std::optional<std::string> criterion_;
    QLabel* lblSend = nullptr;
    QGroupBox* fraSendToAll = nullptr;
    std::array<QRadioButton*, 5> Option1{};
    QLabel* lblValue = nullptr;
    QLineEdit* ValueValue = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;
};

} // namespace kesto::ui
