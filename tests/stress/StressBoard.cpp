// Many writers on one board at once: senders (two per sender user, to a local user and
// to another board), a reader marking mail read, two delete-mark togglers, and the board
// appending its own mail without a lock. Then every record must lead to its own text,
// serials be unique and every counter have counted every message. With --seconds, rounds
// on fresh boards follow until the time is up (16-bit message numbers limit one board).
//
//   stress_board [--senders N] [--messages M] [--seconds S] [--dir DIR]
#include "DeleteMessage.h"
#include "Delivery.h"
#include "DemoBoard.h"
#include "MailCheck.h"
#include "MailList.h"
#include "ReadMark.h"
#include "TestBoard.h"
#include "TextHelpers.h"
#include "platform/File.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace kesto;
using Clock = std::chrono::steady_clock;

constexpr std::int32_t kRecipient = 3;
constexpr std::int32_t kBoardUser = 4;
constexpr std::int32_t kFirstSerial = 100;

struct Options {
    int senders = 4;
    int messages = 50;  // per sender and round
    double seconds = 0; // when set, rounds follow each other for this long
    std::string dir;
};

struct Totals {
    long rounds = 0, sent = 0, local = 0, spooled = 0, fromBoard = 0, notices = 0, toggles = 0;
};

struct Stress {
    Options opt;
    Board b;
    std::string dir;

    std::string File(const std::string& rel) const { return dir + "/" + rel; }
    bool IsTold(const char* what) const { return ::access(File(what).c_str(), F_OK) == 0; }
    void Tell(const char* what) const { (void)platform::WriteAt(File(what), 0, what); }
    void Note(const std::string& name, long value) const {
        (void)platform::WriteAt(File(name), 0, std::to_string(value));
    }
    long GetNoted(const std::string& name) const { return std::atol(test::ReadNative(File(name)).c_str()); }

    pid_t Run(const std::function<int()>& body) const {
        std::fflush(nullptr);
        const pid_t pid = ::fork();
        if (pid == 0) ::_exit(body());
        return pid;
    }

    int SendMessages(int k) const {
        const std::int32_t from = 1 + k % 2;
        long sent = 0;
        for (int i = 0; i < opt.messages; ++i) {
            const std::string subject = "s" + std::to_string(k) + "-" + std::to_string(i);
            // Every fifth message leaves through the spool.
            const char* to = i % 5 == 4 ? "zed@77/1*2" : "3@0*0";
            if (!SendEmail(b, from, to, subject, "Body of " + subject, "", true).success) return 1;
            Note("sent-" + std::to_string(k), ++sent);
        }
        return 0;
    }

