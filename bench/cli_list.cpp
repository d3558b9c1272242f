// kesto-cli list on the largest mailbox: 32,767 records of one user. The rows'
// formatting alone (text and JSON, into a stream that drops what it gets) and
// the whole command in-process, each against one read of the same index.
#include "core_bench.h"

#include "Cli.h"
#include "ListOutput.h"
#include "MailList.h"
#include "OutBuffer.h"
#include "Records.h"

#include <benchmark/benchmark.h>

#include <ostream>
#include <random>
#include <sstream>
#include <streambuf>

namespace {

constexpr int kRecords = 32767;

struct NullBuffer : std::streambuf {
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
    int overflow(int c) override { return c; }
};

struct BigMailbox {
    kesto::bench::TempBoard tb;
    std::string index;
    std::vector<kesto::MailRow> rows;
    std::vector<kesto::MailRowView> views;

    BigMailbox() {
        std::mt19937 rng(7);
        const char* names[] = {"Bob", "Ann Walker", "Greta Lind", "J\xF6rg"};
        index.reserve(static_cast<std::size_t>(kRecords) * kesto::kMessageInfoSize);
        for (int i = 1; i <= kRecords; ++i) {
            kesto::MessageInfo m = kesto::demo::MakeMessage(
                2, 1, names[rng() % 4], "SysOp", "Subject " + std::to_string(rng() % 100000) + " of the day",
                1'000'000'000 + i * 60);
            m.MsgLength = static_cast<std::int32_t>(rng() % 20000);
            m.Offline = static_cast<std::int32_t>(i % 2);
            index += kesto::EncodeMessageInfo(m);
        }
        tb.Write("MAIL/EMAIL.DAT", index);
        std::string buffer;
        rows = kesto::ReadMailboxRows(tb.GetBoard(), kesto::Mailbox::Received, 1, buffer).value();
        for (const kesto::MailRow& r : rows) views.push_back(kesto::MakeMailRowView(r));
    }
    std::string Path() const { return tb.File("MAIL/EMAIL.DAT"); }
};

BigMailbox& Mailbox() {
    static BigMailbox m;
    return m;
}

void BM_ListTextRows(benchmark::State& state) {
    BigMailbox& m = Mailbox();
    NullBuffer sink;
    std::ostream null(&sink);
    kesto::bench::TimeAgainstRead(state, m.Path(), 0, m.index.size(), [&] {
        kesto::cli::OutBuffer out(null);
        for (const auto& v : m.views) {
            kesto::cli::AppendListLine(out.Text(), v);
            out.Written();
        }
    });
    state.counters["rows"] = static_cast<double>(m.views.size());
}
BENCHMARK(BM_ListTextRows)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_ListJsonRows(benchmark::State& state) {
    BigMailbox& m = Mailbox();
    NullBuffer sink;
    std::ostream null(&sink);
    kesto::bench::TimeAgainstRead(state, m.Path(), 0, m.index.size(), [&] {
        kesto::cli::ListJson list(null, kesto::Mailbox::Received, 1);
        for (const auto& v : m.views) list.Row(v);
        list.Finish();
    });
    state.counters["rows"] = static_cast<double>(m.views.size());
}
BENCHMARK(BM_ListJsonRows)->UseManualTime()->Unit(benchmark::kMillisecond);

// The whole command in-process: opening the board, walking the index, writing the rows.
void BM_ListCommand(benchmark::State& state) {
    BigMailbox& m = Mailbox();
    NullBuffer sink;
    std::ostream null(&sink);
    std::istringstream in;
    std::ostringstream err;
    const bool json = state.range(0) != 0;
    std::vector<std::string> args{"--board", m.tb.GetBoard().startDir, "list"};
    if (json) args.push_back("--json");
    kesto::bench::TimeAgainstRead(state, m.Path(), 0, m.index.size(), [&] {
        if (kesto::cli::Run(args, in, null, err) != 0) std::abort();
    });
}
BENCHMARK(BM_ListCommand)->ArgName("json")->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
