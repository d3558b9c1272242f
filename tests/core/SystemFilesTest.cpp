#include "SystemFiles.h"

#include "HalkTestBoard.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kesto;
using namespace kesto::test;
namespace fs = std::filesystem;

namespace {

struct SystemFilesTest : ::testing::Test {
    TempDir dir;
    Board b = HandBoard(dir);

    std::optional<NetworkFields> Network(std::int16_t n) { return GetNetworkInfo(b, n).value(); }
};

} // namespace

TEST_F(SystemFilesTest, MainCfgAndNodes) {
    std::string cfg = Pattern(kMainConfigSize);
    Set(cfg, 210, Le16(4));
    WriteNative(dir.File("MAIN.CFG"), cfg);
    EXPECT_EQ(GetMainCfg(b)->MaxNode, 4);

    std::string first = Pattern(kNodeRecordSize, 1);
    std::string second = Pattern(kNodeRecordSize, 2);
    Set(first, 28, Le32(5));
    WriteNative(dir.File("NODE/CONTROL.DAT"), first + second);
    EXPECT_EQ(GetNode(b, 0)->NodeUserNo, 5);
    EXPECT_EQ(GetNode(b, 1)->raw, second);
    EXPECT_EQ(GetNode(b, 2)->NodeUserNo, 0); // past the end: nobody on line
    EXPECT_TRUE(LogLines(b).empty());

    fs::remove(dir.File("MAIN.CFG"));
    fs::remove(dir.File("NODE/CONTROL.DAT"));
    EXPECT_EQ(GetMainCfg(b).error().code, ErrorCode::FileNotFound);
    EXPECT_EQ(GetNode(b, 0).error().code, ErrorCode::FileNotFound);
    ExpectLogTails(b, {"  modHALK GetMainCfg - File not found", "  modHALK GetNode - File not found"});
}

TEST_F(SystemFilesTest, NetworkList) {
    EXPECT_EQ(Network(1), std::nullopt); // no NETWORKS.LST: quietly none
    WriteNative(dir.File("DATA/NETWORKS.LST"), "1,1,Home,0\r\n\r\n   \r\n2,4,Relay Net,1\r\n ,9,NoNumber\r\n"
                                               "3,2,Third,0,a,b,c,d,e\n 004 ,1,Four\n");
    EXPECT_EQ(Network(2), (NetworkFields{"2", "4", "Relay Net", "1", "", "", "", ""}));
    EXPECT_EQ((*Network(3))[7], "d,e"); // the rest stays in the eighth piece
    EXPECT_EQ((*Network(4))[2], "Four");
    EXPECT_EQ(Network(5), std::nullopt);
    EXPECT_EQ(Network(0), std::nullopt);
    EXPECT_EQ(NetworkName(b, 2), "Relay Net");
    EXPECT_EQ(NetworkName(b, 7), "Unknown");
    EXPECT_TRUE(LogLines(b).empty());
}

TEST_F(SystemFilesTest, NetEntries) {
    EXPECT_EQ(OwnSystemId(b), "0"); // no NET.1
    WriteNative(dir.File("DATA/NET.1"), "NAME=Home\r\nsystemid = 12/345\r\nSYSTEMID=later\r\nURL = a=b \r\n");
    EXPECT_EQ(*GetNetEntry(b, 1, " SystemId "), "12/345");
    EXPECT_EQ(OwnSystemId(b), "12/345");
    EXPECT_EQ(*GetNetEntry(b, 1, "url"), "a=b");
    EXPECT_EQ(*GetNetEntry(b, 1, "missing"), "");
    EXPECT_EQ(*GetNetEntry(b, 1, "  "), "");
    EXPECT_EQ(*GetNetEntry(b, 0, "NAME"), "");
    WriteNative(dir.File("DATA/NET.12"), "SYSTEMID\r\nSYSTEMID=too late\r\n");
    EXPECT_EQ(*GetNetEntry(b, 12, "SYSTEMID"), ""); // the key alone, without "="
    EXPECT_TRUE(LogLines(b).empty());
}

TEST_F(SystemFilesTest, SequenceNumbers) {
    const std::string seq = dir.File("DATA/DBSEQ.DAT");
    EXPECT_EQ(*GetSeqNum(b), 2); // created holding 1, then advanced
    EXPECT_EQ(ReadNative(seq), Le32(2));
    EXPECT_EQ(*GetSeqNum(b), 3);
    EXPECT_EQ(ReadNative(seq), Le32(3));
    WriteNative(seq, Le32(3999999));
    EXPECT_EQ(*GetSeqNum(b), 1);
    EXPECT_EQ(ReadNative(seq), Le32(1));
    WriteNative(seq, Le32(2147483647)); // damaged: no next number, and nothing written
    EXPECT_EQ(GetSeqNum(b).error().code, ErrorCode::Overflow);
    EXPECT_EQ(ReadNative(seq), Le32(2147483647));

    fs::remove(seq);
    fs::create_directory(seq);
    EXPECT_EQ(GetSeqNum(b).error().code, ErrorCode::FileAccess);
    fs::remove(seq);
    fs::create_symlink("/dev/full", seq);
    EXPECT_EQ(GetSeqNum(b).error().code, ErrorCode::DiskFull);
    ExpectLogTails(b, {"  modHALK GetSeqNum - Overflow", "  modHALK GetSeqNum - Path/File access error",
                       "  modHALK GetSeqNum - Disk full"});
}

TEST_F(SystemFilesTest, Statistics) {
    const std::string path = dir.File("DATA/STATHBRD.DAT");
    EXPECT_EQ(GetStatHbrdDat(b).error().code, ErrorCode::FileNotFound); // missing: a failure

    std::string rec = Pattern(kStatHbrdSize);
    Set(rec, 68, Le32(100) + Le32(-1));
    WriteNative(path, rec);
    StatHbrdRecord s = GetStatHbrdDat(b).value();
    s.MessageCount += 1;
    s.MailCount += 1;
    EXPECT_TRUE(PutStatHbrdDat(b, s));
    Set(rec, 68, Le32(101) + Le32(0));
    EXPECT_EQ(ReadNative(path), rec);

    fs::remove(path);
    fs::create_symlink("/dev/full", path);
    EXPECT_EQ(PutStatHbrdDat(b, s).error().code, ErrorCode::DiskFull);
    ExpectLogTails(b, {"  modHALK GetStatHbrdDat - File not found", "  modHALK PutStatHbrdDat - Disk full"});
}
