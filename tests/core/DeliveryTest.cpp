#include "Delivery.h"

#include "Bytes.h"
#include "DemoBoard.h"
#include "HalkTestBoard.h"

#include <gtest/gtest.h>

#include <ctime>
#include <algorithm>
#include <filesystem>
#include <regex>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using kesto::test::Pad;
using kesto::test::ReadNative;
using kesto::test::WriteNative;
const auto kI32 = kesto::test::Le32;

const std::string kNotice = "\x03"
                            "6*** \x03"
                            "1";

// A board with a SysOp (1), Bob (2), Carol (3) and an empty slot (4); Bob is on line at nodes 0 and 2.
struct DeliveryBoard {
    kesto::test::TempDir dir;
    kesto::Board b = kesto::demo::CreateBoard(dir.Path()).value();

    DeliveryBoard() {
        auto sysop = kesto::demo::MakeUser("SysOp", "Sam Sysop", 255);
        sysop.MailCount = 7;
        kesto::demo::AppendUser(b, sysop).value();
        kesto::demo::AppendUser(b, kesto::demo::MakeUser("Bob", "Robert Smith", 20)).value();
        kesto::demo::AppendUser(b, kesto::demo::MakeUser("Carol", "Carol Jones", 30)).value();
        kesto::demo::AppendUser(b, kesto::demo::MakeUser("", "", 0)).value();
        std::string stats(88, 'x');
        kesto::PutI32(stats, 68, 10);
        kesto::PutI32(stats, 72, 20);
        WriteNative(File("DATA/STATHBRD.DAT"), stats);
        WriteNative(File("DATA/DBSEQ.DAT"), kI32(41));
        kesto::demo::SetNodeUser(b, 0, 2).value();
        kesto::demo::SetNodeUser(b, 1, 3).value();
        kesto::demo::SetNodeUser(b, 2, 2).value();
    }
    std::string File(const std::string& rel) const { return dir.File(rel); }
    std::string Read(const std::string& rel) const { return ReadNative(File(rel)); }
    std::string Log() const { return Read("HMRERROR.LOG"); }
    kesto::SendResult Send(std::string_view to, std::string_view text = "Hello there",
                           std::string_view attach = "", bool sent = true,
                           std::string_view subject = "Lunch") {
        return kesto::SendEmail(b, 1, to, subject, text, attach, sent);
    }
};

// The 582 bytes of a freshly created message with everything but time stamp and creation known.
std::string ExpectedRecord(std::int32_t from, std::int32_t to, std::string_view fromHandle,
                           std::string_view toHandle, std::string_view toNode, std::int16_t toNet,
                           std::int32_t serial, std::string_view subject, std::int32_t offline,
                           std::string_view filename, std::int32_t pos, std::int32_t len,
                           const std::string& actual) {
    std::string r(582, '\0');
    kesto::PutI32(r, 0, from);
    kesto::PutI32(r, 4, to);
    kesto::PutText(r, 8, 40, fromHandle);
    kesto::PutText(r, 48, 40, toHandle);
    kesto::PutText(r, 88, 80, "1/1");
    kesto::PutText(r, 168, 80, toNode);
    kesto::PutI16(r, 248, 1);
    kesto::PutI16(r, 250, toNet);
    r.replace(252, 4, actual.substr(252, 4)); // time stamp: checked separately
    kesto::PutI32(r, 256, serial);
    kesto::PutText(r, 268, 64, subject);
    r.replace(334, 40, actual.substr(334, 40)); // creation: checked separately
    kesto::PutI32(r, 374, offline);
    kesto::PutText(r, 382, 12, "");
    kesto::PutText(r, 394, 64, "");
    kesto::PutText(r, 470, 8, filename);
    kesto::PutI32(r, 478, pos);
    kesto::PutI32(r, 482, len);
    kesto::PutText(r, 494, 24, "");
    kesto::PutText(r, 518, 64, "");
    return r;
}

