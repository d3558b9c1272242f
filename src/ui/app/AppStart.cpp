#include "app/AppStart.h"

#include "app/Dialogs.h"

#include "Startup.h"

namespace kesto::ui {

bool LoadBoard(const std::string& startDir, Session& session) {
    std::optional<kesto::Board> board = kesto::LoadCfg(startDir, "kesto");
    if (!board) {
        dialogs().message(nullptr, Dialogs::Icon::Critical, QStringLiteral("Kesto Error"),
                          QStringLiteral("SYSPATHS.CFG was not found! Exiting..."));
        return false;
    }
    // A version that cannot be stamped is logged; the program starts all the same.
    (void)kesto::StampVersion(*board);
    session.board = std::move(*board);
    return true;
}

} // namespace kesto::ui
