// The start-up steps that follow the single-instance check.
#pragma once

#include "app/Session.h"
#include "app/StartArguments.h"

#include <QString>

#include <string>

class QSettings;

namespace kesto::ui {

// Reads SYSPATHS.CFG and MAIN.CFG from startDir into session.board and stamps
// the version into HMRDATA.DAT. Without SYSPATHS.CFG it shows the critical
// "not found" box, touches nothing and returns false: the program then ends.
bool LoadBoard(const std::string& startDir, Session& session);

// True when `folder` holds a board, that is SYSPATHS.CFG (in any letter case).
bool HoldsBoard(const QString& folder);

// The folder the program works in: DIR when given (relative to the current
// folder), otherwise the current folder. With --pick-board and no board there,
// the user picks the board's folder in a folder dialog that opens on the one
// picked last time; a picked folder that holds a board is remembered in
// `settings`. Empty when the user cancelled.
QString ChooseBoardFolder(const StartArguments& args, QSettings& settings);

} // namespace kesto::ui
