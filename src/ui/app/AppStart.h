// The start-up steps that follow the single-instance check.
#pragma once

#include "app/Session.h"

#include <string>

namespace kesto::ui {

// Reads SYSPATHS.CFG and MAIN.CFG from startDir into session.board and stamps
// the version into HMRDATA.DAT. Without SYSPATHS.CFG it shows the critical
// "not found" box, touches nothing and returns false: the program then ends.
bool LoadBoard(const std::string& startDir, Session& session);

} // namespace kesto::ui
