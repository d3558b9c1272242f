#include "DeleteMessage.h"

#include "HalkTestBoard.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kesto;
using namespace kesto::test;

namespace {

struct DeleteMessageTest : ::testing::Test {
    TempDir dir;
    Board b = HandBoard(dir);
    std::string index = Pattern(3 * kMessageInfoSize);

    std::string MarkOf(const std::string& path, std::int16_t number) {
        return ReadNative(path).substr((number - 1) * kMessageInfoSize + 332, 2);
    }
};

} // namespace

TEST_F(DeleteMessageTest, TogglesOnlyTheMark) {
    const std::string path = dir.file("MAIL/SNTEMAIL.DAT");
    Set(index, kMessageInfoSize + 332, Le16(0));
    WriteNative(path, index);

    DeleteMessage(b, 2, 2);
    std::string expected = index;
    Set(expected, kMessageInfoSize + 332, Le16(1));
    EXPECT_EQ(ReadNative(path), expected);
    DeleteMessage(b, 2, 2);
    EXPECT_EQ(ReadNative(path), index); // twice gives back the starting mark

    for (std::int16_t mark : {5, -1, 1}) {
        Set(index, 332, Le16(mark));
        WriteNative(path, index);
        DeleteMessage(b, 2, 1);
        EXPECT_EQ(MarkOf(path, 1), Le16(0)) << mark;
    }
    EXPECT_TRUE(LogLines(b).empty());
}

TEST_F(DeleteMessageTest, NothingWithoutTheIndexOrTheRecord) {
    DeleteMessage(b, 1, 1); // no EMAIL.DAT
    EXPECT_FALSE(std::filesystem::exists(dir.file("MAIL/EMAIL.DAT")));
    EXPECT_TRUE(LogLines(b).empty());

    const std::string path = dir.file("MAIL/EMAIL.DAT");
    const std::string withPartial = index + std::string(400, ' ');
    WriteNative(path, withPartial);
    DeleteMessage(b, 1, 4); // the partial record is no message
    DeleteMessage(b, 1, 9);
    DeleteMessage(b, 1, 0);
    EXPECT_EQ(ReadNative(path), withPartial);
    auto lines = LogLines(b);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(EndsWith(lines[0], "  modKesto DeleteMessage - Bad record number"));
}
