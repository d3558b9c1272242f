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

    FakeDialogs() { kesto::ui::setDialogs(this); }
    ~FakeDialogs() override { kesto::ui::setDialogs(nullptr); }

    void message(QWidget*, Icon icon, const QString& title, const QString& text) override {
        messages.append({icon, title, text});
    }
    QString saveFileName(QWidget*, const QString& title, const QString& directory, const QString& defaultName,
                         const QString& filters) override {
        lastTitle = title;
        lastDirectory = directory;
        lastDefaultName = defaultName;
        lastFilters = filters;
        return saveAnswer;
    }
    QString openFileName(QWidget*, const QString& title, const QString& directory) override {
        lastTitle = title;
        lastDirectory = directory;
        return openAnswer;
    }
    QString existingDirectory(QWidget*, const QString& title, const QString& directory) override {
        lastTitle = title;
        lastDirectory = directory;
        ++folderAsked;
        return folderAnswer;
    }
    bool choosePrinter(QWidget*, QPrinter& printer) override;

    QList<Message> messages;
    QString saveAnswer;   // empty = cancel
    QString openAnswer;   // empty = cancel
    QString folderAnswer; // empty = cancel
    int folderAsked = 0;
    QString printToPdf; // empty = cancel the print dialog; else print into this PDF file
    QString lastTitle, lastDirectory, lastDefaultName, lastFilters;
};

} // namespace kesto::test