void ExpectFreshStamp(const std::string& rec, std::int32_t before) {
    std::int32_t stamp = kesto::GetI32(rec, 252);
    EXPECT_GE(stamp, before);
    EXPECT_LE(stamp, before + 5);
    std::regex creation(R"([A-Z][a-z]{2} [A-Z][a-z]{2} \d\d, \d{4} \d\d:\d\d:\d\d [+-]\d{4} *)");
    EXPECT_TRUE(std::regex_match(rec.substr(334, 40), creation)) << rec.substr(334, 40);
}

std::int32_t LocalStampNow() {
    std::time_t now = std::time(nullptr);
    std::tm t{};
    localtime_r(&now, &t);
    return static_cast<std::int32_t>(timegm(&t));
}

TEST(SendEmail, LocalMailFilesReceivedCopySentCopyCountersAndNotices) {
    DeliveryBoard f;
    std::string userFileBefore = f.Read("DATA/USERFILE.DAT");
    std::int32_t before = LocalStampNow();

    auto r = f.Send("bob@0*0");
    ASSERT_TRUE(r.success);
    EXPECT_TRUE(r.message.empty());

    std::string received = f.Read("MAIL/EMAIL.DAT");
    ASSERT_EQ(received.size(), 582u);
    EXPECT_EQ(received,
              ExpectedRecord(1, 2, "SysOp", "Bob", "0", 1, 42, "Lunch", 0, "EMAIL", 1, 13, received));
    ExpectFreshStamp(received, before);
    EXPECT_EQ(f.Read("MAIL/EMAIL.BIN"), "Hello there\r\n");

    std::string sent = f.Read("MAIL/SNTEMAIL.DAT");
    ASSERT_EQ(sent.size(), 582u);
    EXPECT_EQ(sent,
              ExpectedRecord(1, 2, "SysOp", "Bob", "0", 1, 42, "Lunch", 1, "SNTEMAIL", 1, 13, received));
    EXPECT_EQ(f.Read("MAIL/SNTEMAIL.BIN"), "Hello there\r\n");

    // Only the two counters and the sender's MailCount change, nothing around them.
    std::string stats(88, 'x');
    kesto::PutI32(stats, 68, 11);
    kesto::PutI32(stats, 72, 21);
    EXPECT_EQ(f.Read("DATA/STATHBRD.DAT"), stats);
    std::string users = userFileBefore;
    kesto::PutI32(users, 842, 8);
    EXPECT_EQ(f.Read("DATA/USERFILE.DAT"), users);
    EXPECT_EQ(f.Read("DATA/DBSEQ.DAT"), kI32(42));

    // Bob is on line at nodes 0 and 2: one notice in each of their queues, none at node 1.
    std::string notice = kNotice + "SysOp just sent you some email!\r\n";
    EXPECT_EQ(f.Read("NODE/IN0.QUE"), notice);
    EXPECT_EQ(f.Read("NODE/IN2.QUE"), notice);
    EXPECT_FALSE(std::filesystem::exists(f.File("NODE/IN1.QUE")));
    EXPECT_EQ(f.Log(), "");
}

