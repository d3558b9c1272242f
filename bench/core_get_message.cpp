// GetMessage of a 32 KB body (line ends made uniform, trailing ends and blanks
// cut, colour codes removed, as every caller asks) against one read of those bytes.
#include "core_bench.h"

#include "MailBase.h"

#include <benchmark/benchmark.h>

namespace {

constexpr std::size_t kBodySize = std::size_t{32} * 1024;

std::string Body() {
    std::string body;
    for (int line = 0; body.size() < kBodySize; ++line) {
        body += "\x03" + std::to_string(line % 10) + "Line " + std::to_string(line) +
                " of a long message, written the way people write on a board.";
        body += line % 7 == 0 ? "\n" : "\r\n";
    }
    body.resize(kBodySize - 4);
    body += "\r\n\r\n";
    return body;
}

void BM_GetMessage(benchmark::State& state) {
    kesto::bench::TempBoard tb;
    std::string before(5000, 'x');
    std::string body = Body();
    tb.Write("MAIL/EMAIL.BIN", before + body + std::string(3000, 'y'));
    const auto position = static_cast<std::int32_t>(before.size() + 1);
    const auto length = static_cast<std::int32_t>(body.size());

    bool failed = false;
    std::size_t got = 0;
    kesto::bench::TimeAgainstRead(
        state, tb.File("MAIL/EMAIL.BIN"), static_cast<off_t>(before.size()), body.size(), [&] {
            kesto::Result<std::string> text =
                kesto::GetMessage(tb.GetBoard(), "EMAIL", position, length, true, false);
            failed = failed || !text;
            got = text ? text->size() : 0;
            benchmark::DoNotOptimize(text);
        });
    if (failed || got == 0) state.SkipWithError("GetMessage failed");
}
BENCHMARK(BM_GetMessage)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
