#include "Records.h"

#include "HalkTestBoard.h"

#include <gtest/gtest.h>

using namespace kesto;
using namespace kesto::test;

namespace {

// Bytes of `out` that differ from `before`, as offsets.
std::vector<std::size_t> ChangedOffsets(const std::string& before, const std::string& out) {
    std::vector<std::size_t> changed;
    for (std::size_t i = 0; i < before.size() && i < out.size(); ++i)
        if (before[i] != out[i]) changed.push_back(i);
    return changed;
}

std::vector<std::size_t> Range(std::size_t from, std::size_t width) {
    std::vector<std::size_t> r;
    for (std::size_t i = 0; i < width; ++i) r.push_back(from + i);
    return r;
}

} // namespace

TEST(Records, MessageInfoFieldsSitAtTheirOffsets) {
    std::string rec = Pattern(kMessageInfoSize);
    Set(rec, 0, Le32(12));
    Set(rec, 4, Le32(-2));
    Set(rec, 8, Pad("Alice", 40));
    Set(rec, 48, Pad("Bob", 40));
    Set(rec, 88, Pad("1/1", 80));
    Set(rec, 168, Pad("2/7", 80));
    Set(rec, 248, Le16(1));
    Set(rec, 250, Le16(-300));
    Set(rec, 252, Le32(1152626602));
    Set(rec, 256, Le32(3999999));
    Set(rec, 268, Pad("Subject line", 64));
    Set(rec, 332, Le16(5));
    Set(rec, 334, Pad("Tue Jul 11, 2006 14:03:22 +0200", 40));
    Set(rec, 374, Le32(1));
    Set(rec, 378, Le32(70000));
    Set(rec, 382, Pad("FILE.ZIP", 12));
    Set(rec, 394, Pad("ATTACH\\1", 64));
    Set(rec, 470, Pad("EMAIL", 8));
    Set(rec, 478, Le32(2147483647));
    Set(rec, 482, Le32(-1));
    Set(rec, 486, Le16(-7));
    Set(rec, 490, Le32(0x01020304));

    MessageInfo m = DecodeMessageInfo(rec);
    EXPECT_EQ(m.raw, rec);
    EXPECT_EQ(m.FromUserNo, 12);
    EXPECT_EQ(m.ToUserNo, -2);
    EXPECT_EQ(m.FromHandle, Pad("Alice", 40)); // full width, blanks kept
    EXPECT_EQ(m.ToHandle, Pad("Bob", 40));
    EXPECT_EQ(m.FromNetNode, Pad("1/1", 80));
    EXPECT_EQ(m.ToNetNode, Pad("2/7", 80));
    EXPECT_EQ(m.FromNetId, 1);
    EXPECT_EQ(m.ToNetId, -300);
    EXPECT_EQ(m.TimeStamp, 1152626602);
    EXPECT_EQ(m.SysMsgNo, 3999999);
    EXPECT_EQ(m.Subject, Pad("Subject line", 64));
    EXPECT_EQ(m.Deleted, 5);
    EXPECT_EQ(m.Creation, Pad("Tue Jul 11, 2006 14:03:22 +0200", 40));
    EXPECT_EQ(m.Offline, 1);
    EXPECT_EQ(m.AttFileSize, 70000);
    EXPECT_EQ(m.AttFileName, Pad("FILE.ZIP", 12));
    EXPECT_EQ(m.AttFilePath, Pad("ATTACH\\1", 64));
    EXPECT_EQ(m.Filename, Pad("EMAIL", 8));
    EXPECT_EQ(m.MsgPos, 2147483647);
    EXPECT_EQ(m.MsgLength, -1);
    EXPECT_EQ(m.OriginNet, -7);
    EXPECT_EQ(m.OriginNode, 0x01020304);
    // Fields this program does not interpret still come from their own bytes.
    EXPECT_EQ(m.ThreadBk, GetI32(rec, 260));
    EXPECT_EQ(m.DbId, GetI32(rec, 466));
    EXPECT_EQ(m.FidoFlags, GetI16(rec, 488));
    EXPECT_EQ(m.Reserved3, rec.substr(494, 24));
    EXPECT_EQ(m.Reserved4, rec.substr(518, 64));
    EXPECT_EQ(EncodeMessageInfo(m), rec);
}