TEST(SendEmail, TextsChainTheirPositionsAndCarryTheTag) {
    DeliveryBoard f;
    ASSERT_TRUE(f.Send("2@0*0", "first").success);
    WriteNative(f.File("TEXT/EMAIL.TAG"), "-- Demo Board\r\n\r\n");
    ASSERT_TRUE(f.Send("2@0*0", "").success);
    ASSERT_TRUE(f.Send("2@0*0", "third   ", "", false, std::string(70, 's')).success);

    std::string tail = "\r\n\r\n-- Demo Board";
    EXPECT_EQ(f.Read("MAIL/EMAIL.BIN"), "first\r\n" + ("\r\n" + tail) + ("third\r\n" + tail));
    std::string dat = f.Read("MAIL/EMAIL.DAT");
    ASSERT_EQ(dat.size(), 3 * 582u);
    EXPECT_EQ(kesto::GetI32(dat, 478), 1);
    EXPECT_EQ(kesto::GetI32(dat, 482), 7);
    EXPECT_EQ(kesto::GetI32(dat, 582 + 478), 8);
    EXPECT_EQ(kesto::GetI32(dat, 582 + 482), static_cast<std::int32_t>(2 + tail.size()));
    EXPECT_EQ(kesto::GetI32(dat, 1164 + 478), static_cast<std::int32_t>(8 + 2 + tail.size()));
    EXPECT_EQ(dat.substr(1164 + 268, 64), std::string(64, 's'));
    EXPECT_EQ(kesto::GetI32(dat, 256), 42);
    EXPECT_EQ(kesto::GetI32(dat, 582 + 256), 43);
    // The third one kept no sent copy.
    EXPECT_EQ(f.Read("MAIL/SNTEMAIL.DAT").size(), 2 * 582u);
    EXPECT_EQ(kesto::GetI32(f.Read("MAIL/SNTEMAIL.DAT"), 582 + 478), 8);
}

TEST(SendEmail, TagThatCannotBeReadIsLoggedAndLeftOut) {
    DeliveryBoard f;
    ASSERT_TRUE(kesto::test::MakeSocket(f.File("TEXT/EMAIL.TAG")));

    ASSERT_TRUE(f.Send("2@0*0", "body").success);
    EXPECT_EQ(f.Read("MAIL/EMAIL.BIN"), "body\r\n\r\n\r\n");
    EXPECT_NE(f.Log().find(" ReadFileContents - "), std::string::npos) << f.Log();
}

TEST(SendEmail, LongTextsAreWrappedAt79AndColourCodesTakeNoRoom) {
    DeliveryBoard f;
    std::string word(32767, 'w');
    ASSERT_TRUE(f.Send("2@0*0", word).success);
    std::string body = f.Read("MAIL/EMAIL.BIN");
    ASSERT_EQ(body.size(), 32767u + 2 * 415);
    EXPECT_EQ(body.substr(0, 81), std::string(79, 'w') + "\r\n");
    EXPECT_EQ(body.substr(body.size() - 63), std::string(61, 'w') + "\r\n");

    // 79 visible characters plus a colour code fit one line; without the allowance the
    // break would fall inside the word.
    std::string coloured = "\x03"
                           "4" +
                           std::string(77, 'a') + " b";
    ASSERT_TRUE(f.Send("2@0*0", coloured).success);
    EXPECT_EQ(f.Read("MAIL/EMAIL.BIN").substr(body.size()), coloured.substr(0, 80) + "\r\nb\r\n");
}

TEST(SendEmail, FindsTheRecipientByNumberHandleOrRealName) {
    DeliveryBoard f;
    ASSERT_TRUE(f.Send("4@0*0").success); // a number is taken as it stands, even an empty slot
    ASSERT_TRUE(f.Send("  cAROL @0*0").success);
    ASSERT_TRUE(f.Send("robert smith@0*0").success);
    ASSERT_TRUE(f.Send("bob@1/1*1").success); // this board named by its own id
    std::string dat = f.Read("MAIL/EMAIL.DAT");
    ASSERT_EQ(dat.size(), 4 * 582u);
    EXPECT_EQ(kesto::GetI32(dat, 4), 4);
    EXPECT_EQ(dat.substr(48, 40), Pad("", 40));
    EXPECT_EQ(kesto::GetI32(dat, 582 + 4), 3);
    EXPECT_EQ(dat.substr(582 + 48, 40), Pad("Carol", 40));
    EXPECT_EQ(kesto::GetI32(dat, 1164 + 4), 2);
    EXPECT_EQ(kesto::GetI32(dat, 1746 + 4), 2);
    EXPECT_EQ(dat.substr(1746 + 168, 80), Pad("0", 80));
    EXPECT_EQ(kesto::GetI16(dat, 1746 + 250), 1);
}

