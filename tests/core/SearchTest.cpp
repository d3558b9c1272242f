#include "Search.h"

#include "CaseFold.h"
#include "DemoBoard.h"
#include "ReadMark.h"
#include "TestBoard.h"

#include <gtest/gtest.h>

#include <atomic>

using namespace kesto;
using namespace kesto::test;

namespace {

std::string Fold(std::string s) {
    FoldCaseInPlace(s);
    return s;
}

TEST(CaseFold, CapitalsOfAsciiAndWindows1252FoldToTheirSmallLetters) {
    EXPECT_EQ(Fold("AZaz09@[`{"), "azaz09@[`{");
    // À..Þ without the multiplication sign, and the capitals of the 0x80 row.
    EXPECT_EQ(Fold("\xC0\xC4\xD6\xDE\x8A\x8C\x8E\x9F"), "\xE0\xE4\xF6\xFE\x9A\x9C\x9E\xFF");
    // ×, ÷, ß, µ and the small letters themselves have no other form.
    EXPECT_EQ(Fold("\xD7\xF7\xDF\xB5\xE0\xFF\x9A"), "\xD7\xF7\xDF\xB5\xE0\xFF\x9A");
    EXPECT_EQ(FindFolded("Gr\xDC\xDF"
                         "E aus",
                         Fold("\xFC\xDF"
                              "e")),
              2u);
    EXPECT_EQ(FindFolded("abc", "abcd"), std::string_view::npos);
}

struct Parsed {
    const char* typed;
    std::vector<std::pair<QueryField, std::string>> words;
    bool cut = false;
};

TEST(ParseQuery, WordsPrefixesPhrasesAndBounds) {
    using F = QueryField;
    const Parsed table[] = {
        {"", {}},
        {" \t\r\n ", {}},
        {"Bob  Modem", {{F::Any, "bob"}, {F::Any, "modem"}}},
        {"From:Bob to:ann SUBJECT:x text:y",
         {{F::From, "bob"}, {F::To, "ann"}, {F::Subject, "x"}, {F::Text, "y"}}},
        {"is:unread IS:Deleted has:attachment", {{F::Unread, ""}, {F::Deleted, ""}, {F::Attachment, ""}}},
        // Unknown prefixes and state values are plain words; so is a prefix inside quotes.
        {"re:hello is:read has:x", {{F::Any, "re:hello"}, {F::Any, "is:read"}, {F::Any, "has:x"}}},
        {"\"from:bob\" x\"y z\"", {{F::Any, "from:bob"}, {F::Any, "xy z"}}},
        {"subject:\"old news\"", {{F::Subject, "old news"}}},
        {"\"old news", {{F::Any, "old news"}}}, // to the end
        {"from: \"\" text:", {}},               // empty words match everything
        {"j\xC3\x96rg \xC4rger",
         {{F::Any, "j\xF6rg"}, {F::Any, "\xE4rger"}}}, // UTF-8, and a byte that is not
    };
    for (const Parsed& p : table) {
        const Query q = ParseQuery(p.typed);
        std::vector<std::pair<QueryField, std::string>> got;
        for (const QueryWord& w : q.words) got.emplace_back(w.field, w.text);
        EXPECT_EQ(got, p.words) << p.typed;
        EXPECT_EQ(q.cut, p.cut) << p.typed;
    }

    // A character Windows-1252 has no code for cannot be in a board text.
    const Query emoji = ParseQuery("bob \xF0\x9F\x98\x80");
    ASSERT_EQ(emoji.words.size(), 2u);
    EXPECT_TRUE(emoji.words[1].impossible);

    std::string many;
    for (int i = 0; i < 10000; ++i) many += "w" + std::to_string(i) + " ";
    const Query manyWords = ParseQuery(many);
    EXPECT_EQ(manyWords.words.size(), kMaxQueryWords);
    EXPECT_TRUE(manyWords.cut);

    const Query longWord = ParseQuery("text:" + std::string(100000, 'A') + " bob");
    ASSERT_EQ(longWord.words.size(), 2u);
    EXPECT_EQ(longWord.words[0].text, std::string(kMaxQueryWordBytes, 'a'));
    EXPECT_EQ(longWord.words[1].text, "bob");
    EXPECT_TRUE(longWord.cut);
}

// The demo board, and messages for what it lacks: accented capitals, a word split by
// a colour code, a lone LF, and damaged positions and lengths.
class SearchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        board = demo::CreateDemoBoard(dir.Path()).value();
        MessageInfo m = demo::MakeMessage(8, 1, "J\xF6rg", "SysOp", "\xC4RGER mit dem Modem", 1160000000);
        demo::AppendMessage(board, "EMAIL", m,
                            "Das Modem st\x03"
                            "4\xFCrzt ab.\r\n")
            .value();                                   // 12
        AddDamaged("Lost text", 1'000'000, 20);         // 13
        AddDamaged("Negative length", 1, -5);           // 14
        AddDamaged("Runs past the end", 1, 2147483647); // 15
        m = demo::MakeMessage(1, 2, "SysOp", "Bob", "Line ends", 1160000000);
        demo::AppendMessage(board, "SNTEMAIL", m, "one\ntwo\rthree").value(); // 7
    }
    void AddDamaged(const char* subject, std::int32_t position, std::int32_t length) {
        MessageInfo m = demo::MakeMessage(2, 1, "Bob", "SysOp", subject, 1160000000);
        const auto n = static_cast<RecordNo>(demo::AppendMessage(board, "EMAIL", m, "").value());
        m = GetMessageInfo(board, "EMAIL", n).value();
        m.MsgPos = position;
        m.MsgLength = length;
        PutMessageInfo(board, "EMAIL", n, m).value();
    }
    std::vector<MailRow> Rows(Mailbox box) {
        std::string buffer;
        return ReadMailboxRows(board, box, 1, buffer).value();
    }
    std::vector<int> Found(Mailbox box, std::string_view typed) {
        std::vector<int> numbers;
        for (const MailRow& r : FilterRows(board, box, ParseQuery(typed), Rows(box)).value())
            numbers.push_back(r.number);
        return numbers;
    }

    TempDir dir;
    Board board;
};

