#include "CliRun.h"

#include "DemoBoard.h"
#include "JsonValue.h"
#include "MailBase.h"
#include "TestBoard.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace kesto;
using namespace kesto::test;

namespace {

class SearchCliTest : public ::testing::Test {
  protected:
    void SetUp() override {
        b = demo::CreateDemoBoard(dir.Path()).value();
        // A record whose text lies outside EMAIL.BIN: reading it would log a failure.
        MessageInfo m = demo::MakeMessage(2, 1, "Bob", "SysOp", "Damaged", 1160000000);
        const auto n = static_cast<RecordNo>(demo::AppendMessage(b, "EMAIL", m, "").value());
        m = GetMessageInfo(b, "EMAIL", n).value();
        m.MsgPos = -7;
        PutMessageInfo(b, "EMAIL", n, m).value();
    }
    CliResult Run(std::vector<std::string> args) {
        args.insert(args.begin(), {"--board", dir.Path()});
        return RunCli(args);
    }
    static std::vector<std::string> Lines(const std::string& listing) {
        std::vector<std::string> lines;
        std::istringstream in(listing);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

    TempDir dir;
    Board b;
};

TEST_F(SearchCliTest, PrintsTheRowsOfListThatMatchAndWritesNothing) {
    const auto before = SnapshotTree(dir.Path());
    const std::vector<std::string> listed = Lines(Run({"list"}).out);
    // Messages 5 ("Free modems!!!") and 2 (the text mentions the modem), newest first.
    CliResult r = Run({"search", "modem"});
    EXPECT_EQ(r.rc, 0) << r.err;
    const std::vector<std::string> lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 4u) << r.out;
    EXPECT_EQ(lines[0], "EMAIL of user 1: 2 messages (* unread, shown bold)");
    EXPECT_EQ(lines[1], listed[1]);
    for (std::size_t i : {2u, 3u}) {
        EXPECT_NE(std::find(listed.begin(), listed.end(), lines[i]), listed.end()) << lines[i];
        EXPECT_EQ(lines[i].substr(0, 5), i == 2 ? "    5" : "    2");
    }

    // JSON: the object list --json writes for the same message; the quotes make one phrase.
    r = Run({"search", "--sent", "--json", "\"on friday\"", "from:sysop"});
    EXPECT_EQ(r.rc, 0) << r.err;
    const JsonValue found = JsonReader::Parse(r.out).value();
    ASSERT_EQ(found.Find("rows")->items.size(), 1u) << r.out;
    EXPECT_EQ(found.Find("rows")->items[0].Find("number")->number, 3);
    const std::size_t open = r.out.find('{', r.out.find("\"rows\""));
    const std::string object = r.out.substr(open, r.out.find('}', open) - open + 1);
    EXPECT_NE(Run({"list", "--sent", "--json"}).out.find(object), std::string::npos) << object;

    // No match is no failure; the damaged record's text is not read, so nothing is logged.
    r = Run({"search", "--json", "text:xyzzy"});
    EXPECT_EQ(r.rc, 0);
    EXPECT_EQ(JsonReader::Parse(r.out).value().Find("rows")->items.size(), 0u);
    EXPECT_EQ(Run({"search", "xyzzy"}).out, "EMAIL of user 1: 0 messages (* unread, shown bold)\n");
    EXPECT_EQ(SnapshotTree(dir.Path()), before);
}

TEST_F(SearchCliTest, AQueryPastItsBoundsIsAUsageError) {
    std::vector<std::string> args = {"search"};
    for (int i = 0; i < 10000; ++i) args.push_back("w" + std::to_string(i));
    CliResult r = Run(args);
    EXPECT_EQ(r.rc, 2);
    EXPECT_NE(r.err.find("the query is too long"), std::string::npos) << r.err;
    EXPECT_EQ(Run({"search", std::string(100000, 'x')}).rc, 2);
    EXPECT_EQ(Run({"search", ""}).rc, 0); // empty: every row
}

} // namespace
