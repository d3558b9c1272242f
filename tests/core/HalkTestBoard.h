// Hand-made boards for the board file routine tests: every file is written as raw
// bytes by the test itself, so nothing here depends on the code under test.
#pragma once

#include "Board.h"
#include "TestBoard.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace kesto::test {

inline std::string Pad(std::string_view s, std::size_t width) {
    std::string out(s.substr(0, width < s.size() ? width : s.size()));
    out.resize(width, ' ');
    return out;
}

inline std::string Le16(std::int16_t v) {
    auto u = static_cast<std::uint16_t>(v);
    return {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
}

inline std::string Le32(std::int32_t v) {
    auto u = static_cast<std::uint32_t>(v);
    return {static_cast<char>(u & 0xFF), static_cast<char>((u >> 8) & 0xFF),
            static_cast<char>((u >> 16) & 0xFF), static_cast<char>(u >> 24)};
}

// A buffer whose every byte differs from its neighbours, to see bytes carried through.
inline std::string Pattern(std::size_t size, unsigned seed = 7) {
    std::string out(size, '\0');
    for (std::size_t i = 0; i < size; ++i) out[i] = static_cast<char>((i * 31 + seed) & 0xFF);
    return out;
}

// Overwrites bytes at an offset of a record being built.
inline void Set(std::string& rec, std::size_t offset, std::string_view bytes) {
    rec.replace(offset, bytes.size(), bytes);
}

// Main "." (the board directory), data in DATA, nodes in NODE, mail in MAIL; log in the board directory.
inline Board HandBoard(const TempDir& dir) {
    Board b;
    b.startDir = dir.Path();
    b.log.path = dir.File("HMRERROR.LOG");
    b.log.exeName = "kesto";
    const char* names[10] = {".", "", "DATA", "", "TEXT", "NODE", "", "MAIL", "ATTACH", ""};
    for (int i = 0; i < 10; ++i) b.paths.field[i] = Pad(names[i], 40);
    for (const char* d : {"DATA", "NODE", "MAIL"}) std::filesystem::create_directories(dir.File(d));
    return b;
}

// Lines in the error log, each without its CR LF.
inline std::vector<std::string> LogLines(const Board& b) {
    std::vector<std::string> lines;
    std::string text = ReadNative(b.log.path);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

// The tail every log line of a failure carries: "  module routine - description".
inline bool EndsWith(std::string_view s, std::string_view tail) {
    return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

// The log holds exactly one line per tail, each ending in it, in order.
inline void ExpectLogTails(const Board& b, std::initializer_list<std::string_view> tails) {
    const std::vector<std::string> lines = LogLines(b);
    ASSERT_EQ(lines.size(), tails.size());
    for (std::size_t i = 0; std::string_view tail : tails) EXPECT_TRUE(EndsWith(lines[i++], tail)) << tail;
}

// A socket passes the file-exists test but cannot be opened, not even by root.
inline bool MakeSocket(const std::string& path) {
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (path.size() >= sizeof addr.sun_path) return false;
    path.copy(addr.sun_path, path.size());
    int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    bool ok = fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    if (fd >= 0) ::close(fd);
    return ok;
}

// Runs f under a small file size limit: writes past it fail like a full disk, also for root.
template <class F>
auto WithFileSizeLimit(rlim_t bytes, F&& f) {
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &small);
    auto result = f();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    return result;
}

} // namespace kesto::test
