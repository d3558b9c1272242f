#include "Recipient.h"

#include "DemoBoard.h"
#include "TestBoard.h"

#include <gtest/gtest.h>

namespace kesto::test {
namespace {

struct NetBoard {
    TempDir dir;
    Board b = demo::CreateBoard(dir.Path()).value();
    NetBoard() {
        // Types 2 and 5 are never offered; network 5 has no system id.
        demo::WriteDataFile(b, "NETWORKS.LST",
                            "1,1,Home,0\r\n\r\n  7 , 3 , Fido Net ,0\r\n2,2,Other\r\n"
                            "5,4,No Id\r\n9,9,Nine\r\n6,5,Five")
            .value();
        demo::WriteDataFile(b, "NET.7", "SYSTEMID=2:7/1\r\n").value();
        demo::WriteDataFile(b, "NET.2", "SYSTEMID=22\r\n").value();
        demo::WriteDataFile(b, "NET.5", "OTHER=x\r\n").value();
        demo::WriteDataFile(b, "NET.9", "systemid = 9/9\r\n").value();
        demo::WriteDataFile(b, "NET.6", "SYSTEMID=6\r\n").value();
    }
};

TEST(FillNetList, OffersOnlyTypes1349WithASystemId) {
    NetBoard f;
    auto list = FillNetList(f.b);
    ASSERT_EQ(list, (std::vector<std::string>{"0,0,Local", "1,1,Home", "7,3,Fido Net", "9,9,Nine"}));
    EXPECT_EQ(NetListLabel(list[0]), "Local (0)");
    EXPECT_EQ(NetListLabel("007,3,Fido Net"), "Fido Net (7)");
    EXPECT_EQ(NetListNumber(" 007 ,3,Fido"), "007");
    EXPECT_EQ(FindNetListLine(list, 9), 3);
    EXPECT_EQ(FindNetListLine(list, 4), -1);
}

TEST(FillNetList, UnreadableListLeavesTheLocalLineAndLogs) {
    TempDir dir;
    auto b = demo::CreateBoard(dir.Path()).value();
    EXPECT_EQ(FillNetList(b), std::vector<std::string>{"0,0,Local"});
    EXPECT_NE(ReadNative(dir.File("HMRERROR.LOG")).find("frmNewMessage FillNetList - "), std::string::npos);
}

TEST(Recipient, NormalisesTheToForms) {
    struct Case {
        const char *to, *net, *expected; // nullptr: refused
    };
    for (const Case& c :
         {Case{" bob ", "0", "bob@0*0"}, Case{"bob@1234", "7", "bob@1234*7"},
          Case{"bob@1234*7", "3", "bob@1234*7"}, Case{"Robert Smith", "0", "Robert Smith@0*0"},
          Case{"bob*7", "0", nullptr}, Case{"bob*7@1234", "0", nullptr}}) {
        EXPECT_EQ(NormaliseRecipient(c.to, c.net),
                  c.expected ? std::optional<std::string>(c.expected) : std::nullopt)
            << c.to;
    }
    using A = MailAddress;
    EXPECT_EQ(ParseMailAddress(" Bob Smith @ 1/1 * 2 "), (A{"Bob Smith", "1/1", "2"}));
    EXPECT_EQ(ParseMailAddress("bob"), (A{"bob", "", ""}));
    // At the first "@", then at the first "*" after it.
    EXPECT_EQ(ParseMailAddress("a@b@c*2*x"), (A{"a", "b@c", "2*x"}));
    EXPECT_TRUE(IsAllUsersForm("  ALL USERS > 20"));
    EXPECT_FALSE(IsAllUsersForm("allusers>20"));
}

MessageInfo From(std::string_view handle, std::string_view node, std::int16_t net) {
    auto m = demo::MakeMessage(3, 1, handle, "SysOp", "Hi", 0);
    PutText(m.FromNetNode, 0, 80, node);
    m.FromNetId = net;
    return m;
}

TEST(Recipient, ReplyAndAddressBookFillTheRecipientAndNetworkLine) {
    std::vector<std::string> list{"0,0,Local", "1,1,Home", "7,3,Fido"};
    struct Reply {
        const char* node;
        std::int16_t net;
        const char* mailTo;
        int line;
    };
    for (const Reply& c :
         {Reply{"1/1", 1, "Bob", 0}, Reply{"2:7/9", 7, "Bob@2:7/9", 2}, Reply{"1234", 4, "Bob@1234*4", 0},
          Reply{"5/5", 1, "Bob@5/5", 1}}) { // network 1, another board
        auto r = ReplyRecipient(From("Bob", c.node, c.net), "1/1", list);
        EXPECT_EQ(r.mailTo, c.mailTo);
        EXPECT_EQ(r.networkLine, c.line) << c.node;
    }
    struct Entry {
        const char *address, *mailTo;
        int line;
    };
    for (const Entry& c : {Entry{" Carol @ 1/1 * 1", "Carol", 0}, Entry{"Carol@2:7/3*7", "Carol@2:7/3", 2},
                           Entry{"Carol@44*8", "Carol@44*8", 0}, Entry{"Carol@0*0", "Carol@0", 0}}) {
        auto a = AddressBookRecipient(c.address, "1/1", list);
        EXPECT_EQ(a.mailTo, c.mailTo);
        EXPECT_EQ(a.networkLine, c.line) << c.address;
    }
}

} // namespace
} // namespace kesto::test
