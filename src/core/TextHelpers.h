// modCommonFunctions: trimming, letter case and the numeric value of board texts.
// Texts are raw single-byte strings.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

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
// The numeric value limited to -32767..32767, halves rounded to the even neighbour.
std::int16_t ClampToInteger(std::string_view text);

} // namespace kesto
