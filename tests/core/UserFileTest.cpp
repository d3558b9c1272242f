#include "UserFile.h"

#include "HalkTestBoard.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace kesto;
using namespace kesto::test;

namespace {

std::string UserRec(std::string_view handle, std::string_view realName, unsigned seed) {
    std::string rec = Pattern(kUserRecordSize, seed);
    Set(rec, 0, Pad(handle, 40) + Pad(realName, 40));
    return rec;
}

struct UserFileTest : ::testing::Test {
    TempDir dir;
    Board b = HandBoard(dir);
    std::string path = dir.File("DATA/USERFILE.DAT");
};

} // namespace

TEST_F(UserFileTest, ReadAndRewriteRecords) {
    const std::string users = UserRec("SysOp", "Sam Op", 1) + UserRec("Guest", "Gus Est", 2) +
                              UserRec("Third", "", 3) + std::string(100, 'x');
    WriteNative(path, users);
    EXPECT_EQ(*GetUserCount(b), 3); // the trailing 100 bytes are no user

    UserRecord u = GetUser(b, 2).value();
    EXPECT_EQ(u.raw, users.substr(kUserRecordSize, kUserRecordSize));
    u.MailCount += 1;
    u.Handle = "Guesty";
    EXPECT_TRUE(PutUser(b, 2, u));
    std::string expected = users;
    Set(expected, kUserRecordSize, Pad("Guesty", 40));
    Set(expected, kUserRecordSize + 842, Le32(GetI32(users, kUserRecordSize + 842) + 1));
    EXPECT_EQ(ReadNative(path), expected);

    // The partial record keeps what exists; past the end is an empty record, not a failure.
    EXPECT_EQ(GetUser(b, 4)->Handle, std::string(40, 'x'));
    u = GetUser(b, 5).value();
    EXPECT_EQ(u.SecurityLevel, 0);
    EXPECT_EQ(u.Handle, std::string(40, ' '));
    EXPECT_TRUE(LogLines(b).empty());
}

TEST_F(UserFileTest, FailuresGiveAnErrorAndOneLogLineEach) {
    const Result<UserRecord> missing = GetUser(b, 1); // no user file
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().code, ErrorCode::FileNotFound);
    EXPECT_EQ(*GetUserCount(b), 0); // quietly

    const UserRecord u = DecodeUserRecord({});
    WriteNative(path, UserRec("SysOp", "", 1));
    EXPECT_EQ(GetUser(b, 0).error().code, ErrorCode::BadRecordNumber);
    EXPECT_EQ(PutUser(b, -1, u).error().code, ErrorCode::BadRecordNumber);
    EXPECT_EQ(ReadNative(path), UserRec("SysOp", "", 1));

    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    EXPECT_EQ(GetUser(b, 1).error().code, ErrorCode::FileAccess);
    EXPECT_FALSE(FindHandle(b, "SysOp"));
    std::filesystem::remove(path);
    std::filesystem::create_symlink("/dev/full", path);
    EXPECT_EQ(PutUser(b, 1, u).error().code, ErrorCode::DiskFull);

    ExpectLogTails(b, {" kesto v1.0.060711  modHALK GetUser - File not found",
                       "  modHALK GetUser - Bad record number", "  modHALK PutUser - Bad record number",
                       "  modHALK GetUser - Path/File access error",
                       "  modHALK FindHandle - Path/File access error", "  modHALK PutUser - Disk full"});
}

TEST_F(UserFileTest, SearchesTrimAndIgnoreCase) {
    WriteNative(path, UserRec("Guest", "Gus Est", 1) + UserRec("SysOp", "Sam Op", 2) +
                          UserRec("  sysop", "", 3) + UserRec("SysOpX", "Sam", 4));
    EXPECT_EQ(*FindHandle(b, "  sYsOp "), 2); // the lowest matching record
    EXPECT_EQ(*FindHandle(b, "sysopx"), 4);
    EXPECT_EQ(*FindHandle(b, "Sys"), 0);    // no prefix match
    EXPECT_EQ(*FindHandle(b, "Sam Op"), 0); // a real name is not a handle
    EXPECT_EQ(*FindRealName(b, "SAM OP"), 2);
    EXPECT_EQ(*FindRealName(b, "Guest"), 0);

    // Windows-1252 capitals fold too (octal escapes): JÖRG ŠEBEK finds Jörg šebek; ß and × stay.
    WriteNative(path, UserRec("\327", "", 1) + UserRec("Stra\337e", "", 2) +
                          UserRec("J\366rg \232ebek", "\377vonne \234uvre", 3));
    EXPECT_EQ(*FindHandle(b, "J\326RG \212EBEK"), 3);
    EXPECT_EQ(*FindRealName(b, "\237VONNE \214UVRE"), 3);
    EXPECT_EQ(*FindHandle(b, "STRASSE"), 0);
    EXPECT_EQ(*FindHandle(b, "\367"), 0); // the division sign is not the multiplication sign lower-cased
    EXPECT_TRUE(LogLines(b).empty());
}

TEST_F(UserFileTest, SearchesStopAtTheSixteenBitCount) {
    // Sparse files: 32767 whole records can be searched, one more cannot.
    WriteNative(path, "");
    std::filesystem::resize_file(path, 32767 * kUserRecordSize);
    {
        std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(32766 * static_cast<std::streamoff>(kUserRecordSize));
        f << Pad("Last", 40) << Pad("Las T", 40);
    }
    EXPECT_EQ(*FindHandle(b, "last"), 32767);
    EXPECT_EQ(*FindRealName(b, "las t"), 32767);
    EXPECT_TRUE(LogLines(b).empty());

    std::filesystem::resize_file(path, 32768 * kUserRecordSize);
    EXPECT_EQ(FindHandle(b, "last").error().code, ErrorCode::Overflow);
    EXPECT_EQ(*GetUserCount(b), 32768);
    ExpectLogTails(b, {"  modHALK FindHandle - Overflow"});
}

TEST(UserFile, AccessFlagLetters) {
    EXPECT_EQ(GetAccFlags(0), "");
    EXPECT_EQ(GetAccFlags(1), "A");
    EXPECT_EQ(GetAccFlags(5), "AC");
    EXPECT_EQ(GetAccFlags(1 << 25), "Z");
    EXPECT_EQ(GetAccFlags((1 << 26) - 1), "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    EXPECT_EQ(GetAccFlags(-1), "");
    // Beyond Z every step still finds a quotient of at least 1.
    EXPECT_EQ(GetAccFlags(1 << 26), "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
}
