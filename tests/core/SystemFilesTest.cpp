#include "SystemFiles.h"

#include "HalkTestBoard.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kesto;
using namespace kesto::test;

namespace {

struct SystemFilesTest : ::testing::Test {
    TempDir dir;
    Board b = HandBoard(dir);
    std::int16_t status = 9;

    std::vector<std::string> Network(std::int16_t n, bool expectFound) {
        std::vector<std::string> fields{"stale"};
        EXPECT_EQ(GetNetworkInfo(b, n, fields, status), expectFound) << "network " << n;
        EXPECT_EQ(status, 0);
        EXPECT_EQ(fields.size(), 9u);
        return fields;
    }
};

const std::vector<std::string> kNine(9);

} // namespace

TEST_F(SystemFilesTest, MainCfg) {
    std::string cfg = Pattern(kMainConfigSize);
    Set(cfg, 210, Le16(4));
    Set(cfg, 242, Le16(200));
    Set(cfg, 244, Le16(30));
    WriteNative(dir.file("MAIN.CFG"), cfg);
    MainConfig c = GetMainCfg(b, status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(c.MaxNode, 4);
    EXPECT_EQ(c.SysopAttachLevel, 200);
    EXPECT_EQ(c.EmailAttachLevel, 30);

    std::filesystem::remove(dir.file("MAIN.CFG"));
    c = GetMainCfg(b, status);
    EXPECT_EQ(status, -1);
    EXPECT_EQ(c.MaxNode, 0);
    EXPECT_EQ(c.EmailAttachLevel, 0);
    auto lines = LogLines(b);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(EndsWith(lines[0], "  modHALK GetMainCfg - File not found"));
}

TEST_F(SystemFilesTest, NetworkList) {
    Network(1, false); // no NETWORKS.LST: false, nothing logged
    WriteNative(dir.file("DATA/NETWORKS.LST"), "1,1,Home,0\r\n\r\n   \r\n2,4,Relay Net,1\r\n ,9,NoNumber\r\n"
                                               " 002 ,1,Two\r\n3,2,Third,0,a,b,c,d,e,f\r\n");
    EXPECT_EQ(Network(2, true), (std::vector<std::string>{"", "2", "4", "Relay Net", "1", "", "", "", ""}));
    EXPECT_EQ(Network(4, false), kNine);
    EXPECT_EQ(Network(0, false), kNine);
    EXPECT_EQ(Network(-1, false), kNine);
    // Beyond eight pieces the rest stays in the eighth.
    EXPECT_EQ(Network(3, true)[8], "d,e,f");
    EXPECT_EQ(NetworkName(b, 1), "Home");
    EXPECT_EQ(NetworkName(b, 2), "Relay Net");
    EXPECT_EQ(NetworkName(b, 7), "Unknown");

    // The first piece is compared by its numeric value; LF-only lines are lines too.
    WriteNative(dir.file("DATA/NETWORKS.LST"), "9,1,Nine\n 002 ,1,Two\n");
    EXPECT_EQ(Network(2, true)[3], "Two");
    WriteNative(dir.file("DATA/NETWORKS.LST"), "5,1, \n");
    EXPECT_EQ(NetworkName(b, 5), "Unknown");
    EXPECT_TRUE(LogLines(b).empty());
}

TEST_F(SystemFilesTest, NetEntries) {
    EXPECT_EQ(GetNetEntry(b, 1, "SYSTEMID", status), ""); // no NET.1
    EXPECT_EQ(status, 0);
    EXPECT_EQ(OwnSystemId(b), "0");

    WriteNative(dir.file("DATA/NET.1"), "NAME=Home\r\nsystemid = 12/345\r\nSYSTEMID=later\r\nURL = a=b \r\n");
    EXPECT_EQ(GetNetEntry(b, 1, " SystemId ", status), "12/345");
    EXPECT_EQ(OwnSystemId(b), "12/345");
    EXPECT_EQ(GetNetEntry(b, 1, "url", status), "a=b");
    EXPECT_EQ(GetNetEntry(b, 1, "missing", status), "");
    EXPECT_EQ(GetNetEntry(b, 1, "  ", status), "");
    EXPECT_EQ(GetNetEntry(b, 0, "NAME", status), "");

    WriteNative(dir.file("DATA/NET.12"), "SYSTEMID\r\nSYSTEMID=too late\r\n");
    EXPECT_EQ(GetNetEntry(b, 12, "SYSTEMID", status), ""); // the key alone, without "="
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(LogLines(b).empty());
}

TEST_F(SystemFilesTest, Nodes) {
    NodeRecord n = GetNode(b, 0, status); // no CONTROL.DAT: a failure
    EXPECT_EQ(status, -1);
    EXPECT_EQ(n.NodeUserNo, 0);

    std::string first = Pattern(kNodeRecordSize, 1);
    std::string second = Pattern(kNodeRecordSize, 2);
    Set(first, 28, Le32(5));
    Set(second, 28, Le32(0));
    WriteNative(dir.file("NODE/CONTROL.DAT"), first + second);
    EXPECT_EQ(GetNode(b, 0, status).NodeUserNo, 5);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(GetNode(b, 1, status).raw, second);
    EXPECT_EQ(GetNode(b, 2, status).NodeUserNo, 0); // past the end: nobody on line
    EXPECT_EQ(status, 0);
    GetNode(b, -1, status);
    EXPECT_EQ(status, -1);

    auto lines = LogLines(b);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(EndsWith(lines[0], "  modHALK GetNode - File not found"));
    EXPECT_TRUE(EndsWith(lines[1], "  modHALK GetNode - Bad record number"));
}

TEST_F(SystemFilesTest, SequenceNumbers) {
    const std::string seq = dir.file("DATA/DBSEQ.DAT");
    EXPECT_EQ(GetSeqNum(b, status), 2); // created holding 1, then advanced
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadNative(seq), Le32(2));
    EXPECT_EQ(GetSeqNum(b, status), 3);
    EXPECT_EQ(ReadNative(seq), Le32(3));

    WriteNative(seq, "");
    EXPECT_EQ(GetSeqNum(b, status), 2);
    WriteNative(seq, Le32(3999998));
    EXPECT_EQ(GetSeqNum(b, status), 3999999);
    EXPECT_EQ(GetSeqNum(b, status), 1);
    EXPECT_EQ(ReadNative(seq), Le32(1));
    WriteNative(seq, Le32(2147483647)); // damaged: wraps instead of overflowing
    EXPECT_EQ(GetSeqNum(b, status), 1);
    EXPECT_TRUE(LogLines(b).empty());

    std::filesystem::remove(seq);
    std::filesystem::create_directory(seq);
    EXPECT_EQ(GetSeqNum(b, status), 0);
    EXPECT_EQ(status, -1);
    std::filesystem::remove(seq);
    std::filesystem::create_symlink("/dev/full", seq);
    EXPECT_EQ(GetSeqNum(b, status), 0);
    EXPECT_EQ(status, -1);
    auto lines = LogLines(b);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(EndsWith(lines[0], "  modHALK GetSeqNum - Path/File access error"));
    EXPECT_TRUE(EndsWith(lines[1], "  modHALK GetSeqNum - Disk full"));
}

