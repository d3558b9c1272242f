// Shared by the core benchmarks: a board in a fresh temporary directory, and a
// timing loop that puts each call of a routine beside one plain read() of the
// same bytes, so the report says how far the routine is from the disk's cost.
#pragma once

#include "Board.h"
#include "DemoBoard.h"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace kesto::bench {

class TempBoard {
  public:
    TempBoard() {
        char tmpl[] = "/tmp/kesto-bench-XXXXXX";
        if (!mkdtemp(tmpl)) std::abort();
        dir_ = tmpl;
        board_ = demo::CreateBoard(dir_ + "/board").value();
        board_.log.path.clear();
    }
    ~TempBoard() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    TempBoard(const TempBoard&) = delete;
    TempBoard& operator=(const TempBoard&) = delete;

    const Board& GetBoard() const { return board_; }
    // Native path of a file of the board ("MAIL/EMAIL.DAT").
    std::string File(std::string_view rel) const { return dir_ + "/board/" + std::string(rel); }
    void Write(std::string_view rel, std::string_view bytes) const {
        std::ofstream out(File(rel), std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out) std::abort();
    }

  private:
    std::string dir_;
    Board board_;
};

// open, one pread() of `length` bytes at `offset` into the reused buffer, close.
inline void RawRead(const std::string& path, std::string& buffer, off_t offset, std::size_t length) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) std::abort();
    buffer.resize(length);
    ssize_t got = ::pread(fd, buffer.data(), length, offset);
    ::close(fd);
    if (got != static_cast<ssize_t>(length)) std::abort();
    benchmark::DoNotOptimize(buffer.data());
}

// CPU time of this thread. The machine is shared and heavily loaded, so wall-clock
// time mostly measures waiting for a core; both sides of the ratio use this clock.
inline double ThreadSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// Runs routine() once per iteration, each followed by read() of the same bytes
// (`bytes` of them), and reports the routine's thread CPU time (manual time) with the
// counters read_us (the plain read) and x_read (routine time / read time over the
// whole run).
template <class Read, class Routine>
void TimeAgainst(benchmark::State& state, std::size_t bytes, Read&& read, Routine&& routine) {
    read(); // buffers are reused from here on
    double routineSeconds = 0;
    double readSeconds = 0;
    for (auto _ : state) {
        double t0 = ThreadSeconds();
        routine();
        double t1 = ThreadSeconds();
        read();
        double t2 = ThreadSeconds();
        double r = t1 - t0;
        routineSeconds += r;
        readSeconds += t2 - t1;
        state.SetIterationTime(r);
    }
    double n = static_cast<double>(state.iterations());
    state.counters["read_us"] = readSeconds / n * 1e6;
    state.counters["x_read"] = readSeconds > 0 ? routineSeconds / readSeconds : 0;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(bytes));
}

// The same against RawRead of `length` bytes at `offset` of one file.
template <class Routine>
void TimeAgainstRead(benchmark::State& state, const std::string& path, off_t offset, std::size_t length,
                     Routine&& routine) {
    std::string buffer;
    TimeAgainst(
        state, length, [&] { RawRead(path, buffer, offset, length); }, routine);
}

// The same against RawRead of each of the files whole, one after another.
template <class Routine>
void TimeAgainstFiles(benchmark::State& state, const std::vector<std::string>& paths, Routine&& routine) {
    std::vector<std::string> buffers(paths.size());
    std::vector<std::size_t> sizes;
    std::size_t bytes = 0;
    for (const std::string& p : paths) bytes += sizes.emplace_back(std::filesystem::file_size(p));
    TimeAgainst(
        state, bytes,
        [&] {
            for (std::size_t i = 0; i < paths.size(); ++i) RawRead(paths[i], buffers[i], 0, sizes[i]);
        },
        routine);
}

} // namespace kesto::bench
