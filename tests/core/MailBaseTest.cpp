#include "MailBase.h"

#include "HalkTestBoard.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kesto;
using namespace kesto::test;

namespace {

struct MailBaseTest : ::testing::Test {
    TempDir dir;
    Board b = HandBoard(dir);
    std::string dat = dir.File("MAIL/EMAIL.DAT");
    std::string bin = dir.File("MAIL/EMAIL.BIN");

    // The body of a text file holding `bytes`, read as every caller reads it.
    Result<std::string> Body(std::string_view bytes, std::int32_t pos = 1, std::int32_t len = -2,
                             bool raw = false) {
        WriteNative(bin, bytes);
        return GetMessage(b, "EMAIL", pos, len == -2 ? static_cast<std::int32_t>(bytes.size()) : len, true,
                          raw);
    }
};

} // namespace

TEST_F(MailBaseTest, RecordsByNumber) {
    EXPECT_EQ(MailboxFile(b, " email ", ".DAT"), "MAIL\\EMAIL.DAT");
    EXPECT_EQ(MailboxName(Mailbox::Sent), "SNTEMAIL");
    std::string second = Pattern(kMessageInfoSize, 2);
    Set(second, 268, Pad("Second", 64));
    const std::string index = Pattern(kMessageInfoSize, 1) + second + Pattern(581);
    WriteNative(dat, index);
    EXPECT_EQ(MessageCount(b, " email "), 2);

    MessageInfo m = GetMessageInfo(b, " email ", 2).value();
    EXPECT_EQ(m.Subject, Pad("Second", 64));
    m.Offline = 1;
    EXPECT_TRUE(PutMessageInfo(b, "EMAIL", 2, m));
    std::string expected = index;
    Set(expected, kMessageInfoSize + 374, Le32(1));
    EXPECT_EQ(ReadNative(dat), expected);

    EXPECT_EQ(GetMessageInfo(b, "EMAIL", 4)->raw, EmptyMessageInfo().raw); // past the end
    EXPECT_TRUE(LogLines(b).empty());
}

TEST_F(MailBaseTest, RecordFailures) {
    // No index: a failure without a log line.
    EXPECT_EQ(GetMessageInfo(b, "SNTEMAIL", 1).error().code, ErrorCode::FileNotFound);
    EXPECT_TRUE(LogLines(b).empty());

    WriteNative(dat, Pattern(kMessageInfoSize));
    EXPECT_FALSE(GetMessageInfo(b, "EMAIL", 0));
    EXPECT_FALSE(PutMessageInfo(b, "EMAIL", -4, EmptyMessageInfo()));
    EXPECT_EQ(ReadNative(dat), Pattern(kMessageInfoSize));
    std::filesystem::remove(dat);
    std::filesystem::create_symlink("/dev/full", dat);
    EXPECT_EQ(PutMessageInfo(b, "EMAIL", 1, EmptyMessageInfo()).error().code, ErrorCode::DiskFull);

    ExpectLogTails(b,
                   {"  modHALK GetMessageInfo - Bad record number",
                    "  modHALK PutMessageInfo - Bad record number", "  modHALK PutMessageInfo - Disk full"});
}

TEST_F(MailBaseTest, BodyCleanUp) {
    EXPECT_EQ(*Body("Hi\rthere\n\n"), "Hi\r\nthere");
    EXPECT_EQ(*Body("Hello \r\n  "), "Hello \r\n"); // blanks go after the line ends
    EXPECT_EQ(*Body("A\x03"
                    "4B"),
              "AB");
    EXPECT_EQ(*Body("first\r\nsecond \r\nthird", 8, 9), "second"); // 1-based position
    EXPECT_EQ(*Body("x\x03"
                    "1y \n",
                    1, -2, true),
              "xy \n"); // raw keeps line ends and blanks
}

// A damaged record never costs more than the file holds.
TEST_F(MailBaseTest, DamagedPositionsAndLengths) {
    EXPECT_EQ(*Body("tail of a body", 11, 2147483647), "body");
    EXPECT_EQ(*Body("short", 6, 10), "");
    // Past the file's end the body counts as blank-filled: its last line end stays.
    EXPECT_EQ(*Body("Hi\r\n", 1, 10), "Hi\r\n");
    EXPECT_EQ(*Body("Hi\r\n \r\n", 1, 8), "Hi\r\n \r\n");
    EXPECT_EQ(*Body("Hi\r\n", 1, 4), "Hi");
    EXPECT_TRUE(LogLines(b).empty());

    EXPECT_EQ(Body("short", 0, 5).error().code, ErrorCode::BadRecordNumber);
    EXPECT_EQ(Body("short", -2147483647 - 1, 5).error().code, ErrorCode::BadRecordNumber);
    EXPECT_EQ(Body("short", 1, -5).error().code, ErrorCode::BadRecordLength);
    ExpectLogTails(b, {"  modHALK GetMessage - Bad record number", "  modHALK GetMessage - Bad record number",
                       "  modHALK GetMessage - Bad record length"});

    std::filesystem::remove(bin);
    std::filesystem::create_directory(bin); // no text file: a failure without a log line
    EXPECT_EQ(GetMessage(b, "EMAIL", 1, 10, true, false).error().code, ErrorCode::FileNotFound);
    EXPECT_EQ(LogLines(b).size(), 3u);
}