TEST_F(SystemFilesTest, Statistics) {
    const std::string path = dir.file("DATA/STATHBRD.DAT");
    StatHbrdRecord s = GetStatHbrdDat(b, status); // missing: a failure
    EXPECT_EQ(status, -1);
    EXPECT_EQ(s.raw, std::string(kStatHbrdSize, '\0'));

    std::string rec = Pattern(kStatHbrdSize);
    Set(rec, 68, Le32(100));
    Set(rec, 72, Le32(-1));
    WriteNative(path, rec);
    s = GetStatHbrdDat(b, status);
    EXPECT_EQ(status, 0);
    s.Counter68 += 1;
    s.Counter72 += 1;
    PutStatHbrdDat(b, s, status);
    EXPECT_EQ(status, 0);
    std::string expected = rec;
    Set(expected, 68, Le32(101) + Le32(0));
    EXPECT_EQ(ReadNative(path), expected);

    std::filesystem::remove(path);
    std::filesystem::create_symlink("/dev/full", path);
    PutStatHbrdDat(b, s, status);
    EXPECT_EQ(status, -1);
    auto lines = LogLines(b);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(EndsWith(lines[0], "  modHALK GetStatHbrdDat - File not found"));
    EXPECT_TRUE(EndsWith(lines[1], "  modHALK PutStatHbrdDat - Disk full"));
}