    int AppendBoardMail() const {
        long appended = 0;
        while (!IsTold("stop")) {
            MessageInfo m = demo::MakeMessage(kBoardUser, kRecipient, "Board", "Carol",
                                              "b-" + std::to_string(appended), 1150000000);
            m.FromNetId = 2; // from another network: no read notice
            if (!demo::AppendMessage(b, "EMAIL", m, test::BodyFor(m.Subject))) return 1;
            Note("board", ++appended);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return 0;
    }

    // Reads every unread message of the recipient, over and over; a last time once
    // everybody else has stopped.
    int ReadMail() const {
        const UserRecord carol = demo::MakeUser("Carol", "Carol", 100);
        std::string buffer;
        for (bool last = false; !last;) {
            last = IsTold("read-last");
            const auto rows = ReadMailboxRows(b, Mailbox::Received, kRecipient, buffer);
            if (!rows) return 1;
            for (const MailRow& row : *rows)
                if (row.state == RowState::Unread || row.state == RowState::UnreadWithAttachment)
                    ShowMessage(b, Mailbox::Received, row.number, kRecipient, carol);
        }
        return 0;
    }

    // Marks and unmarks each message in turn: a toggle lost to the other toggler would
    // leave a mark behind.
    int ToggleMarks(int k) const {
        std::string buffer;
        long toggles = 0;
        while (!IsTold("stop")) {
            const auto rows = ReadMailboxRows(b, Mailbox::Received, kRecipient, buffer);
            if (!rows) return 1;
            for (const MailRow& row : *rows) {
                for (int twice = 0; twice < 2; ++twice)
                    if (!DeleteMessage(b, Mailbox::Received, row.number)) return 1;
                toggles += 2;
            }
        }
        Note("toggles-" + std::to_string(k), toggles);
        return 0;
    }
};

int g_failures = 0;

void Expect(bool ok, const std::string& what) {
    if (ok) return;
    ++g_failures;
    std::printf("FAILED: %s\n", what.c_str());
}

std::string Num(long n) {
    return std::to_string(n);
}

void Check(const Stress& s, Totals& totals) {
    const auto received = test::FiledMessages(s.b, "EMAIL");
    const auto sentCopies = test::FiledMessages(s.b, "SNTEMAIL");
    const auto notices = test::FiledMessages(s.b, "ONELINE");
    bool spoolWhole = true;
    const auto spool = test::SpoolEntries(s.b, spoolWhole);
    Expect(spoolWhole, "SPOOL.NET ends inside an entry");

    long sentBy[3] = {0, 0, 0};
    long sent = 0;
    for (int k = 0; k < s.opt.senders; ++k) {
        const long n = s.GetNoted("sent-" + Num(k));
        sent += n;
        sentBy[1 + k % 2] += n;
    }

    // Every record leads to its own text.
    long local = 0, fromBoard = 0;
    std::multiset<std::int32_t> serials, sentSerials;
    for (const auto& m : received) {
        Expect(m.textMatches, "EMAIL record '" + Trim(m.info.Subject) + "' does not lead to its own text");
        Expect(m.info.Deleted == 0, "a delete mark was lost on '" + Trim(m.info.Subject) + "'");
        Expect(m.info.Offline == 1, "'" + Trim(m.info.Subject) + "' was never marked read");
        if (m.info.FromUserNo == kBoardUser) {
            ++fromBoard;
        } else {
            ++local;
            serials.insert(m.info.SysMsgNo);
        }
    }
    for (const auto& m : spool) {
        Expect(m.textMatches, "spool entry '" + Trim(m.info.Subject) + "' does not carry its own text");
        serials.insert(m.info.SysMsgNo);
    }
    for (const auto& m : sentCopies) {
        Expect(m.textMatches, "SNTEMAIL record '" + Trim(m.info.Subject) + "' does not lead to its own text");
        sentSerials.insert(m.info.SysMsgNo);
    }
    Expect(local + static_cast<long>(spool.size()) == sent,
           Num(sent) + " sent, " + Num(local) + " filed locally and " + Num(static_cast<long>(spool.size())) +
               " spooled");
    Expect(fromBoard == s.GetNoted("board"),
           "the board's messages: " + Num(fromBoard) + " of " + Num(s.GetNoted("board")));
    Expect(sentSerials == serials, "the sent copies do not carry the serials of the messages");

    // One notice for each local message read, each with a serial of its own.
    Expect(static_cast<long>(notices.size()) == local,
           Num(static_cast<long>(notices.size())) + " read notices for " + Num(local) + " local messages");
    std::set<std::int32_t> noticePositions;
    for (const auto& m : notices) {
        serials.insert(m.info.SysMsgNo);
        noticePositions.insert(m.info.MsgPos);
    }
    Expect(test::ReadNative(s.File("MAIL/ONELINE.BIN")).size() == 2 * notices.size() &&
               noticePositions.size() == notices.size(),
           "the read notices do not each have their own text");
    Expect(std::set<std::int32_t>(serials.begin(), serials.end()).size() == serials.size() &&
               !serials.count(0),
           "a serial number was given twice (or not at all)");

    // The counters counted every message.
    const std::string stats = test::ReadNative(s.File("DATA/STATHBRD.DAT"));
    const std::string users = test::ReadNative(s.File("DATA/USERFILE.DAT"));
    Expect(GetI32(test::ReadNative(s.File("DATA/DBSEQ.DAT")), 0) == kFirstSerial + sent + local, "DBSEQ.DAT");
    Expect(GetI32(stats, 68) == sent && GetI32(stats, 72) == sent, "STATHBRD.DAT counters");
    for (int user = 1; user <= 2; ++user)
        Expect(GetI32(users, static_cast<std::size_t>(user - 1) * kUserRecordSize + 842) == sentBy[user],
               "MailCount of user " + Num(user));

    // One whole notice line at the recipient's node for each local message.
    std::multiset<std::string> lines, expected;
    const std::string queue = test::ReadNative(s.File("NODE/IN1.QUE"));
    for (std::size_t at = 0, end; at < queue.size(); at = end + 2) {
        end = queue.find("\r\n", at);
        if (end == std::string::npos) end = queue.size();
        lines.insert(queue.substr(at, end - at));
    }
    for (const auto& m : received)
        if (m.info.FromUserNo != kBoardUser)
            expected.insert("\x03"
                            "6*** \x03"
                            "1" +
                            Trim(m.info.FromHandle) + " just sent you some email!");
    Expect(lines == expected, "IN1.QUE does not hold one whole notice line per local message");
    const std::string log = test::ReadNative(s.File("HMRERROR.LOG"));
    Expect(log.empty(), "HMRERROR.LOG: " + log);

    ++totals.rounds;
    totals.sent += sent;
    totals.local += local;
    totals.spooled += static_cast<long>(spool.size());
    totals.fromBoard += fromBoard;
    totals.notices += static_cast<long>(notices.size());
    totals.toggles += s.GetNoted("toggles-0") + s.GetNoted("toggles-1");
}

// One round on a fresh board in `dir`.
void Round(const Options& opt, const std::string& dir, Totals& totals) {
    Stress s;
    s.opt = opt;
    s.dir = dir;
    s.b = demo::CreateBoard(s.dir).value();
    for (const char* name : {"SysOp", "Bob", "Carol", "Board"})
        demo::AppendUser(s.b, demo::MakeUser(name, name, 100)).value();
    demo::SetNodeUser(s.b, 1, kRecipient).value();
    test::WriteNative(s.File("DATA/DBSEQ.DAT"), std::string("\x64\0\0\0", 4));
    test::WriteNative(s.File("DATA/STATHBRD.DAT"), std::string(kStatHbrdSize, '\0'));

    std::vector<pid_t> senders, others;
    for (int k = 0; k < s.opt.senders; ++k) senders.push_back(s.Run([&s, k] { return s.SendMessages(k); }));
    others.push_back(s.Run([&s] { return s.AppendBoardMail(); }));
    const pid_t reader = s.Run([&s] { return s.ReadMail(); });
    for (int k = 0; k < 2; ++k) others.push_back(s.Run([&s, k] { return s.ToggleMarks(k); }));

    auto wait = [](pid_t pid, const char* who) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        Expect(WIFEXITED(status) && WEXITSTATUS(status) == 0, std::string(who) + " did not end well");
    };
    for (pid_t pid : senders) wait(pid, "a sender");
    s.Tell("stop");
    for (pid_t pid : others) wait(pid, "the board or a toggler");
    s.Tell("read-last");
    wait(reader, "the reader");
    Check(s, totals);
}

