// kesto-cli read, delete and save on a fixture board.
#include "CliRun.h"

#include "DemoBoard.h"
#include "Records.h"
#include "TestBoard.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace kesto::test {
namespace {

class ReaderCliTest : public CliBoardTest {
  protected:
    ReaderCliTest() {
        demo::AppendUser(board, demo::MakeUser("SYSOP", "Sam Sysop", 255)).value();
        demo::AppendUser(board, demo::MakeUser("ALICE", "Alice Smith", 50)).value();
        demo::WriteDataFile(board, "NETWORKS.LST", "1,1,Home,0\r\n").value();
    }
    RecordNo Add(std::int32_t from, std::int32_t to, std::string_view subject, std::string_view body) {
        MessageInfo m = demo::MakeMessage(from, to, from == 1 ? "SYSOP" : "ALICE",
                                          to == 1 ? "SYSOP" : "ALICE", subject, 1150000000);
        m.Creation = "Thu Jun 29, 2006 04:26:40 +0000" + std::string(9, ' ');
        return demo::AppendMessage(board, "EMAIL", m, body).value();
    }
    std::string Mail(const std::string& name) const { return boardDir + "/MAIL/" + name; }
};

TEST_F(ReaderCliTest, ReadShowsTheMessageAndMarksItOnce) {
    Add(2, 1, "Caf\xE9", "Hello\r\nworld\x03");
    ASSERT_EQ(Run({"read", "1"}), 0) << err;
    EXPECT_EQ(out, "From:    ALICE @1/1 (Home)\n"
                   "To:      SYSOP @1/1 (Home)\n"
                   "Subject: Caf\xC3\xA9\n"
                   "Sent:    Thu Jun 29, 2006 04:26:40 +0000\n"
                   "\n"
                   "Hello\nworld\n");
    EXPECT_EQ(GetI32(ReadNative(Mail("EMAIL.DAT")), 374), 1);
    const std::string notice = ReadNative(Mail("ONELINE.DAT"));
    EXPECT_EQ(notice.size(), 582u);

    ASSERT_EQ(Run({"read", "1", "--json"}), 0) << err;
    EXPECT_NE(out.find("\"subject\": \"Caf\xC3\xA9\""), std::string::npos) << out;
    EXPECT_NE(out.find("\"text\": \"Hello\\r\\nworld\""), std::string::npos) << out;
    EXPECT_NE(out.find("\"deleted\": false"), std::string::npos) << out;
    EXPECT_EQ(ReadNative(Mail("ONELINE.DAT")), notice); // already read: no second notice
}

TEST_F(ReaderCliTest, RefusesOtherUsersAndMissingMessagesWithoutWriting) {
    Add(1, 2, "For Alice", "x");
    const std::string index = ReadNative(Mail("EMAIL.DAT"));
    EXPECT_EQ(Run({"read", "1"}), 1);
    EXPECT_NE(err.find("--user"), std::string::npos) << err;
    EXPECT_EQ(Run({"read", "2", "--user", "2"}), 1);
    EXPECT_EQ(Run({"read", "0"}), 2);
    EXPECT_EQ(Run({"delete", "1", "x"}), 2);
    EXPECT_EQ(Run({"delete", "1", "1", "--user", "2"}), 2);
    EXPECT_EQ(Run({"save", "1", dir.Path() + "/o.txt"}), 1);
    EXPECT_EQ(Run({"read", "1", "--sent", "--user", "1"}), 1); // no SNTEMAIL at all
    EXPECT_EQ(ReadNative(Mail("EMAIL.DAT")), index);
    EXPECT_FALSE(std::filesystem::exists(Mail("ONELINE.DAT")));
    EXPECT_FALSE(std::filesystem::exists(dir.Path() + "/o.txt"));
}

TEST_F(ReaderCliTest, DeleteTogglesEachListedMark) {
    Add(2, 1, "a", "a");
    Add(2, 1, "b", "b");
    Add(2, 1, "c", "c");
    ASSERT_EQ(Run({"delete", "1", "3"}), 0) << err;
    EXPECT_EQ(out, "1: marked for deletion\n3: marked for deletion\n");
    ASSERT_EQ(Run({"delete", "3", "2"}), 0) << err;
    EXPECT_EQ(out, "3: not marked for deletion\n2: marked for deletion\n");
    const std::string index = ReadNative(Mail("EMAIL.DAT"));
    EXPECT_EQ(GetI16(index, 332), 1);
    EXPECT_EQ(GetI16(index, 582 + 332), 1);
    EXPECT_EQ(GetI16(index, 2 * 582 + 332), 0);
    // One bad number stops the whole command before any mark changes.
    EXPECT_EQ(Run({"delete", "1", "9"}), 1);
    EXPECT_EQ(ReadNative(Mail("EMAIL.DAT")), index);

    ASSERT_EQ(Run({"read", "1", "--json"}), 0) << err;
    EXPECT_NE(out.find("\"deleted\": true"), std::string::npos) << out;

    // "--" ends the options, not the numbers.
    ASSERT_EQ(Run({"delete", "1", "--", "3"}), 0) << err;
    EXPECT_EQ(out, "1: not marked for deletion\n3: marked for deletion\n");
}

TEST_F(ReaderCliTest, SaveWritesTheSaveAsBytes) {
    Add(2, 1, "Notes", "first line\r\nsecond");
    const std::string file = dir.Path() + "/saved.txt";
    WriteNative(file, std::string(3000, 'z'));
    ASSERT_EQ(Run({"save", "1", file}), 0) << err;
    EXPECT_EQ(out, "Message saved.\n");
    EXPECT_EQ(ReadNative(file), "From:     ALICE @1/1 (Home)\r\n"
                                "Date:     Thu Jun 29, 2006 04:26:40 +0000\r\n"
                                "To:       SYSOP @0 (Home)\r\n"
                                "Subject:  Notes\r\n"
                                "\r\n"
                                "first line\r\nsecond\r\n");
    // Saving is not reading: no mark, no notice.
    EXPECT_EQ(GetI32(ReadNative(Mail("EMAIL.DAT")), 374), 0);
    EXPECT_EQ(Run({"save", "1", dir.Path() + "/no/such/dir.txt"}), 1);
}

TEST_F(ReaderCliTest, NumbersPast32767ReachTheirMessages) {
    WriteLargeMailbox(board, "EMAIL", 32770, demo::MakeMessage(2, 1, "ALICE", "SYSOP", "", 1150000000));
    ASSERT_EQ(Run({"list"}), 0) << err;
    EXPECT_NE(out.find(": 32770 messages"), std::string::npos);
    EXPECT_EQ(out.find("32770 *"), out.find('\n', out.find('\n') + 1) + 1) << "the newest is listed first";

    ASSERT_EQ(Run({"info", "32769"}), 0) << err;
    EXPECT_NE(out.find("Message 32769"), std::string::npos) << out;
    ASSERT_EQ(Run({"read", "32770"}), 0) << err;
    EXPECT_NE(out.find("Subject: Message 32770\n"), std::string::npos) << out;
    ASSERT_EQ(Run({"delete", "32768"}), 0) << err;
    EXPECT_EQ(out, "32768: marked for deletion\n");
    const std::string index = ReadNative(Mail("EMAIL.DAT"));
    EXPECT_EQ(GetI32(index, 32769 * 582 + 374), 1);
    EXPECT_EQ(GetI16(index, 32767 * 582 + 332), 1);
    EXPECT_EQ(GetI16(index, 32769 * 582 + 332), 0);
    ASSERT_EQ(Run({"save", "32770", dir.Path() + "/last.txt"}), 0) << err;
    EXPECT_NE(ReadNative(dir.Path() + "/last.txt").find("Subject:  Message 32770\r\n"), std::string::npos);
    EXPECT_EQ(Run({"read", "32771"}), 1);
}

} // namespace
} // namespace kesto::test
