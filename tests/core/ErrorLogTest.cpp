#include "ErrorLog.h"
#include "TestBoard.h"

#include <gtest/gtest.h>

#include <regex>

using namespace kesto;

TEST(ErrorLog, LinesAreAppendedInOrderWithExactSeparators) {
    test::TempDir dir;
    ErrorLog log{dir.File("HMRERROR.LOG"), "kesto"};
    LogError(log, " GetUser ", "1.0.060711 ", " modHALK", "File not found   ");
    LogError(log, "PutUser", "1.0.060711", "modHALK", "Disk full");

    std::string text = test::ReadNative(log.path);
    std::regex line1(
        R"(^[A-Z][a-z]{2} \d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2} kesto v1\.0\.060711   modHALK GetUser - File not found\r\n)");
    EXPECT_TRUE(std::regex_search(text, line1)) << text;
    // The version is written untrimmed, everything else trimmed; the second line follows the first.
    auto second = text.find("\r\n") + 2;
    EXPECT_NE(text.find("kesto v1.0.060711  modHALK PutUser - Disk full\r\n", second), std::string::npos);
    EXPECT_EQ(text.size(), text.rfind("\r\n") + 2);
}

TEST(ErrorLog, LoggedWritesOneLinePerFailureAndPassesTheResultOn) {
    test::TempDir dir;
    ErrorLog log{dir.File("HMRERROR.LOG"), "kesto"};
    const Result<int> failed = Logged(log, "modHALK", "GetSeqNum", Result<int>(Error(ErrorCode::DiskFull)));
    EXPECT_EQ(failed.error().code, ErrorCode::DiskFull);
    EXPECT_EQ(*Logged(log, "modHALK", "GetSeqNum", Result<int>(7)), 7);
    (void)Logged(log, "modKesto", "SaveAddressBook", Result<void>(Error(ErrorCode::Refused, "Not read")));
    std::string text = test::ReadNative(log.path);
    EXPECT_NE(text.find("  modHALK GetSeqNum - Disk full\r\n"), std::string::npos);
    EXPECT_NE(text.find("  modKesto SaveAddressBook - Not read\r\n"), std::string::npos);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2);

    // A log that cannot be written is dropped silently: no throw, no crash.
    LogError(ErrorLog{"/nonexistent-dir/HMRERROR.LOG", "kesto"}, "r", "v", "m", "d");
}
