#include "CliRun.h"

#include "DemoBoard.h"
#include "JsonValue.h"
#include "TestBoard.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

using namespace kesto;
using kesto::test::JsonReader;
using kesto::test::JsonValue;
using kesto::test::ReadNative;
using kesto::test::TempDir;

namespace {

using kesto::test::CliResult;
using kesto::test::RunCli;

JsonValue ParseOrFail(const std::string& text) {
    std::optional<JsonValue> v = JsonReader::Parse(text);
    EXPECT_TRUE(v.has_value()) << "not JSON:\n" << text;
    return v.value_or(JsonValue{});
}

// Users 1 SysOp, 2 Bob, 3 an empty slot, 4 Jörg; mail for SysOp in every row state.
class CliBoard : public ::testing::Test {
  protected:
    void SetUp() override {
        b = demo::CreateBoard(dir.Path()).value();
        demo::AppendUser(b, demo::MakeUser("SysOp", "Martin Hale", 255)).value();
        demo::AppendUser(b, demo::MakeUser("Bob", "Robert Smith", 50)).value();
        demo::AppendUser(b, demo::MakeUser("Gone", "Old Slot", 0)).value();
        demo::AppendUser(b, demo::MakeUser("J\xF6rg", "J\xF6rg Str\xF6m", 40)).value();

        Add("EMAIL", demo::MakeMessage(2, 1, "Bob", "SysOp", "First", kT), 1, 0, "");
        Add("EMAIL", demo::MakeMessage(1, 2, "SysOp", "Bob", "To Bob", kT + 10), 0, 0, "");
        Add("EMAIL", demo::MakeMessage(2, 1, "Bob", "SysOp", "  Padded subject", kT + 20), 0, 0, "A.ZIP");
        Add("EMAIL",
            demo::MakeMessage(4, 1, "J\xF6rg", "SysOp",
                              "Col\x03"
                              "4our",
                              kT + 30),
            0, 5, "");
        Add("EMAIL", demo::MakeMessage(2, 1, "Bob", "SysOp", "Read attach", kT + 40), 1, 0, "B.ZIP");
        Add("SNTEMAIL", demo::MakeMessage(1, 2, "SysOp", "Bob", "To Bob", kT + 10), 1, 0, "");
        Add("SNTEMAIL", demo::MakeMessage(2, 1, "Bob", "SysOp", "First", kT), 1, 0, "");
    }

    void Add(const char* box, MessageInfo m, std::int32_t offline, std::int16_t deleted, const char* att) {
        m.Offline = offline;
        m.Deleted = deleted;
        m.AttFileName = std::string(att) + std::string(12 - std::string(att).size(), ' ');
        demo::AppendMessage(b, box, m, "Body\r\n").value();
    }

    CliResult Run(std::vector<std::string> args) {
        args.insert(args.begin(), {"--board", dir.Path()});
        return RunCli(args);
    }

    static constexpr std::int32_t kT = 1152626602;
    TempDir dir;
    Board b;
};

std::vector<double> Numbers(const JsonValue& rows, const char* key) {
    std::vector<double> out;
    for (const auto& r : rows.items) out.push_back(r.Find(key) ? r.Find(key)->number : -1);
    return out;
}

} // namespace

TEST(CliUsage, BadCommandLinesExitWithTwoNamingWhatIsWrong) {
    const struct {
        std::vector<std::string> args;
        std::string named; // what the message must name
    } cases[] = {
        {{}, ""},
        {{"frob"}, "'frob'"},
        {{"list", "--bogus"}, "--bogus"},
        {{"list", "extra"}, "extra"},
        {{"list", "--", "extra"}, "extra"},
        {{"info"}, "NUMBER"},
        {{"info", "abc"}, "'abc'"},
        {{"info", "2147483648"}, "'2147483648'"},
        {{"list", "--user", "0"}, "--user"},
        {{"list", "--user"}, "--user"},
        {{"list", "--json=yes"}, "--json"},
        {{"--board"}, "--board"},
        {{"demo"}, "DIR"},
        {{"users", "--user", "x"}, "--user"}, // a shared option the command ignores is still checked
        {{"addressbook", "--sent"}, "--sent"},
    };
    for (const auto& c : cases) {
        CliResult r = RunCli(c.args);
        std::string line;
        for (const auto& a : c.args) line += a + " ";
        EXPECT_EQ(r.rc, 2) << line;
        EXPECT_EQ(r.out, "") << line;
        EXPECT_NE(r.err.find("usage: kesto-cli"), std::string::npos) << line;
        EXPECT_NE(r.err.find(c.named), std::string::npos) << line << "\n" << r.err;
    }
}

