// The OK/Cancel pair under a small dialog's contents.
#pragma once

#include <QString>

class QDialog;
class QPushButton;
class QWidget;

namespace kesto::ui {

struct DialogButtons {
    QPushButton* ok = nullptr;     // objectName "cmdOk", the default button (Return)
    QPushButton* cancel = nullptr; // objectName "cmdCancel"
};

// Lays out `contents` above the two buttons as the dialog's whole layout.
DialogButtons AddDialogButtons(QDialog* dialog, QWidget* contents,
                               const QString& okText = QStringLiteral("OK"),
                               const QString& cancelText = QStringLiteral("Cancel"));

} // namespace kesto::ui
