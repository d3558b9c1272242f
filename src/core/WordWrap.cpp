// modWordwrap: one pass over the text, each output line appended once.
#include "WordWrap.h"

#include "TextHelpers.h"

#include <algorithm>
#include <cstring>

namespace kesto {

std::string WordWrap(std::string_view text, std::int16_t width, bool skipColourCodes) {
    if (width < 1 || text.size() < static_cast<std::size_t>(width)) return std::string(text);

    // CR LF and lone CR become LF; output lines end in CR LF again.
    std::string t;
    t.reserve(text.size());
    std::size_t from = 0;
    for (std::size_t cr; (cr = text.find('\r', from)) != std::string_view::npos;) {
        t.append(text, from, cr - from);
        t += '\n';
        from = cr + 1;
        if (from < text.size() && text[from] == '\n') ++from;
    }
    t.append(text, from);

    const auto w0 = static_cast<std::size_t>(width);
    std::string out;
    // Room for every LF turned into CR LF too: an output that outgrows its reserve is
    // copied, and past 128 KB the copy comes from fresh pages on every call.
    const auto lineEnds = static_cast<std::size_t>(std::count(t.begin(), t.end(), '\n'));
    out.reserve(t.size() + lineEnds + 2 * (t.size() / w0 + 1));
    std::string_view rest = t;
    for (;;) {
        std::size_t w = w0;
        if (skipColourCodes) {
            // Colour codes take no room on screen: two more characters for each one.
            std::string_view window = rest.substr(0, w0);
            w += 2 * static_cast<std::size_t>(std::count(window.begin(), window.end(), '\x03'));
        }
        std::string_view seg = rest.substr(0, w);
        if (const void* lf = std::memchr(seg.data(), '\n', seg.size())) {
            std::size_t at = static_cast<std::size_t>(static_cast<const char*>(lf) - seg.data());
            out.append(seg.substr(0, at));
            out += kCrLf;
            rest.remove_prefix(at + 1);
        } else if (seg.size() < w) {
            break; // the last, short line
        } else {
            std::size_t take = seg.size(); // a hard break unless a blank or "-" is found
            for (std::size_t j = seg.size(); j-- > 0;) {
                if (seg[j] == ' ' || seg[j] == '-') {
                    take = j + 1;
                    break;
                }
            }
            out.append(seg.substr(0, take));
            out += kCrLf;
            rest.remove_prefix(take);
        }
    }
    out.append(rest);
    return out;
}

} // namespace kesto
