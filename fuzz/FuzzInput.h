// Reads a fuzz input front to back: fixed-size little-endian parameters first,
// then length-prefixed texts, then the rest. Missing bytes read as 0 / empty, so
// every input is valid and seed files are easy to write by hand.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kesto::fuzz {

inline void Check(bool ok) {
    if (!ok) __builtin_trap();
}

// The text with every CR and LF removed: what line-end handling must leave alone.
inline std::string WithoutLineEnds(std::string_view s) {
    std::string out;
    for (char c : s)
        if (c != '\r' && c != '\n') out += c;
    return out;
}

class Input {
  public:
    Input(const std::uint8_t* data, std::size_t size) : rest_(reinterpret_cast<const char*>(data), size) {}

    std::uint8_t U8() {
        if (rest_.empty()) return 0;
        auto v = static_cast<std::uint8_t>(rest_[0]);
        rest_.remove_prefix(1);
        return v;
    }
    std::int16_t I16() { return static_cast<std::int16_t>(U8() | (U8() << 8)); }
    std::int32_t I32() {
        std::uint32_t v = U8();
        v |= static_cast<std::uint32_t>(U8()) << 8;
        v |= static_cast<std::uint32_t>(U8()) << 16;
        v |= static_cast<std::uint32_t>(U8()) << 24;
        return static_cast<std::int32_t>(v);
    }
    // A text of at most 255 bytes, its length in the byte before it.
    std::string Text() {
        std::size_t n = U8();
        if (n > rest_.size()) n = rest_.size();
        std::string s(rest_.substr(0, n));
        rest_.remove_prefix(n);
        return s;
    }
    std::string Rest() {
        std::string s(rest_);
        rest_ = {};
        return s;
    }

  private:
    std::string_view rest_;
};

} // namespace kesto::fuzz
