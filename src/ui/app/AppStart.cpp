#include "app/AppStart.h"

#include "app/Dialogs.h"

#include "Startup.h"
#include "platform/BoardPath.h"
#include "platform/File.h"

#include <QDir>
#include <QFile>
#include <QSettings>

namespace kesto::ui {
namespace {

const QString kBoardFolderKey = QStringLiteral("BoardFolder");

} // namespace

bool LoadBoard(const std::string& startDir, Session& session) {
    std::optional<kesto::Board> board = kesto::LoadCfg(startDir, "kesto");
    if (!board) {
        GetDialogs().ShowMessage(nullptr, Dialogs::Icon::Critical, QStringLiteral("Kesto Error"),
                                 QStringLiteral("SYSPATHS.CFG was not found! Exiting..."));
        return false;
    }
    // A version that cannot be stamped is logged; the program starts all the same.
    (void)kesto::StampVersion(*board);
    session.board = std::move(*board);
    return true;
}

bool HoldsBoard(const QString& folder) {
    const std::string dir = QFile::encodeName(folder).toStdString();
    return kesto::platform::IsFile(kesto::platform::NativePath("SYSPATHS.CFG", dir));
}

QString ChooseBoardFolder(const StartArguments& args, QSettings& settings) {
    QString folder = QDir::cleanPath(QDir::current().absoluteFilePath(args.dir));
    if (!args.pickBoard || HoldsBoard(folder)) return folder;

    const QString last = settings.value(kBoardFolderKey).toString();
    const QString picked =
        GetDialogs().GetExistingDirectory(nullptr, QStringLiteral("Kesto - Select the Board's Folder"),
                                          last.isEmpty() ? QDir::homePath() : last);
    if (picked.isEmpty()) return {};
    QString chosen = QDir::cleanPath(picked);
    if (HoldsBoard(chosen)) settings.setValue(kBoardFolderKey, chosen);
    return chosen;
}

} // namespace kesto::ui
