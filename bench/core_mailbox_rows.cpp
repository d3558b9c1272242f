// Building one user's mailbox list from a full EMAIL.DAT (32,767 records, the
// most a 16-bit message number reaches) against one read of the index.
#include "core_bench.h"

#include "MailList.h"
#include "Records.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kRecords = 32767;
constexpr int kUsers = 50;

void BM_ReadMailboxRows(benchmark::State& state) {
    kesto::bench::TempBoard tb;
    std::string index;
    index.reserve(static_cast<std::size_t>(kRecords) * kesto::kMessageInfoSize);
    std::int32_t pos = 1;
    for (int i = 1; i <= kRecords; ++i) {
        std::int32_t to = i % kUsers + 1;
        kesto::MessageInfo m = kesto::demo::MakeMessage(
            to % kUsers + 1, to, "Sender " + std::to_string(i), "User " + std::to_string(to),
            "Subject of message " + std::to_string(i), 1700000000 + i * 60);
        m.MsgPos = pos;
        m.MsgLength = 200 + i % 300;
        m.Offline = i % 3 == 0;
        m.Deleted = i % 17 == 0;
        pos += m.MsgLength;
        index += kesto::EncodeMessageInfo(m);
    }
    tb.Write("MAIL/EMAIL.DAT", index);

    std::string buffer;
    std::size_t rows = 0;
    kesto::bench::TimeAgainstRead(state, tb.File("MAIL/EMAIL.DAT"), 0, index.size(), [&] {
        auto list = kesto::ReadMailboxRows(tb.GetBoard(), kesto::Mailbox::Received, 7, buffer);
        rows = list ? list->size() : 0;
        benchmark::DoNotOptimize(list);
    });
    if (rows != kRecords / kUsers + (kRecords % kUsers >= 6 ? 1 : 0)) state.SkipWithError("wrong row count");
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_ReadMailboxRows)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
