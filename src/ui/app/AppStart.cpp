#include "app/AppStart.h"

#include "app/Dialogs.h"

#include "Startup.h"

namespace kesto::ui {

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

} // namespace kesto::ui