TEST(Records, EncodingAFieldTouchesOnlyItsBytes) {
    const std::string rec = Pattern(kMessageInfoSize);
    MessageInfo m = DecodeMessageInfo(rec);
    m.Offline = 1;
    std::string out = EncodeMessageInfo(m);
    std::string expected = rec;
    Set(expected, 374, Le32(1));
    EXPECT_EQ(out, expected);

    m = DecodeMessageInfo(rec);
    m.Subject = "a subject longer than the sixty-four bytes the board keeps for it, cut here";
    out = EncodeMessageInfo(m);
    EXPECT_EQ(out.substr(268, 64), m.Subject.substr(0, 64));
    EXPECT_EQ(out.substr(0, 268), rec.substr(0, 268));
    EXPECT_EQ(out.substr(332), rec.substr(332));

    m = DecodeMessageInfo(rec);
    m.ToHandle = "Bo";
    out = EncodeMessageInfo(m);
    EXPECT_EQ(out.substr(48, 40), Pad("Bo", 40)); // padded back to the width
    EXPECT_EQ(out.substr(88), rec.substr(88));
}

TEST(Records, ShortRecordsReadAsTheEmptyRecord) {
    // A record cut off inside the FromHandle: the rest is blank texts and zero numbers.
    std::string part = Le32(3) + Le32(4) + "Car";
    MessageInfo m = DecodeMessageInfo(part);
    EXPECT_EQ(m.raw.size(), kMessageInfoSize);
    EXPECT_EQ(m.FromUserNo, 3);
    EXPECT_EQ(m.ToUserNo, 4);
    EXPECT_EQ(m.FromHandle, Pad("Car", 40));
    EXPECT_EQ(m.Subject, std::string(64, ' '));
    EXPECT_EQ(m.MsgLength, 0);

    const std::string empty = EncodeMessageInfo(EmptyMessageInfo());
    EXPECT_EQ(empty, EmptyMessageInfo().raw);
    EXPECT_EQ(empty.substr(0, 8), std::string(8, '\0'));
    EXPECT_EQ(empty.substr(8, 240), std::string(240, ' '));
    EXPECT_EQ(empty.substr(248, 20), std::string(20, '\0'));
    EXPECT_EQ(empty.substr(268, 64), std::string(64, ' '));
    EXPECT_EQ(empty.substr(332, 2), std::string(2, '\0'));
    EXPECT_EQ(empty.substr(334, 40), std::string(40, ' '));
    EXPECT_EQ(empty.substr(374, 8), std::string(8, '\0'));
    EXPECT_EQ(empty.substr(382, 76), std::string(76, ' '));
    EXPECT_EQ(empty.substr(458, 12), std::string(12, '\0'));
    EXPECT_EQ(empty.substr(470, 8), std::string(8, ' '));
    EXPECT_EQ(empty.substr(478, 16), std::string(16, '\0'));
    EXPECT_EQ(empty.substr(494), std::string(88, ' '));

    // A record without raw bytes of its own is written over the empty image.
    MessageInfo fresh;
    fresh.Deleted = 1;
    std::string out = EncodeMessageInfo(fresh);
    EXPECT_EQ(out.size(), kMessageInfoSize);
    EXPECT_EQ(out.substr(332, 2), Le16(1));
    EXPECT_EQ(out.substr(518), std::string(64, ' '));
}

TEST(Records, UserRecordOffsetsAndUninterpretedBytes) {
    std::string rec = Pattern(kUserRecordSize, 3);
    Set(rec, 0, Pad("SysOp", 40));
    Set(rec, 40, Pad("Sam Op", 40));
    Set(rec, 197, Le16(1));
    Set(rec, 199, Pad("Fwd", 40));
    Set(rec, 239, Le32(77));
    Set(rec, 243, Pad("2/9", 80));
    Set(rec, 323, Le16(2));
    Set(rec, 343, Pad("ACZ", 26));
    Set(rec, 369, Le32(5));
    Set(rec, 373, Le16(255));
    Set(rec, 842, Le32(41));
    UserRecord u = DecodeUserRecord(rec);
    EXPECT_EQ(u.Handle, Pad("SysOp", 40));
    EXPECT_EQ(u.RealName, Pad("Sam Op", 40));
    EXPECT_EQ(u.ForwardMail, 1);
    EXPECT_EQ(u.ForwardHandle, Pad("Fwd", 40));
    EXPECT_EQ(u.ForwardUserNo, 77);
    EXPECT_EQ(u.ForwardNetNode, Pad("2/9", 80));
    EXPECT_EQ(u.ForwardNetId, 2);
    EXPECT_EQ(u.UserFlags, Pad("ACZ", 26));
    EXPECT_EQ(u.AccessFlags, 5);
    EXPECT_EQ(u.SecurityLevel, 255);
    EXPECT_EQ(u.MailCount, 41);

    u.MailCount = 42;
    std::string out = EncodeUserRecord(u);
    EXPECT_EQ(ChangedOffsets(rec, out), Range(842, 1));

    // Past the end of the file: texts blank (also the board's own ones), numbers zero.
    UserRecord none = DecodeUserRecord({});
    EXPECT_EQ(none.SecurityLevel, 0);
    EXPECT_EQ(none.Handle, std::string(40, ' '));
    EXPECT_EQ(none.raw.substr(189, 8), std::string(8, ' '));
    EXPECT_EQ(none.raw.substr(325, 18), std::string(18, '\0'));
    EXPECT_EQ(none.raw.substr(399, 423), std::string(423, ' '));
    EXPECT_EQ(none.raw.substr(914, 6), std::string(6, '\0'));
    EXPECT_EQ(none.raw.substr(920), std::string(128, ' '));
}

