// Mail from other boards may hold any byte. Every command shows such text
// visibly instead of handing control codes to the terminal, gives the exact
// value in JSON, and leaves the board's bytes as they were.
#include "CliRun.h"

#include "Cp1252.h"
#include "DemoBoard.h"
#include "JsonValue.h"
#include "TestBoard.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace {

using kesto::test::JsonReader;
using kesto::test::JsonValue;
using kesto::test::ReadNative;
using kesto::test::WriteNative;

struct Hostile {
    std::string bytes; // as the board stores it
    std::string shown; // in the text output
    std::string json;  // inside a JSON string
};

const std::vector<Hostile> kHostile = {
    {"\x1b]0;pwned\x07", "^[]0;pwned^G", "\\u001b]0;pwned\\u0007"},
    {"\x1b[2J\x1b[H", "^[[2J^[[H", "\\u001b[2J\\u001b[H"},
    {std::string("a\0b", 3), "a^@b", "a\\u0000b"},
    {"over\rwrite", "over^Mwrite", "over\\rwrite"},
    {"Bob\r\nSubject: x", "Bob^M^JSubject: x", "Bob\\r\\nSubject: x"},
    {"x\x7fy\x08z\x1f", "x^?y^Hz^_", "x\\u007fy\\u0008z\\u001f"},
    // Unassigned in Windows-1252: C1 controls once decoded (0x9D would start an OSC).
    {"\x9d"
     "0;t\x9c \x81\x8d\x8f\x90",
     "M-^]0;t\xC5\x93 M-^AM-^MM-^OM-^P", "\\u009d0;t\xC5\x93 \\u0081\\u008d\\u008f\\u0090"},
    {"<b>x</b><img src=a>", "<b>x</b><img src=a>", "<b>x</b><img src=a>"},
    {"%s%n%p%x", "%s%n%p%x", "%s%n%p%x"},
};

// Where `text` holds a control character a terminal would act on (C0 but the
// line end, DEL, or a C1 control in UTF-8); npos when it holds none.
std::size_t ControlAt(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if ((c < 0x20 && c != '\n') || c == 0x7F) return i;
        if (c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) < 0xA0) return i;
    }
    return std::string::npos;
}

std::map<std::string, std::string> Snapshot(const std::string& dir) {
    std::map<std::string, std::string> files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(dir))
        if (e.is_regular_file()) files[e.path().string()] = ReadNative(e.path().string());
    return files;
}

class HostileTextCli : public kesto::test::CliBoardTest {
  protected:
    HostileTextCli() {
        using namespace kesto::demo;
        AppendUser(board, MakeUser("SysOp", "Sam Sysop", 255)).value();
        std::string book;
        for (std::size_t i = 0; i < kHostile.size(); ++i) {
            const std::string& h = kHostile[i].bytes;
            AppendUser(board, MakeUser(h, "Real " + h, 20)).value();
            kesto::MessageInfo m = MakeMessage(2, 1, h, "SysOp", h, 1150000000);
            m.Offline = 1; // already read: reading it writes nothing
            AppendMessage(board, "EMAIL", m, "Text " + h + "\r\nend").value();
            if (h.find_first_of(",\r\n") == std::string::npos) book += h + ",x@1/1,1\r\n";
        }
        kesto::MessageInfo big = MakeMessage(2, 1, "Bob", "SysOp", "Big", 1150000000);
        big.Offline = 1;
        big.AttFileName = "a\rb\x1b.zip";
        std::string formats;
        while (formats.size() < std::size_t{64} * 1024) formats += "%s%n";
        bigNumber = AppendMessage(board, "EMAIL", big, formats).value();
        bigText = formats;
        WriteNative(boardDir + "/DATA/AB1.DAT", book);
        WriteDataFile(board, "NETWORKS.LST", "1,1," + kHostile[0].bytes + "\r\n").value();
    }

    // Runs the command; its text output must hold no control character.
    std::string TextOf(std::vector<std::string> args) {
        const int rc = Run(args);
        EXPECT_EQ(rc, 0) << args[0] << ": " << err;
        EXPECT_EQ(ControlAt(out), std::string::npos) << args[0] << ":\n" << out;
        return out;
    }
    JsonValue JsonOf(std::vector<std::string> args) {
        args.push_back("--json");
        EXPECT_EQ(Run(args), 0) << args[0] << ": " << err;
        EXPECT_EQ(ControlAt(out), std::string::npos) << args[0] << ":\n" << out;
        std::optional<JsonValue> v = JsonReader::Parse(out);
        EXPECT_TRUE(v) << out;
        return v.value_or(JsonValue{});
    }

