#include "CliRun.h"

#include "Bytes.h"
#include "DemoBoard.h"
#include "TestBoard.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace {

struct SendCli {
    kesto::test::TempDir dir;
    kesto::Board b = kesto::demo::CreateBoard(dir.Path()).value();
    std::string out, err;

    SendCli() {
        kesto::demo::AppendUser(b, kesto::demo::MakeUser("SysOp", "Sam Sysop", 255)).value();
        kesto::demo::AppendUser(b, kesto::demo::MakeUser("Bob", "Robert Smith", 10)).value();
        kesto::demo::AppendUser(b, kesto::demo::MakeUser("Ann", "Ann Other", 255)).value();
        kesto::test::WriteNative(dir.File("DATA/STATHBRD.DAT"), std::string(88, '\0'));
        kesto::demo::SetNodeUser(b, 0, 0).value();
        kesto::demo::WriteDataFile(b, "NETWORKS.LST", "1,1,Home\r\n7,3,Fido\r\n5,4,No Id\r\n").value();
        kesto::demo::WriteDataFile(b, "NET.7", "SYSTEMID=2:7/1\r\n").value();
    }
    int Run(std::vector<std::string> args, const std::string& body = "Hello\n") {
        args.insert(args.begin(), {"--board", dir.Path(), "send"});
        auto r = kesto::test::RunCli(args, body);
        out = r.out;
        err = r.err;
        return r.rc;
    }
    std::string Read(const std::string& rel) const { return kesto::test::ReadNative(dir.File(rel)); }
    bool Exists(const std::string& rel) const { return std::filesystem::exists(dir.File(rel)); }
};

TEST(SendCli, DeliversTheBodyFromStandardInput) {
    SendCli f;
    ASSERT_EQ(f.Run({"--from", "1", "--to", "robert smith", "--subject", "Hi"}, "one\ntwo\n"), 0) << f.err;
    EXPECT_EQ(f.out, "Sent to robert smith@0*0.\n");
    EXPECT_EQ(f.Read("MAIL/EMAIL.BIN"), "one\r\ntwo\r\n");
    std::string dat = f.Read("MAIL/EMAIL.DAT");
    ASSERT_EQ(dat.size(), 582u);
    EXPECT_EQ(kesto::GetI32(dat, 4), 2);
    EXPECT_EQ(f.Read("MAIL/SNTEMAIL.BIN"), "one\r\ntwo\r\n");
}

TEST(SendCli, NetworkOptionPicksTheOfferedLine) {
    SendCli f;
    ASSERT_EQ(f.Run({"--from", "1", "--to", "zed@2:7/9", "--subject", "s", "--network", "7"}), 0) << f.err;
    EXPECT_EQ(f.out, "Sent to zed@2:7/9*7.\n");
    std::string spool = f.Read("DATA/SPOOL.NET");
    ASSERT_EQ(spool.size(), 582u + 7);
    EXPECT_EQ(kesto::GetI16(spool, 250), 7);

    // Network 5 has no system id and is therefore not offered; 4 does not exist.
    EXPECT_EQ(f.Run({"--from", "1", "--to", "zed@9", "--subject", "s", "--network", "5"}), 1);
    EXPECT_NE(f.err.find("network '5' is not offered; the networks are Local (0), Home (1), Fido (7)"),
              std::string::npos)
        << f.err;
    EXPECT_EQ(f.Run({"--from", "1", "--to", "zed@9", "--subject", "s", "--network", "x"}), 1);
    EXPECT_EQ(f.Read("DATA/SPOOL.NET").size(), 582u + 7);
}

TEST(SendCli, RefusesWithTheComposersMessagesAndWritesNothing) {
    SendCli f;
    struct Case {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{"--from", "1", "--subject", "s"}, "You must enter a recipient for this message."},
        {{"--from", "1", "--to", "all users > 1", "--subject", "s", "--network", "7"},
         "You may only send email to \"all users\" if the chosen network is Local."},
        {{"--from", "1", "--to", "nobody", "--subject", "s"}, "The user specified is invalid."},
        {{"--from", "1", "--to", "all users", "--subject", "s"},
         "You are attempting to send a message to all users, but have not provided any parameters."},
        {{"--from", "1", "--to", std::string(256, 'b'), "--subject", "s"}, "longer than 255"},
        {{"--from", "9", "--to", "bob", "--subject", "s"}, "--from needs the number of a user"},
        {{"--from", "1", "--to", "bob", "--subject", "s", "--attach", "missing.txt"}, "does not exist"},
        {{"--from", "1", "--to", "bob", "--subject", "s", "--attach", "/"},
         "does not exist or cannot be read"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(f.Run(c.args), 1) << c.message;
        EXPECT_NE(f.err.find(c.message), std::string::npos) << f.err;
    }
    EXPECT_EQ(f.Run({"--from", "1", "--to", "bob", "--subject", "s"}, std::string(32768, 'x')), 1);
    EXPECT_EQ(f.Run({"--to", "bob", "--subject", "s"}), 2);
    EXPECT_FALSE(f.Exists("MAIL/EMAIL.DAT"));
    EXPECT_FALSE(f.Exists("MAIL/SNTEMAIL.DAT"));
    EXPECT_FALSE(f.Exists("DATA/SPOOL.NET"));
}

TEST(SendCli, MailToAllUsersAndAttachments) {
    SendCli f;
    ASSERT_EQ(f.Run({"--from", "1", "--to", "ALL USERS = 255", "--subject", "s"}), 0) << f.err;
    EXPECT_EQ(f.out, "Sent to 2 user(s).\n");
    EXPECT_EQ(f.Read("MAIL/EMAIL.DAT").size(), 2 * 582u);
    EXPECT_FALSE(f.Exists("MAIL/SNTEMAIL.DAT"));

    kesto::test::WriteNative(f.dir.File("notes.txt"), "abc");
    ASSERT_EQ(f.Run({"--from", "1", "--to", "bob", "--subject", "s", "--attach", f.dir.File("notes.txt")}), 0)
        << f.err;
    EXPECT_EQ(f.Read("ATTACH/1/NOTES.TXT"), "abc");
    // Bob's level is below the board's attachment level (50); the composer still sends
    // what the attachment box names, and so does the command line.
    EXPECT_EQ(f.Run({"--from", "2", "--to", "1", "--subject", "s", "--attach", f.dir.File("notes.txt")}), 0)
        << f.err;
    EXPECT_EQ(f.Read("ATTACH/2/NOTES.TXT"), "abc");
}

} // namespace
