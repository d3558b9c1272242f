#include "Cp1252.h"

#include <array>
#include <cstdint>
#include <optional>

namespace kesto {
namespace {

// 0x80..0x9F; every other byte is the Latin-1 character of the same code.
// The five unassigned bytes keep their C1 control so they survive a round trip.
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char32_t DecodeByte(unsigned char b) {
    return (b >= 0x80 && b <= 0x9F) ? kHigh[b - 0x80] : char32_t(b);
}

char EncodeChar(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    for (std::size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] == c) return static_cast<char>(0x80 + i);
    return '?';
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// One code point from UTF-8 at `i`, advancing past it; nothing (and `i` unchanged)
// when the bytes there are not a well-formed sequence.
std::optional<char32_t> StrictUtf8(std::string_view s, std::size_t& i) {
    auto b0 = static_cast<unsigned char>(s[i]);
    int len = b0 < 0x80 ? 1 : (b0 >> 5) == 0x6 ? 2 : (b0 >> 4) == 0xE ? 3 : (b0 >> 3) == 0x1E ? 4 : 0;
    if (len == 1) {
        ++i;
        return b0;
    }
    if (len == 0 || i + len > s.size()) return std::nullopt;
    char32_t c = b0 & (0x7F >> len);
    for (int k = 1; k < len; ++k) {
        auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) return std::nullopt;
        c = (c << 6) | (b & 0x3F);
    }
    static constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kMin[len] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
    i += len;
    return c;
}

// A malformed sequence yields U+FFFD for its first byte only, so decoding always makes progress.
char32_t NextUtf8(std::string_view s, std::size_t& i) {
    if (std::optional<char32_t> c = StrictUtf8(s, i)) return *c;
    ++i;
    return 0xFFFD;
}

} // namespace

std::u32string DecodeCp1252(std::string_view bytes) {
    std::u32string out;
    out.reserve(bytes.size());
    for (unsigned char b : bytes) out += DecodeByte(b);
    return out;
}

std::string Cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    for (unsigned char b : bytes) AppendUtf8(out, DecodeByte(b));
    return out;
}

std::string EncodeCp1252(std::u32string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char32_t c : text) out += EncodeChar(c);
    return out;
}

std::string Utf8ToCp1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) out += EncodeChar(NextUtf8(utf8, i));
    return out;
}

std::optional<std::string> TypedToCp1252(std::string_view typed) {
    std::string out;
    out.reserve(typed.size());
    for (std::size_t i = 0; i < typed.size();) {
        const std::optional<char32_t> c = StrictUtf8(typed, i);
        if (!c) {
            out += typed[i++];
            continue;
        }
        const char b = EncodeChar(*c);
        if (b == '?' && *c != U'?') return std::nullopt;
        out += b;
    }
    return out;
}

} // namespace kesto
