#include "DemoBoard.h"

#include "TextHelpers.h"
#include "MailList.h"
#include "Startup.h"
#include "TestBoard.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

using namespace kesto;
using namespace kesto::test;

TEST(DemoCreateBoard, WritesRelativePathsThatLoadCfgReadsBack) {
    TempDir dir;
    demo::BoardOptions opt;
    opt.maxNode = 5;
    opt.sysopAttachLevel = 200;
    opt.emailAttachLevel = 30;
    Board b = demo::CreateBoard(dir.File("board"), opt).value();

    Bytes sys = ReadNative(dir.File("board/SYSPATHS.CFG"));
    ASSERT_EQ(sys.size(), 400u);
    EXPECT_EQ(sys.substr(80, 40), "DATA" + std::string(36, ' ')); // field 3, relative
    std::optional<Board> r = LoadCfg(dir.File("board"));
    ASSERT_TRUE(r);
    EXPECT_EQ(r->startDir, b.startDir);
    EXPECT_EQ(r->log.path, b.log.path);
    EXPECT_EQ(r->paths.field, b.paths.field);
    EXPECT_EQ(r->mainCfg.MaxNode, 5);
    EXPECT_EQ(r->mainCfg.SysopAttachLevel, 200);
    EXPECT_EQ(r->mainCfg.EmailAttachLevel, 30);
    EXPECT_EQ(ReadNative(dir.File("board/DATA/NET.1")), "SYSTEMID=1/1\r\n");
    EXPECT_TRUE(std::filesystem::is_regular_file(dir.File("board/DATA/USERFILE.DAT")));
    EXPECT_EQ(std::filesystem::file_size(dir.File("board/DATA/USERFILE.DAT")), 0u);
    for (const char* sub : {"TEXT", "NODE", "MAIL", "ATTACH"})
        EXPECT_TRUE(std::filesystem::is_directory(dir.File(std::string("board/") + sub))) << sub;
}

TEST(DemoAppendUser, NumbersFollowWholeRecords) {
    TempDir dir;
    Board b = demo::CreateBoard(dir.Path()).value();
    EXPECT_EQ(demo::AppendUser(b, demo::MakeUser("SysOp", "Martin Hale", 255)).value(), 1);
    // A partial record left at the end is not a user: the next one overwrites it.
    WriteNative(dir.File("DATA/USERFILE.DAT"),
                ReadNative(dir.File("DATA/USERFILE.DAT")) + std::string(100, 'Z'));
    EXPECT_EQ(demo::AppendUser(b, demo::MakeUser("Bob", "Robert Smith", 50)).value(), 2);

    Bytes file = ReadNative(dir.File("DATA/USERFILE.DAT"));
    ASSERT_EQ(file.size(), 2 * kUserRecordSize);
    Bytes bob = file.substr(kUserRecordSize);
    EXPECT_EQ(bob.substr(0, 40), "Bob" + std::string(37, ' '));
    EXPECT_EQ(bob.substr(40, 40), "Robert Smith" + std::string(28, ' '));
    EXPECT_EQ(GetI16(bob, 373), 50);
    EXPECT_EQ(bob.substr(920, 128), std::string(128, ' ')); // untouched text fields stay blank
    EXPECT_EQ(GetI32(bob, 842), 0);
}

TEST(DemoAppendMessage, PositionsBodiesAndNamesTheTextFile) {
    TempDir dir;
    Board b = demo::CreateBoard(dir.Path()).value();
    MessageInfo m = demo::MakeMessage(2, 1, "Bob", "SysOp", "Hello", 1152626602);
    EXPECT_EQ(demo::AppendMessage(b, " email ", m, "First\r\n").value(), 1);
    EXPECT_EQ(demo::AppendMessage(b, "EMAIL", m, "Second one\r\n").value(), 2);

    Bytes dat = ReadNative(dir.File("MAIL/EMAIL.DAT"));
    ASSERT_EQ(dat.size(), 2 * kMessageInfoSize);
    MessageInfo second = DecodeMessageInfo(std::string_view(dat).substr(kMessageInfoSize));
    EXPECT_EQ(second.MsgPos, 8);
    EXPECT_EQ(second.MsgLength, 12);
    EXPECT_EQ(second.Filename, "EMAIL   ");
    EXPECT_EQ(second.Creation, "Tue Jul 11, 2006 14:03:22 +0000" + std::string(9, ' '));
    EXPECT_EQ(ReadNative(dir.File("MAIL/EMAIL.BIN")), "First\r\nSecond one\r\n");
}

