#include "Records.h"

#include "HalkTestBoard.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace kesto;
using namespace kesto::test;

namespace {

std::string Zeros(std::size_t n) {
    return std::string(n, '\0');
}
std::string Blanks(std::size_t n) {
    return std::string(n, ' ');
}

} // namespace

// Every field written in layout order: a wrong offset, width or byte order shows as a mismatch.
TEST(Records, MessageInfoFieldsBothWays) {
    const std::string expected =
        Le32(12) + Le32(-2) + Pad("Alice", 40) + Pad("Bob", 40) + Pad("1/1", 80) + Pad("2/7", 80) + Le16(1) +
        Le16(-300) + Le32(1152626602) + Le32(3999999) + Le32(5) + Le32(6) + Pad("Subject", 64) + Le16(5) +
        Pad("Tue Jul 11, 2006 14:03:22 +0200", 40) + Le32(1) + Le32(70000) + Pad("FILE.ZIP", 12) +
        Pad("ATTACH\\1", 64) + Le32(7) + Le32(8) + Le32(9) + Pad("EMAIL", 8) + Le32(2147483647) + Le32(-1) +
        Le16(-7) + Le16(10) + Le32(0x01020304) + Pad("r3", 24) + Pad("r4", 64);
    ASSERT_EQ(expected.size(), kMessageInfoSize);

    MessageInfo m = DecodeMessageInfo(expected);
    EXPECT_EQ(m.ToNetId, -300);
    EXPECT_EQ(m.Subject, Pad("Subject", 64)); // full width, blanks kept
    EXPECT_EQ(m.MsgPos, 2147483647);
    EXPECT_EQ(m.MsgLength, -1);
    // Encoded from the fields alone, the record comes out the same: decoding read every
    // field where encoding writes it.
    m.raw.clear();
    EXPECT_EQ(EncodeMessageInfo(m), expected);

    m.Subject = std::string(70, 'x'); // cut at the width
    m.ToHandle = "Bo";                // padded back to the width
    std::string out = EncodeMessageInfo(m);
    EXPECT_EQ(out.substr(268, 64), std::string(64, 'x'));
    EXPECT_EQ(out.substr(48, 40), Pad("Bo", 40));
    EXPECT_EQ(out.substr(332), expected.substr(332));
}

TEST(Records, UserAndSmallLayoutOffsets) {
    UserRecord u;
    u.Handle = "SysOp";
    u.RealName = "Sam Op";
    u.ForwardMail = 1;
    u.ForwardHandle = "Fwd";
    u.ForwardUserNo = 77;
    u.ForwardNetNode = "2/9";
    u.ForwardNetId = 2;
    u.UserFlags = "ACZ";
    u.AccessFlags = 5;
    u.SecurityLevel = 255;
    u.MailCount = -2;
    // The board's own fields of an empty record: blank texts, zero numbers.
    const std::string expected =
        Pad("SysOp", 40) + Pad("Sam Op", 40) + Blanks(117) + Le16(1) + Pad("Fwd", 40) + Le32(77) +
        Pad("2/9", 80) + Le16(2) + Zeros(18) + Pad("ACZ", 26) + Le32(5) + Le16(255) + Blanks(6) + Zeros(16) +
        Le16(0) + Blanks(423) + Zeros(20) + Le32(-2) + Zeros(10) + Blanks(58) + Zeros(6) + Blanks(128);
    ASSERT_EQ(expected.size(), kUserRecordSize);
    EXPECT_EQ(EncodeUserRecord(u), expected);
    UserRecord back = DecodeUserRecord(expected);
    back.raw.clear();
    EXPECT_EQ(EncodeUserRecord(back), expected);

    std::string cfg = Pattern(kMainConfigSize);
    Set(cfg, 210, Le16(7));
    Set(cfg, 242, Le16(100) + Le16(-1));
    MainConfig c = DecodeMainConfig(cfg);
    EXPECT_EQ(std::tie(c.MaxNode, c.SysopAttachLevel, c.EmailAttachLevel), std::make_tuple(7, 100, -1));
    EXPECT_EQ(EncodeMainConfig(c), cfg);

    std::string node =
        Zeros(4) + Blanks(24) + Le32(9) + Blanks(32) + Zeros(10) + Blanks(14) + Zeros(6) + Blanks(12);
    EXPECT_EQ(DecodeNodeRecord(node).NodeUserNo, 9);
    NodeRecord n;
    n.NodeUserNo = 9;
    EXPECT_EQ(EncodeNodeRecord(n), node);

    HmrDataRecord h = DecodeHmrData("BOARD ");
    h.Version = "1.0.060711";
    EXPECT_EQ(EncodeHmrData(h), Pad("BOARD ", 66) + Pad("1.0.060711", 15) + Blanks(15));
}

TEST(Records, ShortBuffersReadAsEmptyRecords) {
    MessageInfo m = DecodeMessageInfo(Le32(3) + Le32(4) + "Car");
    EXPECT_EQ(m.FromUserNo, 3);
    EXPECT_EQ(m.FromHandle, Pad("Car", 40));
    EXPECT_EQ(m.Subject, Blanks(64));
    EXPECT_EQ(m.MsgLength, 0);
    EXPECT_EQ(m.raw.substr(11), EmptyMessageInfo().raw.substr(11));
    EXPECT_EQ(EmptyMessageInfo().raw, Zeros(8) + Blanks(240) + Zeros(20) + Blanks(64) + Zeros(2) +
                                          Blanks(40) + Zeros(8) + Blanks(76) + Zeros(12) + Blanks(8) +
                                          Zeros(16) + Blanks(88));

    const std::string dat = Le32(-120) + Le32(300) + Le32(10215) + Le32(5865) + Le32(2) + Le16(6) + Le16(0) +
                            Le32(360) + Le32(800) + Le32(2000) + Le32(3500) + Le32(2500) + Le32(99);
    ViewSettings v = DecodeViewSettings(dat);
    EXPECT_EQ(v.Top, -120);
    EXPECT_EQ(v.SortedColumn, 6);
    EXPECT_EQ(v.ColumnWidths[5], 99);
    EXPECT_EQ(EncodeViewSettings(v), dat);
    EXPECT_EQ(DecodeViewSettings(dat.substr(0, 22)).ColumnWidths[0], 0);
}
