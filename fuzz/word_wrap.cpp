// WordWrap in both modes at any width: it only ever turns line ends into CR LF
// and inserts CR LF, every line fits the width, and the output stays within a
// small multiple of the input.
#include "FuzzInput.h"
#include "WordWrap.h"

#include <string>

using kesto::fuzz::Check;
using kesto::fuzz::WithoutLineEnds;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kesto::fuzz::Input in(data, size);
    std::int16_t width = in.I16();
    bool skip = in.U8() & 1;
    std::string text = in.Rest();

    std::string out = kesto::WordWrap(text, width, skip);
    if (width < 1 || text.size() < static_cast<std::size_t>(width)) {
        Check(out == text);
        return 0;
    }
    Check(out.size() <= 3 * text.size());
    Check(WithoutLineEnds(out) == WithoutLineEnds(text));

    // Colour codes widen a line by two characters each, at most to three times the width.
    std::size_t limit = skip ? 3 * static_cast<std::size_t>(width) : static_cast<std::size_t>(width);
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i <= out.size(); ++i) {
        if (i == out.size() || out[i] == '\r' || out[i] == '\n') {
            Check(i - lineStart <= limit);
            lineStart = i + 1;
        }
        if (i < out.size() && out[i] == '\r') Check(i + 1 < out.size() && out[i + 1] == '\n');
        if (i < out.size() && out[i] == '\n') Check(i > 0 && out[i - 1] == '\r');
    }
    return 0;
}
