#include "Recipient.h"

#include "DemoBoard.h"
#include "TestBoard.h"

#include <gtest/gtest.h>

namespace {

struct NetBoard {
    kesto::test::TempDir dir;
    kesto::Board b = kesto::demo::CreateBoard(dir.path());
    NetBoard() {
        // Types 2 and 5 are never offered; network 5 has no system id.
        kesto::demo::WriteDataFile(b, "NETWORKS.LST",
                                   "1,1,Home,0\r\n\r\n  7 , 3 , Fido Net ,0\r\n2,2,Other\r\n"
                                   "5,4,No Id\r\n9,9,Nine\r\n6,5,Five");
        kesto::demo::WriteDataFile(b, "NET.7", "SYSTEMID=2:7/1\r\n");
        kesto::demo::WriteDataFile(b, "NET.2", "SYSTEMID=22\r\n");
        kesto::demo::WriteDataFile(b, "NET.5", "OTHER=x\r\n");
        kesto::demo::WriteDataFile(b, "NET.9", "systemid = 9/9\r\n");
        kesto::demo::WriteDataFile(b, "NET.6", "SYSTEMID=6\r\n");
    }
};

TEST(FillNetList, OffersOnlyTypes1349WithASystemId) {
    NetBoard f;
    auto list = kesto::FillNetList(f.b);
    ASSERT_EQ(list, (std::vector<std::string>{"0,0,Local", "1,1,Home", "7,3,Fido Net", "9,9,Nine"}));
    EXPECT_EQ(kesto::NetListLabel(list[0]), "Local (0)");
    EXPECT_EQ(kesto::NetListLabel("007,3,Fido Net"), "Fido Net (7)");
    EXPECT_EQ(kesto::NetListNumber(" 007 ,3,Fido"), "007");
    EXPECT_EQ(kesto::FindNetListLine(list, 9), 3);
    EXPECT_EQ(kesto::FindNetListLine(list, 4), -1);
}

TEST(FillNetList, UnreadableListLeavesTheLocalLineAndLogs) {
    kesto::test::TempDir dir;
    auto b = kesto::demo::CreateBoard(dir.path());
    EXPECT_EQ(kesto::FillNetList(b), std::vector<std::string>{"0,0,Local"});
    EXPECT_NE(kesto::test::ReadNative(dir.file("HMRERROR.LOG")).find("frmNewMessage FillNetList - "),
              std::string::npos);
}

TEST(Recipient, NormalisesTheToForms) {
    std::string a;
    ASSERT_TRUE(kesto::NormaliseRecipient(" bob ", "0", a));
    EXPECT_EQ(a, "bob@0*0");
    ASSERT_TRUE(kesto::NormaliseRecipient("bob@1234", "7", a));
    EXPECT_EQ(a, "bob@1234*7");
    ASSERT_TRUE(kesto::NormaliseRecipient("bob@1234*7", "3", a));
    EXPECT_EQ(a, "bob@1234*7");
    ASSERT_TRUE(kesto::NormaliseRecipient("Robert Smith", "0", a));
    EXPECT_EQ(a, "Robert Smith@0*0");
    EXPECT_FALSE(kesto::NormaliseRecipient("bob*7", "0", a));
    EXPECT_FALSE(kesto::NormaliseRecipient("bob*7@1234", "0", a));

    EXPECT_TRUE(kesto::IsAllUsersForm("  ALL USERS > 20"));
    EXPECT_FALSE(kesto::IsAllUsersForm("allusers>20"));
}

kesto::MessageInfo From(std::string_view handle, std::string_view node, std::int16_t net) {
    auto m = kesto::demo::MakeMessage(3, 1, handle, "SysOp", "Hi", 0);
    kesto::PutText(m.FromNetNode, 0, 80, node);
    m.FromNetId = net;
    return m;
}

TEST(Recipient, ReplyAndAddressBookFillTheRecipientAndNetworkLine) {
    std::vector<std::string> list{"0,0,Local", "1,1,Home", "7,3,Fido"};
    auto r = kesto::ReplyRecipient(From("Bob", "1/1", 1), "1/1", list);
    EXPECT_EQ(r.mailTo, "Bob");
    EXPECT_EQ(r.networkLine, 0);
    r = kesto::ReplyRecipient(From("Bob", "2:7/9", 7), "1/1", list);
    EXPECT_EQ(r.mailTo, "Bob@2:7/9");
    EXPECT_EQ(r.networkLine, 2);
    r = kesto::ReplyRecipient(From("bob", "1234", 4), "1/1", list);
    EXPECT_EQ(r.mailTo, "bob@1234*4");
    EXPECT_EQ(r.networkLine, 0);
    r = kesto::ReplyRecipient(From("Bob", "5/5", 1), "1/1", list); // network 1, another board
    EXPECT_EQ(r.mailTo, "Bob@5/5");
    EXPECT_EQ(r.networkLine, 1);

    auto a = kesto::AddressBookRecipient(" Carol @ 1/1 * 1", "1/1", list);
    EXPECT_EQ(a.mailTo, "Carol");
    EXPECT_EQ(a.networkLine, 0);
    a = kesto::AddressBookRecipient("Carol@2:7/3*7", "1/1", list);
    EXPECT_EQ(a.mailTo, "Carol@2:7/3");
    EXPECT_EQ(a.networkLine, 2);
    a = kesto::AddressBookRecipient("Carol@44*8", "1/1", list);
    EXPECT_EQ(a.mailTo, "Carol@44*8");
    EXPECT_EQ(a.networkLine, 0);
    a = kesto::AddressBookRecipient("Carol@0*0", "1/1", list);
    EXPECT_EQ(a.mailTo, "Carol@0");
    EXPECT_EQ(a.networkLine, 0);
}

} // namespace
