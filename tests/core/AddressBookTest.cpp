#include "AddressBook.h"

#include "DemoBoard.h"
#include "MailBase.h"
#include "TestBoard.h"

#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <sys/resource.h>

namespace {

using kesto::test::ReadNative;
using kesto::test::WriteNative;

class AddressBookTest : public ::testing::Test {
protected:
    kesto::test::TempDir dir;
    kesto::Board board = kesto::demo::CreateBoard(dir.path() + "/board");

    std::string bookPath(int user = 1) const { return board.startDir + "/DATA/AB" + std::to_string(user) + ".DAT"; }
    std::string log() const { return ReadNative(board.log.path); }

    std::size_t DataEntries() const {
        std::size_t n = 0;
        for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(board.startDir + "/DATA")) ++n;
        return n;
    }

    static std::string Lines(int from, int to) {
        std::string s;
        for (int i = from; i <= to; ++i) s += "E" + std::to_string(i) + ",e" + std::to_string(i) + "@1/1,1\r\n";
        return s;
    }
};

TEST_F(AddressBookTest, FileNameIsPerUserInDataPath) {
    EXPECT_EQ(kesto::AddressBookFile(board, 1), "DATA\\AB1.DAT");
    EXPECT_EQ(kesto::AddressBookFile(board, 307), "DATA\\AB307.DAT");
}

TEST_F(AddressBookTest, LoadDropsBlankLinesKeepsOthersUntrimmedAndSaveWritesThemBack) {
    WriteNative(bookPath(), "Bob,bob@12/1,1\r\n\r\n   \r\n  Ann ,ann@0,0  \r\n");
    kesto::AddressBook book = kesto::LoadAddressBook(board, 1);
    ASSERT_TRUE(book.readOk);
    ASSERT_EQ(book.count(), 2u);
    EXPECT_EQ(book.lines[0], "");
    EXPECT_EQ(book.lines[1], "Bob,bob@12/1,1");
    EXPECT_EQ(book.lines[2], "  Ann ,ann@0,0  ");

    ASSERT_TRUE(kesto::SaveAddressBook(board, 1, book));
    EXPECT_EQ(ReadNative(bookPath()), "Bob,bob@12/1,1\r\n  Ann ,ann@0,0  \r\n");
    EXPECT_EQ(log(), "");
}

TEST_F(AddressBookTest, AnyLineEndSeparatesEntriesAndSaveNormalisesToCrLf) {
    // Lone LF, lone CR, CR LF and a last line without its line end.
    WriteNative(bookPath(), "A,a@1,0\nB,b@1,0\rC,c@1,0\r\n\r\rD,d@1,0");
    kesto::AddressBook book = kesto::LoadAddressBook(board, 1);
    ASSERT_EQ(book.count(), 4u);
    EXPECT_EQ(book.lines[4], "D,d@1,0");
    ASSERT_TRUE(kesto::SaveAddressBook(board, 1, book));
    EXPECT_EQ(ReadNative(bookPath()), "A,a@1,0\r\nB,b@1,0\r\nC,c@1,0\r\nD,d@1,0\r\n");
}

TEST_F(AddressBookTest, SplitAtFirstTwoCommasWithTrimmedFields) {
    kesto::AddressBookEntry e = kesto::SplitAddressBookLine("Club, desk@4/5 ,2,extra");
    EXPECT_EQ(e.description, "Club");
    EXPECT_EQ(e.address, "desk@4/5");
    EXPECT_EQ(e.networkId, "2,extra");

    e = kesto::SplitAddressBookLine("  Fred  ");
    EXPECT_EQ(e.description, "Fred");
    EXPECT_EQ(e.address, "");
    EXPECT_EQ(e.networkId, "");

    e = kesto::SplitAddressBookLine(",,0");
    EXPECT_EQ(e.description, "");
    EXPECT_EQ(e.address, "");
    EXPECT_EQ(e.networkId, "0");
}

TEST_F(AddressBookTest, MissingFileIsAnEmptyBookAndSavingItCreatesAnEmptyFile) {
    kesto::AddressBook book = kesto::LoadAddressBook(board, 5);
    EXPECT_TRUE(book.readOk);
    EXPECT_EQ(book.count(), 0u);
    EXPECT_TRUE(book.hidden.empty());
    ASSERT_TRUE(kesto::SaveAddressBook(board, 5, book));
    EXPECT_TRUE(std::filesystem::exists(bookPath(5)));
    EXPECT_EQ(ReadNative(bookPath(5)), "");
}

