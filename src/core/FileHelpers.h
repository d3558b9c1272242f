// modCommonFunctions: the file helpers. Paths are board paths ("\" or "/"
// separated, relative to the start directory), resolved through NativePath.
#pragma once

#include "Board.h"
#include "Result.h"

#include <string>
#include <string_view>

namespace kesto {

// Whether a file (not a directory), respectively a directory, is at the path; with a
// "*" or "?" in the last component, whether anything matches it. Never logs.
bool FileExists(const Board& b, std::string_view path, bool useSearch = false);
bool FolderExists(const Board& b, std::string_view path, bool useSearch = false);

// The routines below write their failures to the error log under their own name.

// Makes sure a file is at the path; with overwrite, an empty one.
Result<void> CreateFile(const Board& b, std::string_view path, bool overwrite);
// The file's bytes (whole) or its lines each ended by CR LF, without trailing CR LF
// pairs; empty when there is no file.
Result<std::string> ReadFileContents(const Board& b, std::string_view path, bool whole = true);
// Appends the text and CR LF (none with noLineEnd). An empty path is refused
// without a log line: there is nothing to write to.
Result<void> WriteToFile(const Board& b, std::string_view path, std::string_view text,
                         bool noLineEnd = false);

std::string GetFileBasename(std::string_view path);
// The real names of every component; empty when one of them does not exist.
std::string GetLongFilename(const Board& b, std::string_view path);
// The path with its last component replaced by its 8.3 alias; empty when nothing is there.
std::string GetShortFilename(const Board& b, std::string_view path);

} // namespace kesto
