// Reading UTF-8 that may not be well formed, for the output filters.
#pragma once

#include <cstddef>

namespace kesto::cli {

// The length of the well-formed UTF-8 sequence of two or more bytes at `p`
// (shortest form, no surrogates, at most U+10FFFF) with its character in `c`;
// 0 when the bytes at `p` are not one.
inline std::size_t Utf8Length(const unsigned char* p, const unsigned char* end, char32_t& c) {
    const std::size_t n = p[0] < 0xC2 ? 0 : p[0] < 0xE0 ? 2 : p[0] < 0xF0 ? 3 : p[0] < 0xF5 ? 4 : 0;
    if (n == 0 || static_cast<std::size_t>(end - p) < n) return 0;
    c = p[0] & (0x7F >> n);
    for (std::size_t i = 1; i < n; ++i) {
        if ((p[i] & 0xC0) != 0x80) return 0;
        c = (c << 6) | (p[i] & 0x3F);
    }
    static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kLeast[n] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
    return n;
}

} // namespace kesto::cli
