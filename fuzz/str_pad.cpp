// StrPad with any width, pad text and mode word: the result is exactly `width`
// long, holds the text (or its start) where the mode puts it, and pads with the
// pad text's first character.
#include "StringHelpers.h"
#include "TextHelpers.h"
#include "FuzzInput.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using kesto::fuzz::Check;
    kesto::fuzz::Input in(data, size);
    std::int16_t width = in.I16();
    std::string padChar = in.Text();
    std::string mode = in.Text();
    std::string text = in.Rest();

    std::string out = kesto::StrPad(text, width, padChar, mode);
    if (width < 0) {
        Check(out.size() <= text.size());
        return 0;
    }
    auto w = static_cast<std::size_t>(width);
    Check(out.size() == w);
    if (text.size() >= w) {
        Check(out == text.substr(0, w));
        return 0;
    }
    char pad = padChar.empty() ? ' ' : padChar[0];
    std::string m = kesto::UpperAscii(kesto::Trim(mode));
    std::size_t surplus = w - text.size();
    std::size_t front = m == "PAD_LEFT" ? surplus : m == "PAD_CENTER" ? surplus / 2 : 0;
    Check(out.substr(front, text.size()) == text);
    for (std::size_t i = 0; i < w; ++i)
        if (i < front || i >= front + text.size()) Check(out[i] == pad);
    return 0;
}
