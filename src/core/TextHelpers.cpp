// The text and number helpers of modCommonFunctions.
#include "TextHelpers.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace kesto {
namespace {

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
    for (char& c : out) c = FoldAscii(c);
    return out;
}

double NumericValue(std::string_view s) {
    // Gather sign, digits and the first decimal point, skipping blanks as Val does,
    // then let from_chars do the rounding (locale-free, exact).
    std::string number;
    std::size_t i = 0;
    auto skipBlanks = [&] {
        while (i < s.size() && IsValBlank(s[i])) ++i;
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

std::int16_t ClampToInteger(std::string_view text) {
    constexpr double kMax = std::numeric_limits<std::int16_t>::max();
    double v = NumericValue(text);
    if (v > kMax) return static_cast<std::int16_t>(kMax);
    if (v < -kMax) return static_cast<std::int16_t>(-kMax);
    return static_cast<std::int16_t>(std::nearbyint(v)); // default rounding: halves to even
}

} // namespace kesto
