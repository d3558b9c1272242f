// Stand-in for the Windows file system's naming rules on Linux.
//
// Board paths use "\" (and may use "/") as separators, may be relative to the
// directory the program started in, may differ in letter case from the files
// on disk, and may carry 8.3 short aliases made by GetShortFilename. NativePath
// turns such a name into the real Linux path, component by component.
#pragma once

#include <string>
#include <string_view>

namespace kesto::platform {

// Resolves `path` to a native path. Relative paths are taken relative to baseDir.
// Each component that does not exist as written is matched case-insensitively,
// then against the 8.3 aliases of its directory. A component that matches nothing
// is kept as written (so a file can be created there). Never throws.
std::string NativePath(std::string_view path, std::string_view baseDir);

// The deterministic upper-case 8.3 alias of `name` among the entries of the
// native directory `dirPath` ("Long File Name.text" -> "LONGFI~1.TEX"). A name
// that already is a valid 8.3 name is returned upper-cased.
std::string ShortAlias(std::string_view dirPath, std::string_view name);

} // namespace kesto::platform
