// modCommonFunctions: file helpers, string helpers and key filters.
// Texts are raw single-byte strings; positions in the comments are 1-based.
#pragma once

#include "Board.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kesto {

inline constexpr std::string_view kCrLf = "\r\n";

// Leading and trailing blanks (' ' only) removed, as the board trims its fields.
std::string Trim(std::string_view s);
std::string RTrim(std::string_view s);
std::string LTrim(std::string_view s);
std::string UpperAscii(std::string_view s);
std::string LowerAscii(std::string_view s);

// The number read from a text's leading characters: blanks skipped, an optional
// sign, digits and at most one decimal point; 0 when there is none.
double NumericValue(std::string_view s);
// True when the whole text, apart from surrounding blanks, reads as a number.
bool IsNumeric(std::string_view s);

// ---- file helpers (paths are board paths, resolved against board.startDir) ----
bool FileExists(const Board& b, std::string_view path, bool useSearch = false);
bool FolderExists(const Board& b, std::string_view path, bool useSearch = false);
bool CreateFile(const Board& b, std::string_view path, bool overwrite);
std::string ReadFileContents(const Board& b, std::string_view path, bool whole = true);
bool WriteToFile(const Board& b, std::string_view path, std::string_view text, bool noLineEnd = false);
std::string GetFileBasename(std::string_view path);
std::string GetLongFilename(const Board& b, std::string_view path);
std::string GetShortFilename(const Board& b, std::string_view path);

// ---- string helpers ----
std::string ConvertCrLf(std::string_view text);
std::string StripTrailingCrLf(std::string_view text);
std::string StripHeartCodes(std::string_view text);
std::int16_t CountOccurrences(std::string_view text, std::string_view find, std::int16_t start);
// Pieces at indexes 1..n; index 0 is present and empty.
void Explode(std::string_view delimiter, std::string_view text, std::vector<std::string>& pieces,
             std::int32_t limit, std::int32_t minimum);
std::string StrPad(std::string_view text, std::int16_t width, std::string_view padChar = " ",
                   std::string_view mode = "PAD_RIGHT");
std::string StrReplace(std::string_view text, std::string_view find, std::string_view replacement,
                       std::int16_t maximum = 0, bool rescan = false);
bool IsLetterKey(std::int16_t keyCode);
bool IsNumberKey(std::int16_t keyCode);
std::int16_t ClampToInteger(std::string_view text);

} // namespace kesto
