#include "BoardCheck.h"

#include "DemoBoard.h"
#include "Startup.h"
#include "TestBoard.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <random>

using namespace kesto;
using kesto::test::ReadNative;
using kesto::test::SnapshotTree;
using kesto::test::TempDir;
using kesto::test::WriteNative;

namespace {

// The findings as the command line prints them.
std::vector<std::string> Check(const Board& b) {
    std::vector<std::string> lines;
    CheckBoard(b, [&](const CheckFinding& f) {
        std::string line = f.file;
        if (f.number) line += (f.isLine ? " line " : " record ") + std::to_string(*f.number);
        lines.push_back(line + ": " + f.problem);
    });
    return lines;
}

// Two users; EMAIL holds "Hello\r\n" (record 1, for user 1) and "World\r\n" (record 2,
// for user 2); SNTEMAIL one copy; AB1.DAT one entry.
struct SmallBoard {
    TempDir dir;
    Board b = demo::CreateBoard(dir.Path()).value();

    SmallBoard() {
        demo::AppendUser(b, demo::MakeUser("SysOp", "Martin Hale", 255)).value();
        demo::AppendUser(b, demo::MakeUser("Bob", "Robert Smith", 50)).value();
        demo::AppendMessage(b, "EMAIL", demo::MakeMessage(2, 1, "Bob", "SysOp", "One", 0), "Hello\r\n")
            .value();
        demo::AppendMessage(b, "EMAIL", demo::MakeMessage(1, 2, "SysOp", "Bob", "Two", 0), "World\r\n")
            .value();
        demo::AppendMessage(b, "SNTEMAIL", demo::MakeMessage(1, 2, "SysOp", "Bob", "Two", 0), "World\r\n")
            .value();
        WriteNative(File("DATA/AB1.DAT"), "Bob,bob@1/1,1\r\n");
    }
    std::string File(const std::string& rel) const { return dir.File(rel); }
    void Append(const std::string& rel, std::string_view bytes) const {
        WriteNative(File(rel), ReadNative(File(rel)) + std::string(bytes));
    }
    // Sets a 32-bit or 16-bit field of an EMAIL.DAT record.
    template <auto Member>
    void SetField(int record, std::int32_t value) const {
        std::string dat = ReadNative(File("MAIL/EMAIL.DAT"));
        std::string rec = dat.substr((record - 1) * kMessageInfoSize, kMessageInfoSize);
        MessageInfo m = DecodeMessageInfo(rec);
        m.*Member = static_cast<std::remove_reference_t<decltype(m.*Member)>>(value);
        dat.replace((record - 1) * kMessageInfoSize, kMessageInfoSize, EncodeMessageInfo(m));
        WriteNative(File("MAIL/EMAIL.DAT"), dat);
    }
};

TEST(BoardCheck, EachDamageGivesItsFindings) {
    const struct {
        const char* name;
        std::function<void(SmallBoard&)> damage;
        std::vector<std::string> findings;
    } cases[] = {
        {"healthy", [](SmallBoard&) {}, {}},
        {"negative position and length",
         [](SmallBoard& s) {
             s.SetField<&MessageInfo::MsgPos>(1, -5);
             s.SetField<&MessageInfo::MsgLength>(1, -1);
         },
         {"EMAIL.DAT record 1: text position -5 is below 1", "EMAIL.DAT record 1: text length -1 is negative",
          "EMAIL.BIN: 7 bytes of text that no record points to"}},
        {"text past the end of its file",
         [](SmallBoard& s) { s.SetField<&MessageInfo::MsgLength>(2, 100); },
         {"EMAIL.DAT record 2: text (position 8, length 100) lies outside EMAIL.BIN, which holds 14 bytes",
          "EMAIL.BIN: 7 bytes of text that no record points to"}},
        {"no text file",
         [](SmallBoard& s) { std::filesystem::remove(s.File("MAIL/EMAIL.BIN")); },
         {"EMAIL.DAT record 1: text (position 1, length 7) lies outside EMAIL.BIN, which does not exist",
          "EMAIL.DAT record 2: text (position 8, length 7) lies outside EMAIL.BIN, which does not exist"}},
        {"bytes nobody points to",
         [](SmallBoard& s) { s.Append("MAIL/EMAIL.BIN", "junk"); },
         {"EMAIL.BIN: 4 bytes of text that no record points to"}},
        {"partial records",
         [](SmallBoard& s) {
             s.Append("MAIL/SNTEMAIL.DAT", std::string(100, 'x'));
             s.Append("DATA/USERFILE.DAT", std::string(10, 'x'));
         },
         {"USERFILE.DAT record 3: partial record: 10 of 1048 bytes",
          "SNTEMAIL.DAT record 2: partial record: 100 of 582 bytes"}},
        {"users past the end of the user file; a network sender is not a local user",
         [](SmallBoard& s) {
             s.SetField<&MessageInfo::ToUserNo>(1, 9);
             s.SetField<&MessageInfo::FromUserNo>(2, 7);
             s.SetField<&MessageInfo::FromUserNo>(1, 99);
             s.SetField<&MessageInfo::FromNetId>(1, 2);
         },
         {"EMAIL.DAT record 1: addressed to user 9, past the end of USERFILE.DAT (2 users)",
          "EMAIL.DAT record 2: sent by user 7, past the end of USERFILE.DAT (2 users)"}},
        {"missing main files",
         [](SmallBoard& s) {
             std::filesystem::remove(s.File("MAIN.CFG"));
             std::filesystem::remove(s.File("DATA/USERFILE.DAT"));
         },
         {"MAIN.CFG: does not exist", "USERFILE.DAT: does not exist"}},
        {"address book lines without three fields",
         [](SmallBoard& s) {
             WriteNative(s.File("DATA/AB1.DAT"), "Bob,bob@1/1,1\r\n  \r\nno commas\r\nTwo,fields\rA,b,c\nx");
             WriteNative(s.File("DATA/ab12.dat"), "Ann,ann@1/1\r\n");
             WriteNative(s.File("DATA/AB012.DAT"), "not a book of the board"); // user 12 is AB12.DAT
         },
         {"AB1.DAT line 3: entry without its three fields (description,address,network id)",
          "AB1.DAT line 4: entry without its three fields (description,address,network id)",
          "AB1.DAT line 6: entry without its three fields (description,address,network id)",
          "AB12.DAT line 1: entry without its three fields (description,address,network id)"}},
        {"folders of SYSPATHS.CFG",
         [](SmallBoard& s) {
             std::filesystem::rename(s.File("ATTACH"), s.File("GONE"));
             SysPaths p = DecodeSysPaths(ReadNative(s.File("SYSPATHS.CFG")));
             p.field[4] = std::string(40, ' '); // TextPath
             WriteNative(s.File("SYSPATHS.CFG"), EncodeSysPaths(p));
         },
         {"SYSPATHS.CFG: TextPath is blank", "SYSPATHS.CFG: AttachPath folder ATTACH does not exist"}},
        {"more records than 16-bit numbers reach",
         [](SmallBoard& s) {
             const std::string first = ReadNative(s.File("MAIL/EMAIL.DAT")).substr(0, kMessageInfoSize);
             std::string dat;
             for (int i = 0; i < 32768; ++i) dat += first;
             WriteNative(s.File("MAIL/EMAIL.DAT"), dat);
         },
         {"EMAIL.DAT: 32768 records; the board's 16-bit record numbers stop at 32767, so it cannot reach "
          "records 32768 to 32768",
          "EMAIL.BIN: 7 bytes of text that no record points to"}},
    };
    for (const auto& c : cases) {
        SmallBoard s;
        c.damage(s);
        const Board b = LoadCfg(s.dir.Path(), "kesto", false).value();
        EXPECT_EQ(Check(b), c.findings) << c.name;
    }
}

// Random bytes in every file, SYSPATHS.CFG kept first so that the other files are
// reached, then in it too: the check finishes, and not a byte changes or is added.
TEST(BoardCheck, RandomBytesInEveryFileChangeNothing) {
    TempDir dir;
    demo::CreateDemoBoard(dir.Path()).value();
    std::mt19937 random(13);
    for (bool keepPaths : {true, false}) {
        for (const auto& [rel, bytes] : SnapshotTree(dir.Path())) {
            if (keepPaths && rel == "SYSPATHS.CFG") continue;
            std::string noise(bytes.size() * 3 + 2000, '\0');
            for (char& c : noise) c = static_cast<char>(random());
            WriteNative(dir.File(rel), noise);
        }
        const auto before = SnapshotTree(dir.Path());
        const Board b = LoadCfg(dir.Path(), "kesto", false).value();
        EXPECT_FALSE(Check(b).empty());
        EXPECT_EQ(SnapshotTree(dir.Path()), before);
    }
}

} // namespace
