// modDateFunctions and modTimeZone.
#include "DateFunctions.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <limits>
#include <time.h>

namespace kesto {
namespace {

constexpr std::string_view kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr std::string_view kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

Result<std::int32_t> CheckedInt32(double v) {
    if (!(v >= std::numeric_limits<std::int32_t>::min() && v <= std::numeric_limits<std::int32_t>::max()))
        return Error(ErrorCode::Overflow);
    return static_cast<std::int32_t>(v);
}

// March-based year so the leap day falls last; divisions truncate toward zero.
std::int64_t DayCount(std::int64_t month, std::int64_t day, std::int64_t year) {
    std::int64_t m = (month + 9) % 12;
    std::int64_t y = year - m / 10;
    return 365 * y + y / 4 - y / 100 + y / 400 + (306 * m + 5) / 10 + day - 1;
}

const std::int64_t kEpochDay = DayCount(1, 1, 1970);

// 0 for Sunday; the weekday comes from the date alone.
int Weekday(std::int64_t month, std::int64_t day, std::int64_t year) {
    std::int64_t sinceEpoch = DayCount(month, day, year) - kEpochDay;
    return static_cast<int>(((sinceEpoch + 4) % 7 + 7) % 7); // 1970-01-01 was a Thursday
}

bool IsLeapYear(std::int32_t y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

std::int32_t DaysInMonth(std::int32_t year, std::int32_t month) {
    static constexpr std::int32_t kDaysIn[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDaysIn[month - 1];
}

// A three-letter name as one number, letter case folded (ASCII letters only).
constexpr std::uint32_t NameKey(std::string_view w) {
    std::uint32_t key = 0;
    for (char c : w) key = key << 8 | static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    return key;
}

template <std::size_t N>
constexpr std::array<std::uint32_t, N> NameKeys(const std::string_view (&names)[N]) {
    std::array<std::uint32_t, N> keys{};
    for (std::size_t i = 0; i < N; ++i) keys[i] = NameKey(names[i]);
    return keys;
}
constexpr auto kDayKeys = NameKeys(kDays);
constexpr auto kMonthKeys = NameKeys(kMonths);

// 1-based index of a name in a table of three-letter names, 0 when it is none of them.
template <std::size_t N>
int NameIndex(std::string_view word, const std::array<std::uint32_t, N>& keys) {
    if (word.size() != 3) return 0;
    const std::uint32_t key = NameKey(word);
    for (std::size_t i = 0; i < N; ++i)
        if (keys[i] == key) return static_cast<int>(i) + 1;
    return 0;
}

// A number of minDigits to maxDigits decimal digits and nothing else.
std::optional<std::int32_t> Digits(std::string_view s, std::size_t minDigits, std::size_t maxDigits) {
    if (s.size() < minDigits || s.size() > maxDigits) return std::nullopt;
    std::int32_t n = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return std::nullopt;
        n = n * 10 + (c - '0');
    }
    return n;
}

// "hh:nn:ss" with one or two digits each.
bool ReadClock(std::string_view s, CreationTime& t) {
    const std::size_t first = s.find(':');
    const std::size_t second = first == std::string_view::npos ? first : s.find(':', first + 1);
    if (second == std::string_view::npos) return false;
    const auto h = Digits(s.substr(0, first), 1, 2);
    const auto m = Digits(s.substr(first + 1, second - first - 1), 1, 2);
    const auto sec = Digits(s.substr(second + 1), 1, 2);
    if (!h || !m || !sec || *h > 23 || *m > 59 || *sec > 59) return false;
    t.hour = *h;
    t.minute = *m;
    t.second = *sec;
    return true;
}

// A number of at least `width` digits, padded with `pad`; every caller's number is
// small and not negative apart from a year, which may be.
void AppendNumber(std::string& out, std::int32_t n, int width, char pad = '0') {
    if (width == 2 && n >= (pad == '0' ? 0 : 10) && n < 100) { // most parts of a date
        const char digits[2] = {static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)};
        out.append(digits, 2);
        return;
    }
    if (n < 0) {
        out += '-';
        n = -n;
    }
    char digits[12];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + n % 10);
        n /= 10;
    } while (n > 0);
    for (int i = count; i < width; ++i) out += pad;
    while (count > 0) out += digits[--count];
}