TEST(DemoMakeMessage, CreationTextAcrossCalendarEdges) {
    auto creation = [](std::int32_t ts) { return Trim(demo::MakeMessage(1, 1, "", "", "", ts).Creation); };
    EXPECT_EQ(creation(0), "Thu Jan 01, 1970 00:00:00 +0000");
    EXPECT_EQ(creation(1078099199), "Sun Feb 29, 2004 23:59:59 +0000");
    EXPECT_EQ(creation(-3600), "Wed Dec 31, 1969 23:00:00 +0000");
}

TEST(DemoCreateDemoBoard, HoldsEveryStateTheWindowsShow) {
    TempDir dir;
    Board b = demo::CreateDemoBoard(dir.File("demo")).value();

    std::string buffer;
    std::set<RowState> states;
    bool boldDeleted = false;
    for (const auto& row : ReadMailboxRows(b, Mailbox::Received, 1, buffer).value()) {
        states.insert(row.state);
        boldDeleted = boldDeleted || (row.state == RowState::Deleted && row.bold);
    }
    EXPECT_EQ(states, (std::set<RowState>{RowState::Unread, RowState::UnreadWithAttachment, RowState::Read,
                                          RowState::Deleted}));
    EXPECT_TRUE(boldDeleted);
    EXPECT_FALSE(ReadMailboxRows(b, Mailbox::Sent, 1, buffer)->empty());

    // Every body lies inside its text file, every attachment is where its record says,
    // and the sequence file holds the highest serial number handed out.
    std::int32_t highest = 0;
    for (const char* box : {"EMAIL", "SNTEMAIL"}) {
        Bytes dat = ReadNative(dir.File(std::string("demo/MAIL/") + box + ".DAT"));
        Bytes bin = ReadNative(dir.File(std::string("demo/MAIL/") + box + ".BIN"));
        ASSERT_EQ(dat.size() % kMessageInfoSize, 0u);
        for (std::size_t off = 0; off < dat.size(); off += kMessageInfoSize) {
            MessageInfo m = DecodeMessageInfo(std::string_view(dat).substr(off, kMessageInfoSize));
            EXPECT_EQ(Trim(m.Filename), box);
            EXPECT_LE(static_cast<std::size_t>(m.MsgPos - 1 + m.MsgLength), bin.size());
            highest = std::max(highest, m.SysMsgNo);
            if (!Trim(m.AttFileName).empty()) {
                std::string path = Trim(m.AttFilePath);
                for (char& c : path)
                    if (c == '\\') c = '/';
                EXPECT_EQ(std::filesystem::file_size(dir.File("demo/" + path)),
                          static_cast<std::uintmax_t>(m.AttFileSize));
            }
        }
    }
    EXPECT_EQ(GetI32(ReadNative(dir.File("demo/DATA/DBSEQ.DAT")), 0), highest);
    EXPECT_EQ(GetI32(ReadNative(dir.File("demo/NODE/CONTROL.DAT")), kNodeRecordSize + 28), 1);
    EXPECT_EQ(std::filesystem::file_size(dir.File("demo/NODE/CONTROL.DAT")), 4 * kNodeRecordSize);
    Bytes users = ReadNative(dir.File("demo/DATA/USERFILE.DAT"));
    EXPECT_EQ(GetI16(users, 373), 255);
    EXPECT_EQ(GetI16(users, 3 * kUserRecordSize + 373), 0); // the retired slot
}
