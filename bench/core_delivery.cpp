// Mail to all users over a user file of 10,000 users: every user matching (10,000
// full deliveries) and a single match (the walk alone). Reports messages per
// second and the bytes written into the board's files, wall clock and CPU time.
// And one message sent as the composer sends it, beside a plain read of its record.
#include "core_bench.h"

#include "AllUsers.h"
#include "Bytes.h"
#include "Delivery.h"
#include "Records.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>

namespace {

constexpr int kUsers = 10000;

int g_pumps = 0;
// What the window does between users, minus the event loop.
void CountPump(std::int32_t, std::int32_t) {
    ++g_pumps;
}

std::int64_t SizeOf(const std::string& path) {
    std::error_code ec;
    auto n = std::filesystem::file_size(path, ec);
    return ec ? 0 : static_cast<std::int64_t>(n);
}

void BM_SendAllUsers(benchmark::State& state, const char* criterion) {
    kesto::bench::TempBoard tb;
    std::string users;
    users.reserve(static_cast<std::size_t>(kUsers) * kesto::kUserRecordSize);
    for (int i = 1; i <= kUsers; ++i) {
        users += kesto::EncodeUserRecord(
            kesto::demo::MakeUser("User " + std::to_string(i), "Real Name", i == 1 ? 255 : 10));
    }
    tb.Write("DATA/USERFILE.DAT", users);
    tb.Write("DATA/STATHBRD.DAT", std::string(88, '\0'));
    tb.Write("TEXT/EMAIL.TAG", "--- Halkmoor Demo Board\r\n");
    kesto::demo::SetNodeUser(tb.GetBoard(), 0, 2).value();
    kesto::demo::SetNodeUser(tb.GetBoard(), 2, 2).value();
    const std::string text =
        "The board will be down for maintenance on Sunday between two and four in the morning. "
        "Please finish your downloads before then.\r\n\r\nThe SysOp\r\n";

    const char* grown[] = {"MAIL/EMAIL.DAT", "MAIL/EMAIL.BIN", "NODE/IN0.QUE", "NODE/IN2.QUE"};
    std::int64_t sent = 0, appended = 0;
    double wall = 0, cpu = 0;
    for (auto _ : state) {
        std::int64_t before = 0;
        for (const char* f : grown) before += SizeOf(tb.File(f));
        auto t0 = std::chrono::steady_clock::now();
        double c0 = kesto::bench::ThreadSeconds();
        auto r = kesto::SendAllUsers(tb.GetBoard(), 1, criterion, "Maintenance", text, "", &CountPump);
        double c1 = kesto::bench::ThreadSeconds();
        auto t1 = std::chrono::steady_clock::now();
        if (!r.success) state.SkipWithError("walk failed");
        sent += r.sent;
        std::int64_t after = 0;
        for (const char* f : grown) after += SizeOf(tb.File(f));
        appended += after - before;
        double w = std::chrono::duration<double>(t1 - t0).count();
        wall += w;
        cpu += c1 - c0;
        state.SetIterationTime(w);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["messages"] = static_cast<double>(sent) / n;
    state.counters["msg_per_s"] = wall > 0 ? static_cast<double>(sent) / wall : 0;
    state.counters["cpu_s"] = cpu / n;
    state.counters["bytes_appended"] = static_cast<double>(appended) / n;
    // Rewritten in place per message: the sender's MailCount, the two statistics counters,
    // the serial number.
    state.counters["bytes_rewritten"] = static_cast<double>(sent) / n * (4 + 8 + 4);
    state.counters["pumps"] = static_cast<double>(g_pumps) / n;
    g_pumps = 0;
}
BENCHMARK_CAPTURE(BM_SendAllUsers, every_user, "all users > 5")
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(BM_SendAllUsers, one_user, "all users = 255")
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

// One local message with its sent copy, node notice, counters and serial number: the
// steps that take locks. The plain read is one record of EMAIL.DAT.
void BM_SendEmail(benchmark::State& state) {
    kesto::bench::TempBoard tb;
    std::string users;
    for (const char* name : {"SysOp", "Bob", "Carol"})
        users += kesto::EncodeUserRecord(kesto::demo::MakeUser(name, name, 100));
    tb.Write("DATA/USERFILE.DAT", users);
    tb.Write("DATA/STATHBRD.DAT", std::string(88, '\0'));
    tb.Write("DATA/DBSEQ.DAT", std::string(4, '\0'));
    kesto::demo::SetNodeUser(tb.GetBoard(), 1, 2).value();
    const std::string text = "Lunch on Friday? The usual place at noon.\r\n\r\nSam\r\n";
    auto send = [&] {
        if (!kesto::SendEmail(tb.GetBoard(), 1, "2@0*0", "Lunch", text, "", true).success)
            state.SkipWithError("send failed");
    };
    send();
    kesto::bench::TimeAgainstRead(state, tb.File("MAIL/EMAIL.DAT"), 0, kesto::kMessageInfoSize, send);
}
BENCHMARK(BM_SendEmail)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