void AppendClock(std::string& out, const CreationTime& t) {
    AppendNumber(out, t.hour, 2);
    out += ':';
    AppendNumber(out, t.minute, 2);
    out += ':';
    AppendNumber(out, t.second, 2);
}

// The text as the board writes it, "Tue Jul 11, 2006 14:03:22 -0500": every part at
// its place, so an export of a whole mailbox need not take each text apart.
std::optional<CreationTime> ParseBoardCreation(std::string_view text) {
    if (text.size() != 31 || text[3] != ' ' || text[7] != ' ' || text[10] != ',' || text[11] != ' ' ||
        text[16] != ' ' || text[19] != ':' || text[22] != ':' || text[25] != ' ' ||
        (text[26] != '+' && text[26] != '-'))
        return std::nullopt;
    bool ok = true;
    const auto two = [&](std::size_t at) {
        const unsigned hi = static_cast<unsigned char>(text[at]) - '0';
        const unsigned lo = static_cast<unsigned char>(text[at + 1]) - '0';
        ok = ok && hi <= 9 && lo <= 9;
        return static_cast<std::int32_t>(hi * 10 + lo);
    };
    CreationTime t;
    t.day = two(8);
    t.year = two(12) * 100 + two(14);
    t.hour = two(17);
    t.minute = two(20);
    t.second = two(23);
    const std::int32_t zoneMinutes = two(29);
    const std::int32_t zone = two(27) * 60 + zoneMinutes;
    t.month = NameIndex(text.substr(4, 3), kMonthKeys);
    if (!ok || NameIndex(text.substr(0, 3), kDayKeys) == 0 || t.month == 0 || t.year < 1 || t.day < 1 ||
        t.day > DaysInMonth(t.year, t.month) || t.hour > 23 || t.minute > 59 || t.second > 59 ||
        zoneMinutes > 59)
        return std::nullopt;
    t.offsetMinutes = text[26] == '-' ? -zone : zone;
    return t;
}

} // namespace

Result<std::int32_t> DayNumber(std::int32_t month, std::int32_t day, std::int32_t year) {
    return CheckedInt32(static_cast<double>(DayCount(month, day, year)));
}

Result<std::int32_t> TimeStampOf(const std::tm& local, double fraction, std::int32_t offset) {
    Result<std::int32_t> day = DayNumber(local.tm_mon + 1, local.tm_mday, local.tm_year + 1900);
    if (!day) return day.error();
    const std::int64_t days = static_cast<std::int64_t>(*day) - kEpochDay;
    double seconds = local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + fraction;
    double value = static_cast<double>(days) * 24 * 60 * 60 + seconds - (offset / 100.0) * 3600;
    return CheckedInt32(std::nearbyint(value)); // default rounding: halves to even
}

Result<std::int32_t> GetTimeStamp(std::int32_t offset) {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    std::tm local{};
    time_t secs = now.tv_sec;
    if (!localtime_r(&secs, &local)) return Error(ErrorCode::Overflow);
    return TimeStampOf(local, static_cast<double>(now.tv_nsec) / 1e9, offset);
}

std::string GetTimeZoneText() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    if (!localtime_r(&now, &local)) return {};
    // Minutes to add to local time for UTC: positive west of Greenwich.
    long bias = -local.tm_gmtoff / 60;
    char sign = '-';
    if (bias < 1) {
        sign = '+';
        bias = -bias;
    }
    char buf[48];
    std::snprintf(buf, sizeof buf, "%c%02ld%02ld", sign, bias / 60, bias % 60);
    return buf;
}

std::string FormatCreation(const std::tm& local) {
    // The weekday comes from the date itself, so a hand-made tm needs no tm_wday.
    int year = local.tm_year + 1900;
    int weekday = Weekday(local.tm_mon + 1, local.tm_mday, year);
    int month = local.tm_mon >= 0 && local.tm_mon < 12 ? local.tm_mon : 0;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%s %s %02d, %04d %02d:%02d:%02d", kDays[weekday].data(),
                  kMonths[month].data(), local.tm_mday, year, local.tm_hour, local.tm_min, local.tm_sec);
    return buf;
}

