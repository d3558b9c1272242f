// Exporting a mailbox of 32,767 messages of one user (the most a 16-bit message
// number reaches) and checking that board, each against one plain read of the
// files the routine reads.
#include "core_bench.h"

#include "BoardCheck.h"
#include "MailList.h"
#include "Mbox.h"
#include "Records.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kRecords = 32767;

// User 1's mailbox: bodies of five lines of about 300 bytes, with colour codes, a
// letter outside ASCII and now and then a line that must be quoted.
void WriteMailbox(const kesto::bench::TempBoard& tb) {
    std::string index;
    std::string texts;
    index.reserve(static_cast<std::size_t>(kRecords) * kesto::kMessageInfoSize);
    for (int i = 1; i <= kRecords; ++i) {
        std::string body;
        for (int line = 0; line < 4; ++line)
            body += (i % 10 == 0 && line == 2 ? "From " : "") + std::string("Line ") + std::to_string(line) +
                    " of message " + std::to_string(i) + ", written the way people write on a board.\r\n";
        body += "\x03"
                "4Greetings from J\xF6rg\r\n";
        kesto::MessageInfo m =
            kesto::demo::MakeMessage(i % 50 + 2, 1, "Sender " + std::to_string(i % 50), "SysOp",
                                     "Subject of message " + std::to_string(i), 1700000000 + i * 60);
        m.MsgPos = static_cast<std::int32_t>(texts.size() + 1);
        m.MsgLength = static_cast<std::int32_t>(body.size());
        m.Offline = i % 3 == 0;
        m.Deleted = i % 17 == 0;
        texts += body;
        index += kesto::EncodeMessageInfo(m);
    }
    tb.Write("MAIL/EMAIL.DAT", index);
    tb.Write("MAIL/EMAIL.BIN", texts);
    tb.Write("DATA/USERFILE.DAT", std::string(60 * kesto::kUserRecordSize, ' '));
}

std::vector<kesto::RecordNo> UserRows(const kesto::Board& b, std::string& buffer) {
    std::vector<kesto::RecordNo> numbers;
    for (const kesto::MailRow& row : kesto::ReadMailboxRows(b, kesto::Mailbox::Received, 1, buffer).value())
        numbers.push_back(row.number);
    return numbers;
}

// What `kesto-cli export` does: the user's rows, then the mbox; here into a sink
// that only counts, so the figure is the routine's own.
void BM_WriteMbox(benchmark::State& state) {
    kesto::bench::TempBoard tb;
    WriteMailbox(tb);
    std::string buffer;
    std::size_t bytes = 0;
    std::size_t messages = 0;
    kesto::bench::TimeAgainstFiles(state, {tb.File("MAIL/EMAIL.DAT"), tb.File("MAIL/EMAIL.BIN")}, [&] {
        bytes = 0;
        std::vector<kesto::RecordNo> numbers = UserRows(tb.GetBoard(), buffer);
        const auto done = kesto::WriteMbox(tb.GetBoard(), kesto::Mailbox::Received, std::move(numbers),
                                           [&](std::string_view piece) {
                                               bytes += piece.size();
                                               return kesto::Result<void>();
                                           },
                                           {});
        messages = done ? done->messages : 0;
    });
    if (messages != kRecords) state.SkipWithError("not every message was written");
    state.counters["mbox_MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(BM_WriteMbox)->UseManualTime()->Unit(benchmark::kMillisecond);

// The same into a file beside the board, written whole and synced before it replaces the old one.
void BM_ExportMbox(benchmark::State& state) {
    kesto::bench::TempBoard tb;
    WriteMailbox(tb);
    std::string buffer;
    const std::string target = tb.File("../export.mbox");
    std::size_t messages = 0;
    kesto::bench::TimeAgainstFiles(state, {tb.File("MAIL/EMAIL.DAT"), tb.File("MAIL/EMAIL.BIN")}, [&] {
        std::vector<kesto::RecordNo> numbers = UserRows(tb.GetBoard(), buffer);
        const auto done =
            kesto::ExportMbox(tb.GetBoard(), kesto::Mailbox::Received, std::move(numbers), target);
        messages = done ? done->messages : 0;
    });
    if (messages != kRecords) state.SkipWithError("not every message was written");
}
BENCHMARK(BM_ExportMbox)->UseManualTime()->Unit(benchmark::kMillisecond);

// The whole check of that board against a read of the index it reads whole.
void BM_CheckBoard(benchmark::State& state) {
    kesto::bench::TempBoard tb;
    WriteMailbox(tb);
    std::size_t found = 1;
    kesto::bench::TimeAgainstFiles(state, {tb.File("MAIL/EMAIL.DAT")}, [&] {
        found = kesto::CheckBoard(tb.GetBoard(), [](const kesto::CheckFinding&) {});
    });
    if (found != 0) state.SkipWithError("the board should be healthy");
}
BENCHMARK(BM_CheckBoard)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
