// The reader's view of a message, its read mark and the read notice bytes.
#include "ReadMark.h"
#include "TextHelpers.h"
#include "DemoBoard.h"
#include "MailBase.h"
#include "Records.h"
#include "HalkTestBoard.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <regex>

namespace kesto::test {
namespace {

struct ReadBoard {
    TempDir dir;
    Board b = demo::CreateBoard(dir.Path()).value();
    UserRecord sysop = demo::MakeUser("SYSOP", "Sam Sysop", 255);
    UserRecord alice = demo::MakeUser("ALICE", "Alice Smith", 50);

    ReadBoard() {
        demo::AppendUser(b, sysop).value();
        demo::AppendUser(b, alice).value();
        demo::WriteDataFile(b, "NETWORKS.LST", "1,1,Home,0\r\n2,4,Relay Net,1\r\n").value();
        WriteNative(dir.File("DATA/DBSEQ.DAT"), Le32(41));
    }
    std::string Mail(const std::string& name) const { return dir.File("MAIL/" + name); }
    // A message from ALICE (user 2) to SYSOP (user 1).
    std::int16_t Add(std::string_view subject, std::string_view body, std::int16_t fromNet = 1,
                     std::string_view box = "EMAIL") {
        MessageInfo m = demo::MakeMessage(2, 1, "ALICE", "SYSOP", subject, 1150000000);
        m.FromNetId = fromNet;
        return static_cast<std::int16_t>(demo::AppendMessage(b, box, m, body).value());
    }
    ShownMessage Show(std::int16_t n, Mailbox mailbox = Mailbox::Received) {
        return ShowMessage(b, mailbox, n, 1, sysop);
    }
};

struct ReadMark : ::testing::Test {
    ReadBoard rb;
};

TEST_F(ReadMark, FirstOpeningMarksReadAndWritesOneNoticeExactly) {
    rb.Add("First", "one");
    std::int16_t n = rb.Add(" Meeting ", "Hello there");
    const std::string indexBefore = ReadNative(rb.Mail("EMAIL.DAT"));

    std::int32_t before = static_cast<std::int32_t>(std::time(nullptr)) - 2 * 86400;
    ShownMessage s = rb.Show(n);
    EXPECT_TRUE(s.ok);
    EXPECT_TRUE(s.markedRead);
    EXPECT_TRUE(s.noticeSent);

    // The index changes only in the read mark of record 2.
    std::string expected = indexBefore;
    expected.replace(582 + 374, 4, Le32(1));
    EXPECT_EQ(ReadNative(rb.Mail("EMAIL.DAT")), expected);

    EXPECT_EQ(ReadNative(rb.Mail("ONELINE.BIN")), "\r\n");
    const std::string dat = ReadNative(rb.Mail("ONELINE.DAT"));
    ASSERT_EQ(dat.size(), 582u);
    const std::int32_t stamp = GetI32(dat, 252);
    EXPECT_GE(stamp, before); // local wall-clock seconds: within a day of UTC
    EXPECT_LE(stamp, before + 4 * 86400);
    const std::string date = dat.substr(334, 40);
    EXPECT_TRUE(std::regex_match(
        RTrim(date), std::regex(R"([A-Z][a-z]{2} [A-Z][a-z]{2} \d\d, \d{4} \d\d:\d\d:\d\d [+-]\d{4})")))
        << date;
    const std::string zeros(12, '\0');
    EXPECT_EQ(dat, Le32(1) + Le32(2) + rb.sysop.Handle + rb.alice.Handle + Pad("1/1", 80) + Pad("1/1", 80) +
                       std::string("\x01\x00\x01\x00", 4) + Le32(stamp) + Le32(42) + Le32(0) + Le32(0) +
                       Pad("SYSOP #1 Read Email: Meeting", 64) + zeros.substr(0, 2) + date +
                       zeros.substr(0, 8) + std::string(76, ' ') + zeros + "ONELINE " + Le32(1) + Le32(2) +
                       zeros.substr(0, 8) + std::string(88, ' '));
    EXPECT_EQ(ReadNative(rb.dir.File("DATA/DBSEQ.DAT")), Le32(42));

    // A second opening writes nothing at all.
    const std::string indexAfter = ReadNative(rb.Mail("EMAIL.DAT"));
    ShownMessage again = rb.Show(n);
    EXPECT_FALSE(again.markedRead);
    EXPECT_FALSE(again.noticeSent);
    EXPECT_EQ(ReadNative(rb.Mail("EMAIL.DAT")), indexAfter);
    EXPECT_EQ(ReadNative(rb.Mail("ONELINE.DAT")), dat);
    EXPECT_EQ(ReadNative(rb.Mail("ONELINE.BIN")), "\r\n");
}

TEST_F(ReadMark, NoticeGoesAfterTheLastWholeRecordAndCutsItsText) {
    std::string longSubject(60, 'S');
    std::int16_t n = rb.Add(longSubject, "x");
    WriteNative(rb.Mail("ONELINE.DAT"), std::string(1000, 'Q'));
    WriteNative(rb.Mail("ONELINE.BIN"), "12345");
    rb.Show(n);

    const std::string dat = ReadNative(rb.Mail("ONELINE.DAT"));
    ASSERT_EQ(dat.size(), 1164u);
    EXPECT_EQ(dat.substr(0, 582), std::string(582, 'Q'));
    EXPECT_EQ(dat.substr(582 + 268, 64), ("SYSOP #1 Read Email: " + longSubject).substr(0, 64));
    EXPECT_EQ(GetI32(dat, 582 + 478), 6);
    EXPECT_EQ(ReadNative(rb.Mail("ONELINE.BIN")), "12345\r\n");
}

TEST_F(ReadMark, OnlyLocalUnreadReceivedMailLeavesANotice) {
    std::int16_t remote = rb.Add("From afar", "x", 2);
    ShownMessage s = rb.Show(remote);
    EXPECT_TRUE(s.markedRead);
    EXPECT_FALSE(s.noticeSent);
    EXPECT_EQ(GetI32(ReadNative(rb.Mail("EMAIL.DAT")), 374), 1);
    EXPECT_FALSE(std::filesystem::exists(rb.Mail("ONELINE.DAT")));
    EXPECT_FALSE(std::filesystem::exists(rb.Mail("ONELINE.BIN")));

    // A sender's copy is stored read: opening it changes nothing.
    MessageInfo copy = demo::MakeMessage(1, 2, "SYSOP", "ALICE", "Sent", 1150000000);
    copy.Offline = 1;
    demo::AppendMessage(rb.b, "SNTEMAIL", copy, "body").value();
    const std::string sent = ReadNative(rb.Mail("SNTEMAIL.DAT"));
    EXPECT_FALSE(rb.Show(1, Mailbox::Sent).markedRead);
    EXPECT_EQ(ReadNative(rb.Mail("SNTEMAIL.DAT")), sent);
    EXPECT_FALSE(std::filesystem::exists(rb.Mail("ONELINE.DAT")));
}

TEST_F(ReadMark, RecordsOutsideTheIndexAreShownEmptyAndNeverWritten) {
    rb.Add("Only", "x");
    // A torn second record: 100 bytes after the first.
    WriteNative(rb.Mail("EMAIL.DAT"), ReadNative(rb.Mail("EMAIL.DAT")) + std::string(100, '\0'));
    const std::string index = ReadNative(rb.Mail("EMAIL.DAT"));
    for (std::int16_t n : {std::int16_t(2), std::int16_t(5), std::int16_t(0), std::int16_t(-3)}) {
        ShownMessage s = rb.Show(n);
        EXPECT_FALSE(s.ok) << n;
        EXPECT_FALSE(s.markedRead) << n;
    }
    EXPECT_EQ(ReadNative(rb.Mail("EMAIL.DAT")), index);
    EXPECT_FALSE(std::filesystem::exists(rb.Mail("ONELINE.DAT")));
}

TEST_F(ReadMark, SendOneLinerRefusesWithoutWriting) {
    EXPECT_FALSE(SendOneLiner(rb.b, 1, rb.sysop, 2, "   "));
    EXPECT_FALSE(SendOneLiner(rb.b, 1, rb.sysop, 0, "text"));
    EXPECT_FALSE(std::filesystem::exists(rb.Mail("ONELINE.DAT")));
    EXPECT_FALSE(std::filesystem::exists(rb.Mail("ONELINE.BIN")));

    // A notice file that cannot be written is logged; the read mark is still stored.
    std::filesystem::create_directory(rb.Mail("ONELINE.DAT"));
    std::int16_t n = rb.Add("Blocked", "x");
    ShownMessage s = rb.Show(n);
    EXPECT_FALSE(s.noticeSent);
    EXPECT_TRUE(s.markedRead);
    EXPECT_NE(ReadNative(rb.b.log.path).find("SendOneLiner"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(rb.Mail("ONELINE.BIN")));
}

TEST_F(ReadMark, LabelsAndTextAsTheReaderShowsThem) {
    MessageInfo m = demo::MakeMessage(2, 1, "ALICE", "SYSOP", "Report", 1150000000);
    m.FromNetNode = Pad("12/7", 80);
    m.ToNetNode = Pad("", 80);
    m.FromNetId = 2;
    m.AttFileName = Pad("REPORT.ZIP", 12);
    m.AttFileSize = 1234;
    std::int16_t n = static_cast<std::int16_t>(demo::AppendMessage(rb.b, "EMAIL", m,
                                                                   "Line one\r\nLine \x03"
                                                                   "2two  \r\n\r\n  \r\n")
                                                   .value());
    ShownMessage s = rb.Show(n);
    EXPECT_EQ(s.fromLine, "ALICE @12/7 (Relay Net)");
    EXPECT_EQ(s.toLine, "SYSOP @1/1 (Home)"); // blank local node shows the board's id
    EXPECT_EQ(s.subject, "Report");
    EXPECT_EQ(s.date, Trim(m.Creation));
    EXPECT_EQ(s.text, "Line one\r\nLine two\r\n\r\n---\r\nAttached File: REPORT.ZIP (1234 bytes)");
    // Only the shown copy got the node: the index keeps its blanks.
    EXPECT_EQ(ReadNative(rb.Mail("EMAIL.DAT")).substr(168, 80), std::string(80, ' '));

    MessageInfo odd = demo::MakeMessage(2, 1, "ALICE", "SYSOP", "Odd", 1150000000);
    odd.ToNetId = 9;
    odd.AttFileName = std::string(12, '\xFF');
    n = static_cast<std::int16_t>(demo::AppendMessage(rb.b, "EMAIL", odd, "ends in colour\x03").value());
    s = rb.Show(n);
    EXPECT_EQ(s.toLine, "SYSOP @0 (Unknown)");
    EXPECT_EQ(s.text,
              "ends in colour\r\n\r\n---\r\nAttached File: " + std::string(12, '\xFF') + " (0 bytes)");
}

TEST_F(ReadMark, DamagedTextPositionsShowWhatCanBeShown) {
    std::int16_t n = rb.Add("Damaged", "0123456789");
    std::string index = ReadNative(rb.Mail("EMAIL.DAT"));
    struct Case {
        std::int32_t pos, len;
        std::string shown;
    };
    // The reader still shows and marks the message; the bounds themselves are the mail base's tests.
    for (const Case& c : {Case{8, 100, "789"}, Case{1, 0x7FFFFFFF, "0123456789"}, Case{-20, 5, ""}}) {
        std::string rec = index.substr(0, 582);
        rec.replace(478, 8, Le32(c.pos) + Le32(c.len));
        rec.replace(374, 4, Le32(0));
        WriteNative(rb.Mail("EMAIL.DAT"), rec);
        WriteNative(rb.Mail("ONELINE.DAT"), "");
        ShownMessage s = rb.Show(n);
        EXPECT_EQ(s.text, c.shown) << c.pos << "," << c.len;
        std::string after = ReadNative(rb.Mail("EMAIL.DAT"));
        rec.replace(374, 4, Le32(1));
        EXPECT_EQ(after, rec) << c.pos << "," << c.len;
    }
    std::string line(100000, 'w');
    n = rb.Add("Long", line);
    EXPECT_EQ(rb.Show(n).text, line);
}

} // namespace
} // namespace kesto::test
