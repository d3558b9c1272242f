// Board files written by several processes at once: where texts and records land,
// what a lock that cannot be had leaves, failures half-way, and readers meanwhile.
#include "AddressBook.h"
#include "DeleteMessage.h"
#include "Delivery.h"
#include "DemoBoard.h"
#include "HalkTestBoard.h"
#include "MailCheck.h"
#include "MailList.h"
#include "ReadMark.h"
#include "TextHelpers.h"
#include "platform/File.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <functional>
#include <set>
#include <thread>

#include <sys/wait.h>

namespace {

using kesto::test::BodyFor;
using kesto::test::Le32;
using kesto::test::ReadNative;
using kesto::test::WriteNative;

// Users SysOp (1), Bob (2) and Carol (3); DBSEQ.DAT at 41, STATHBRD.DAT counting 10 and 20.
struct SharedBoard {
    kesto::test::TempDir dir;
    kesto::Board b = kesto::demo::CreateBoard(dir.Path()).value();

    SharedBoard() {
        for (const char* name : {"SysOp", "Bob", "Carol"})
            kesto::demo::AppendUser(b, kesto::demo::MakeUser(name, name, 100)).value();
        std::string stats(88, 's');
        kesto::PutI32(stats, 68, 10);
        kesto::PutI32(stats, 72, 20);
        WriteNative(File("DATA/STATHBRD.DAT"), stats);
        WriteNative(File("DATA/DBSEQ.DAT"), Le32(41));
    }
    std::string File(const std::string& rel) const { return dir.File(rel); }
    std::string Read(const std::string& rel) const { return ReadNative(File(rel)); }
    bool Send(std::string_view subject, std::int32_t from = 1, std::string_view to = "3@0*0") const {
        return kesto::SendEmail(b, from, to, subject, "Body of " + std::string(subject), "", true).success;
    }
    // Runs `child` in a process of its own; returns its pid.
    static pid_t Fork(const std::function<void()>& child) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            child();
            ::_exit(0);
        }
        return pid;
    }
};

int ExitOf(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return status;
}

class ShortPatience : public ::testing::Test {
  protected:
    ShortPatience() { kesto::platform::SetLockPatience(std::chrono::milliseconds(100)); }
    ~ShortPatience() override { kesto::platform::SetLockPatience(saved_); }

  private:
    std::chrono::milliseconds saved_ = kesto::platform::LockPatience();
};

TEST(SharedFiles, ATextThatLandedElsewhereIsWhatItsRecordNames) {
    SharedBoard f;
    const std::string dat = f.File("MAIL/EMAIL.DAT");
    const std::string bin = f.File("MAIL/EMAIL.BIN");
    WriteNative(bin, "0123456789");
    kesto::MessageInfo m = kesto::demo::MakeMessage(1, 3, "SysOp", "Carol", "Hi", 0);
    m.MsgPos = 11;
    m.MsgLength = 5;
    ASSERT_TRUE(kesto::FileRecordAndText(dat, bin, m, "first"));
    EXPECT_EQ(f.Read("MAIL/EMAIL.DAT"), kesto::EncodeMessageInfo(m)); // as expected: written once

    // Someone appended 4 bytes after the position was taken: only MsgPos is set right.
    m.MsgPos = 16;
    WriteNative(bin, ReadNative(bin) + "XXXX");
    ASSERT_TRUE(kesto::FileRecordAndText(dat, bin, m, "later"));
    kesto::MessageInfo expected = m;
    expected.MsgPos = 20;
    EXPECT_EQ(f.Read("MAIL/EMAIL.DAT").substr(582), kesto::EncodeMessageInfo(expected));
    EXPECT_EQ(ReadNative(bin), "0123456789firstXXXXlater");
}

