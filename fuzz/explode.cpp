// Explode with any delimiter, limit and (small) minimum: there is always a piece,
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

    const std::vector<std::string> pieces = kesto::Explode(delimiter, text, limit, minimum);
    std::size_t n = pieces.size();
    Check(n >= static_cast<std::size_t>(std::max(minimum, 1)));
    if (limit >= 1) Check(n <= static_cast<std::size_t>(std::max({limit, minimum, 1})));
    if (text.empty()) {
        for (const auto& p : pieces) Check(p.empty());
        return 0;
    }
    if (delimiter.empty() || minimum > 1) return 0;

    // Delimiters match without regard to case, so compare the re-joined text the same way.
    std::string joined = pieces[0];
    for (std::size_t i = 1; i < n; ++i) joined += delimiter + pieces[i];
    Check(kesto::LowerAscii(joined) == kesto::LowerAscii(text));
    return 0;
}
