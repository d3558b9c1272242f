// Builds an "all users" criterion for the composer's recipient box.
#pragma once

#include "app/Session.h"

#include <QDialog>

#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kesto::ui {

class frmSendToAll : public QDialog {
    Q_OBJECT
  public:
    explicit frmSendToAll(Session& s, QWidget* parent = nullptr);

    void Option1_Click(int index);
    void cmdOk_Click();
    void cmdCancel_Click();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool levelSelected() const;

    Session& s_;
    QLabel* lblSend = nullptr;
    QGroupBox* fraSendToAll = nullptr;
    std::array<QRadioButton*, 5> Option1{};
    QLabel* lblValue = nullptr;
    QLineEdit* ValueValue = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;
};

} // namespace kesto::ui
