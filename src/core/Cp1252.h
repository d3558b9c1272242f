// The one table between board bytes and Unicode: Windows-1252, with the five
// unassigned bytes (0x81 0x8D 0x8F 0x90 0x9D) mapped to the C1 controls of the
// same code, so every byte decodes to one character and encodes back to itself.
#pragma once

#include <string>
#include <string_view>

namespace kesto {

std::u32string DecodeCp1252(std::string_view bytes);
std::string Cp1252ToUtf8(std::string_view bytes);
// A character with no code becomes "?".
std::string EncodeCp1252(std::u32string_view text);
std::string Utf8ToCp1252(std::string_view utf8);

} // namespace kesto