// Scripts pass the same shared options to every command; one a command does not use changes nothing.
TEST_F(CliBoard, EveryCommandAcceptsTheSharedOptions) {
    const std::string users = Run({"users"}).out;
    for (const auto& extra : {std::vector<std::string>{"--user", "2"}, {"--sent"}, {"--user=4", "--sent"}}) {
        std::vector<std::string> args{"users"};
        args.insert(args.end(), extra.begin(), extra.end());
        CliResult r = Run(args);
        EXPECT_EQ(r.rc, 0) << extra[0] << r.err;
        EXPECT_EQ(r.out, users) << extra[0];
    }
    EXPECT_EQ(Run({"--json", "delete", "1"}).rc, 0);
    TempDir other;
    CliResult demo = RunCli({"--sent", "--user", "3", "--json", "demo", other.File("b"), "--board", "x"});
    EXPECT_EQ(demo.rc, 0) << demo.err;
}

// --help lists every command; each command's --help (and "help COMMAND") shows its usage
// and every option its line in the list names.
TEST(CliUsage, HelpForEveryCommandAndTheVersion) {
    const CliResult help = RunCli({"--help"});
    EXPECT_EQ(help.rc, 0);
    EXPECT_EQ(RunCli({"help"}).out, help.out);
    CliResult version = RunCli({"--version"});
    EXPECT_EQ(version.rc, 0);
    EXPECT_EQ(version.out, "kesto-cli 1.0.060711\n");

    std::istringstream overview(help.out);
    int commands = 0;
    for (std::string line; std::getline(overview, line);) {
        if (!line.starts_with("  ")) continue;
        std::istringstream words(line);
        std::vector<std::string> command, options;
        for (std::string w; words >> w;) {
            if (command.empty() || (w == "add" && command.size() == 1)) command.push_back(w);
            const std::size_t dashes = w.find("--");
            if (dashes != std::string::npos)
                options.push_back(w.substr(dashes, w.find_first_of("]=", dashes) - dashes));
        }
        ++commands;
        std::vector<std::string> args = command;
        args.push_back("--help");
        CliResult r = RunCli(args);
        EXPECT_EQ(r.rc, 0) << line;
        std::string name = command[0] + (command.size() > 1 ? " " + command[1] : "");
        EXPECT_NE(r.out.find("Usage: kesto-cli " + name + " "), std::string::npos) << r.out;
        for (const auto& o : options)
            EXPECT_NE(r.out.find("  " + o + " "), std::string::npos) << name << " " << o << "\n" << r.out;
        command.insert(command.begin(), "help");
        EXPECT_EQ(RunCli(command).out, r.out) << line;
    }
    EXPECT_EQ(commands, 13);
}

TEST(CliBoardErrors, MissingBoardIsAClearFailure) {
    TempDir dir;
    CliResult none = RunCli({"list", "--board", dir.File("nowhere")});
    EXPECT_EQ(none.rc, 1);
    EXPECT_NE(none.err.find("does not exist"), std::string::npos);

    CliResult empty = RunCli({"--board", dir.Path(), "users"});
    EXPECT_EQ(empty.rc, 1);
    EXPECT_NE(empty.err.find("SYSPATHS.CFG was not found"), std::string::npos);
    EXPECT_EQ(empty.out, "");
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path())); // not even a log line
}

TEST_F(CliBoard, DamagedBoardFilesNeverCrash) {
    // An index that is a directory, and a user file cut mid-record.
    std::filesystem::remove(dir.File("MAIL/EMAIL.DAT"));
    std::filesystem::create_directory(dir.File("MAIL/EMAIL.DAT"));
    std::filesystem::resize_file(dir.File("DATA/USERFILE.DAT"), kUserRecordSize + 500);
    CliResult list = Run({"list"});
    EXPECT_NE(list.rc, 2);
    CliResult users = Run({"users"});
    EXPECT_EQ(users.rc, 0);
    EXPECT_EQ(users.out, "1:     SysOp                 Martin Hale\n");
    EXPECT_EQ(Run({"info", "1"}).rc, 1);
}

// The JSON forms' keys, dates and sizes are in the recorded demo output (CliDemo below).
TEST_F(CliBoard, UsersListsPickerLinesAndListMarksRows) {
    CliResult users = RunCli({"users", "--board=" + dir.Path()}); // the board may follow the command
    EXPECT_EQ(users.rc, 0);
    EXPECT_EQ(users.out, "1:     SysOp                 Martin Hale\n"
                         "2:     Bob                   Robert Smith\n"
                         "4:     J\xC3\xB6rg                  J\xC3\xB6rg Str\xC3\xB6m\n");

    CliResult r = Run({"list", "--json"});
    ASSERT_EQ(r.rc, 0);
    const JsonValue v = ParseOrFail(r.out);
    const JsonValue& rows = *v.Find("rows");
    EXPECT_EQ(Numbers(rows, "number"), (std::vector<double>{5, 4, 3, 1}));
    std::vector<std::string> icons;
    std::vector<bool> bold;
    for (const auto& row : rows.items) {
        icons.push_back(row.Find("icon")->text);
        bold.push_back(row.Find("bold")->boolean);
    }
    EXPECT_EQ(icons, (std::vector<std::string>{"open", "delete", "email_attach", "open"}));
    EXPECT_EQ(bold, (std::vector<bool>{false, true, true, false}));
    EXPECT_EQ(rows.items[2].Find("subject")->text, "Padded subject");
    EXPECT_NE(r.out.find("\"Col\\u00034our\""), std::string::npos); // colour codes stay, escaped
}

