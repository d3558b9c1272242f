// Which typed keys an entry field lets through.
#pragma once

#include <cstdint>

namespace kesto::ui {

// Backspace and the letters A to Z, a to z (flag letters).
bool IsLetterKey(std::int16_t keyCode);
// Backspace, "." and the digits 0 to 9 (levels and network numbers).
bool IsNumberKey(std::int16_t keyCode);

} // namespace kesto::ui
