// kesto-cli check and export on the demo board: exit codes, the output forms, and
// not a byte written in the board.
#include "CliRun.h"

#include "DemoBoard.h"
#include "JsonValue.h"
#include "TestBoard.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using kesto::test::JsonReader;
using kesto::test::ReadNative;
using kesto::test::RunCli;
using kesto::test::SnapshotTree;
using kesto::test::TempDir;
using kesto::test::WriteNative;

class DemoCliTest : public ::testing::Test {
  protected:
    TempDir dir;
    std::string board = dir.Path() + "/board";
    kesto::Board b = kesto::demo::CreateDemoBoard(board).value();

    kesto::test::CliResult Run(std::vector<std::string> args) {
        args.insert(args.begin(), {"--board", board});
        return RunCli(args);
    }
};

TEST_F(DemoCliTest, CheckReportsAsTextOrJsonAndWritesNothing) {
    const auto healthy = Run({"check", "--json"});
    EXPECT_EQ(healthy.rc, 0);
    EXPECT_EQ(healthy.out, "[]\n");

    std::filesystem::remove(board + "/MAIN.CFG");
    WriteNative(board + "/DATA/USERFILE.DAT", ReadNative(board + "/DATA/USERFILE.DAT") + "xyz");
    const auto before = SnapshotTree(board);

    const auto text = Run({"check"});
    EXPECT_EQ(text.rc, 1);
    EXPECT_EQ(text.out, "MAIN.CFG: does not exist\nUSERFILE.DAT record 9: partial record: 3 of 1048 bytes\n");
    const auto json = Run({"check", "--json"});
    EXPECT_EQ(json.rc, 1);
    const std::optional<kesto::test::JsonValue> v = JsonReader::Parse(json.out);
    ASSERT_TRUE(v && v->items.size() == 2) << json.out;
    EXPECT_EQ(v->items[0].Find("file")->text, "MAIN.CFG");
    EXPECT_EQ(v->items[0].Find("record")->type, kesto::test::JsonValue::Type::Null);
    EXPECT_EQ(v->items[1].Find("record")->number, 9);
    EXPECT_EQ(v->items[1].Find("problem")->text, "partial record: 3 of 1048 bytes");
    EXPECT_EQ(SnapshotTree(board), before); // not even HMRERROR.LOG
}

TEST_F(DemoCliTest, ExportWritesTheListedMailboxAndNothingInTheBoard) {
    const auto before = SnapshotTree(board);
    const std::string file = dir.Path() + "/sent.mbox";
    const auto r = Run({"export", file, "--sent", "--user", "1"});
    ASSERT_EQ(r.rc, 0) << r.err;
    EXPECT_EQ(r.out, "5 messages exported to " + file + "\n");
    const std::string mbox = ReadNative(file);
    EXPECT_TRUE(mbox.starts_with("From sysop@1-1.board.invalid Fri Jun 23 09:15:00 2006\n")) << mbox;
    EXPECT_NE(mbox.find("To: \"Greta Lind\" <greta.lind@77-12.board.invalid>\n"), std::string::npos);
    EXPECT_EQ(SnapshotTree(board), before);

    // A query exports what search lists.
    const auto some = Run({"export", file, "from:ann", "is:unread"});
    ASSERT_EQ(some.rc, 0) << some.err;
    EXPECT_EQ(some.out, "1 message exported to " + file + "\n");
    EXPECT_NE(ReadNative(file).find("Subject: Meeting on Friday\n"), std::string::npos);

    const auto refused = Run({"export", board + "/MAIL/EMAIL.DAT"});
    EXPECT_EQ(refused.rc, 1);
    EXPECT_NE(refused.err.find("an export never replaces a file there"), std::string::npos) << refused.err;
    EXPECT_EQ(SnapshotTree(board), before);
}

} // namespace
