#include "app/DialogButtons.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace kesto::ui {

DialogButtons AddDialogButtons(QDialog* dialog, QWidget* contents, const QString& okText,
                               const QString& cancelText) {
    DialogButtons b;
    b.ok = new QPushButton(okText, dialog);
    b.ok->setObjectName(QStringLiteral("cmdOk"));
    b.ok->setDefault(true);
    b.cancel = new QPushButton(cancelText, dialog);
    b.cancel->setObjectName(QStringLiteral("cmdCancel"));
    auto* box = new QDialogButtonBox(dialog);
    box->addButton(b.ok, QDialogButtonBox::AcceptRole);
    box->addButton(b.cancel, QDialogButtonBox::RejectRole);
    auto* top = new QVBoxLayout(dialog);
    top->addWidget(contents);
    top->addWidget(box);
    return b;
}

} // namespace kesto::ui
