// kesto's command line: kesto [--pick-board] [DIR], --help, --version.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <string>

namespace kesto::ui {

struct StartArguments {
    QString dir;            // the board's folder as given; empty: the current folder
    bool pickBoard = false; // ask for the board's folder when that folder holds none
};

// The text --help or --version asks for, or nothing. It needs no display, so it
// is answered before the application object exists (argv still holds Qt's options).
std::optional<std::string> InfoOptionText(int argc, const char* const* argv);

// Parses the arguments Qt left over (QCoreApplication::arguments(), program name
// first). On a usage error returns nothing and sets `error` to the message and the usage line.
std::optional<StartArguments> ParseStartArguments(const QStringList& arguments, QString& error);

} // namespace kesto::ui
