// FindHandle over a user file of 32,767 users (the most the 16-bit search
// counts) for the last user, so every record is compared, against one read of the file.
#include "core_bench.h"

#include "Records.h"
#include "UserFile.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kUsers = 32767;

void BM_FindHandle(benchmark::State& state) {
    kesto::bench::TempBoard tb;
    std::string file;
    file.reserve(static_cast<std::size_t>(kUsers) * kesto::kUserRecordSize);
    for (int i = 1; i <= kUsers; ++i) {
        file += kesto::EncodeUserRecord(
            kesto::demo::MakeUser("Handle " + std::to_string(i), "Real Name " + std::to_string(i), 10));
    }
    tb.Write("DATA/USERFILE.DAT", file);

    kesto::RecordNo found = 0;
    kesto::bench::TimeAgainstRead(state, tb.File("DATA/USERFILE.DAT"), 0, file.size(), [&] {
        found = kesto::FindHandle(tb.GetBoard(), "  handle 32767 ").value_or(0);
        benchmark::DoNotOptimize(found);
    });
    if (found != kUsers) state.SkipWithError("last user not found");
}
BENCHMARK(BM_FindHandle)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
