#include "DateFunctions.h"
#include "ErrorLog.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <regex>

using namespace kesto;

namespace {

std::tm Local(int year, int month, int day, int hour, int minute, int second) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    t.tm_wday = 6; // deliberately wrong: the weekday must come from the date
    return t;
}

// Sets TZ for one test and puts the old value back.
class TimeZone : public ::testing::Test {
  protected:
    void TearDown() override {
        old_ ? setenv("TZ", old_->c_str(), 1) : unsetenv("TZ");
        tzset();
    }
    static void Use(const char* tz) {
        setenv("TZ", tz, 1);
        tzset();
    }

  private:
    std::optional<std::string> old_ =
        std::getenv("TZ") ? std::optional<std::string>(std::getenv("TZ")) : std::nullopt;
};

} // namespace

TEST(DayNumber, LeapYearsAndYearEnds) {
    EXPECT_EQ(*DayNumber(3, 1, 2000) - *DayNumber(2, 28, 2000), 2);
    EXPECT_EQ(*DayNumber(3, 1, 1900) - *DayNumber(2, 28, 1900), 1);
    EXPECT_EQ(*DayNumber(3, 1, 2024) - *DayNumber(2, 28, 2024), 2);
    EXPECT_EQ(*DayNumber(1, 1, 1970) - *DayNumber(12, 31, 1969), 1);
    EXPECT_EQ(*DayNumber(1, 1, 2001) - *DayNumber(1, 1, 2000), 366);
    EXPECT_EQ(*DayNumber(1, 1, 2038) - *DayNumber(1, 1, 1970), 24837);
    EXPECT_EQ(DayNumber(1, 1, 2000000000).error().code, ErrorCode::Overflow);
}

TEST(TimeStamp, LocalWallClockSecondsRoundedHalfToEven) {
    EXPECT_EQ(*TimeStampOf(Local(1970, 1, 2, 0, 0, 0), 0.0), 86400);
    EXPECT_EQ(*TimeStampOf(Local(1970, 1, 1, 23, 59, 59), 0.6), 86400); // into the next day
    EXPECT_EQ(*TimeStampOf(Local(1969, 12, 31, 23, 59, 59), 0.0), -1);
    EXPECT_EQ(*TimeStampOf(Local(2006, 7, 11, 14, 3, 22), 0.0), 1152626602);
    EXPECT_EQ(*TimeStampOf(Local(2006, 7, 11, 14, 3, 22), 0.5), 1152626602);
    EXPECT_EQ(*TimeStampOf(Local(2006, 7, 11, 14, 3, 23), 0.5), 1152626604);
    EXPECT_EQ(*TimeStampOf(Local(1970, 1, 1, 0, 0, 0), 0.0, -500), 18000);
    EXPECT_EQ(*TimeStampOf(Local(2038, 1, 19, 3, 14, 7), 0.0), 2147483647);
    EXPECT_EQ(TimeStampOf(Local(2038, 1, 19, 3, 14, 7), 0.5).error().code, ErrorCode::Overflow);
    EXPECT_EQ(TimeStampOf(Local(2038, 1, 19, 3, 14, 8), 0.0).error().description, "Overflow");
}

TEST_F(TimeZone, StampFollowsTheLocalClock) {
    for (const char* tz : {"UTC0", "EST5", "IST-5:30"}) {
        Use(tz);
        std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        std::int64_t expected = static_cast<std::int64_t>(now) + local.tm_gmtoff;
        EXPECT_NEAR(static_cast<double>(*GetTimeStamp(0)), static_cast<double>(expected), 2.0) << tz;
    }
}

TEST_F(TimeZone, OffsetTextHasSignAndFourDigits) {
    Use("EST5");
    EXPECT_EQ(GetTimeZoneText(), "-0500");
    Use("IST-5:30");
    EXPECT_EQ(GetTimeZoneText(), "+0530");
    Use("UTC0");
    EXPECT_EQ(GetTimeZoneText(), "+0000");
    Use("NST3:30");
    EXPECT_EQ(GetTimeZoneText(), "-0330");
    Use("EST5EDT,0/0,J365/25"); // daylight time the whole year
    EXPECT_EQ(GetTimeZoneText(), "-0400");
}

TEST_F(TimeZone, CreationTextInEnglish) {
    EXPECT_EQ(FormatCreation(Local(2006, 7, 11, 14, 3, 22)), "Tue Jul 11, 2006 14:03:22");
    EXPECT_EQ(FormatCreation(Local(1970, 1, 1, 0, 0, 0)), "Thu Jan 01, 1970 00:00:00");
    EXPECT_EQ(FormatCreation(Local(2000, 2, 29, 23, 59, 9)), "Tue Feb 29, 2000 23:59:09");
    EXPECT_EQ(FormatCreation(Local(1969, 12, 31, 1, 2, 3)), "Wed Dec 31, 1969 01:02:03");
    Use("EST5");
    std::string now = CreationNow();
    EXPECT_TRUE(std::regex_match(
        now, std::regex(R"([A-Z][a-z]{2} [A-Z][a-z]{2} \d{2}, \d{4} \d{2}:\d{2}:\d{2} -0500)")))
        << now;
}

// A Creation text read back as the instant it names, in its own zone; the weekday is the date's.
TEST(CreationDate, ReadsAsRfc5322DateOrNotAtAll) {
    const struct {
        const char* creation;
        const char* date; // nullptr: not a date
    } cases[] = {
        {"Tue Jul 11, 2006 14:03:22 -0500", "Tue, 11 Jul 2006 14:03:22 -0500"},
        {"  fri  JAN 2, 2006 9:05:00 +0530 ", "Mon, 02 Jan 2006 09:05:00 +0530"},
        {"Tue Feb 29, 2000 23:59:59", "Tue, 29 Feb 2000 23:59:59 -0000"}, // no zone known
        {"Tue Jul 11, 2006 14:03:22 +05x0", "Tue, 11 Jul 2006 14:03:22 -0000"},
        {"Thu Feb 29, 2001 10:00:00 +0000", nullptr},
        {"Tue Jul 11 2006 14:03:22 +0000", nullptr},
        {"Tue Jul 11, 2006 24:00:00 +0000", nullptr},
        {"Tue Jul 11, 2006 14:03:22 +0000 extra", nullptr},
        {"Tue Jul 11, 06 14:03:22", nullptr},
        {"", nullptr},
    };
    for (const auto& c : cases) {
        const std::optional<CreationTime> t = ParseCreation(c.creation);
        EXPECT_EQ(t ? FormatRfc5322Date(*t) : "none", c.date ? c.date : "none") << c.creation;
    }
    EXPECT_EQ(FormatRfc5322Date(CreationTimeOf(1152626602)), "Tue, 11 Jul 2006 14:03:22 -0000");
    EXPECT_EQ(FormatRfc5322Date(CreationTimeOf(-1)), "Wed, 31 Dec 1969 23:59:59 -0000");
    EXPECT_EQ(FormatMboxDate(*ParseCreation("Mon Jan 02, 2006 09:05:00")), "Mon Jan  2 09:05:00 2006");
}