TEST(SendEmail, UnknownRecipientOrSenderWritesNothing) {
    DeliveryBoard f;
    std::string users = f.Read("DATA/USERFILE.DAT");
    std::string stats = f.Read("DATA/STATHBRD.DAT");
    auto r = f.Send(std::string(255, 'z') + "@0*0");
    EXPECT_FALSE(r.success);
    EXPECT_EQ(r.message, "The user specified is invalid.");
    EXPECT_FALSE(std::filesystem::exists(f.File("MAIL/EMAIL.DAT")));
    EXPECT_FALSE(std::filesystem::exists(f.File("MAIL/SNTEMAIL.DAT")));
    EXPECT_EQ(f.Read("DATA/USERFILE.DAT"), users);
    EXPECT_EQ(f.Read("DATA/STATHBRD.DAT"), stats);
    EXPECT_EQ(f.Read("DATA/DBSEQ.DAT"), kI32(41));

    // A sender outside the user file is refused before its record could be written.
    EXPECT_FALSE(kesto::SendEmail(f.b, 9, "2@0*0", "s", "t", "", true).success);
    EXPECT_EQ(f.Read("DATA/USERFILE.DAT"), users);
    EXPECT_FALSE(std::filesystem::exists(f.File("MAIL/EMAIL.DAT")));

    // A mail counter at its limit is not wrapped into a negative count.
    std::string full = users;
    kesto::PutI32(full, 842, 2147483647);
    WriteNative(f.File("DATA/USERFILE.DAT"), full);
    EXPECT_FALSE(f.Send("2@0*0").success);
    EXPECT_EQ(f.Read("DATA/USERFILE.DAT"), full);
    EXPECT_NE(f.Log().find("SendEmail - Overflow"), std::string::npos);
}

TEST(SendEmail, NetworkMailBecomesASpoolEntryAndALocalSentCopy) {
    DeliveryBoard f;
    kesto::demo::WriteDataFile(f.b, "NETWORKS.LST", "1,1,Home,0\r\n2,4,Relay Net,1\r\n3,4,Plain Net,0\r\n")
        .value();
    ASSERT_TRUE(f.Send("Zed@77/1*2", "one").success);
    ASSERT_TRUE(f.Send("Zed@77/1*3", "two").success);
    ASSERT_TRUE(f.Send("bob@1/1*2", "three").success); // own id on another network still leaves

    std::string spool = f.Read("DATA/SPOOL.NET");
    ASSERT_EQ(spool.size(), 3 * 582u + 5 + 5 + 7);
    std::string first = spool.substr(0, 582);
    // A real-name network gets the sender's real name; the entry carries no text position.
    EXPECT_EQ(first,
              ExpectedRecord(1, 0, "Sam Sysop", "Zed", "77/1", 2, 42, "Lunch", 0, "EMAIL", 0, 5, first));
    EXPECT_EQ(spool.substr(582, 5), "one\r\n");
    std::string second = spool.substr(587, 582);
    EXPECT_EQ(second.substr(8, 40), Pad("SysOp", 40));
    EXPECT_EQ(kesto::GetI16(second, 250), 3);
    EXPECT_EQ(spool.substr(587 + 582, 5), "two\r\n");
    std::string third = spool.substr(std::size_t{2} * 587, 582);
    EXPECT_EQ(third.substr(168, 80), Pad("1/1", 80));
    EXPECT_EQ(third.substr(48, 40), Pad("bob", 40));
    EXPECT_EQ(spool.substr(std::size_t{2} * 587 + 582), "three\r\n");

    EXPECT_FALSE(std::filesystem::exists(f.File("MAIL/EMAIL.DAT")));
    std::string sent = f.Read("MAIL/SNTEMAIL.DAT");
    ASSERT_EQ(sent.size(), 3 * 582u);
    EXPECT_EQ(kesto::GetI32(sent, 478), 1);
    EXPECT_EQ(kesto::GetI32(sent, 582 + 478), 6);
    EXPECT_EQ(kesto::GetI32(sent, 374), 1);
    EXPECT_EQ(f.Read("MAIL/SNTEMAIL.BIN"), "one\r\ntwo\r\nthree\r\n");
    EXPECT_FALSE(std::filesystem::exists(f.File("NODE/IN0.QUE")));
}

