#include "AddressBook.h"

#include "DemoBoard.h"
#include "HalkTestBoard.h"

#include <gtest/gtest.h>

#include <string>

namespace kesto::test {
namespace {

class AddressBookTest : public ::testing::Test {
  protected:
    TempDir dir;
    Board board = demo::CreateBoard(dir.Path() + "/board").value();

    std::string BookPath(int user = 1) const {
        return board.startDir + "/DATA/AB" + std::to_string(user) + ".DAT";
    }
    std::string Log() const { return ReadNative(board.log.path); }
    static std::string Lines(int from, int to) {
        std::string s;
        for (int i = from; i <= to; ++i) s += "E" + std::to_string(i) + ",e@1/1,1\r\n";
        return s;
    }
};

TEST_F(AddressBookTest, LoadDropsBlankLinesAcceptsAnyLineEndAndSaveWritesCrLf) {
    // Blank lines, lone LF, lone CR, and a last line without its line end.
    WriteNative(BookPath(), "Bob,bob@12/1,1\r\n\r\n   \r\n  Ann ,ann@0,0  \nC,c@1,0\rD,d@1,0");
    AddressBook book = LoadAddressBook(board, 1);
    ASSERT_EQ(book.Count(), 4u);
    EXPECT_EQ(book.lines[0], "Bob,bob@12/1,1");
    EXPECT_EQ(book.lines[1], "  Ann ,ann@0,0  "); // kept untrimmed
    ASSERT_TRUE(SaveAddressBook(board, 1, book));
    EXPECT_EQ(ReadNative(BookPath()), "Bob,bob@12/1,1\r\n  Ann ,ann@0,0  \r\nC,c@1,0\r\nD,d@1,0\r\n");
    EXPECT_EQ(Log(), "");
}

TEST_F(AddressBookTest, LoadStopsAt101AndSaveWritesTheRestBackAfterIt) {
    WriteNative(BookPath(), Lines(1, 60) + "\r\n   \r\n" + Lines(61, 120));
    AddressBook book = LoadAddressBook(board, 1);
    ASSERT_EQ(book.Count(), 101u);
    EXPECT_EQ(book.lines[100], "E101,e@1/1,1");
    ASSERT_EQ(book.hidden.size(), 19u);

    book.lines[0].clear(); // what Delete of the first row does
    ASSERT_TRUE(SaveAddressBook(board, 1, book));
    EXPECT_EQ(ReadNative(BookPath()), Lines(2, 120));
}

TEST_F(AddressBookTest, LargeOrDamagedFilesLoadAndRoundTrip) {
    std::string big = Lines(1, 10000);
    WriteNative(BookPath(), big);
    AddressBook book = LoadAddressBook(board, 1);
    EXPECT_EQ(book.Count(), 101u);
    ASSERT_TRUE(SaveAddressBook(board, 1, book));
    EXPECT_EQ(ReadNative(BookPath()), big);

    std::string junk(std::string("\0\0,\xff;\x1a", 6));
    for (int i = 0; i < 4096; ++i) junk += static_cast<char>((i * 131 + 7) % 256);
    WriteNative(BookPath(2), junk);
    book = LoadAddressBook(board, 2);
    ASSERT_TRUE(SaveAddressBook(board, 2, book));
    AddressBook again = LoadAddressBook(board, 2);
    EXPECT_EQ(again.lines, book.lines);
    EXPECT_EQ(again.hidden, book.hidden);
}

TEST_F(AddressBookTest, FailedSaveKeepsTheOldFileAndLogs) {
    const std::string old = "Old,old@1/1,1\r\n";
    WriteNative(BookPath(), old);
    AddressBook book = LoadAddressBook(board, 1);
    for (int i = 0; i < 400; ++i) book.lines.push_back("Some longer description,someone@1/1,1");

    // The log line stays under the limit.
    EXPECT_FALSE(WithFileSizeLimit(4096, [&] { return SaveAddressBook(board, 1, book); }));
    EXPECT_EQ(ReadNative(BookPath()), old);
    EXPECT_NE(Log().find("modKesto SaveAddressBook - "), std::string::npos) << Log();

    // Nor is a book that could not be read written over the file.
    AddressBook unread;
    unread.readOk = false;
    EXPECT_FALSE(SaveAddressBook(board, 1, unread));
    EXPECT_EQ(ReadNative(BookPath()), old);
}

TEST_F(AddressBookTest, AddAppendsOneTrimmedLine) {
    EXPECT_TRUE(AddToAddressBook(board, 3, "   "));
    EXPECT_FALSE(std::filesystem::exists(BookPath(3)));

    // No count limit, and a last line without its CR LF does not swallow the new one.
    WriteNative(BookPath(3), Lines(1, 120) + "Ann,ann@0,0");
    EXPECT_TRUE(AddToAddressBook(board, 3, "  Tom@1/1,Tom@1/1,2  "));
    EXPECT_TRUE(AddToAddressBook(board, 3, "C\r\nD,d@1/1,1"));
    EXPECT_EQ(ReadNative(BookPath(3)),
              Lines(1, 120) + "Ann,ann@0,0\r\nTom@1/1,Tom@1/1,2\r\nC  D,d@1/1,1\r\n");
    EXPECT_EQ(Log(), "");

    std::filesystem::remove_all(board.startDir + "/DATA");
    EXPECT_FALSE(AddToAddressBook(board, 1, "Bob,bob@1/1,1"));
    EXPECT_NE(Log().find("modKesto AddToAddressBook - "), std::string::npos) << Log();
}

TEST_F(AddressBookTest, IsInAddressBookComparesOnlyTheCorrespondentsAddress) {
    MessageInfo m = demo::MakeMessage(7, 1, "\xC5SA", "SysOp", "Hi", 1000);
    m.FromNetNode = "12/1" + std::string(76, ' ');
    m.ToNetNode = "4/5" + std::string(77, ' ');
    const auto received = static_cast<std::int16_t>(demo::AppendMessage(board, "EMAIL", m, "x").value());
    const auto sent = static_cast<std::int16_t>(demo::AppendMessage(board, "SNTEMAIL", m, "x").value());

    // Letter case (accented too) and the other fields do not matter; the sent box looks at the recipient.
    WriteNative(BookPath(), "Whoever, \xE5sa@12/1 ,99\r\n");
    EXPECT_TRUE(IsInAddressBook(board, 1, Mailbox::Received, received));
    EXPECT_FALSE(IsInAddressBook(board, 1, Mailbox::Sent, sent));
    WriteNative(BookPath(), "sysop@4/5,x,1\r\n\xC5SA@12/1\r\nS,SysOp@4/5,0");
    EXPECT_FALSE(IsInAddressBook(board, 1, Mailbox::Received, received));
    EXPECT_TRUE(IsInAddressBook(board, 1, Mailbox::Sent, sent));

    EXPECT_FALSE(IsInAddressBook(board, 1, Mailbox::Received, 0));
    EXPECT_FALSE(IsInAddressBook(board, 1, Mailbox::Received, 99));
    EXPECT_EQ(Log(), "");
    EXPECT_FALSE(IsInAddressBook(board, 2, Mailbox::Received, received)); // no book: logged
    EXPECT_NE(Log().find("modKesto IsInAddressBook - "), std::string::npos) << Log();
}

TEST(AddressBookTexts, SplitRowPickAndEntryForms) {
    AddressBookEntry e = SplitAddressBookLine("Club, desk@4/5 ,2,extra");
    EXPECT_EQ(e.description, "Club");
    EXPECT_EQ(e.address, "desk@4/5");
    EXPECT_EQ(e.networkId, "2,extra");

    EXPECT_EQ(AddressBookRowText(1, 12, " Desk ,d@4/5,2"), " 1: Desk                   ");
    EXPECT_EQ(AddressBookRowText(3, 9, "An extremely long description,a@1,1"), "3: An extremely long descr");

    EXPECT_EQ(AddressBookPickText("Desk,desk@4/5,2"), "desk@4/5*2");
    EXPECT_EQ(AddressBookPickText(" Fred , Fred , 0 "), "Fred@0*0");
    EXPECT_EQ(
        AddressBookEntryLine(" Tom@1/1 ", "Tom" + std::string(37, ' '), "1/1" + std::string(77, ' '), 2),
        "Tom@1/1,Tom@1/1,2");
}

} // namespace
} // namespace kesto::test