std::string CreationNow() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return FormatCreation(local) + " " + GetTimeZoneText();
}

std::optional<CreationTime> ParseCreation(std::string_view text) {
    if (std::optional<CreationTime> t = ParseBoardCreation(text)) return t;
    std::string_view words[7];
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] == ' ') {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && text[end] != ' ') ++end;
        if (count == std::size(words)) return std::nullopt;
        words[count++] = text.substr(i, end - i);
        i = end;
    }
    if (count < 5 || count > 6 || NameIndex(words[0], kDayKeys) == 0) return std::nullopt;

    CreationTime t;
    t.month = NameIndex(words[1], kMonthKeys);
    const std::string_view day = words[2];
    const auto d = day.ends_with(',') ? Digits(day.substr(0, day.size() - 1), 1, 2) : std::nullopt;
    const auto y = Digits(words[3], 4, 4);
    if (t.month == 0 || !d || !y || *y < 1 || *d < 1 || *d > DaysInMonth(*y, t.month)) return std::nullopt;
    t.day = *d;
    t.year = *y;
    if (!ReadClock(words[4], t)) return std::nullopt;
    if (count == 6 && words[5].size() == 5 && (words[5][0] == '+' || words[5][0] == '-')) {
        const auto h = Digits(words[5].substr(1, 2), 2, 2);
        const auto m = Digits(words[5].substr(3, 2), 2, 2);
        if (h && m && *m < 60) t.offsetMinutes = (words[5][0] == '-' ? -1 : 1) * (*h * 60 + *m);
    }
    return t;
}

CreationTime CreationTimeOf(std::int32_t timeStamp) {
    // Civil date from a day count (proleptic Gregorian, day 0 = 1970-01-01).
    const std::int64_t t = timeStamp;
    const std::int64_t days = t >= 0 ? t / 86400 : (t - 86399) / 86400;
    const std::int64_t secs = t - days * 86400;
    const std::int64_t z = days + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    CreationTime c;
    c.day = static_cast<std::int32_t>(doy - (153 * mp + 2) / 5 + 1);
    c.month = static_cast<std::int32_t>(mp < 10 ? mp + 3 : mp - 9);
    c.year = static_cast<std::int32_t>(yoe + era * 400 + (c.month <= 2 ? 1 : 0));
    c.hour = static_cast<std::int32_t>(secs / 3600);
    c.minute = static_cast<std::int32_t>(secs / 60 % 60);
    c.second = static_cast<std::int32_t>(secs % 60);
    return c;
}

// Written by hand rather than with snprintf: an export dates every message twice.
void AppendRfc5322Date(std::string& out, const CreationTime& t) {
    out += kDays[Weekday(t.month, t.day, t.year)];
    out += ", ";
    AppendNumber(out, t.day, 2);
    out += ' ';
    out += kMonths[(t.month + 11) % 12];
    out += ' ';
    AppendNumber(out, t.year, 4);
    out += ' ';
    AppendClock(out, t);
    if (!t.offsetMinutes) {
        out += " -0000";
        return;
    }
    out += *t.offsetMinutes < 0 ? " -" : " +";
    const std::int32_t abs = *t.offsetMinutes < 0 ? -*t.offsetMinutes : *t.offsetMinutes;
    AppendNumber(out, abs / 60, 2);
    AppendNumber(out, abs % 60, 2);
}

std::string FormatRfc5322Date(const CreationTime& t) {
    std::string out;
    AppendRfc5322Date(out, t);
    return out;
}

void AppendMboxDate(std::string& out, const CreationTime& t) {
    out += kDays[Weekday(t.month, t.day, t.year)];
    out += ' ';
    out += kMonths[(t.month + 11) % 12];
    out += ' ';
    AppendNumber(out, t.day, 2, ' ');
    out += ' ';
    AppendClock(out, t);
    out += ' ';
    AppendNumber(out, t.year, 4);
}

std::string FormatMboxDate(const CreationTime& t) {
    std::string out;
    AppendMboxDate(out, t);
    return out;
}

} // namespace kesto