TEST(SendEmail, ForwardingIsFollowedOneLevelLocallyOrToAnotherBoard) {
    DeliveryBoard f;
    auto fwdLocal = kesto::demo::MakeUser("Dan", "Dan Local", 10);
    fwdLocal.ForwardMail = 1;
    fwdLocal.ForwardNetNode = Pad("1/1", 80);
    fwdLocal.ForwardNetId = 1;
    fwdLocal.ForwardUserNo = 6;
    kesto::demo::AppendUser(f.b, fwdLocal).value(); // 5
    auto fwdAway = kesto::demo::MakeUser("Eve", "Eve Away", 10);
    fwdAway.ForwardMail = 1;
    fwdAway.ForwardNetNode = Pad("99/9", 80);
    fwdAway.ForwardNetId = 2;
    fwdAway.ForwardHandle = Pad("EveThere", 40);
    kesto::demo::AppendUser(f.b, fwdAway).value(); // 6

    ASSERT_TRUE(f.Send("dan@0*0", "x").success);
    std::string dat = f.Read("MAIL/EMAIL.DAT");
    ASSERT_EQ(dat.size(), 582u);
    // Lands with Eve (user 6), whose own forwarding is not followed.
    EXPECT_EQ(kesto::GetI32(dat, 4), 6);
    EXPECT_EQ(dat.substr(48, 40), Pad("Eve", 40));

    ASSERT_TRUE(f.Send("eve@0*0", "y").success);
    std::string spool = f.Read("DATA/SPOOL.NET");
    ASSERT_EQ(spool.size(), 582u + 3);
    EXPECT_EQ(kesto::GetI32(spool, 4), 0);
    EXPECT_EQ(spool.substr(48, 40), Pad("EveThere", 40));
    EXPECT_EQ(spool.substr(168, 80), Pad("99/9", 80));
    EXPECT_EQ(kesto::GetI16(spool, 250), 2);
    EXPECT_EQ(f.Read("MAIL/EMAIL.DAT").size(), 582u);
}

TEST(SendEmail, TheFilePickedIsCopiedUnderTheSendersFolderOrNothingIsSent) {
    DeliveryBoard f;
    // Twin folders that differ only in case: the file named is the one copied.
    WriteNative(f.File("in/docs/report.txt"), "attached bytes");
    WriteNative(f.File("in/DOCS/report.txt"), "the twin");
    ASSERT_TRUE(f.Send("2@0*0", "see file", f.File("in/docs/report.txt")).success);
    EXPECT_EQ(ReadNative(f.File("ATTACH/1/REPORT.TXT")), "attached bytes");
    std::string dat = f.Read("MAIL/EMAIL.DAT");
    EXPECT_EQ(kesto::GetI32(dat, 378), 14);
    EXPECT_EQ(dat.substr(382, 12), Pad("REPORT.TXT", 12));
    EXPECT_EQ(dat.substr(394, 64), Pad("ATTACH\\1\\REPORT.TXT", 64));
    std::string sent = f.Read("MAIL/SNTEMAIL.DAT");
    EXPECT_EQ(kesto::GetI32(sent, 378), 0);
    EXPECT_EQ(sent.substr(382, 76), Pad("", 76));

    // A file gone or unreadable at send time is refused before anything is written.
    const std::string users = f.Read("DATA/USERFILE.DAT");
    std::vector<std::string> unreadable{f.File("in/vanished.txt"), f.File("in")};
    if (::geteuid() != 0) { // root reads everything
        WriteNative(f.File("in/secret.txt"), "s");
        ::chmod(f.File("in/secret.txt").c_str(), 0);
        unreadable.push_back(f.File("in/secret.txt"));
    }
    for (const std::string& path : unreadable) {
        auto r = f.Send("2@0*0", "gone", path);
        EXPECT_FALSE(r.success) << path;
        EXPECT_EQ(r.message, "The file to attach cannot be read.") << path;
    }
    EXPECT_EQ(f.Read("MAIL/EMAIL.DAT").size(), 582u);
    EXPECT_EQ(f.Read("DATA/USERFILE.DAT"), users);
    EXPECT_EQ(f.Log(), "");
}

