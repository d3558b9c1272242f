// A read-only look at a whole board: what is damaged or inconsistent in its files.
// SysOps see damage in their mail base only when something breaks, and the
// board's own repair tools want the files to themselves; this can run beside it.
#pragma once

#include "Board.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace kesto {

struct CheckFinding {
    std::string file;                   // as the board names it: "EMAIL.DAT", "AB1.DAT", "SYSPATHS.CFG"
    std::optional<std::int64_t> number; // the record (or line) concerned; none for the file as a whole
    bool isLine = false;                // `number` counts the lines of a text file
    std::string problem;                // may quote board bytes (a folder name)
};

// Checks SYSPATHS.CFG's folders, the record files (whole records only), both
// mailboxes (text inside the text file, user numbers inside the user file, record
// numbers a 16-bit routine reaches, text bytes no record points to) and every
// address book, calling `report` for each problem in a fixed order. Every file is
// opened read-only and read in bounded pieces; nothing is written, not even the
// error log. Returns the number of problems.
std::size_t CheckBoard(const Board& b, const std::function<void(const CheckFinding&)>& report);

} // namespace kesto
