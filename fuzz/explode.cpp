// Explode with any delimiter, limit and (small) minimum: index 0 stays empty,
// the array is as long as the pieces or the minimum, the limit caps the pieces,
// and the pieces put back together give the text.
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

    std::vector<std::string> pieces{"stale", "stale"};
    pieces.resize(7, "stale");
    kesto::Explode(delimiter, text, pieces, limit, minimum);
    Check(pieces.size() >= 2);
    Check(pieces[0].empty());
    std::size_t n = pieces.size() - 1;
    Check(n >= static_cast<std::size_t>(std::max(minimum, 1)));
    if (limit >= 1) Check(n <= static_cast<std::size_t>(std::max({limit, minimum, 1})));
    if (text.empty()) {
        for (const auto& p : pieces)
            Check(p.empty());
        return 0;
    }
    if (delimiter.empty() || minimum > 1) return 0;

    // Delimiters match without regard to case, so compare the re-joined text the same way.
    std::string joined = pieces[1];
    for (std::size_t i = 2; i <= n; ++i)
        joined += delimiter + pieces[i];
    Check(kesto::LowerAscii(joined) == kesto::LowerAscii(text));
    return 0;
}
