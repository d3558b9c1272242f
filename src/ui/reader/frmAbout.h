// The About box: product, version, the makers' notice and where to reach them.
#pragma once

#include <QDialog>

class QLabel;

namespace kesto::ui {

class frmAbout : public QDialog {
    Q_OBJECT
  public:
    explicit frmAbout(QWidget* parent = nullptr);

    static QString GetWebAddress();
    static QString GetSupportAddress();

    void lblWebLink_DblClick();
    void cmdOK_Click();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QLabel* lblWebLink = nullptr;
};

} // namespace kesto::ui
