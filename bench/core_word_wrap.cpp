// WordWrap at delivery's settings (79 columns, colour codes skipped) over 8 to
// 64 KB of text: the time must grow linearly and stay under 1 ms at 32 KB. The
// plain read is of the same text from a file.
#include "core_bench.h"

#include "WordWrap.h"

#include <benchmark/benchmark.h>

namespace {

std::string Text(std::size_t size) {
    // \003 then 4: a colour code (an octal escape ends after three digits).
    static const std::string kWords[] = {"board",       "message", "the",        "a",    "reader", "with",
                                         "\0034colour", "and",     "well-known", "text", "of",     "line"};
    std::string text;
    for (std::size_t i = 0; text.size() < size; ++i) {
        text += kWords[(i * 7) % std::size(kWords)];
        text += i % 53 == 52 ? "\r\n\r\n" : " ";
    }
    text.resize(size);
    return text;
}

void BM_WordWrap(benchmark::State& state) {
    kesto::bench::TempBoard tb;
    const std::string text = Text(static_cast<std::size_t>(state.range(0)));
    tb.Write("TEXT/WRAP.TXT", text);
    kesto::bench::TimeAgainstRead(state, tb.File("TEXT/WRAP.TXT"), 0, text.size(), [&] {
        std::string out = kesto::WordWrap(text, 79, true);
        benchmark::DoNotOptimize(out.data());
    });
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_WordWrap)
    ->RangeMultiplier(2)
    ->Range(8 << 10, 64 << 10)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);

} // namespace

BENCHMARK_MAIN();
