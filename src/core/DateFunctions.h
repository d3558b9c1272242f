// modDateFunctions and modTimeZone: time stamps, the creation text and the UTC offset text.
#pragma once

#include "Result.h"

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace kesto {

// Days since a fixed origin; an Overflow past the 32-bit range.
Result<std::int32_t> DayNumber(std::int32_t month, std::int32_t day, std::int32_t year);
// Seconds since 1970-01-01 00:00:00 of local wall-clock time; an Overflow once the
// value no longer fits 32 bits.
Result<std::int32_t> GetTimeStamp(std::int32_t offset = 0);
// The same for a given local time and fraction of its second (what GetTimeStamp reads).
Result<std::int32_t> TimeStampOf(const std::tm& local, double fraction, std::int32_t offset = 0);
// "+hhmm"/"-hhmm" of the machine now, from the C library; empty when unknown.
std::string GetTimeZoneText();
// "ddd mmm dd, yyyy hh:nn:ss" of a local broken-down time ("Tue Jul 11, 2006 14:03:22").
std::string FormatCreation(const std::tm& local);
// The Creation text of a new record: FormatCreation(now) + " " + GetTimeZoneText().
std::string CreationNow();

// A local date and time as a Creation text or a time stamp gives it, and the UTC
// offset in minutes east of Greenwich when the text carries one.
struct CreationTime {
    std::int32_t year = 1970;
    std::int32_t month = 1; // 1 to 12
    std::int32_t day = 1;
    std::int32_t hour = 0;
    std::int32_t minute = 0;
    std::int32_t second = 0;
    std::optional<std::int32_t> offsetMinutes;
};
// Reads a Creation text, "ddd mmm dd, yyyy hh:nn:ss" and an optional "+hhmm"/"-hhmm",
// in any letter case and with any number of blanks between the parts. Nothing when
// it is not a real date and time of years 1 to 9999; an offset that does not read
// is left unknown. The weekday name is not held against the date.
std::optional<CreationTime> ParseCreation(std::string_view text);
// The wall-clock date and time a time stamp counts to; its offset is unknown.
CreationTime CreationTimeOf(std::int32_t timeStamp);
// "Tue, 11 Jul 2006 14:03:22 -0500" (RFC 5322); an unknown offset is "-0000".
std::string FormatRfc5322Date(const CreationTime& t);
void AppendRfc5322Date(std::string& out, const CreationTime& t);
// "Tue Jul 11 14:03:22 2006", as an mbox "From " line dates a message.
std::string FormatMboxDate(const CreationTime& t);
void AppendMboxDate(std::string& out, const CreationTime& t);

} // namespace kesto
