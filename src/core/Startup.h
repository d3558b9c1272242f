// modKesto: the board's path file, the version stamp and the program's own settings.
#pragma once

#include "Board.h"
#include "Result.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace kesto {

// Reads startDir/SYSPATHS.CFG and MAIN.CFG into a Board whose error log is
// startDir/HMRERROR.LOG written under exeName. Nothing when SYSPATHS.CFG is missing
// (the caller shows "SYSPATHS.CFG was not found! Exiting..." and ends); files that
// cannot be read are logged and leave their fields blank. Without writeLog the
// Board's log is off from the start, for callers that must write nothing at all.
std::optional<Board> LoadCfg(const std::string& startDir, const std::string& exeName = "kesto",
                             bool writeLog = true);
// Writes AppVersion, blank-padded to 15, at offset 66 of HMRDATA.DAT record 1.
Result<void> StampVersion(const Board& b);

// Screen and current window size in twips, passed in so settings load without a window.
struct ScreenGeometry {
    std::int32_t screenWidth = 0;
    std::int32_t screenHeight = 0;
    std::int32_t windowWidth = 0;
    std::int32_t windowHeight = 0;
};
// Loads KESTO.DAT (creating it with the defaults when missing) and validates it.
// A file that cannot be read or created is logged and gives the defaults.
ViewSettings LoadDat(const Board& b, const ScreenGeometry& g);
ViewSettings DefaultViewSettings(const ScreenGeometry& g);

// The live view state the window records (single-precision twips as the timer records them).
struct LiveViewState {
    float WindowTop = 0, WindowLeft = 0, WindowWidth = 0, WindowHeight = 0;
    std::int32_t WindowStateValue = 0;
    std::int16_t SortedColumn = 2;
    std::int16_t SortOrder = 1;
    std::array<std::int32_t, 6> ColumnWidths{360, 800, 2000, 3500, 2500, 1000};

    bool operator==(const LiveViewState&) const = default;
};
// Writes the live state over record 1 of KESTO.DAT, keeping any bytes after it; a
// missing file is created. A value that does not fit its field writes nothing.
Result<void> SaveDat(const Board& b, const LiveViewState& live);

} // namespace kesto
