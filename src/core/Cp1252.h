// The one table between board bytes and Unicode: Windows-1252, with the five
// unassigned bytes (0x81 0x8D 0x8F 0x90 0x9D) mapped to the C1 controls of the
// same code, so every byte decodes to one character and encodes back to itself.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kesto {

std::u32string DecodeCp1252(std::string_view bytes);
std::string Cp1252ToUtf8(std::string_view bytes);
// A character with no code becomes "?".
std::string EncodeCp1252(std::u32string_view text);
std::string Utf8ToCp1252(std::string_view utf8);
// Text a user typed, to be compared with board text: UTF-8 becomes Windows-1252, and
// a byte that does not start well-formed UTF-8 is taken as the Windows-1252 byte it is
// (a terminal in a single-byte locale). Nothing when a character has no Windows-1252
// code, since no board text can hold it.
std::optional<std::string> TypedToCp1252(std::string_view typed);

} // namespace kesto