TEST(SendEmail, MissingAttachmentDirectoryFailsBeforeAnyBoardFileIsTouched) {
    DeliveryBoard f;
    std::filesystem::remove_all(f.File("ATTACH"));
    WriteNative(f.File("in/a.txt"), "a");
    std::string users = f.Read("DATA/USERFILE.DAT");
    auto r = f.Send("2@0*0", "x", f.File("in/a.txt"));
    EXPECT_FALSE(r.success);
    EXPECT_TRUE(r.message.empty());
    EXPECT_NE(f.Log().find("frmNewMessage SendEmail - Path not found"), std::string::npos) << f.Log();
    EXPECT_FALSE(std::filesystem::exists(f.File("MAIL/EMAIL.DAT")));
    EXPECT_EQ(f.Read("DATA/USERFILE.DAT"), users);
    EXPECT_EQ(f.Read("DATA/DBSEQ.DAT"), kI32(41));
}

TEST(SendEmail, WriteFailuresKeepWhatWasDoneAndDamageNothing) {
    DeliveryBoard f;
    ASSERT_TRUE(f.Send("2@0*0", "kept").success);
    std::string datBefore = f.Read("MAIL/EMAIL.DAT");
    std::filesystem::remove(f.File("MAIL/EMAIL.BIN"));
    std::filesystem::create_symlink("/dev/full", f.File("MAIL/EMAIL.BIN"));

    auto r = f.Send("2@0*0", "lost");
    EXPECT_FALSE(r.success);
    EXPECT_NE(f.Log().find("frmNewMessage SendEmail - Disk full"), std::string::npos) << f.Log();
    // The record went in before the text failed; the earlier record is untouched.
    std::string dat = f.Read("MAIL/EMAIL.DAT");
    ASSERT_EQ(dat.size(), 2 * 582u);
    EXPECT_EQ(dat.substr(0, 582), datBefore);
    EXPECT_EQ(kesto::GetI32(f.Read("DATA/STATHBRD.DAT"), 68), 12);
    EXPECT_EQ(f.Read("MAIL/SNTEMAIL.DAT").size(), 582u);

    // A mail directory that is a file takes nothing.
    DeliveryBoard m;
    std::filesystem::remove_all(m.File("MAIL"));
    WriteNative(m.File("MAIL"), "not a directory");
    EXPECT_FALSE(m.Send("2@0*0").success);
    EXPECT_EQ(m.Read("MAIL"), "not a directory");

    DeliveryBoard g;
    std::filesystem::create_symlink("/dev/full", g.File("MAIL/SNTEMAIL.DAT"));
    EXPECT_FALSE(g.Send("2@0*0").success);
    // The received copy stays without its sent copy.
    EXPECT_EQ(g.Read("MAIL/EMAIL.DAT").size(), 582u);
    EXPECT_NE(g.Log().find("SendEmail - Disk full"), std::string::npos) << g.Log();
}

