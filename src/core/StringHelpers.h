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
// The text split at every delimiter, letter case ignored. With a limit of n (below 1:
// none) at most n pieces, the last holding the rest of the text. Empty pieces are added
// up to `minimum`, so fixed positions can be read safely; there is always one piece.
// Piece numbers are 16-bit: a text of more than 32,767 pieces, or a minimum above that,
// fails and gives the pieces of an empty text.
std::vector<std::string> Explode(std::string_view delimiter, std::string_view text, std::int32_t limit,
                                 std::int32_t minimum);
std::string StrPad(std::string_view text, std::int16_t width, std::string_view padChar = " ",
                   std::string_view mode = "PAD_RIGHT");
// Replaces `find` by `replacement` (at most `maximum` times; 0 or less: no maximum),
// searching on after each inserted replacement, or with `rescan` from the start
// again. A replacement that holds `find` would be found for ever, so it is always
// searched past. The count is 16-bit: a text that would need more than 32,767
// replacements fails and comes back unchanged.
std::string StrReplace(std::string_view text, std::string_view find, std::string_view replacement,
                       std::int16_t maximum = 0, bool rescan = false);

} // namespace kesto
