// Every header field of the open message as raw values, for the sysop.
#pragma once

#include <QDialog>

namespace kesto::ui {

struct Session;

class frmMessageInfo : public QDialog {
    Q_OBJECT
  public:
    explicit frmMessageInfo(Session& s, QWidget* parent = nullptr);

    void cmdCancel_Click();
};

} // namespace kesto::ui
