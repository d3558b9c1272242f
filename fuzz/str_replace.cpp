// StrReplace with and without rescan against a plain model of the replacement
// loop. A replacement holding the searched text would be found again for ever
// under rescan, so StrReplace then carries on after it; the model too. More than
// 32,767 replacements leave the text unchanged.
#include "StringHelpers.h"
#include "FuzzInput.h"

#include <string>

namespace {

std::string Model(std::string text, const std::string& find, const std::string& replacement, int maximum,
                  bool rescan) {
    if (find.empty() || find == replacement) return text;
    std::string original = text;
    std::size_t from = 0;
    for (int count = 0; maximum <= 0 || count < maximum; ++count) {
        std::size_t at = text.find(find, rescan ? 0 : from);
        if (at == std::string::npos) break;
        if (count == 32767) return original;
        text.replace(at, find.size(), replacement);
        from = at + replacement.size();
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using kesto::fuzz::Check;
    kesto::fuzz::Input in(data, size);
    std::string find = in.Text();
    std::string replacement = in.Text();
    std::int16_t maximum = in.I16();
    bool rescan = in.U8() & 1;
    std::string text = in.Rest();

    std::string out = kesto::StrReplace(text, find, replacement, maximum, rescan);
    Check(out ==
          Model(text, find, replacement, maximum, rescan && replacement.find(find) == std::string::npos));
    return 0;
}