    std::int32_t bigNumber = 0;
    std::string bigText;
};

TEST_F(HostileTextCli, EveryCommandShowsControlsVisiblyAndJsonKeepsTheValue) {
    const auto before = Snapshot(boardDir);

    const std::string list = TextOf({"list"});
    const JsonValue rows = *JsonOf({"list"}).Find("rows");
    const std::string listJson = out;
    EXPECT_EQ(TextOf({"search", "text:"}), list); // an empty word: every row, through list's writer
    const std::string users = TextOf({"users"});
    const JsonValue usersJson = JsonOf({"users"});
    const std::string book = TextOf({"addressbook"});
    ASSERT_EQ(rows.items.size(), kHostile.size() + 1);
    for (std::size_t i = 0; i < kHostile.size(); ++i) {
        const Hostile& h = kHostile[i];
        const std::string value = kesto::Cp1252ToUtf8(h.bytes);
        const std::string number = std::to_string(i + 1);
        SCOPED_TRACE(h.shown);

        EXPECT_NE(list.find(h.shown), std::string::npos);
        const JsonValue& row = rows.items[kHostile.size() - i];
        EXPECT_EQ(row.Find("from")->text, value);
        EXPECT_EQ(row.Find("subject")->text, value);
        EXPECT_NE(listJson.find("\"subject\": \"" + h.json + "\""), std::string::npos);
        EXPECT_NE(users.find(h.shown), std::string::npos);
        EXPECT_EQ(usersJson.items[i + 1].Find("handle")->text, value);
        if (h.bytes.find_first_of(",\r\n") == std::string::npos)
            EXPECT_NE(book.find(h.shown), std::string::npos);

        const std::string read = TextOf({"read", number});
        EXPECT_NE(read.find("From:    " + h.shown + " @"), std::string::npos) << read;
        EXPECT_NE(read.find("Subject: " + h.shown + "\n"), std::string::npos) << read;
        const JsonValue shown = JsonOf({"read", number});
        EXPECT_EQ(shown.Find("subject")->text, value);
        EXPECT_NE(TextOf({"info", number}).find("Subject:            " + h.shown + "\n"), std::string::npos);
        EXPECT_EQ(JsonOf({"info", number}).Find("FromHandle")->text, value);
    }

    // A message text keeps its line ends; everything else in it is shown.
    EXPECT_NE(TextOf({"read", "1"}).find("\n\nText ^[]0;pwned^G\nend\n"), std::string::npos);
    // The reader makes a lone CR of the text a line end before it is shown.
    EXPECT_NE(TextOf({"read", "4"}).find("\n\nText over\nwrite\nend\n"), std::string::npos);
    const std::string big = TextOf({"read", std::to_string(bigNumber)});
    EXPECT_NE(big.find("\n\n" + bigText + "\n"), std::string::npos);
    EXPECT_TRUE(big.ends_with("\nAttached File: a^Mb^[.zip (0 bytes)\n"));
    EXPECT_TRUE(JsonOf({"read", std::to_string(bigNumber)}).Find("text")->text.starts_with(bigText + "\r\n"));

    // Board text quoted in a message on stderr.
    EXPECT_EQ(Run({"send", "--from", "1", "--to", "SysOp", "--network", "9"}), 1);
    EXPECT_NE(err.find(kHostile[0].shown), std::string::npos) << err;
    EXPECT_EQ(ControlAt(err), std::string::npos) << err;

    EXPECT_EQ(Snapshot(boardDir), before);
}

// The tool's own messages on stderr show what they quote from arguments and paths the same way.
TEST_F(HostileTextCli, MessagesShowControlsInArgumentsAndPaths) {
    const std::string odd = boardDir + "/no\x1b]0;x\x07where";
    EXPECT_EQ(Run({"list", "--board", odd}), 1);
    EXPECT_NE(err.find("no^[]0;x^Gwhere"), std::string::npos) << err;
    EXPECT_EQ(Run({"info", "\x1b[2J"}), 2);
    EXPECT_NE(err.find("'^[[2J'"), std::string::npos) << err;
    EXPECT_EQ(Run({"\x9b"
                   "2J"}),
              2); // a byte that is not UTF-8 reads as Windows-1252
    EXPECT_NE(err.find("unknown command '\xE2\x80\xBA"
                       "2J'"),
              std::string::npos)
        << err;
    EXPECT_EQ(ControlAt(err), std::string::npos) << err;
}

} // namespace
