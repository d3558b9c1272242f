// Explode with any delimiter, limit and (small) minimum: there is always a piece,
// the array is as long as the pieces or the minimum, the limit caps the pieces,
// and the pieces put back together give the text, unless there were too many.
#include "StringHelpers.h"
#include "TextHelpers.h"
#include "FuzzInput.h"

#include <algorithm>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using kesto::fuzz::Check;
    kesto::fuzz::Input in(data, size);
    std::string delimiter = in.Text();
    std::int32_t limit = in.I32();
    // Keeps the array (and memory) small whatever the input says.
    std::int32_t minimum = in.I16() % 1024;
    std::string text = in.Rest();

    const std::vector<std::string> pieces = kesto::Explode(delimiter, text, limit, minimum);
    std::size_t n = pieces.size();
    Check(n >= static_cast<std::size_t>(std::max(minimum, 1)));
    if (limit >= 1) Check(n <= static_cast<std::size_t>(std::max({limit, minimum, 1})));
    Check(n <= 32767);
    if (text.empty()) {
        for (const auto& p : pieces) Check(p.empty());
        return 0;
    }
    if (delimiter.empty() || minimum > 1) return 0;
    // Past 32,767 pieces the result is that of an empty text.
    if (n == 1 && pieces[0].empty()) {
        const std::string folded = kesto::LowerAscii(text), delim = kesto::LowerAscii(delimiter);
        std::size_t hits = 0;
        for (std::size_t at = folded.find(delim); at != std::string::npos;
             at = folded.find(delim, at + delim.size()))
            ++hits;
        Check(hits >= 32767 && (limit < 1 || limit > 32767));
        return 0;
    }

    // Delimiters match without regard to case, so compare the re-joined text the same way.
    std::string joined = pieces[0];
    for (std::size_t i = 1; i < n; ++i) joined += delimiter + pieces[i];
    Check(kesto::LowerAscii(joined) == kesto::LowerAscii(text));
    return 0;
}
