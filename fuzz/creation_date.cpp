// ParseCreation on any text: what it takes is a real date and time, and written
// back in the board's own form it reads as the same instant.
#include "DateFunctions.h"
#include "FuzzInput.h"

#include <cstdio>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using kesto::fuzz::Check;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<kesto::CreationTime> t = kesto::ParseCreation(text);
    if (!t) return 0;
    Check(t->year >= 1 && t->year <= 9999 && t->month >= 1 && t->month <= 12 && t->day >= 1 && t->day <= 31);
    Check(t->hour <= 23 && t->minute <= 59 && t->second <= 59);
    Check(!t->offsetMinutes || (*t->offsetMinutes > -6000 && *t->offsetMinutes < 6000));

    std::tm local{};
    local.tm_year = t->year - 1900;
    local.tm_mon = t->month - 1;
    local.tm_mday = t->day;
    local.tm_hour = t->hour;
    local.tm_min = t->minute;
    local.tm_sec = t->second;
    std::string again = kesto::FormatCreation(local);
    if (t->offsetMinutes) {
        const int abs = *t->offsetMinutes < 0 ? -*t->offsetMinutes : *t->offsetMinutes;
        char zone[16];
        std::snprintf(zone, sizeof zone, " %c%02d%02d", *t->offsetMinutes < 0 ? '-' : '+', abs / 60,
                      abs % 60);
        again += zone;
    }
    const std::optional<kesto::CreationTime> u = kesto::ParseCreation(again);
    Check(u && kesto::FormatRfc5322Date(*u) == kesto::FormatRfc5322Date(*t));
    return 0;
}
