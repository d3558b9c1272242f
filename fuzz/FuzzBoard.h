// One fixture board per fuzz run, made once in a fresh temporary directory and
// removed at exit. Its error log is switched off: a long run would fill the disk.
// The directory is in memory (/dev/shm) where there is one: a file rewritten from
// empty on every run would otherwise be flushed to disk each time (ext4 does so for
// a file truncated and written again), which made these targets wait, not work.
#pragma once

#include "Board.h"
#include "DemoBoard.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace kesto::fuzz {

inline std::string& FuzzBoardDir() {
    static std::string dir;
    return dir;
}

inline const Board& FuzzBoard() {
    static const Board kBoard = [] {
        char shm[] = "/dev/shm/kesto-fuzz-XXXXXX";
        char tmp[] = "/tmp/kesto-fuzz-XXXXXX";
        const char* dir = mkdtemp(shm);
        if (!dir) dir = mkdtemp(tmp);
        if (!dir) std::abort();
        FuzzBoardDir() = dir;
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(FuzzBoardDir(), ec);
        });
        Board b = demo::CreateBoard(FuzzBoardDir() + "/board").value();
        b.log.path.clear();
        return b;
    }();
    return kBoard;
}

// Replaces a file of the fixture board (path relative to the board directory).
inline void WriteBoardFile(const std::string& rel, std::string_view bytes) {
    std::ofstream out(FuzzBoardDir() + "/board/" + rel, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) std::abort();
}

} // namespace kesto::fuzz
