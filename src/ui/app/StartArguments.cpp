#include "app/StartArguments.h"

#include "ErrorLog.h"

#include <QCommandLineParser>

#include <string_view>

namespace kesto::ui {
namespace {

constexpr std::string_view kUsage = "usage: kesto [--pick-board] [DIR]\n";

constexpr std::string_view kHelp =
    "Kesto reads and writes the mail of a Halkmoor board. It starts on the board whose\n"
    "SYSPATHS.CFG is in DIR, or in the current folder when DIR is not given.\n"
    "\n"
    "  --pick-board  when that folder holds no SYSPATHS.CFG, ask for the board's folder\n"
    "                (the folder picked last time is offered)\n"
    "  -h, --help    show this help and exit\n"
    "  --version     show the version and exit\n"
    "\n"
    "Qt's own options, such as -platform NAME, are taken as well.\n";

} // namespace

std::optional<std::string> InfoOptionText(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        if (a == "--") break;
        if (a == "--help" || a == "-h") return std::string(kUsage) + std::string(kHelp);
        if (a == "--version") return "kesto " + std::string(AppVersion) + "\n";
    }
    return std::nullopt;
}

std::optional<StartArguments> ParseStartArguments(const QStringList& arguments, QString& error) {
    QCommandLineParser parser;
    const QCommandLineOption pickBoard(QStringLiteral("pick-board"));
    parser.addOption(pickBoard);
    // Answered before; known here so they are not taken for unknown options.
    parser.addOption(QCommandLineOption(QStringList{QStringLiteral("h"), QStringLiteral("help")}));
    parser.addOption(QCommandLineOption(QStringLiteral("version")));
    parser.addPositionalArgument(QStringLiteral("DIR"), QString());

    const QString usage = QString::fromLatin1(kUsage.data(), qsizetype(kUsage.size()));
    if (!parser.parse(arguments)) {
        error = QStringLiteral("kesto: ") + parser.errorText() + QLatin1Char('\n') + usage;
        return std::nullopt;
    }
    const QStringList dirs = parser.positionalArguments();
    if (dirs.size() > 1) {
        error = QStringLiteral("kesto: one board folder at most, not '%1'\n")
                    .arg(dirs.join(QStringLiteral("' '"))) +
                usage;
        return std::nullopt;
    }
    StartArguments result;
    result.pickBoard = parser.isSet(pickBoard);
    if (!dirs.isEmpty()) result.dir = dirs.front();
    return result;
}

} // namespace kesto::ui
