// modWordwrap: breaks text into lines of at most `width` visible characters.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kesto {

std::string WordWrap(std::string_view text, std::int16_t width, bool skipColourCodes);

} // namespace kesto
