#include "app/AppStart.h"

#include "app/Dialogs.h"

#include "CommonFunctions.h"
#include "Startup.h"
#include "platform/BoardPath.h"
#include "platform/File.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>

namespace kesto::ui {
namespace {

void PumpQtEvents() {
    QCoreApplication::processEvents();
}

const QString kBoardFolderKey = QStringLiteral("BoardFolder");

} // namespace

bool LoadBoard(const std::string& startDir, Session& session) {
    kesto::LoadCfgResult cfg = kesto::LoadCfg(startDir, "kesto");
    if (!cfg.found) {
        dialogs().message(nullptr, Dialogs::Icon::Critical, QStringLiteral("Kesto Error"),
                          QStringLiteral("SYSPATHS.CFG was not found! Exiting..."));
        return false;
    }
    kesto::StampVersion(cfg.board);
    session.board = std::move(cfg.board);
    return true;
}

bool HoldsBoard(const QString& folder) {
    const std::string dir = QFile::encodeName(folder).toStdString();
    return kesto::platform::IsFile(kesto::platform::NativePath("SYSPATHS.CFG", dir));
}

QString ChooseBoardFolder(const StartArguments& args, QSettings& settings) {
    const QString folder = QDir::cleanPath(QDir::current().absoluteFilePath(args.dir));
    if (!args.pickBoard || HoldsBoard(folder)) return folder;

    const QString last = settings.value(kBoardFolderKey).toString();
    const QString picked =
        dialogs().existingDirectory(nullptr, QStringLiteral("Kesto - Select the Board's Folder"),
                                    last.isEmpty() ? QDir::homePath() : last);
    if (picked.isEmpty()) return {};
    const QString chosen = QDir::cleanPath(picked);
    if (HoldsBoard(chosen)) settings.setValue(kBoardFolderKey, chosen);
    return chosen;
}

void InstallEventPump() {
    kesto::SetPumpEventsHook(&PumpQtEvents);
}

} // namespace kesto::ui
