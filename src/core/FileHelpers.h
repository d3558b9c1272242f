// modCommonFunctions: the file helpers. Paths are board paths ("\" or "/"
// separated, relative to the start directory), resolved through NativePath.
#pragma once

#include "Board.h"

#include <string>
#include <string_view>

namespace kesto {

bool FileExists(const Board& b, std::string_view path, bool useSearch = false);
bool FolderExists(const Board& b, std::string_view path, bool useSearch = false);
bool CreateFile(const Board& b, std::string_view path, bool overwrite);
std::string ReadFileContents(const Board& b, std::string_view path, bool whole = true);
bool WriteToFile(const Board& b, std::string_view path, std::string_view text, bool noLineEnd = false);
std::string GetFileBasename(std::string_view path);
std::string GetLongFilename(const Board& b, std::string_view path);
std::string GetShortFilename(const Board& b, std::string_view path);

} // namespace kesto