TEST_F(AddressBookTest, LoadStopsAt101AndSaveKeepsTheLinesBeyond) {
    WriteNative(bookPath(), Lines(1, 60) + "\r\n   \r\n" + Lines(61, 120));
    kesto::AddressBook book = kesto::LoadAddressBook(board, 1);
    ASSERT_EQ(book.count(), 101u);
    EXPECT_EQ(book.lines[101], "E101,e101@1/1,1");
    ASSERT_EQ(book.hidden.size(), 19u);
    EXPECT_EQ(book.hidden.front(), "E102,e102@1/1,1");

    // What the window does for Delete of the first row: empty it and save.
    book.lines[1].clear();
    ASSERT_TRUE(kesto::SaveAddressBook(board, 1, book));
    EXPECT_EQ(ReadNative(bookPath()), Lines(2, 120));

    // The first hidden line moves up into view.
    book = kesto::LoadAddressBook(board, 1);
    EXPECT_EQ(book.count(), 101u);
    EXPECT_EQ(book.lines[101], "E102,e102@1/1,1");
    EXPECT_EQ(book.hidden.size(), 18u);
}

TEST_F(AddressBookTest, LargeOrDamagedFilesLoadWithoutTrouble) {
    std::string big;
    for (int i = 0; i < 10000; ++i) big += "Entry " + std::to_string(i) + ",x@1/1,1\r\n";
    WriteNative(bookPath(), big);
    kesto::AddressBook book = kesto::LoadAddressBook(board, 1);
    EXPECT_EQ(book.count(), 101u);
    EXPECT_EQ(book.hidden.size(), 10000u - 101u);
    ASSERT_TRUE(kesto::SaveAddressBook(board, 1, book));
    EXPECT_EQ(ReadNative(bookPath()), big);

    std::string junk;
    for (int i = 0; i < 4096; ++i) junk += static_cast<char>((i * 131 + 7) % 256);
    junk += std::string("\0\0,\xff;\x1a", 6);
    WriteNative(bookPath(2), junk);
    book = kesto::LoadAddressBook(board, 2);
    EXPECT_TRUE(book.readOk);
    for (std::size_t i = 1; i <= book.count(); ++i) {
        EXPECT_EQ(book.lines[i].find_first_of("\r\n"), std::string::npos);
        EXPECT_EQ(kesto::AddressBookRowText(i, book.count(), book.lines[i]).size(),
                  std::to_string(book.count()).size() + 2 + 23);
    }
    ASSERT_TRUE(kesto::SaveAddressBook(board, 2, book));
    kesto::AddressBook again = kesto::LoadAddressBook(board, 2);
    EXPECT_EQ(again.lines, book.lines);
    EXPECT_EQ(again.hidden, book.hidden);
}

TEST_F(AddressBookTest, FailedSaveKeepsTheOldFileAndLogs) {
    const std::string old = "Old,old@1/1,1\r\n";
    WriteNative(bookPath(), old);
    kesto::AddressBook book = kesto::LoadAddressBook(board, 1);
    for (int i = 0; i < 400; ++i) book.lines.push_back("Some longer description,someone@1/1,1");

    // A file size limit makes the write fail even for root; the log line stays under it.
    const auto entriesBefore = DataEntries();
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool ok = kesto::SaveAddressBook(board, 1, book);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    EXPECT_FALSE(ok);
    EXPECT_EQ(ReadNative(bookPath()), old);
    EXPECT_NE(log().find("modKesto SaveAddressBook - "), std::string::npos) << log();
    // No temporary file left beside the book.
    EXPECT_EQ(DataEntries(), entriesBefore);
}

TEST_F(AddressBookTest, SaveRefusesABookThatCouldNotBeRead) {
    kesto::AddressBook book;
    book.readOk = false;
    WriteNative(bookPath(), "Keep,keep@1/1,1\r\n");
    EXPECT_FALSE(kesto::SaveAddressBook(board, 1, book));
    EXPECT_EQ(ReadNative(bookPath()), "Keep,keep@1/1,1\r\n");
    EXPECT_NE(log().find("SaveAddressBook"), std::string::npos);
}

TEST_F(AddressBookTest, AddAppendsTrimmedLineAndRepairsAMissingLineEnd) {
    EXPECT_TRUE(kesto::AddToAddressBook(board, 3, "   "));
    EXPECT_FALSE(std::filesystem::exists(bookPath(3))); // blank writes nothing, not even the file

    EXPECT_TRUE(kesto::AddToAddressBook(board, 3, "  Tom@1/1,Tom@1/1,2  "));
    EXPECT_EQ(ReadNative(bookPath(3)), "Tom@1/1,Tom@1/1,2\r\n");

    WriteNative(bookPath(4), "Ann,ann@0,0");
    EXPECT_TRUE(kesto::AddToAddressBook(board, 4, "Bob,bob@1/1,1"));
    EXPECT_EQ(ReadNative(bookPath(4)), "Ann,ann@0,0\r\nBob,bob@1/1,1\r\n");

    // A line end inside the entry would make two entries of it.
    EXPECT_TRUE(kesto::AddToAddressBook(board, 4, "C\r\nD,d@1/1,1"));
    EXPECT_EQ(kesto::LoadAddressBook(board, 4).count(), 3u);

    // No count check: the 121st line is appended too.
    WriteNative(bookPath(5), Lines(1, 120));
    EXPECT_TRUE(kesto::AddToAddressBook(board, 5, "Last,last@1/1,1"));
    EXPECT_EQ(ReadNative(bookPath(5)), Lines(1, 120) + "Last,last@1/1,1\r\n");
    EXPECT_EQ(log(), "");
}

