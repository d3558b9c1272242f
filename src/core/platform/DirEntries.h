// Directory lookups behind NativePath, shared with the long/short file name helpers.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kesto::platform {

inline bool IsPathSeparator(char c) {
    return c == '\\' || c == '/';
}

// A leading drive letter ("C:") removed: there are no drives here, so "C:\x" is
// taken from the root and "C:x" as relative.
std::string_view StripDrive(std::string_view path);

// The real name of the entry of the native directory `dir` that `component` names,
// matched exactly, then case-insensitively, then against the 8.3 aliases of the
// directory. Empty when nothing matches or the directory cannot be listed.
std::string FindEntry(const std::string& dir, std::string_view component);

// The names of a native directory's entries, sorted bytewise; empty when it cannot be listed.
std::vector<std::string> ListEntries(const std::string& dir);

// Whether `name` already is a valid 8.3 name (then its alias is itself upper-cased).
bool IsShortName(std::string_view name);

} // namespace kesto::platform
