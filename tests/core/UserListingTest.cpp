#include "UserListing.h"

#include "TestBoard.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

using namespace kesto;
using namespace kesto::test;

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
    Board b = demo::CreateBoard(dir.Path()).value();
    demo::AppendUser(b, demo::MakeUser("SysOp", "Martin Hale", 255)).value();
    demo::AppendUser(b, demo::MakeUser("Gone", "Deleted User", 0)).value();
    demo::AppendUser(b, demo::MakeUser("Ann", "Ann Walker", 100)).value();
    demo::AppendUser(b, demo::MakeUser("Minus", "Negative Level", -4)).value();
    demo::AppendUser(b, demo::MakeUser("Bob", "Robert Smith", 1)).value();
    // A trailing partial record that would read as a level-255 user if it counted.
    Bytes partial = demo::MakeUser("Half", "Partial", 255).raw.substr(0, 1000);
    WriteNative(dir.File("DATA/USERFILE.DAT"), ReadNative(dir.File("DATA/USERFILE.DAT")) + partial);

    const UserListing list = FillUserList(b).value();
    ASSERT_EQ(list.lines.size(), 3u);
    EXPECT_EQ(list.lines[0], "1:     SysOp                 Martin Hale");
    EXPECT_EQ(list.lines[1], "3:     Ann                   Ann Walker");
    EXPECT_EQ(list.lines[2], "5:     Bob                   Robert Smith");
    EXPECT_EQ(list.numbers, (std::vector<std::int32_t>{1, 3, 5}));
}

TEST(FillUserList, MissingFileOrDirectoryListsNobodyQuietlyAndAPipeFailsWithoutBlocking) {
    TempDir dir;
    Board b = demo::CreateBoard(dir.Path()).value();
    const std::string users = dir.File("DATA/USERFILE.DAT");
    std::filesystem::remove(users);
    UserListing list = FillUserList(b).value();
    EXPECT_TRUE(list.lines.empty());
    EXPECT_TRUE(list.numbers.empty());
    std::filesystem::create_directory(users);
    list = FillUserList(b).value();
    EXPECT_TRUE(list.lines.empty());
    EXPECT_EQ(ReadNative(dir.File("HMRERROR.LOG")), "");

    std::filesystem::remove(users);
    ASSERT_EQ(mkfifo(users.c_str(), 0600), 0);
    EXPECT_EQ(FillUserList(b).error().code, ErrorCode::FileAccess);
    EXPECT_NE(ReadNative(dir.File("HMRERROR.LOG")).find("frmUserListing FillUserList - "), std::string::npos);
}
