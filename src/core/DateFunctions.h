// modDateFunctions and modTimeZone: time stamps, the creation text and the UTC offset text.
#pragma once

#include "Result.h"

#include <cstdint>
#include <ctime>
#include <string>

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

} // namespace kesto
