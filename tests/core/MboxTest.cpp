#include "Mbox.h"

#include "DemoBoard.h"
#include "TestBoard.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kesto;
using kesto::test::ReadNative;
using kesto::test::SnapshotTree;
using kesto::test::TempDir;
using kesto::test::WriteNative;

namespace {

constexpr std::int32_t kT = 1152626602; // Tue Jul 11, 2006 14:03:22

// Users 1 SysOp and 2 Bob on the board "1/1".
struct MboxBoard {
    TempDir dir;
    Board b = demo::CreateBoard(dir.Path() + "/board").value();

    MboxBoard() {
        demo::AppendUser(b, demo::MakeUser("SysOp", "Martin Hale", 255)).value();
        demo::AppendUser(b, demo::MakeUser("Bob", "Robert Smith", 50)).value();
    }
    std::string File(const std::string& rel) const { return dir.Path() + "/board/" + rel; }

    RecordNo Add(MessageInfo m, std::string_view body, std::int32_t offline = 1,
                 std::int16_t deleted = 0) const {
        m.Offline = offline;
        m.Deleted = deleted;
        return static_cast<RecordNo>(demo::AppendMessage(b, "EMAIL", m, body).value());
    }
    // A message from user `from` with a file filed as `filedPath` (blank: none).
    RecordNo AddAttached(std::int32_t from, std::string_view name, std::string_view filedPath) const {
        MessageInfo m = demo::MakeMessage(from, 1, "Bob", "SysOp", "Files", kT);
        m.AttFileName = name;
        m.AttFilePath = filedPath;
        m.AttFileSize = 2;
        return Add(m, "See the file.\r\n");
    }
    std::string Export(std::vector<RecordNo> numbers, MboxSummary* summary = nullptr) const {
        std::string out;
        const Result<MboxSummary> s =
            WriteMbox(b, Mailbox::Received, std::move(numbers), [&](std::string_view bytes) {
                out += bytes;
                return Result<void>();
            });
        EXPECT_TRUE(s.has_value());
        if (summary && s) *summary = *s;
        return out;
    }
};

TEST(Mbox, TwoMessagesAsMailClientsReadThem) {
    MboxBoard s;
    s.Add(demo::MakeMessage(2, 1, "Bob", "SysOp", "Hello", kT),
          "From here \r\n>From there\r\nJ\xF6rg = 1\r\n");
    WriteNative(s.File("ATTACH/1/NOTE.TXT"), "hi");
    MessageInfo m = demo::MakeMessage(1, 1, "SysOp", "SysOp", "Files", kT + 60);
    m.AttFileName = "NOTE.TXT";
    m.AttFilePath = "ATTACH\\1\\NOTE.TXT";
    m.AttFileSize = 2;
    s.Add(m, "See the file.\r\n", 0, 1);

    EXPECT_EQ(s.Export({2, 1}), "From bob@1-1.board.invalid Tue Jul 11 14:03:22 2006\n"
                                "From: \"Bob\" <bob@1-1.board.invalid>\n"
                                "To: \"SysOp\" <sysop@1-1.board.invalid>\n"
                                "Subject: Hello\n"
                                "Date: Tue, 11 Jul 2006 14:03:22 +0000\n"
                                "Message-ID: <email.1@1-1.board.invalid>\n"
                                "MIME-Version: 1.0\n"
                                "Status: RO\n"
                                "Content-Type: text/plain; charset=utf-8\n"
                                "Content-Transfer-Encoding: quoted-printable\n"
                                "\n"
                                ">From here=20\n"
                                ">>From there\n"
                                "J=C3=B6rg =3D 1\n"
                                "\n"
                                "From sysop@1-1.board.invalid Tue Jul 11 14:04:22 2006\n"
                                "From: \"SysOp\" <sysop@1-1.board.invalid>\n"
                                "To: \"SysOp\" <sysop@1-1.board.invalid>\n"
                                "Subject: Files\n"
                                "Date: Tue, 11 Jul 2006 14:04:22 +0000\n"
                                "Message-ID: <email.2@1-1.board.invalid>\n"
                                "MIME-Version: 1.0\n"
                                "Status: O\n"
                                "X-Kesto-Deleted: yes\n"
                                "Content-Type: multipart/mixed; boundary=\"=_kesto.2\"\n"
                                "\n"
                                "--=_kesto.2\n"
                                "Content-Type: text/plain; charset=utf-8\n"
                                "Content-Transfer-Encoding: quoted-printable\n"
                                "\n"
                                "See the file.\n"
                                "\n"
                                "---\n"
                                "Attached File: NOTE.TXT (2 bytes)\n"
                                "--=_kesto.2\n"
                                "Content-Type: application/octet-stream; name=\"NOTE.TXT\"\n"
                                "Content-Disposition: attachment; filename=\"NOTE.TXT\"\n"
                                "Content-Transfer-Encoding: base64\n"
                                "\n"
                                "aGk=\n"
                                "--=_kesto.2--\n"
                                "\n");
}

TEST(Mbox, LongLinesStayShortAndComeBackWhole) {
    MboxBoard s;
    const std::string line(200, 'x');
    s.Add(demo::MakeMessage(2, 1, "Bob", "SysOp", "Long", kT), line + "=\r\n");
    const std::string out = s.Export({1});
    const std::string body = out.substr(out.find("\n\n") + 2);
    std::string joined;
    for (std::size_t begin = 0, end; (end = body.find('\n', begin)) != std::string::npos; begin = end + 1) {
        std::string l = body.substr(begin, end - begin);
        EXPECT_LE(l.size(), 76u);
        joined += l.ends_with('=') ? l.substr(0, l.size() - 1) : l; // a soft line break
    }
    EXPECT_EQ(joined, line + "=3D");
}

// An attached file is taken where delivery files it, and only from the attachment folder.
TEST(Mbox, AttachedFilesFoundOrNotedMissing) {
    MboxBoard s;
    WriteNative(s.File("ATTACH/2/B.TXT"), "hi");
    std::filesystem::create_symlink("../../DATA/USERFILE.DAT", s.File("ATTACH/2/LINK.TXT"));
    s.AddAttached(2, "B.TXT", "");                          // only AttachPath\<sender>\<name>
    s.AddAttached(2, "C.TXT", "ATTACH\\9\\C.TXT");          // nowhere
    s.AddAttached(2, "USERFILE.DAT", "DATA\\USERFILE.DAT"); // outside the attachment folder
    s.AddAttached(2, "LINK.TXT", "ATTACH\\2\\LINK.TXT");    // a link out of it
    MboxSummary summary;
    const std::string out = s.Export({1, 2, 3, 4}, &summary);
    EXPECT_EQ(summary.messages, 4u);
    EXPECT_EQ(summary.attachments, 1u);
    EXPECT_EQ(summary.missingAttachments, 3u);
    for (const char* name : {"C.TXT", "USERFILE.DAT", "LINK.TXT"})
        EXPECT_NE(out.find(std::string("Attached File: ") + name +
                           " (2 bytes)\nThe attached file was not found on the board.\n"),
                  std::string::npos)
            << name;
    EXPECT_NE(out.find("filename=\"B.TXT\"\nContent-Transfer-Encoding: base64\n\naGk=\n"), std::string::npos);
}

// A handle or subject from another board can hold any byte: it stays inside its header.
TEST(Mbox, HostileHandlesAndSubjectsStayInTheirHeaders) {
    MboxBoard s;
    const std::string handle = "Ev\xE9\r\nBcc: all@example.com \"x\"";
    const std::string subject = "Hi\r\nX-Injected: 1 =?utf-8?b?QQ==?= \x03"
                                "4\xA4";
    MessageInfo m = demo::MakeMessage(2, 1, handle, "Al \"the\" \\ Pal", subject, kT);
    m.AttFileName = "A\r\nB\"C.ZIP";
    WriteNative(s.File("ATTACH/2/A\r\nB\"C.ZIP"), "hi");
    s.Add(m, "Body\r\n");
    const std::string out = s.Export({1});
    EXPECT_NE(out.find("; filename*=utf-8''A%0D%0AB%22C.ZIP\n"), std::string::npos);
    // "Ev\xE9\r\nBcc: ..." and the subject without its colour code, as UTF-8 in encoded words.
    EXPECT_EQ(out.substr(0, out.find("\n\n")),
              "From eve.bcc.all.example.com.x@1-1.board.invalid Tue Jul 11 14:03:22 2006\n"
              "From: =?utf-8?b?RXbDqQ0KQmNjOiBhbGxAZXhhbXBsZS5jb20gIngi?= "
              "<eve.bcc.all.example.com.x@1-1.board.invalid>\n"
              "To: \"Al \\\"the\\\" \\\\ Pal\" <al.the.pal@1-1.board.invalid>\n"
              "Subject: =?utf-8?b?SGkNClgtSW5qZWN0ZWQ6IDEgPT91dGYtOD9iP1FRPT0/PSDCpA==?=\n"
              "Date: Tue, 11 Jul 2006 14:03:22 +0000\n"
              "Message-ID: <email.1@1-1.board.invalid>\n"
              "MIME-Version: 1.0\n"
              "Status: RO\n"
              "Content-Type: multipart/mixed; boundary=\"=_kesto.1\"");
}

TEST(Mbox, AddressesParseAndNeverDeliver) {
    const struct {
        const char* handle;
        const char* node;
        const char* address;
    } cases[] = {
        {"Bob", "1/1", "bob@1-1.board.invalid"},
        {" Ann  Walker ", "77/12", "ann.walker@77-12.board.invalid"},
        {"J\xF6rg \xC6sir \x8Aimon", "2:250/1.5", "jorg.aesir.simon@2-250-1-5.board.invalid"},
        {"..--_x_--..", "", "--_x_--@unknown.board.invalid"},
        {"\"@<>\"", "@", "user@unknown.board.invalid"},
    };
    for (const auto& c : cases) EXPECT_EQ(MboxAddress(c.handle, c.node), c.address) << c.handle;
}

// The target is replaced only by a whole export; the board is never written.
TEST(Mbox, ExportReplacesItsFileOnlyWhenWhole) {
    MboxBoard s;
    s.Add(demo::MakeMessage(2, 1, "Bob", "SysOp", "One", kT), "One\r\n");
    s.Add(demo::MakeMessage(2, 1, "Bob", "SysOp", "Two", kT), "Two\r\n");
    const std::string target = s.dir.Path() + "/out.mbox";
    WriteNative(target, "old");
    const auto board = SnapshotTree(s.dir.Path() + "/board");

    const Result<MboxSummary> cancelled = ExportMbox(s.b, Mailbox::Received, {1, 2}, target,
                                                     [](std::size_t done, std::size_t) { return done < 1; });
    ASSERT_TRUE(cancelled.has_value());
    EXPECT_TRUE(cancelled->cancelled);
    EXPECT_EQ(ReadNative(target), "old");

    const Result<MboxSummary> refused = ExportMbox(s.b, Mailbox::Received, {1}, s.File("MAIL/EMAIL.DAT"));
    ASSERT_FALSE(refused.has_value());
    EXPECT_EQ(refused.error().code, ErrorCode::Refused);

    const Result<MboxSummary> done = ExportMbox(s.b, Mailbox::Received, {1, 2, 7}, target);
    ASSERT_TRUE(done.has_value());
    EXPECT_EQ(done->messages, 2u);
    EXPECT_EQ(ReadNative(target), s.Export({1, 2}));

    EXPECT_EQ(SnapshotTree(s.dir.Path() + "/board"), board);
    std::size_t files = 0;
    for (const auto& e : std::filesystem::directory_iterator(s.dir.Path())) files += e.is_regular_file();
    EXPECT_EQ(files, 1u); // no temporary file left beside the target
}

} // namespace