TEST(Records, SmallLayouts) {
    std::string cfg = Pattern(kMainConfigSize);
    Set(cfg, 210, Le16(7));
    Set(cfg, 242, Le16(100));
    Set(cfg, 244, Le16(-1));
    MainConfig c = DecodeMainConfig(cfg);
    EXPECT_EQ(c.MaxNode, 7);
    EXPECT_EQ(c.SysopAttachLevel, 100);
    EXPECT_EQ(c.EmailAttachLevel, -1);
    EXPECT_EQ(EncodeMainConfig(c), cfg);
    EXPECT_EQ(DecodeMainConfig({}).raw.substr(205, 7), Pad("", 5) + std::string(2, '\0'));

    std::string node = Pattern(kNodeRecordSize);
    Set(node, 28, Le32(9));
    NodeRecord n = DecodeNodeRecord(node);
    EXPECT_EQ(n.NodeUserNo, 9);
    n.NodeUserNo = 0;
    EXPECT_EQ(ChangedOffsets(node, EncodeNodeRecord(n)), Range(28, 1));

    std::string stat = Pattern(kStatHbrdSize);
    Set(stat, 68, Le32(10));
    Set(stat, 72, Le32(-20));
    StatHbrdRecord s = DecodeStatHbrd(stat);
    EXPECT_EQ(s.Counter68, 10);
    EXPECT_EQ(s.Counter72, -20);
    s.Counter68 = 11;
    s.Counter72 = -19;
    std::string out = EncodeStatHbrd(s);
    EXPECT_EQ(out.substr(68, 8), Le32(11) + Le32(-19));
    EXPECT_EQ(out.substr(0, 68) + out.substr(76), stat.substr(0, 68) + stat.substr(76));

    HmrDataRecord h = DecodeHmrData("BOARD ");
    EXPECT_EQ(h.raw, Pad("BOARD ", 96));
    h.Version = "1.0.060711";
    EXPECT_EQ(EncodeHmrData(h), Pad("BOARD ", 66) + Pad("1.0.060711", 15) + Pad("", 15));
}

TEST(Records, SysPathsAndViewSettings) {
    std::string cfg;
    for (int i = 0; i < 10; ++i) cfg += Pad("  path" + std::to_string(i), 40);
    SysPaths p = DecodeSysPaths(cfg.substr(0, 84)); // short file: field 3 cut, the rest blank
    EXPECT_EQ(p.MainPath(), Pad("  path0", 40));
    EXPECT_EQ(p.field[2], Pad("  pa", 40));
    EXPECT_EQ(p.MailPath(), std::string(40, ' '));
    p = DecodeSysPaths(cfg);
    EXPECT_EQ(p.MailPath(), Pad("  path7", 40));
    EXPECT_EQ(p.AttachPath(), Pad("  path8", 40));
    EXPECT_EQ(EncodeSysPaths(p), cfg);

    std::string dat = Le32(-120) + Le32(300) + Le32(10215) + Le32(5865) + Le32(2) + Le16(6) + Le16(0) +
                      Le32(360) + Le32(800) + Le32(2000) + Le32(3500) + Le32(2500) + Le32(99);
    ViewSettings v = DecodeViewSettings(dat);
    EXPECT_EQ(v.Top, -120);
    EXPECT_EQ(v.Left, 300);
    EXPECT_EQ(v.WindowState, 2);
    EXPECT_EQ(v.SortedColumn, 6);
    EXPECT_EQ(v.SortOrder, 0);
    EXPECT_EQ(v.ColumnWidths[5], 99);
    EXPECT_EQ(EncodeViewSettings(v), dat);
    ViewSettings cut = DecodeViewSettings(dat.substr(0, 22));
    EXPECT_EQ(cut.SortedColumn, 6);
    EXPECT_EQ(cut.SortOrder, 0);
    EXPECT_EQ(cut.ColumnWidths[0], 0);
}
