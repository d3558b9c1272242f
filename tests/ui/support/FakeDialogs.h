// A Dialogs implementation for tests: records every box and answers from a script.
#pragma once

#include "app/Dialogs.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace kesto::test {

class FakeDialogs : public kesto::ui::Dialogs {
  public:
    struct Message {
        Icon icon;
        QString title;
        QString text;
    };

    FakeDialogs() { kesto::ui::SetDialogs(this); }
    ~FakeDialogs() override { kesto::ui::SetDialogs(nullptr); }

    void ShowMessage(QWidget*, Icon icon, const QString& title, const QString& text) override {
        messages.append({icon, title, text});
    }
    QString GetSaveFileName(QWidget*, const QString& title, const QString& directory,
                            const QString& defaultName, const QString& filters) override {
        lastTitle = title;
        lastDirectory = directory;
        lastDefaultName = defaultName;
        lastFilters = filters;
        return saveAnswer;
    }
    QString GetOpenFileName(QWidget*, const QString& title, const QString& directory) override {
        lastTitle = title;
        lastDirectory = directory;
        return openAnswer;
    }
    QString GetExistingDirectory(QWidget*, const QString& title, const QString& directory) override {
        lastTitle = title;
        lastDirectory = directory;
        ++folderAsked;
        return folderAnswer;
    }
    bool ChoosePrinter(QWidget*, QPrinter& printer) override;

    QList<Message> messages;
    QString saveAnswer;   // empty = cancel
    QString openAnswer;   // empty = cancel
    QString folderAnswer; // empty = cancel
    int folderAsked = 0;
    QString printToPdf; // empty = cancel the print dialog; else print into this PDF file
    QString lastTitle, lastDirectory, lastDefaultName, lastFilters;
};

} // namespace kesto::test
