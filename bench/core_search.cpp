// A query over the largest mailbox: 32,767 messages of one user, 19 MB of index
// and about 20 MB of distinct texts, a tenth of them with colour codes. Each run
// reads the rows and filters them, as `kesto-cli search` does, beside one plain
// read of the files the query needs (the index; for a text word the text file too).
#include "core_bench.h"

#include "MailList.h"
#include "Records.h"
#include "Search.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

constexpr int kRecords = 32767;

struct Mailbox {
    kesto::bench::TempBoard tb;
    std::size_t indexSize = 0;
    std::size_t textSize = 0;

    Mailbox() {
        std::mt19937 rng(11);
        const char* words[] = {"board",   "modem",  "file",  "areas", "the",  "meeting", "node",    "upload",
                               "message", "thanks", "sysop", "door",  "game", "relay",   "network", "mail"};
        std::string index;
        std::string text;
        index.reserve(static_cast<std::size_t>(kRecords) * kesto::kMessageInfoSize);
        for (int i = 1; i <= kRecords; ++i) {
            std::string body;
            const bool colour = i % 10 == 0;
            for (std::size_t target = 200 + rng() % 800; body.size() < target;) {
                if (colour && rng() % 8 == 0) {
                    body += '\x03';
                    body += static_cast<char>('0' + rng() % 10);
                }
                body += words[rng() % std::size(words)];
                body += rng() % 12 == 0 ? "\r\n" : " ";
            }
            body += "\r\n";
            kesto::MessageInfo m =
                kesto::demo::MakeMessage(2 + i % 40, 1, "Sender " + std::to_string(i % 40), "Sysop",
                                         "Subject of message " + std::to_string(i), 1700000000 + i * 60);
            m.MsgPos = static_cast<std::int32_t>(text.size() + 1);
            m.MsgLength = static_cast<std::int32_t>(body.size());
            m.Offline = i % 3 == 0;
            text += body;
            index += kesto::EncodeMessageInfo(m);
        }
        tb.Write("MAIL/EMAIL.DAT", index);
        tb.Write("MAIL/EMAIL.BIN", text);
        indexSize = index.size();
        textSize = text.size();
    }
};

Mailbox& Big() {
    static Mailbox m;
    return m;
}

// Reads the rows and filters them; beside it, one read of the index and, with
// `text`, one of the text file.
void TimeSearch(benchmark::State& state, const char* typed, bool text) {
    Mailbox& big = Big();
    const kesto::Query query = kesto::ParseQuery(typed);
    std::string rowsBuffer;
    std::string readBuffer;
    std::size_t found = 0;
    double searchSeconds = 0;
    double readSeconds = 0;
    for (auto _ : state) {
        const double t0 = kesto::bench::ThreadSeconds();
        auto rows = kesto::ReadMailboxRows(big.tb.GetBoard(), kesto::Mailbox::Received, 1, rowsBuffer);
        auto hits = kesto::FilterRows(big.tb.GetBoard(), kesto::Mailbox::Received, query, std::move(*rows));
        if (!hits) state.SkipWithError("search failed");
        found = hits ? hits->size() : 0;
        benchmark::DoNotOptimize(hits);
        const double t1 = kesto::bench::ThreadSeconds();
        kesto::bench::RawRead(big.tb.File("MAIL/EMAIL.DAT"), readBuffer, 0, big.indexSize);
        if (text) kesto::bench::RawRead(big.tb.File("MAIL/EMAIL.BIN"), readBuffer, 0, big.textSize);
        const double t2 = kesto::bench::ThreadSeconds();
        searchSeconds += t1 - t0;
        readSeconds += t2 - t1;
        state.SetIterationTime(t1 - t0);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["read_us"] = readSeconds / n * 1e6;
    state.counters["x_read"] = readSeconds > 0 ? searchSeconds / readSeconds : 0;
    state.counters["found"] = static_cast<double>(found);
}

void BM_SearchHeaderWords(benchmark::State& state) {
    TimeSearch(state, "from:\"sender 7\" subject:message is:unread", false);
}
BENCHMARK(BM_SearchHeaderWords)->UseManualTime()->Unit(benchmark::kMillisecond);

// No message holds the word: every text is read and searched.
void BM_SearchTextWordNoHit(benchmark::State& state) {
    TimeSearch(state, "text:xyzzy", true);
}
BENCHMARK(BM_SearchTextWordNoHit)->UseManualTime()->Unit(benchmark::kMillisecond);

// A plain word found in some names or subjects and in many texts.
void BM_SearchPlainWord(benchmark::State& state) {
    TimeSearch(state, "upload", true);
}
BENCHMARK(BM_SearchPlainWord)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
