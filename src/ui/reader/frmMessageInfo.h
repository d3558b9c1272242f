// Every header field of the open message as raw values, for the sysop.
#pragma once

#include <QDialog>

#include <cstdint>

namespace kesto::ui {

struct Session;

class frmMessageInfo : public QDialog {
    Q_OBJECT
  public:
    // Shows message `messageNumber` of the shown mailbox.
    frmMessageInfo(Session& s, std::int16_t messageNumber, QWidget* parent = nullptr);

    void cmdCancel_Click();
};

} // namespace kesto::ui
