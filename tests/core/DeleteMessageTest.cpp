#include "DeleteMessage.h"

#include "HalkTestBoard.h"

#include <gtest/gtest.h>

using namespace kesto;
using namespace kesto::test;

TEST(DeleteMessage, TogglesOnlyTheMark) {
    TempDir dir;
    Board b = HandBoard(dir);
    const std::string path = dir.File("MAIL/SNTEMAIL.DAT");
    std::string index = Pattern(2 * kMessageInfoSize);
    Set(index, kMessageInfoSize + 332, Le16(0));
    WriteNative(path, index);

    ASSERT_TRUE(DeleteMessage(b, Mailbox::Sent, 2));
    std::string expected = index;
    Set(expected, kMessageInfoSize + 332, Le16(1));
    EXPECT_EQ(ReadNative(path), expected);
    ASSERT_TRUE(DeleteMessage(b, Mailbox::Sent, 2));
    EXPECT_EQ(ReadNative(path), index); // twice gives back the starting mark
    for (std::int16_t mark : std::initializer_list<std::int16_t>{5, -1, 1}) {
        Set(index, 332, Le16(mark));
        WriteNative(path, index);
        ASSERT_TRUE(DeleteMessage(b, Mailbox::Sent, 1));
        EXPECT_EQ(ReadNative(path).substr(332, 2), Le16(0)) << mark;
    }
    EXPECT_TRUE(LogLines(b).empty());
}

TEST(DeleteMessage, NothingWithoutTheIndexOrTheRecord) {
    TempDir dir;
    Board b = HandBoard(dir);
    const std::string path = dir.File("MAIL/EMAIL.DAT");
    EXPECT_TRUE(DeleteMessage(b, Mailbox::Received, 1)); // no index: nothing at all
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(LogLines(b).empty());

    const std::string index = Pattern(kMessageInfoSize + 400); // one record and a partial one
    WriteNative(path, index);
    // A record cut short is no message to mark.
    const Result<void> shortRecord = DeleteMessage(b, Mailbox::Received, 2);
    EXPECT_EQ(shortRecord.error().code, ErrorCode::BadRecordNumber);
    EXPECT_FALSE(DeleteMessage(b, Mailbox::Received, 0));
    EXPECT_EQ(ReadNative(path), index);
    ExpectLogTails(
        b, {"  modKesto DeleteMessage - Bad record number", "  modKesto DeleteMessage - Bad record number"});
}
