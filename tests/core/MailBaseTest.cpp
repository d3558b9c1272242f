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
    std::string dat = dir.file("MAIL/EMAIL.DAT");
    std::string bin = dir.file("MAIL/EMAIL.BIN");

    std::string Body(std::string_view bytes, std::int32_t pos = 1, std::int32_t len = -2, bool raw = false) {
        WriteNative(bin, bytes);
        std::int16_t status = 9;
        std::string text =
            GetMessage(b, "EMAIL", pos, len == -2 ? static_cast<std::int32_t>(bytes.size()) : len, true, raw, status);
        lastStatus = status;
        return text;
    }
    std::int16_t lastStatus = 0;
};

} // namespace

TEST_F(MailBaseTest, NamesAndCount) {
    EXPECT_EQ(MailboxName(1), "EMAIL");
    EXPECT_EQ(MailboxName(2), "SNTEMAIL");
    EXPECT_EQ(MailboxName(0), "SNTEMAIL");
    EXPECT_EQ(MailboxFile(b, " email ", ".DAT"), "MAIL\\EMAIL.DAT");

    EXPECT_EQ(MessageCount(b, "EMAIL"), 0);
    WriteNative(dat, Pattern(2 * kMessageInfoSize + 581));
    EXPECT_EQ(MessageCount(b, " email "), 2); // the new message would be number 3
}

TEST_F(MailBaseTest, GetAndPutMessageInfo) {
    std::string second = Pattern(kMessageInfoSize, 2);
    Set(second, 268, Pad("Second", 64));
    Set(second, 374, Le32(0));
    const std::string index = Pattern(kMessageInfoSize, 1) + second;
    WriteNative(dat, index);

    std::int16_t status = 9;
    MessageInfo m = GetMessageInfo(b, " email ", 2, status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(m.Subject, Pad("Second", 64));

    m.Offline = 1;
    PutMessageInfo(b, "EMAIL", 2, m, status);
    EXPECT_EQ(status, 0);
    std::string expected = index;
    Set(expected, kMessageInfoSize + 374, Le32(1));
    EXPECT_EQ(ReadNative(dat), expected);

    m = GetMessageInfo(b, "EMAIL", 3, status); // past the end
    EXPECT_EQ(status, 0);
    EXPECT_EQ(m.raw, EmptyMessageInfo().raw);
    EXPECT_TRUE(LogLines(b).empty());
}

TEST_F(MailBaseTest, MessageInfoFailures) {
    std::int16_t status = 0;
    MessageInfo m = GetMessageInfo(b, "SNTEMAIL", 1, status); // no SNTEMAIL.DAT: quiet
    EXPECT_EQ(status, -1);
    EXPECT_EQ(m.FromUserNo, 0);
    EXPECT_TRUE(LogLines(b).empty());

    WriteNative(dat, Pattern(kMessageInfoSize));
    GetMessageInfo(b, "EMAIL", 0, status);
    EXPECT_EQ(status, -1);
    PutMessageInfo(b, "EMAIL", -4, EmptyMessageInfo(), status);
    EXPECT_EQ(status, -1);
    EXPECT_EQ(ReadNative(dat), Pattern(kMessageInfoSize));

    std::filesystem::remove(dat);
    std::filesystem::create_symlink("/dev/full", dat);
    PutMessageInfo(b, "EMAIL", 1, EmptyMessageInfo(), status);
    EXPECT_EQ(status, -1);

    auto lines = LogLines(b);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(EndsWith(lines[0], "  modHALK GetMessageInfo - Bad record number"));
    EXPECT_TRUE(EndsWith(lines[1], "  modHALK PutMessageInfo - Bad record number"));
    EXPECT_TRUE(EndsWith(lines[2], "  modHALK PutMessageInfo - Disk full"));
}

TEST_F(MailBaseTest, BodyCleanUp) {
    EXPECT_EQ(Body("Hi\rthere\n\n"), "Hi\r\nthere");
    EXPECT_EQ(Body("Hello \r\n  "), "Hello \r\n");
    EXPECT_EQ(Body("A\x03"
                   "4B"),
              "AB");
    EXPECT_EQ(Body("  lead\n\r\n"), "  lead");
    EXPECT_EQ(lastStatus, 0);

    // Located by a 1-based position among the other bodies.
    EXPECT_EQ(Body("first\r\nsecond \r\nthird", 8, 9), "second");
    // Raw keeps line ends and blanks; colour codes still go when asked.
    EXPECT_EQ(Body("x\x03"
                   "1y \n",
                   1, -2, true),
              "xy \n");
}

TEST_F(MailBaseTest, DamagedPositionsAndLengths) {
    // A length far beyond the file gives the bytes that exist.
    EXPECT_EQ(Body("tail of a body", 11, 2147483647), "body");
    EXPECT_EQ(lastStatus, 0);
    // A position past the end names no byte: nothing, without a failure.
    EXPECT_EQ(Body("short", 6, 10), "");
    EXPECT_EQ(lastStatus, 0);
    EXPECT_EQ(Body("short", 1, 0), "");
    EXPECT_EQ(lastStatus, 0);
    EXPECT_TRUE(LogLines(b).empty());

    EXPECT_EQ(Body("short", 0, 5), "");
    EXPECT_EQ(lastStatus, -1);
    EXPECT_EQ(Body("short", -2147483647 - 1, 5), "");
    EXPECT_EQ(lastStatus, -1);
    EXPECT_EQ(Body("short", 1, -5), "");
    EXPECT_EQ(lastStatus, -1);
    auto lines = LogLines(b);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(EndsWith(lines[0], "  modHALK GetMessage - Bad record number"));
    EXPECT_TRUE(EndsWith(lines[2], "  modHALK GetMessage - Bad record length"));
}

TEST_F(MailBaseTest, MissingOrUnreadableTextFile) {
    std::int16_t status = 0;
    EXPECT_EQ(GetMessage(b, "SNTEMAIL", 1, 10, true, false, status), "");
    EXPECT_EQ(status, -1);
    EXPECT_TRUE(LogLines(b).empty());

    std::filesystem::create_directory(bin); // not a file: treated as missing
    EXPECT_EQ(GetMessage(b, "EMAIL", 1, 10, true, false, status), "");
    EXPECT_EQ(status, -1);
    EXPECT_TRUE(LogLines(b).empty());
}
