// Quoting, the header block, the saved file's bytes and the default file name.
#include "DemoBoard.h"
#include "MessageOutput.h"
#include "HalkTestBoard.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kesto::test {
namespace {

TEST(QuoteMessage, QuotesEachLineCutAt77) {
    EXPECT_EQ(QuoteMessage("", "Hi"), "");
    EXPECT_EQ(QuoteMessage("   ", "Hi"), "   ");
    EXPECT_EQ(QuoteMessage("a", "  Hi  "), "Re: Hi\r\n\r\n> a");
    EXPECT_EQ(QuoteMessage("one\ntwo\rthree\r\n", "S"), "Re: S\r\n\r\n> one\r\n> two\r\n> three\r\n> ");
    std::string longLine;
    for (int i = 0; i < 100; ++i) longLine += static_cast<char>('0' + i % 10);
    EXPECT_EQ(QuoteMessage(longLine + "\r\nnext", "S"),
              "Re: S\r\n\r\n> " + longLine.substr(0, 77) + "\r\n> next");
}

struct OutputBoard {
    TempDir dir;
    Board b = demo::CreateBoard(dir.Path()).value();
    OutputBoard() { demo::WriteDataFile(b, "NETWORKS.LST", "1,1,Home,0\r\n2,4,Relay Net,1\r\n").value(); }
    std::int16_t Add(MessageInfo m, std::string_view body, std::string_view box = "EMAIL") {
        return static_cast<std::int16_t>(demo::AppendMessage(b, box, std::move(m), body).value());
    }
};

TEST(MessageOutput, SavedFileBytes) {
    OutputBoard ob;
    MessageInfo m = demo::MakeMessage(2, 1, "  ALICE", "SYSOP", " Hi there ", 1150000000);
    m.Creation = Pad("Thu Jun 29, 2006 04:26:40 +0000", 40);
    m.ToNetId = 2;
    m.ToNetNode = Pad("", 80); // printed as stored: no board id filled in here
    std::int16_t n = ob.Add(m, "Hello\x03"
                               "4 world\r\n\r\nBye  \r\n\r\n");
    const Result<MessageOutput> out = LoadMessageOutput(ob.b, Mailbox::Received, n);
    ASSERT_TRUE(out);
    EXPECT_EQ(SaveFileContent(*out), "From:     ALICE @1/1 (Home)\r\n"
                                     "Date:     Thu Jun 29, 2006 04:26:40 +0000\r\n"
                                     "To:       SYSOP @ (Relay Net)\r\n"
                                     "Subject:  Hi there\r\n"
                                     "\r\n"
                                     "Hello world\r\n\r\nBye\r\n");

    // A missing index gives nothing to save; a sent-mail mailbox is read from SNTEMAIL.
    EXPECT_FALSE(LoadMessageOutput(ob.b, Mailbox::Sent, 1));
    ob.Add(demo::MakeMessage(1, 2, "SYSOP", "ALICE", "Copy", 1150000000), "sent body", "SNTEMAIL");
    EXPECT_EQ(LoadMessageOutput(ob.b, Mailbox::Sent, 1)->body, "sent body");
}

TEST(MessageOutput, BodyWrapsAt85EvenWithoutBreaks) {
    OutputBoard ob;
    std::string line(100000, 'x');
    line[500] = ' ';
    std::int16_t n = ob.Add(demo::MakeMessage(2, 1, "A", "B", "Long", 0), line + "\x03");
    const MessageOutput out = LoadMessageOutput(ob.b, Mailbox::Received, n).value();
    std::string joined;
    std::size_t start = 0, lines = 0;
    while (start <= out.body.size()) {
        std::size_t end = out.body.find("\r\n", start);
        if (end == std::string::npos) end = out.body.size();
        EXPECT_LE(end - start, 85u);
        joined += out.body.substr(start, end - start);
        ++lines;
        start = end + 2;
    }
    EXPECT_EQ(joined, line);
    EXPECT_GT(lines, 100000u / 85);
}

TEST(MessageOutput, WriteReplacesTheFileAndReportsFailures) {
    OutputBoard ob;
    std::string target = ob.dir.File("out.txt");
    WriteNative(target, std::string(5000, 'o'));
    EXPECT_TRUE(WriteSavedMessage(ob.b, target, "new\r\n"));
    EXPECT_EQ(ReadNative(target), "new\r\n");

    EXPECT_FALSE(WriteSavedMessage(ob.b, ob.dir.File("missing/dir/out.txt"), "x"));
    if (std::filesystem::exists("/dev/full")) {
        EXPECT_FALSE(WriteSavedMessage(ob.b, "/dev/full", "x"));
    }
    std::string log = ReadNative(ob.b.log.path);
    EXPECT_NE(log.find("modKesto SaveMessage - "), std::string::npos) << log;
}

TEST(SafeFileName, StaysInsideTheChosenFolder) {
    EXPECT_EQ(SafeFileName("../../x"), "x");
    EXPECT_EQ(SafeFileName("a/b"), "a_b");
    EXPECT_EQ(SafeFileName("a\\..\\b"), "a_b");
    EXPECT_EQ(SafeFileName("  ..hidden"), "hidden");
    EXPECT_EQ(SafeFileName("tab\there"), "tab_here");
    // What is a valid name stays as the user wrote it.
    EXPECT_EQ(SafeFileName("Re: plans?"), "Re: plans?");
    EXPECT_EQ(SafeFileName("Wait... what"), "Wait... what");
    EXPECT_EQ(SafeFileName("\xFF\xFF"), "\xFF\xFF");
    for (const char* empty : {"", "   ", "..", "/", "../..", "\x01\x02", "..."})
        EXPECT_EQ(SafeFileName(empty), "message") << empty;
    EXPECT_EQ(SafeFileName(std::string(100, 'k')).size(), 64u);
}

} // namespace
} // namespace kesto::test
