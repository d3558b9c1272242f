#include "MessageInfoView.h"

#include "TestBoard.h"

#include <gtest/gtest.h>

using namespace kesto;
using namespace kesto::test;

TEST(DaysOld, WholeDaysTowardZero) {
    const std::int32_t now = 1152626602;
    EXPECT_EQ(DaysOld(now - 36 * 3600, now), 1);
    EXPECT_EQ(DaysOld(now - 3600, now), 0);
    EXPECT_EQ(DaysOld(now - 86400, now), 1);
    EXPECT_EQ(DaysOld(now + 36 * 3600, now), -1); // from the future
    EXPECT_EQ(DaysOld(0, now), 13340);
    // A difference past 32 bits cannot be computed: the label stays empty.
    EXPECT_EQ(DaysOld(INT32_MIN, INT32_MAX), std::nullopt);
    EXPECT_EQ(DaysOld(-2000000000, 147483647), 24855);
}

TEST(MessageInfoFields, DialogOrderCaptionsAndValues) {
    MessageInfo m = demo::MakeMessage(-5, 1, "  Bob", "SysOp", "Hello there", 1152626602 - 2 * 86400);
    m.FidoFlags = -1;
    m.Deleted = 5;
    m.AttFileName = "REPORT.ZIP  ";
    std::vector<MessageInfoField> f = MessageInfoFields(m, 1152626602);

    ASSERT_EQ(f.size(), 27u); // the order and the keys are checked through kesto-cli info
    auto value = [&](const std::string& name) {
        for (const auto& x : f)
            if (x.name == name) return x.value;
        return std::string("?");
    };
    EXPECT_EQ(f[0].caption, "From User No.:");
    EXPECT_EQ(f[9].caption, "Days Old:");
    EXPECT_EQ(value("FromUserNo"), "-5");
    EXPECT_EQ(value("FromHandle"), "Bob");
    EXPECT_EQ(value("DaysOld"), "2");
    EXPECT_EQ(value("Deleted"), "5");
    EXPECT_EQ(value("FidoFlags"), "-1");
    EXPECT_EQ(value("AttFileName"), "REPORT.ZIP");

    std::vector<MessageInfoField> noClock = MessageInfoFields(m, std::nullopt);
    EXPECT_EQ(noClock[9].value, "");
    EXPECT_EQ(noClock[10].value, "0");
}

TEST(ReadMessageInfoView, MissingIndexShowsAnEmptyRecord) {
    TempDir dir;
    Board b = demo::CreateBoard(dir.Path()).value();
    std::vector<MessageInfoField> f = ReadMessageInfoView(b, Mailbox::Sent, 1);
    ASSERT_EQ(f.size(), 27u);
    EXPECT_EQ(f[0].value, "0");
    EXPECT_EQ(f[2].value, "");
    EXPECT_EQ(f[13].value, "");
    EXPECT_FALSE(f[9].value.empty()); // today in days since 1970
}
