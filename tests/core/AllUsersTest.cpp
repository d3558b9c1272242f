#include "AllUsers.h"

#include "Bytes.h"
#include "DemoBoard.h"
#include "TestBoard.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kesto::test {
namespace {

using Error = AllUsersCriterion::Error;

TEST(AllUsersCriterion, ParsesOperatorAndValueIgnoringBlanks) {
    EXPECT_EQ(ParseAllUsersCriterion("all users").error, Error::NoParameters);
    EXPECT_EQ(ParseAllUsersCriterion("  all users  > ").error, Error::NoParameters);
    EXPECT_EQ(ParseAllUsersCriterion("all users # 5").error, Error::ImproperFormat);

    auto gt = ParseAllUsersCriterion("all users > 2 0");
    EXPECT_EQ(gt.error, Error::None);
    EXPECT_EQ(gt.op, '>');
    EXPECT_EQ(gt.level, 20);
    EXPECT_EQ(ParseAllUsersCriterion("all users < abc").level, 0);
    EXPECT_EQ(ParseAllUsersCriterion("all users < 12.5x").level, 12.5);

    auto flag = ParseAllUsersCriterion("all users ! cd");
    EXPECT_EQ(flag.op, '!');
    EXPECT_EQ(flag.letter, 'C');
    EXPECT_EQ(ParseAllUsersCriterion("allusers$x").letter, 'X');
}

TEST(AllUsersCriterion, MatchesLevelsFlagsAndAccessFlagsButNeverEmptySlots) {
    auto u = demo::MakeUser("U", "U", 20);
    PutText(u.UserFlags, 0, 26, "bq");
    u.AccessFlags = (1 << 0) | (1 << 23); // A and X
    auto m = [&](std::string_view c) { return MatchesCriterion(ParseAllUsersCriterion(c), u); };
    EXPECT_TRUE(m("all users > 19"));
    EXPECT_FALSE(m("all users > 20"));
    EXPECT_TRUE(m("all users ! q"));
    EXPECT_FALSE(m("all users ! A")); // an access flag is not a user flag
    EXPECT_TRUE(m("all users $ x"));
    EXPECT_FALSE(m("all users $ B"));

    u.SecurityLevel = 0;
    EXPECT_FALSE(m("all users = 0"));
    EXPECT_FALSE(m("all users < 5"));
    EXPECT_FALSE(m("all users ! B"));
}

struct SendAllUsersTest : ::testing::Test {
    TempDir dir;
    Board b = demo::CreateBoard(dir.Path()).value();
    SendAllUsersTest() {
        demo::AppendUser(b, demo::MakeUser("SysOp", "Sam", 255)).value();
        demo::AppendUser(b, demo::MakeUser("Bob", "Bob", 20)).value();
        demo::AppendUser(b, demo::MakeUser("", "", 0)).value();
        demo::AppendUser(b, demo::MakeUser("CoSysop", "Co", 255)).value();
        std::string stats(88, '\0');
        WriteNative(dir.File("DATA/STATHBRD.DAT"), stats);
        demo::SetNodeUser(b, 0, 0).value();
    }
    std::string Read(const std::string& rel) const { return ReadNative(dir.File(rel)); }
};

TEST_F(SendAllUsersTest, SendsOneMessagePerMatchWithoutSentCopies) {
    std::vector<std::int32_t> progress;
    auto r = SendAllUsers(b, 1, "all users = 255", "Notice", "Board closes at ten", "",
                          [&](std::int32_t done, std::int32_t total) {
                              EXPECT_EQ(total, 4);
                              progress.push_back(done);
                          });
    EXPECT_TRUE(r.success);
    EXPECT_EQ(r.sent, 2);
    EXPECT_EQ(progress, (std::vector<std::int32_t>{1, 2, 3, 4})); // once per user slot

    std::string dat = Read("MAIL/EMAIL.DAT");
    ASSERT_EQ(dat.size(), 2 * 582u);
    EXPECT_EQ(GetI32(dat, 4), 1); // the sender gets a copy too
    EXPECT_EQ(GetI32(dat, 582 + 4), 4);
    EXPECT_NE(GetI32(dat, 256), GetI32(dat, 582 + 256));
    EXPECT_FALSE(std::filesystem::exists(dir.File("MAIL/SNTEMAIL.DAT")));

    // The empty slot never receives anything.
    EXPECT_TRUE(SendAllUsers(b, 1, "all users < 5", "s", "t", "").success);
    EXPECT_EQ(Read("MAIL/EMAIL.DAT").size(), 2 * 582u);
}

TEST_F(SendAllUsersTest, BadCriteriaAreRefusedWithTheirMessages) {
    auto none = SendAllUsers(b, 1, "all users", "s", "t", "");
    EXPECT_FALSE(none.success);
    EXPECT_EQ(none.message,
              "You are attempting to send a message to all users, but have not provided any parameters.");
    auto bad = SendAllUsers(b, 1, "all users # 5", "s", "t", "");
    EXPECT_FALSE(bad.success);
    EXPECT_EQ(bad.message, "Improper format to send to all users.\n"
                           "Send to \"all users <>= securitylevel\" or \"all users !$ flag\".");
    EXPECT_FALSE(std::filesystem::exists(dir.File("MAIL/EMAIL.DAT")));
}

TEST_F(SendAllUsersTest, AFailingDeliveryDoesNotStopTheWalk) {
    std::filesystem::remove_all(dir.File("MAIL"));
    WriteNative(dir.File("MAIL"), "x");
    auto r = SendAllUsers(b, 1, "all users > 0", "s", "t", "");
    EXPECT_TRUE(r.success);
    EXPECT_EQ(r.sent, 0);
    // One log line per user tried: three users have a level above 0.
    std::string log = Read("HMRERROR.LOG");
    std::size_t lines = 0;
    for (std::size_t p = 0; (p = log.find("SendEmail - ", p)) != std::string::npos; ++p) ++lines;
    EXPECT_EQ(lines, 3u);
}

} // namespace
} // namespace kesto::test