TEST_F(AddressBookTest, AddFailureIsLoggedAndReported) {
    std::filesystem::remove_all(board.startDir + "/DATA");
    EXPECT_FALSE(kesto::AddToAddressBook(board, 1, "Bob,bob@1/1,1"));
    EXPECT_NE(log().find("modKesto AddToAddressBook - "), std::string::npos) << log();
}

TEST_F(AddressBookTest, IsInAddressBookComparesTheCorrespondentAddressOnly) {
    kesto::MessageInfo m = kesto::demo::MakeMessage(7, 1, "BOB", "SysOp", "Hi", 1000);
    m.FromNetNode = std::string("12/1") + std::string(76, ' ');
    m.ToNetNode = std::string("4/5") + std::string(77, ' ');
    const auto received = static_cast<std::int16_t>(kesto::demo::AppendMessage(board, "EMAIL", m, "x"));
    const auto sent = static_cast<std::int16_t>(kesto::demo::AppendMessage(board, "SNTEMAIL", m, "x"));

    WriteNative(bookPath(), "Whoever, Bob@12/1 ,99\r\n");
    EXPECT_TRUE(kesto::IsInAddressBook(board, 1, 1, received));
    // Sent mail looks at the recipient, who is not in the book.
    EXPECT_FALSE(kesto::IsInAddressBook(board, 1, 2, sent));
    WriteNative(bookPath(), "bob@12/1,x,1\r\nSYSOP@4/5\r\n");
    EXPECT_FALSE(kesto::IsInAddressBook(board, 1, 1, received)); // the description does not count
    EXPECT_FALSE(kesto::IsInAddressBook(board, 1, 2, sent));    // neither does a line without address field
    WriteNative(bookPath(), "a,x@1,1\r\nS,sysop@4/5,0");
    EXPECT_TRUE(kesto::IsInAddressBook(board, 1, 2, sent));

    EXPECT_FALSE(kesto::IsInAddressBook(board, 1, 1, 0));
    EXPECT_FALSE(kesto::IsInAddressBook(board, 1, 1, 99)); // past the end of the index
    EXPECT_EQ(log().find("IsInAddressBook"), std::string::npos);

    // A user without a book: false, and the missing file is logged.
    EXPECT_FALSE(kesto::IsInAddressBook(board, 2, 1, received));
    EXPECT_NE(log().find("modKesto IsInAddressBook - "), std::string::npos) << log();
}

TEST_F(AddressBookTest, IsInAddressBookFoldsAccentedLetters) {
    kesto::MessageInfo m = kesto::demo::MakeMessage(7, 1, "\xC5SA", "SysOp", "Hi", 1000);
    const auto n = static_cast<std::int16_t>(kesto::demo::AppendMessage(board, "EMAIL", m, "x"));
    WriteNative(bookPath(), "A,\xE5sa@1/1,1\r\n");
    EXPECT_TRUE(kesto::IsInAddressBook(board, 1, 1, n));
}

TEST(AddressBookTexts, RowNumberIsPaddedToTheCountAndDescriptionTo23) {
    EXPECT_EQ(kesto::AddressBookRowText(1, 12, " Desk ,desk@4/5,2"), " 1: Desk                   ");
    EXPECT_EQ(kesto::AddressBookRowText(12, 12, "Desk,desk@4/5,2"), "12: Desk                   ");
    EXPECT_EQ(kesto::AddressBookRowText(3, 9, "An extremely long description here,a@1,1"),
              "3: An extremely long descr");
    EXPECT_EQ(kesto::AddressBookRowText(1, 1, ",,0"), "1: " + std::string(23, ' '));
}

TEST(AddressBookTexts, PickAndEntryLineForms) {
    EXPECT_EQ(kesto::AddressBookPickText("Desk,desk@4/5,2"), "desk@4/5*2");
    EXPECT_EQ(kesto::AddressBookPickText(" Fred , Fred , 0 "), "Fred@0*0");
    EXPECT_EQ(kesto::AddressBookPickText("Club, desk@4/5 ,2,extra"), "desk@4/5*2,extra");
    EXPECT_EQ(kesto::AddressBookEntryLine(" Tom@1/1 ", "Tom" + std::string(37, ' '), "1/1" + std::string(77, ' '), 2),
              "Tom@1/1,Tom@1/1,2");
}

} // namespace
