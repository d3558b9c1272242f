// Little-endian fields and blank-padded texts inside fixed-length board records.
// Every accessor checks the buffer's length first and builds values from
// unsigned bytes, so a record never depends on the host's layout or byte order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kesto {

// Board texts are single-byte strings kept as raw bytes (see Cp1252.h for display).
using Bytes = std::string;

// A view of s without its leading and trailing blanks (' ' only, as the board pads).
inline std::string_view TrimView(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

inline std::uint8_t ByteAt(std::string_view buf, std::size_t off) {
    return off < buf.size() ? static_cast<std::uint8_t>(buf[off]) : 0;
}

inline std::int16_t GetI16(std::string_view buf, std::size_t off) {
    std::uint16_t v = static_cast<std::uint16_t>(ByteAt(buf, off) | (ByteAt(buf, off + 1) << 8));
    return static_cast<std::int16_t>(v);
}

inline std::int32_t GetI32(std::string_view buf, std::size_t off) {
    std::uint32_t v = static_cast<std::uint32_t>(ByteAt(buf, off)) |
                      (static_cast<std::uint32_t>(ByteAt(buf, off + 1)) << 8) |
                      (static_cast<std::uint32_t>(ByteAt(buf, off + 2)) << 16) |
                      (static_cast<std::uint32_t>(ByteAt(buf, off + 3)) << 24);
    return static_cast<std::int32_t>(v);
}

// Raw bytes of a text field; a field cut short by the buffer's end is padded with blanks.
inline Bytes GetText(std::string_view buf, std::size_t off, std::size_t width) {
    Bytes out(width, ' ');
    if (off < buf.size()) {
        std::size_t n = buf.size() - off < width ? buf.size() - off : width;
        out.replace(0, n, buf.substr(off, n));
    }
    return out;
}

// The bytes of a text field as a view, without copying; cut short where the buffer ends.
inline std::string_view TextAt(std::string_view buf, std::size_t off, std::size_t width) {
    return off < buf.size() ? buf.substr(off, width) : std::string_view{};
}

inline void PutI16(Bytes& buf, std::size_t off, std::int16_t value) {
    if (off + 2 > buf.size()) return;
    auto v = static_cast<std::uint16_t>(value);
    buf[off] = static_cast<char>(v & 0xFF);
    buf[off + 1] = static_cast<char>((v >> 8) & 0xFF);
}

inline void PutI32(Bytes& buf, std::size_t off, std::int32_t value) {
    if (off + 4 > buf.size()) return;
    auto v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) buf[off + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// Writes text cut to width and padded on the right with blanks.
inline void PutText(Bytes& buf, std::size_t off, std::size_t width, std::string_view text) {
    if (off + width > buf.size()) return;
    std::size_t n = text.size() < width ? text.size() : width;
    buf.replace(off, n, text.substr(0, n));
    for (std::size_t i = n; i < width; ++i) buf[off + i] = ' ';
}

} // namespace kesto