TEST_F(ShortPatience, AStepWhoseLockIsHeldGivesUpAndWritesNothingOfItself) {
    struct Case {
        std::string file;            // relative to the board
        std::int64_t offset, length; // the range held by "another copy"
        std::function<bool(SharedBoard&)> step;
        const char* logged; // the step's own log line
        std::vector<const char*> unchanged;
    };
    const auto received = [](SharedBoard& f) { return f.Send("held", 2, "1@0*0"); };
    const auto readMark = [](SharedBoard& f) {
        return kesto::ShowMessage(f.b, kesto::Mailbox::Received, 1, 1, {}).markedRead;
    };
    const auto deleteMark = [](SharedBoard& f) {
        return kesto::DeleteMessage(f.b, kesto::Mailbox::Received, 1).has_value();
    };
    const auto save = [](SharedBoard& f) {
        kesto::AddressBook book = kesto::LoadAddressBook(f.b, 1);
        book.lines.push_back("New,new@1/1,1");
        return kesto::SaveAddressBook(f.b, 1, book).has_value();
    };
    const auto add = [](SharedBoard& f) {
        return kesto::AddToAddressBook(f.b, 1, "Add,add@1/1,1").has_value();
    };
    const std::vector<Case> cases = {
        {"DATA/USERFILE.DAT",
         1048,
         1048,
         received,
         "modHALK PutUser - File is locked",
         {"DATA/USERFILE.DAT", "DATA/STATHBRD.DAT", "DATA/DBSEQ.DAT", "MAIL/EMAIL.DAT"}},
        {"DATA/STATHBRD.DAT",
         0,
         88,
         received,
         "modHALK PutStatHbrdDat - File is locked",
         {"DATA/STATHBRD.DAT", "DATA/DBSEQ.DAT", "MAIL/EMAIL.DAT"}},
        {"DATA/DBSEQ.DAT",
         0,
         4,
         received,
         "modHALK GetSeqNum - File is locked",
         {"DATA/DBSEQ.DAT", "MAIL/EMAIL.DAT", "MAIL/SNTEMAIL.DAT"}},
        {"MAIL/EMAIL.DAT",
         0,
         582,
         readMark,
         "modHALK PutMessageInfo - File is locked",
         {"MAIL/EMAIL.DAT", "DATA/DBSEQ.DAT"}},
        {"MAIL/EMAIL.DAT", 0, 582, deleteMark, "modKesto DeleteMessage - File is locked", {"MAIL/EMAIL.DAT"}},
        {"DATA/AB1.DAT", 0, 0, save, "modKesto SaveAddressBook - File is locked", {"DATA/AB1.DAT"}},
        {"DATA/AB1.DAT", 0, 0, add, "modKesto AddToAddressBook - File is locked", {"DATA/AB1.DAT"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.logged);
        SharedBoard f;
        ASSERT_TRUE(f.Send("unread", 2, "1@0*0"));
        WriteNative(f.File("DATA/AB1.DAT"), "Old,old@1/1,1\r\n");
        std::vector<std::string> before;
        for (const char* rel : c.unchanged) before.push_back(f.Read(rel));

        auto held = kesto::platform::LockedFile::Open(f.File(c.file), c.offset, c.length, false);
        ASSERT_TRUE(held);
        EXPECT_FALSE(c.step(f));
        for (std::size_t i = 0; i < before.size(); ++i)
            EXPECT_EQ(f.Read(c.unchanged[i]), before[i]) << c.unchanged[i];
        EXPECT_NE(f.Read("HMRERROR.LOG").find(c.logged), std::string::npos) << f.Read("HMRERROR.LOG");
        // The board is never held up: a plain write goes through the lock.
        EXPECT_TRUE(kesto::platform::PatchAt(f.File(c.file), c.offset, "")) << c.file;
        held->Close().value();
        EXPECT_TRUE(c.step(f));
    }
}

TEST(SharedFiles, AnAppendCutShortLeavesWholeUnitsForTheNextSend) {
    SharedBoard f;
    // The text is cut after 5 of its bytes: its record stays, with no text rather than
    // the start of the next message's.
    WriteNative(f.File("MAIL/EMAIL.BIN"), std::string(1000, 't'));
    EXPECT_FALSE(kesto::test::WithFileSizeLimit(1005, [&] { return f.Send("cut"); }));
    EXPECT_NE(f.Read("HMRERROR.LOG").find("SendEmail - Disk full"), std::string::npos);
    EXPECT_EQ(f.Read("MAIL/EMAIL.BIN").size(), 1005u);
    EXPECT_FALSE(std::filesystem::exists(f.File("MAIL/SNTEMAIL.DAT")));
    ASSERT_TRUE(f.Send("next"));
    auto filed = kesto::test::FiledMessages(f.b, "EMAIL");
    ASSERT_EQ(filed.size(), 2u);
    EXPECT_EQ(filed[0].info.MsgPos, 1001);
    EXPECT_EQ(filed[0].info.MsgLength, 0);
    EXPECT_TRUE(filed[1].textMatches);

    // The record itself is cut: the next one takes the torn tail's place.
    SharedBoard g;
    ASSERT_TRUE(g.Send("first"));
    EXPECT_FALSE(kesto::test::WithFileSizeLimit(1000, [&] { return g.Send("torn"); }));
    EXPECT_EQ(g.Read("MAIL/EMAIL.DAT").size(), 1000u);
    ASSERT_TRUE(g.Send("third"));
    filed = kesto::test::FiledMessages(g.b, "EMAIL");
    ASSERT_EQ(filed.size(), 2u);
    EXPECT_EQ(g.Read("MAIL/EMAIL.DAT").size(), 2 * 582u);
    EXPECT_TRUE(filed[0].textMatches && filed[1].textMatches);
}

TEST(SharedFiles, ATerminatedSenderLeavesOnlyWholeMessages) {
    for (int delayMs : {2, 7, 15}) {
        SharedBoard f;
        const pid_t sender = SharedBoard::Fork([&] {
            for (int i = 0;; ++i) f.Send("m" + std::to_string(i));
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        ::kill(sender, SIGTERM);
        const int status = ExitOf(sender);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);

        // Every effect of a send, or none: the counters agree with the copies filed.
        const auto received = kesto::test::FiledMessages(f.b, "EMAIL");
        const auto sent = kesto::test::FiledMessages(f.b, "SNTEMAIL");
        const auto n = static_cast<std::int32_t>(received.size());
        SCOPED_TRACE(n);
        EXPECT_EQ(sent.size(), received.size());
        for (const auto& m : received) EXPECT_TRUE(m.textMatches);
        for (const auto& m : sent) EXPECT_TRUE(m.textMatches);
        EXPECT_EQ(kesto::GetI32(f.Read("DATA/DBSEQ.DAT"), 0), 41 + n);
        EXPECT_EQ(kesto::GetI32(f.Read("DATA/STATHBRD.DAT"), 68), 10 + n);
        EXPECT_EQ(kesto::GetI32(f.Read("DATA/USERFILE.DAT"), 842), n);
    }
}

TEST(SharedFiles, ReadersTakeWhatIsWholeWhileTheBoardAppends) {
    SharedBoard f;
    constexpr int kMessages = 150;
    const pid_t board = SharedBoard::Fork([&] {
        // A board that writes a record in two pieces: readers see partial records.
        const std::string dat = f.File("MAIL/EMAIL.DAT");
        for (int i = 0; i < kMessages; ++i) {
            kesto::MessageInfo m = kesto::demo::MakeMessage(2, 1, "Bob", "SysOp", "b" + std::to_string(i), 0);
            const std::string body = BodyFor(m.Subject);
            m.MsgPos =
                static_cast<std::int32_t>(*kesto::platform::AppendAt(f.File("MAIL/EMAIL.BIN"), body) + 1);
            m.MsgLength = static_cast<std::int32_t>(body.size());
            const std::string rec = kesto::EncodeMessageInfo(m);
            (void)kesto::platform::Append(dat, rec.substr(0, 300));
            std::this_thread::sleep_for(std::chrono::microseconds(200));
            (void)kesto::platform::Append(dat, rec.substr(300));
        }
    });
    std::string buffer;
    std::size_t seen = 0;
    int status = 0;
    for (bool appending = true; appending;) {
        appending = ::waitpid(board, &status, WNOHANG) == 0;
        const auto rows = kesto::ReadMailboxRows(f.b, kesto::Mailbox::Received, 1, buffer);
        ASSERT_TRUE(rows);
        ASSERT_GE(rows->size(), seen);
        seen = rows->size();
        if (seen == 0) continue;
        // The newest whole record and its text read as the board wrote them.
        const auto last = static_cast<kesto::RecordNo>(seen);
        const kesto::MessageInfo m = kesto::GetMessageInfo(f.b, "EMAIL", last).value();
        EXPECT_EQ(kesto::Trim(m.Subject), "b" + std::to_string(seen - 1));
        EXPECT_EQ(kesto::GetMessage(f.b, "EMAIL", m.MsgPos, m.MsgLength, false, true).value(),
                  BodyFor(m.Subject));
    }
    EXPECT_EQ(status, 0);
    EXPECT_EQ(seen, static_cast<std::size_t>(kMessages));
    EXPECT_EQ(f.Read("HMRERROR.LOG"), "");
}

TEST(SharedFiles, AnAddRacingASaveIsKept) {
    SharedBoard f;
    constexpr int kAdds = 40;
    const pid_t adder = SharedBoard::Fork([&] {
        for (int i = 0; i < kAdds; ++i)
            (void)kesto::AddToAddressBook(f.b, 1, "A" + std::to_string(i) + ",a@1/1,1");
    });
    // The window's book, saved again and again while the adds come in.
    kesto::AddressBook book = kesto::LoadAddressBook(f.b, 1);
    book.lines.push_back("Window,w@1/1,1");
    for (int i = 0; i < kAdds; ++i) ASSERT_TRUE(kesto::SaveAddressBook(f.b, 1, book));
    ASSERT_EQ(ExitOf(adder), 0);
    ASSERT_TRUE(kesto::SaveAddressBook(f.b, 1, book));

    const kesto::AddressBook after = kesto::LoadAddressBook(f.b, 1);
    std::multiset<std::string> lines(after.lines.begin(), after.lines.end());
    EXPECT_EQ(lines.count("Window,w@1/1,1"), 1u);
    for (int i = 0; i < kAdds; ++i) EXPECT_EQ(lines.count("A" + std::to_string(i) + ",a@1/1,1"), 1u) << i;
    EXPECT_EQ(lines.size(), kAdds + 1u);
}

} // namespace
