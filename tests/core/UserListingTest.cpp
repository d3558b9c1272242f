#include "UserListing.h"

#include "TestBoard.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

using namespace kesto;
using kesto::test::ReadNative;
using kesto::test::TempDir;
using kesto::test::WriteNative;

TEST(UserListingLine, PadsAndCutsColumns) {
    UserRecord bob = demo::MakeUser("Bob", "Robert Smith", 50);
    EXPECT_EQ(UserListingLine(5, bob), "5:     Bob                   Robert Smith");

    UserRecord longName =
        demo::MakeUser("  ABCDEFGHIJKLMNOPQRSTUVWXY", " A real name longer than the handle  ", 10);
    EXPECT_EQ(UserListingLine(123456, longName),
              "123456 ABCDEFGHIJKLMNOPQRST  A real name longer than the handle");
    EXPECT_EQ(UserListingLine(12345, longName).substr(0, 7), "12345: ");
}

TEST(FillUserList, SkipsEmptySlotsAndKeepsNumbersBesideLines) {
    TempDir dir;
    Board b = demo::CreateBoard(dir.path());
    demo::AppendUser(b, demo::MakeUser("SysOp", "Martin Hale", 255));
    demo::AppendUser(b, demo::MakeUser("Gone", "Deleted User", 0));
    demo::AppendUser(b, demo::MakeUser("Ann", "Ann Walker", 100));
    demo::AppendUser(b, demo::MakeUser("Minus", "Negative Level", -4));
    demo::AppendUser(b, demo::MakeUser("Bob", "Robert Smith", 1));
    // A trailing partial record that would read as a level-255 user if it counted.
    Bytes partial = demo::MakeUser("Half", "Partial", 255).raw.substr(0, 1000);
    WriteNative(dir.file("DATA/USERFILE.DAT"), ReadNative(dir.file("DATA/USERFILE.DAT")) + partial);

    UserListing list = FillUserList(b);
    EXPECT_FALSE(list.readFailed);
    ASSERT_EQ(list.lines.size(), 3u);
    EXPECT_EQ(list.lines[0], "1:     SysOp                 Martin Hale");
    EXPECT_EQ(list.lines[1], "3:     Ann                   Ann Walker");
    EXPECT_EQ(list.lines[2], "5:     Bob                   Robert Smith");
    EXPECT_EQ(list.numbers, (std::vector<std::int32_t>{0, 1, 3, 5}));
}

TEST(FillUserList, MissingFileListsNobodyWithoutLogging) {
    TempDir dir;
    Board b = demo::CreateBoard(dir.path());
    std::filesystem::remove(dir.file("DATA/USERFILE.DAT"));
    UserListing list = FillUserList(b);
    EXPECT_TRUE(list.lines.empty());
    EXPECT_EQ(list.numbers, std::vector<std::int32_t>{0});
    EXPECT_FALSE(list.readFailed);
    EXPECT_EQ(ReadNative(dir.file("HMRERROR.LOG")), "");
}

TEST(FillUserList, DirectoryInPlaceOfTheFileListsNobody) {
    TempDir dir;
    Board b = demo::CreateBoard(dir.path());
    std::filesystem::remove(dir.file("DATA/USERFILE.DAT"));
    std::filesystem::create_directory(dir.file("DATA/USERFILE.DAT"));
    UserListing list = FillUserList(b);
    EXPECT_FALSE(list.readFailed);
    EXPECT_TRUE(list.lines.empty());
}

TEST(FillUserList, PipeInPlaceOfTheFileFailsWithoutBlocking) {
    TempDir dir;
    Board b = demo::CreateBoard(dir.path());
    std::filesystem::remove(dir.file("DATA/USERFILE.DAT"));
    ASSERT_EQ(mkfifo(dir.file("DATA/USERFILE.DAT").c_str(), 0600), 0);
    UserListing list = FillUserList(b);
    EXPECT_TRUE(list.readFailed);
    EXPECT_NE(ReadNative(dir.file("HMRERROR.LOG")).find("frmUserListing FillUserList - "), std::string::npos);
}
