// modCommonFunctions: line ends, colour codes, splitting, padding and replacing.
// Texts are raw single-byte strings; positions in the comments are 1-based.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kesto {

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

} // namespace kesto
