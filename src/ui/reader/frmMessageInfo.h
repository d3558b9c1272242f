// Every header field of the open message as raw values, for the sysop.
#pragma once

#include <QDialog>

#include "Board.h"

namespace kesto::ui {

struct Session;

class frmMessageInfo : public QDialog {
    Q_OBJECT
  public:
    // Shows message `messageNumber` of the shown mailbox.
    frmMessageInfo(Session& s, kesto::RecordNo messageNumber, QWidget* parent = nullptr);

    void cmdCancel_Click();
};

} // namespace kesto::ui
