// The string routines of modCommonFunctions.
#include "StringHelpers.h"

#include "TextHelpers.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace kesto {
namespace {

constexpr char kCr = '\r';
constexpr char kLf = '\n';
constexpr char kColourCode = '\x03';
// Piece numbers and replacement counts are 16-bit on the board.
constexpr std::int32_t kMaxPieces = std::numeric_limits<std::int16_t>::max();
constexpr std::int32_t kMaxReplacements = std::numeric_limits<std::int16_t>::max();

} // namespace

std::string ConvertCrLf(std::string_view text) {
    // Every CR LF, lone CR and lone LF becomes CR LF; runs between line ends are copied whole.
    std::string out;
    out.reserve(text.size() + text.size() / 8 + 2);
    std::size_t from = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c != kCr && c != kLf) continue;
        out.append(text, from, i - from);
        out += kCrLf;
        if (c == kCr && i + 1 < text.size() && text[i + 1] == kLf) ++i;
        from = i + 1;
    }
    out.append(text, from);
    return out;
}

std::string StripTrailingCrLf(std::string_view text) {
    if (text.find_first_not_of(' ') == std::string_view::npos) return std::string(text);
    while (text.size() >= 2 && text.substr(text.size() - 2) == kCrLf) text.remove_suffix(2);
    return std::string(text);
}

std::string StripHeartCodes(std::string_view text) {
    // A colour code is character 3 and the one character after it.
    std::string out;
    out.reserve(text.size());
    std::size_t from = 0;
    for (std::size_t hit; (hit = text.find(kColourCode, from)) != std::string_view::npos;) {
        out.append(text, from, hit - from);
        from = std::min(hit + 2, text.size());
    }
    out.append(text, from);
    return out;
}

std::int16_t CountOccurrences(std::string_view text, std::string_view find, std::int16_t start) {
    if (start < 0) return 0;
    if (start == 0) start = 1;
    if (text.empty() || find.empty()) return 0;
    std::int32_t count = 0;
    std::size_t pos = static_cast<std::size_t>(start - 1);
    while (pos < text.size()) {
        pos = text.find(find, pos);
        if (pos == std::string_view::npos) break;
        // A count past the 16-bit range overflows; the routine then reports 0.
        if (++count > std::numeric_limits<std::int16_t>::max()) return 0;
        ++pos;
    }
    return static_cast<std::int16_t>(count);
}

std::vector<std::string> Explode(std::string_view delimiter, std::string_view text, std::int32_t limit,
                                 std::int32_t minimum) {
    const auto failed = [&] {
        return std::vector<std::string>(
            minimum > kMaxPieces ? 1 : static_cast<std::size_t>(std::max(minimum, 1)));
    };
    if (minimum > kMaxPieces) return failed();
    if (limit < 1) limit = std::numeric_limits<std::int32_t>::max();

    std::vector<std::string> pieces;
    if (!text.empty()) {
        if (delimiter.empty()) {
            pieces.emplace_back(text);
        } else {
            // Folded copies have the same length, so their positions index the text.
            std::string foldedText = LowerAscii(text);
            std::string foldedDelim = LowerAscii(delimiter);
            std::size_t from = 0;
            while (static_cast<std::int32_t>(pieces.size()) < limit - 1) {
                std::size_t hit = foldedText.find(foldedDelim, from);
                if (hit == std::string::npos) break;
                // This piece and the rest after it would not both get a number.
                if (pieces.size() + 2 > static_cast<std::size_t>(kMaxPieces)) return failed();
                pieces.emplace_back(text.substr(from, hit - from));
                from = hit + delimiter.size();
            }
            pieces.emplace_back(text.substr(from));
        }
    }
    pieces.resize(std::max<std::size_t>({pieces.size(), static_cast<std::size_t>(std::max(minimum, 0)), 1}));
    return pieces;
}

std::string StrPad(std::string_view text, std::int16_t width, std::string_view padChar,
                   std::string_view mode) {
    if (width < 0) return std::string();
    auto w = static_cast<std::size_t>(width);
    if (text.size() >= w) return std::string(text.substr(0, w));
    char pad = padChar.empty() ? ' ' : padChar.front();
    std::size_t surplus = w - text.size();
    std::string m = UpperAscii(Trim(mode));
    std::size_t left = 0;
    if (m == "PAD_LEFT")
        left = surplus;
    else if (m == "PAD_CENTER")
        left = surplus / 2;
    std::string out;
    out.reserve(w);
    out.append(left, pad);
    out.append(text);
    out.append(surplus - left, pad);
    return out;
}

std::string StrReplace(std::string_view text, std::string_view find, std::string_view replacement,
                       std::int16_t maximum, bool rescan) {
    if (find.empty() || find == replacement) return std::string(text);
    const std::int32_t limit = maximum <= 0 ? kMaxReplacements + 1 : maximum;
    std::int32_t made = 0;

    // A replacement holding the searched text would be found again without end, so
    // the search always goes on after it.
    if (!rescan || replacement.find(find) != std::string_view::npos) {
        std::string out;
        out.reserve(text.size());
        std::size_t from = 0;
        while (made < limit) {
            std::size_t hit = text.find(find, from);
            if (hit == std::string_view::npos) break;
            if (made == kMaxReplacements) return std::string(text);
            out.append(text.substr(from, hit - from));
            out.append(replacement);
            from = hit + find.size();
            ++made;
        }
        out.append(text.substr(from));
        return out;
    }

    // Rescan in one pass: `out` never holds the searched text, and all occurrences
    // are equally long, so the leftmost occurrence of out + rest is the first one to
    // be completed while moving characters over. A replacement goes back in front of
    // the rest, exactly as a search from position 1 would see it next.
    std::string out;
    out.reserve(text.size());
    std::string pending; // replacement characters still to move over, next one last
    std::size_t restPos = 0;
    while (made < limit) {
        char c;
        if (!pending.empty()) {
            c = pending.back();
            pending.pop_back();
        } else if (restPos < text.size()) {
            c = text[restPos++];
        } else {
            break;
        }
        out += c;
        if (out.size() >= find.size() && c == find.back() &&
            std::memcmp(out.data() + out.size() - find.size(), find.data(), find.size()) == 0) {
            if (made == kMaxReplacements) return std::string(text);
            out.resize(out.size() - find.size());
            pending.append(replacement.rbegin(), replacement.rend());
            ++made;
        }
    }
    out.append(pending.rbegin(), pending.rend());
    out.append(text.substr(restPos));
    return out;
}

} // namespace kesto