struct Expected {
    const char* query;
    std::vector<int> received; // record numbers, newest first
    std::vector<int> sent;
};

TEST_F(SearchTest, EachQueryGivesItsRowsInBothMailboxes) {
    const std::vector<int> allReceived = {15, 14, 13, 12, 11, 10, 9, 7, 6, 5, 4, 2, 1};
    const std::vector<int> allSent = {7, 6, 4, 3, 2, 1};
    const Expected table[] = {
        {"", allReceived, allSent},
        {"  from: ", allReceived, allSent},
        // Shown name, subject or text; the last row's text runs from byte 1 to the file's end.
        {"modem", {15, 12, 5, 2}, {3}},
        {"from:bob", {15, 14, 13, 9, 5, 1}, {}},
        {"FROM:sysop", {7}, {7, 4, 3, 2, 1}},
        {"to:martin", {11}, {}},
        {"to:bob", {}, {7, 1}},
        {"is:unread", {15, 14, 13, 12, 11, 9, 7, 6, 5, 2}, {7}},
        {"is:deleted", {5, 4}, {4}},
        {"has:attachment", {10, 9}, {}},
        {"subject:meeting", {10, 2}, {3}},
        {"text:meeting", {15, 2}, {}},
        {"\"on friday\"", {15, 2}, {3}},
        {"\"old news", {4}, {}},
        {"re:", {}, {6, 3, 1}},
        {"is:unread from:ann", {2}, {}},
        {"text:Hello", {15, 11}, {}},
        // The text as the reader shows it: colour codes removed, letter case ignored.
        {"text:st\xC3\xBCrzt", {15, 12}, {}},
        {"text:\"colour 1,\" 4.", {15, 6}, {}},
        {"j\xC3\x96rg", {12}, {4}},
        {"\xC3\xA4rger \xC4RGER", {12}, {}},
        {"lost", {13}, {}},
        {"xyzzy", {}, {}},
        {"bob \xF0\x9F\x98\x80", {}, {}},
    };
    for (const Expected& e : table) {
        EXPECT_EQ(Found(Mailbox::Received, e.query), e.received) << e.query;
        EXPECT_EQ(Found(Mailbox::Sent, e.query), e.sent) << e.query;
    }
}

TEST_F(SearchTest, TextWordsFindWhatTheReaderShowsOfEveryRow) {
    // Each row's text read one by one, as the reader reads it, against the batched search.
    for (Mailbox box : {Mailbox::Received, Mailbox::Sent}) {
        const std::vector<MailRow> all = Rows(box);
        for (const char* word :
             {"the", "o", "\xE4", "\r\nI can", ",\r\nthis", "one\r\ntwo", "o\r\nth", "bring the"}) {
            const Query q = ParseQuery(std::string("text:\"") + word + "\"");
            std::vector<int> expected;
            for (const MailRow& r : all) {
                const std::string body =
                    GetMessage(board, MailboxName(box), r.position, r.size, true, false).value_or("");
                if (FindFolded(ReaderBodyText(body), Fold(word)) != std::string_view::npos)
                    expected.push_back(r.number);
            }
            std::vector<int> got;
            for (const MailRow& r : FilterRows(board, box, q, all).value()) got.push_back(r.number);
            EXPECT_EQ(got, expected) << word;
        }
    }
}

TEST_F(SearchTest, AMissingTextFileHoldsNoTextAndACancelledSearchSaysSo) {
    std::filesystem::remove(dir.File("MAIL/EMAIL.BIN"));
    EXPECT_EQ(Found(Mailbox::Received, "modem"), (std::vector<int>{12, 5})); // subjects only
    const std::string log = ReadNative(dir.File("HMRERROR.LOG"));
    EXPECT_TRUE(log.empty()) << log;

    std::atomic<bool> cancel{true};
    const auto r = MatchRows(board, Mailbox::Sent, ParseQuery("text:x"), Rows(Mailbox::Sent), &cancel);
    ASSERT_FALSE(r);
    EXPECT_EQ(r.error().code, ErrorCode::Refused);
}

} // namespace
