// The string helpers and key filters of modCommonFunctions.
#include "CommonFunctions.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace kesto {
namespace {

constexpr char kCr = '\r';
constexpr char kLf = '\n';
constexpr char kColourCode = '\x03';

char FoldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
// The characters a BASIC Val skips wherever they stand.
bool IsValBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

} // namespace

std::string Trim(std::string_view s) {
    return LTrim(RTrim(s));
}

std::string RTrim(std::string_view s) {
    auto end = s.find_last_not_of(' ');
    return std::string(end == std::string_view::npos ? std::string_view{} : s.substr(0, end + 1));
}

std::string LTrim(std::string_view s) {
    auto begin = s.find_first_not_of(' ');
    return std::string(begin == std::string_view::npos ? std::string_view{} : s.substr(begin));
}

std::string UpperAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

std::string LowerAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = FoldAscii(c);
    return out;
}

double NumericValue(std::string_view s) {
    // Gather sign, digits and the first decimal point, skipping blanks as Val does,
    // then let from_chars do the rounding (locale-free, exact).
    std::string number;
    std::size_t i = 0;
    auto skipBlanks = [&] {
        while (i < s.size() && IsValBlank(s[i]))
            ++i;
    };
    skipBlanks();
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    bool seenPoint = false;
    bool seenDigit = false;
    for (; i < s.size(); ++i) {
        char c = s[i];
        if (IsValBlank(c)) continue;
        if (IsDigit(c)) {
            number += c;
            seenDigit = true;
        } else if (c == '.' && !seenPoint) {
            number += c;
            seenPoint = true;
        } else {
            break;
        }
    }
    if (!seenDigit) return 0.0;
    double value = 0.0;
    auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    (void)ptr;
    if (ec == std::errc::result_out_of_range) value = std::numeric_limits<double>::infinity();
    return negative ? -value : value;
}

bool IsNumeric(std::string_view s) {
    std::string t = Trim(s);
    std::size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    bool seenPoint = false;
    bool seenDigit = false;
    for (; i < t.size(); ++i) {
        if (IsDigit(t[i])) {
            seenDigit = true;
        } else if (t[i] == '.' && !seenPoint) {
            seenPoint = true;
        } else {
            return false;
        }
    }
    return seenDigit;
}

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
    while (text.size() >= 2 && text.substr(text.size() - 2) == kCrLf)
        text.remove_suffix(2);
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

void Explode(std::string_view delimiter, std::string_view text, std::vector<std::string>& pieces,
             std::int32_t limit, std::int32_t minimum) {
    constexpr std::int32_t kMaxPieces = std::numeric_limits<std::int16_t>::max();
    if (limit < 1 || limit > kMaxPieces) limit = kMaxPieces;
    if (minimum > kMaxPieces) minimum = kMaxPieces;

    std::vector<std::string> found;
    if (!text.empty()) {
        if (delimiter.empty()) {
            found.emplace_back(text);
        } else {
            // Folded copies have the same length, so their positions index the text.
            std::string foldedText = LowerAscii(text);
            std::string foldedDelim = LowerAscii(delimiter);
            std::size_t from = 0;
            while (static_cast<std::int32_t>(found.size()) < limit - 1) {
                std::size_t hit = foldedText.find(foldedDelim, from);
                if (hit == std::string::npos) break;
                found.emplace_back(text.substr(from, hit - from));
                from = hit + delimiter.size();
            }
            found.emplace_back(text.substr(from));
        }
    }

    std::size_t slots =
        std::max<std::size_t>({found.size(), static_cast<std::size_t>(std::max(minimum, 0)), 1});
    pieces.assign(slots + 1, std::string());
    for (std::size_t k = 0; k < found.size(); ++k)
        pieces[k + 1] = std::move(found[k]);
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
    const std::int32_t limit = maximum < 0 ? 0 : maximum;
    std::int32_t made = 0;
    auto more = [&] { return limit == 0 || made < limit; };

    // Starting over at position 1 only terminates when every replacement shortens
    // the text; a replacement at least as long as the searched text could be found
    // again without end (or grow without bound), so it continues after itself.
    if (!rescan || replacement.size() >= find.size()) {
        std::string out;
        out.reserve(text.size());
        std::size_t from = 0;
        while (more()) {
            std::size_t hit = text.find(find, from);
            if (hit == std::string_view::npos) break;
            out.append(text.substr(from, hit - from));
            out.append(replacement);
            from = hit + find.size();
            ++made;
        }
        out.append(text.substr(from));
        return out;
    }

    // Rescan in one pass: `out` never holds the searched text, so the leftmost
    // occurrence of out + rest is the first one to be completed while moving
    // characters over. A replacement goes back in front of the rest, exactly as a
    // search from position 1 would see it next.
    std::string out;
    out.reserve(text.size());
    std::string pending; // replacement characters still to move over, next one last
    std::size_t restPos = 0;
    while (more()) {
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
            out.resize(out.size() - find.size());
            pending.append(replacement.rbegin(), replacement.rend());
            ++made;
        }
    }
    out.append(pending.rbegin(), pending.rend());
    out.append(text.substr(restPos));
    return out;
}

bool IsLetterKey(std::int16_t keyCode) {
    return keyCode == 8 || (keyCode >= 'A' && keyCode <= 'Z') || (keyCode >= 'a' && keyCode <= 'z');
}

bool IsNumberKey(std::int16_t keyCode) {
    return keyCode == 8 || keyCode == '.' || (keyCode >= '0' && keyCode <= '9');
}

std::int16_t ClampToInteger(std::string_view text) {
    constexpr double kMax = std::numeric_limits<std::int16_t>::max();
    double v = NumericValue(text);
    if (v > kMax) return static_cast<std::int16_t>(kMax);
    if (v < -kMax) return static_cast<std::int16_t>(-kMax);
    return static_cast<std::int16_t>(std::nearbyint(v)); // default rounding: halves to even
}

} // namespace kesto
