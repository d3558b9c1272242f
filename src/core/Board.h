// The context every board routine takes: where the board is, its paths and
// configuration, and the error log. Nothing here is process-wide.
#pragma once

#include "ErrorLog.h"
#include "Records.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kesto {

// A record number in a mailbox index (the first record is 1), and a user number as
// the searches count them. 32-bit, so a mailbox past 32,767 records is whole.
using RecordNo = std::int32_t;

struct Board {
    // Absolute directory the program started in (the one holding SYSPATHS.CFG).
    // Relative SYSPATHS.CFG fields are taken relative to it, and HMRERROR.LOG lives there.
    std::string startDir;
    ErrorLog log;
    SysPaths paths;
    MainConfig mainCfg;
};

// A board file name as the board forms it: the field trimmed, a backslash, the name
// ("mail" + "EMAIL.DAT" -> "mail\EMAIL.DAT"). Opening such a name goes through
// platform::NativePath (platform/BoardPath.h).
std::string BoardFile(std::string_view field, std::string_view name);
// The same name resolved to the real file on this machine (platform::NativePath
// against startDir): what every routine opens.
std::string BoardNativePath(const Board& b, std::string_view field, std::string_view name);

} // namespace kesto
