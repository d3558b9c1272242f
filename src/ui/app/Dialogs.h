// Every modal box the windows show that is not one of our own windows goes
// through this interface: message boxes, the save, open and folder dialogs and
// the print dialog. The program installs the Qt implementation; tests install
// one that records what was asked and answers without blocking.
#pragma once

#include <QString>

class QPrinter;
class QWidget;

namespace kesto::ui {

class Dialogs {
  public:
    enum class Icon { Information, Critical, Warning, Question };

    virtual ~Dialogs() = default;
    // A box with an OK button.
    virtual void ShowMessage(QWidget* parent, Icon icon, const QString& title, const QString& text) = 0;
    // The save dialog; returns the chosen path or an empty string on cancel. The
    // implementation asks before overwriting an existing file.
    virtual QString GetSaveFileName(QWidget* parent, const QString& title, const QString& directory,
                                    const QString& defaultName, const QString& filters) = 0;
    // The open dialog (file picker); returns the chosen path or an empty string.
    virtual QString GetOpenFileName(QWidget* parent, const QString& title, const QString& directory) = 0;
    // The folder dialog; returns the chosen folder or an empty string.
    virtual QString GetExistingDirectory(QWidget* parent, const QString& title, const QString& directory) = 0;
    // The print dialog on `printer`; false when cancelled.
    virtual bool ChoosePrinter(QWidget* parent, QPrinter& printer) = 0;
};

// The installed implementation (the Qt one unless a test replaced it).
Dialogs& GetDialogs();
// Installs `d` (not owned); nullptr restores the Qt implementation.
void SetDialogs(Dialogs* d);

} // namespace kesto::ui