TEST(SendOneLine, QueuesAtTheRightNodesAndNeverFailsADelivery) {
    DeliveryBoard f;
    EXPECT_TRUE(kesto::SendOneLine(f.b, std::string(80, 'n'), 0, 5));
    EXPECT_EQ(f.Read("NODE/IN5.QUE"), kNotice + std::string(75, 'n') + "\r\n");
    // Nobody named: every node where someone is on line.
    EXPECT_TRUE(kesto::SendOneLine(f.b, "all", 0, -1));
    EXPECT_EQ(f.Read("NODE/IN1.QUE"), kNotice + "all\r\n");
    EXPECT_EQ(f.Read("NODE/IN0.QUE"), kNotice + "all\r\n");
    EXPECT_FALSE(std::filesystem::exists(f.File("NODE/IN3.QUE")));
    // A user not on line gets nothing; a blank text is no notice.
    EXPECT_TRUE(kesto::SendOneLine(f.b, "hi", 1, -1));
    EXPECT_FALSE(kesto::SendOneLine(f.b, "   ", 2, -1));
    EXPECT_EQ(f.Read("NODE/IN2.QUE"), kNotice + "all\r\n");

    // Without CONTROL.DAT every node's read fails on its own and nobody is on line;
    // the notice and the delivery go on.
    std::filesystem::remove(f.File("NODE/CONTROL.DAT"));
    EXPECT_TRUE(kesto::SendOneLine(f.b, "x", 2, -1));
    std::string log = f.Log();
    std::size_t reads = 0;
    for (std::size_t at = 0; (at = log.find("modHALK GetNode - ", at)) != std::string::npos; ++at) ++reads;
    EXPECT_EQ(reads, static_cast<std::size_t>(f.b.mainCfg.MaxNode) + 1) << log;
    EXPECT_EQ(log.find("SendOneLine"), std::string::npos) << log;
    EXPECT_EQ(f.Read("NODE/IN2.QUE"), kNotice + "all\r\n");
    EXPECT_TRUE(f.Send("2@0*0").success);
}

TEST(SendEmail, MissingStatisticsFileIsStartedWithTheTwoCounters) {
    DeliveryBoard f;
    std::filesystem::remove(f.File("DATA/STATHBRD.DAT"));
    ASSERT_TRUE(f.Send("2@0*0").success);
    std::string stats(88, '\0');
    kesto::PutI32(stats, 68, 1);
    kesto::PutI32(stats, 72, 1);
    EXPECT_EQ(f.Read("DATA/STATHBRD.DAT"), stats);
    EXPECT_NE(f.Log().find("modHALK GetStatHbrdDat - "), std::string::npos) << f.Log();

    // One that is there but cannot be read is left alone.
    DeliveryBoard g;
    std::filesystem::remove(g.File("DATA/STATHBRD.DAT"));
    std::filesystem::create_directory(g.File("DATA/STATHBRD.DAT"));
    EXPECT_TRUE(g.Send("2@0*0").success);
    EXPECT_TRUE(std::filesystem::is_directory(g.File("DATA/STATHBRD.DAT")));
}

// The copy is named by the picked file's 8.3 alias, so whatever the file is called
// it lands directly in the sender's folder, and the record names nothing else.
TEST(SendEmail, AttachmentCopyStaysInTheSendersFolderWhateverTheFileIsCalled) {
    DeliveryBoard f;
    const std::vector<std::string> names = {"...", ". .txt", "..\x1b]0;x\x07.txt", "a;b,c d.longext",
                                            "\xE9t\xE9.txt"};
    for (const std::string& name : names) {
        WriteNative(f.File("in/" + name), "x");
        ASSERT_TRUE(f.Send("2@0*0", "x", f.File("in/" + name)).success) << name;
    }
    std::vector<std::string> copies;
    for (const auto& e : std::filesystem::recursive_directory_iterator(f.File("ATTACH"))) {
        if (e.is_directory()) continue;
        EXPECT_EQ(e.path().parent_path(), f.File("ATTACH/1"));
        copies.push_back(e.path().filename().string());
    }
    EXPECT_EQ(copies.size(), names.size());
    const std::string dat = f.Read("MAIL/EMAIL.DAT");
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string name(kesto::TrimView(dat.substr(i * 582 + 382, 12)));
        EXPECT_NE(std::find(copies.begin(), copies.end(), name), copies.end()) << names[i];
        EXPECT_EQ(name.find_first_of("/\\"), std::string::npos) << name;
        EXPECT_EQ(kesto::TrimView(dat.substr(i * 582 + 394, 64)), "ATTACH\\1\\" + name);
    }
}

} // namespace