TEST_F(CliBoard, ListOtherUserAndSentMailbox) {
    JsonValue bob = ParseOrFail(Run({"list", "--user", "2", "--json"}).out);
    EXPECT_EQ(Numbers(*bob.Find("rows"), "number"), std::vector<double>{2});

    JsonValue sent = ParseOrFail(Run({"--json", "--sent", "list"}).out);
    EXPECT_EQ(sent.Find("mailbox")->text, "SNTEMAIL");
    const JsonValue& rows = *sent.Find("rows");
    ASSERT_EQ(rows.items.size(), 1u);
    EXPECT_EQ(rows.items[0].Find("to")->text, "Bob");
    EXPECT_EQ(rows.items[0].Find("from"), nullptr);

    CliResult text = Run({"list", "--user", "3"});
    EXPECT_EQ(text.rc, 0);
    EXPECT_EQ(text.out, "EMAIL of user 3: 0 messages (* unread, shown bold)\n");
}

TEST_F(CliBoard, InfoGivesEveryDialogFieldAsJson) {
    CliResult r = Run({"info", "4", "--json"});
    ASSERT_EQ(r.rc, 0) << r.err;
    JsonValue v = ParseOrFail(r.out);
    const std::vector<std::string> keys{
        "FromUserNo", "ToUserNo",  "FromHandle", "ToHandle",    "FromNetNode", "ToNetNode",   "FromNetId",
        "ToNetId",    "TimeStamp", "DaysOld",    "SysMsgNo",    "ThreadBk",    "ThreadBkN",   "Subject",
        "Deleted",    "Creation",  "Offline",    "AttFileSize", "AttFileName", "AttFilePath", "DbId",
        "Filename",   "MsgPos",    "MsgLength",  "OriginNet",   "FidoFlags",   "OriginNode"};
    EXPECT_EQ(v.keys, keys);
    EXPECT_EQ(v.Find("FromHandle")->text, "J\xC3\xB6rg");
    EXPECT_EQ(v.Find("Deleted")->number, 5);
    EXPECT_EQ(v.Find("TimeStamp")->number, kT + 30);
    EXPECT_GT(v.Find("DaysOld")->number, 7000);
    EXPECT_EQ(v.Find("MsgPos")->number, 19);
}

TEST_F(CliBoard, InfoOnlyReachesTheCurrentUsersMailbox) {
    CliResult other = Run({"info", "2"});
    EXPECT_EQ(other.rc, 1);
    EXPECT_NE(other.err.find("not in the mailbox of user 1"), std::string::npos);
    EXPECT_EQ(Run({"info", "2", "--user", "2"}).rc, 0);
    EXPECT_EQ(Run({"info", "1", "--sent"}).rc, 0);
    EXPECT_EQ(Run({"info", "2", "--sent"}).rc, 1);
    CliResult missing = Run({"info", "6"});
    EXPECT_EQ(missing.rc, 1);
    EXPECT_NE(missing.err.find("no message 6"), std::string::npos);
}

// The demo board's output byte for byte, as scripts read it: each "$ kesto-cli ..."
// line of the file is run on a fresh demo board, in order, and prints what follows it.
TEST(CliDemo, OutputIsByteForByteTheRecordedOne) {
    TempDir dir;
    ASSERT_EQ(RunCli({"demo", dir.File("board")}).rc, 0);
    std::istringstream recorded(ReadNative(KESTO_CLI_TEST_DATA "/demo-board-output.txt"));
    std::vector<std::pair<std::vector<std::string>, std::string>> runs;
    for (std::string line; std::getline(recorded, line);) {
        if (line.starts_with("$ kesto-cli ")) {
            std::istringstream words(line.substr(12));
            runs.emplace_back(std::vector<std::string>{"--board", dir.File("board")}, "");
            for (std::string w; words >> w;) runs.back().first.push_back(w);
        } else if (!runs.empty()) {
            runs.back().second += line + "\n";
        }
    }
    ASSERT_GE(runs.size(), 4u);
    for (const auto& [args, expected] : runs) {
        CliResult r = RunCli(args);
        EXPECT_EQ(r.rc, 0) << args[2] << r.err;
        EXPECT_EQ(r.out, expected) << args[2] << " " << args.back();
    }
    // Never written into a folder that already holds something.
    const auto before = kesto::test::SnapshotTree(dir.Path());
    EXPECT_EQ(RunCli({"demo", dir.File("board")}).rc, 1);
    EXPECT_EQ(kesto::test::SnapshotTree(dir.Path()), before);
}
