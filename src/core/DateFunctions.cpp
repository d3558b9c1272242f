// modDateFunctions and modTimeZone.
#include "DateFunctions.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <time.h>

namespace kesto {
namespace {

constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
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
    return TimeStampOf(local, now.tv_nsec / 1e9, offset);
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
    std::int64_t sinceEpoch = DayCount(local.tm_mon + 1, local.tm_mday, year) - kEpochDay;
    int weekday = static_cast<int>(((sinceEpoch + 4) % 7 + 7) % 7); // 1970-01-01 was a Thursday
    int month = local.tm_mon >= 0 && local.tm_mon < 12 ? local.tm_mon : 0;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%s %s %02d, %04d %02d:%02d:%02d", kDays[weekday], kMonths[month],
                  local.tm_mday, year, local.tm_hour, local.tm_min, local.tm_sec);
    return buf;
}

std::string CreationNow() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return FormatCreation(local) + " " + GetTimeZoneText();
}

} // namespace kesto
