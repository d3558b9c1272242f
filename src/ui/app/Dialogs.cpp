#include "app/Dialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

namespace kesto::ui {
namespace {

class QtDialogs final : public Dialogs {
  public:
    void ShowMessage(QWidget* parent, Icon icon, const QString& title, const QString& text) override {
        QMessageBox::Icon qicon = QMessageBox::Information;
        switch (icon) {
        case Icon::Information:
            qicon = QMessageBox::Information;
            break;
        case Icon::Critical:
            qicon = QMessageBox::Critical;
            break;
        case Icon::Warning:
            qicon = QMessageBox::Warning;
            break;
        case Icon::Question:
            qicon = QMessageBox::Question;
            break;
        }
        QMessageBox box(qicon, title, text, QMessageBox::Ok, parent);
        // A message may quote what came in a mail: it is shown as text, never as markup.
        box.setTextFormat(Qt::PlainText);
        box.exec();
    }
    QString GetSaveFileName(QWidget* parent, const QString& title, const QString& directory,
                            const QString& defaultName, const QString& filters) override {
        QString start = directory.isEmpty() ? defaultName : directory + QLatin1Char('/') + defaultName;
        // The non-native dialog behaves the same on every desktop (and under Xvfb).
        return QFileDialog::getSaveFileName(parent, title, start, filters, nullptr,
                                            QFileDialog::DontUseNativeDialog);
    }
    QString GetOpenFileName(QWidget* parent, const QString& title, const QString& directory) override {
        return QFileDialog::getOpenFileName(parent, title, directory, QString(), nullptr,
                                            QFileDialog::DontUseNativeDialog);
    }
    QString GetExistingDirectory(QWidget* parent, const QString& title, const QString& directory) override {
        return QFileDialog::getExistingDirectory(
            parent, title, directory, QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    }
    bool ChoosePrinter(QWidget* parent, QPrinter& printer) override {
        QPrintDialog dlg(&printer, parent);
        return dlg.exec() == QDialog::Accepted;
    }
};

QtDialogs g_qtDialogs;
Dialogs* g_current = nullptr;

} // namespace

Dialogs& GetDialogs() {
    return g_current ? *g_current : g_qtDialogs;
}
void SetDialogs(Dialogs* d) {
    g_current = d;
}

} // namespace kesto::ui