bool Parse(int argc, char** argv, Options& opt) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const char* value = argv[i + 1];
        if (name == "--senders")
            opt.senders = std::atoi(value);
        else if (name == "--messages")
            opt.messages = std::atoi(value);
        else if (name == "--seconds")
            opt.seconds = std::atof(value);
        else if (name == "--dir")
            opt.dir = value;
        else
            return false;
    }
    return argc % 2 == 1 && opt.senders >= 1 && opt.messages >= 1;
}

} // namespace

// A test program: an exception here ends it and fails the test, which is what it should do.
int main(int argc, char** argv) { // NOLINT(bugprone-exception-escape)
    Options opt;
    if (!Parse(argc, argv, opt)) {
        std::fprintf(stderr, "usage: stress_board [--senders N] [--messages M] [--seconds S] [--dir DIR]\n");
        return 2;
    }
    std::optional<test::TempDir> temp;
    if (opt.dir.empty()) temp.emplace();
    const std::string base = opt.dir.empty() ? temp->Path() : opt.dir;

    const auto start = Clock::now();
    const auto deadline =
        start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(opt.seconds));
    Totals totals;
    do {
        const std::string dir = base + "/round-" + std::to_string(totals.rounds + 1);
        Round(opt, dir, totals);
        // A failed round's board is kept for a look; a good one makes room for the next.
        if (g_failures == 0) std::filesystem::remove_all(dir);
    } while (g_failures == 0 && Clock::now() < deadline);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();

    std::printf("stress: %ld round(s) in %.1f s: %ld messages from %d senders (%ld local, %ld spooled), "
                "%ld from the board, %ld read notices, %ld delete marks toggled; %s\n",
                totals.rounds, seconds, totals.sent, opt.senders, totals.local, totals.spooled,
                totals.fromBoard, totals.notices, totals.toggles,
                g_failures == 0 ? "all checks passed" : "FAILED");
    return g_failures == 0 ? 0 : 1;
}
