#include "AddressBookUiSupport.h"
#include "FakeDialogs.h"

#include "addressbook/AddSenderCommand.h"
#include "addressbook/frmAddToAddressBook.h"

#include <QPushButton>
#include <QTest>

namespace kesto::test {
namespace {

class AddSenderTest : public AddressBookUiTest {
  protected:
    RecordNo received = Receive("Tom"); // from Tom at 1/1 on network 2
    RecordNo sent = 0;                  // to Desk at 4/5 on network 3

    AddSenderTest() {
        MessageInfo m = demo::MakeMessage(1, 0, "SysOp", "Desk", "Out", 1000);
        m.ToNetNode = "4/5" + std::string(77, ' ');
        m.ToNetId = 3;
        sent = static_cast<RecordNo>(demo::AppendMessage(s.board, "SNTEMAIL", m, "Out").value());
    }
    RecordNo Receive(std::string_view handle) {
        MessageInfo m = demo::MakeMessage(9, 1, handle, "SysOp", "Hello", 1000);
        m.FromNetNode = "1/1" + std::string(77, ' ');
        m.FromNetId = 2;
        return static_cast<RecordNo>(demo::AppendMessage(s.board, "EMAIL", m, "Hi").value());
    }
};

TEST_F(AddSenderTest, DialogProposesTheCorrespondentAndHandsBackTheEntryLine) {
    ui::frmAddToAddressBook w(s, received);
    w.show();
    EXPECT_EQ(LabelText(w, "lblAddressValue"), QStringLiteral("Tom@1/1"));
    EXPECT_EQ(Edit(w, "DescriptionValue")->text(), QStringLiteral("Tom@1/1"));
    Child<QPushButton>(&w, "cmdOk")->click();
    EXPECT_EQ(w.GetEntry(), "Tom@1/1,Tom@1/1,2");

    s.CurrentMailbox = Mailbox::Sent;
    ui::frmAddToAddressBook out(s, sent);
    out.show();
    auto* desc = Edit(out, "DescriptionValue");
    desc->clear();
    QTest::keyClicks(desc, QStringLiteral(" Front; desk, "));
    desc->insert(QStringLiteral(",x;"));
    QTest::keyClick(desc, Qt::Key_Return);
    EXPECT_EQ(out.GetEntry(), "Front desk x,Desk@4/5,3");

    ui::frmAddToAddressBook cancelled(s, sent);
    cancelled.show();
    QTest::keyClick(&cancelled, Qt::Key_Escape);
    EXPECT_EQ(cancelled.GetEntry(), std::nullopt);
    EXPECT_EQ(cancelled.result(), QDialog::Rejected);
}

TEST_F(AddSenderTest, AnUnreadableMessageClosesTheDialogAtOnceABlankHandleDoesNot) {
    std::filesystem::remove(s.board.startDir + "/MAIL/SNTEMAIL.DAT");
    s.CurrentMailbox = Mailbox::Sent;
    {
        ui::frmAddToAddressBook w(s, sent);
        QTimer::singleShot(3000, &w, [&w] { w.done(42); }); // only if it failed to close itself
        EXPECT_EQ(w.ProposeEntry(), std::nullopt);
        EXPECT_EQ(w.result(), QDialog::Rejected);
    }

    // A sender without a handle is still proposed, as the record holds him.
    s.CurrentMailbox = Mailbox::Received;
    ui::frmAddToAddressBook w(s, Receive(""));
    OnModal(&testScope, QStringLiteral("frmAddToAddressBook"), [](QWidget* d) {
        EXPECT_EQ(LabelText(*d, "lblAddressValue"), QStringLiteral("@1/1"));
        Child<QPushButton>(d, "cmdOk")->click();
    });
    EXPECT_EQ(w.ProposeEntry(), "@1/1,@1/1,2");
}

TEST_F(AddSenderTest, CommandAddsOnceThenSaysTheUserIsThere) {
    FakeDialogs fake;
    OnModal(&testScope, QStringLiteral("frmAddToAddressBook"),
            [&](QWidget* w) { Child<QPushButton>(w, "cmdCancel")->click(); });
    ui::AddSenderToAddressBook(nullptr, s, received);
    EXPECT_FALSE(std::filesystem::exists(BookPath()));
    EXPECT_TRUE(fake.messages.isEmpty());

    OnModal(&testScope, QStringLiteral("frmAddToAddressBook"),
            [&](QWidget* w) { Child<QPushButton>(w, "cmdOk")->click(); });
    ui::AddSenderToAddressBook(nullptr, s, received);
    EXPECT_EQ(Book(), "Tom@1/1,Tom@1/1,2\r\n");
    ASSERT_EQ(fake.messages.size(), 1);
    EXPECT_EQ(fake.messages[0].text, QStringLiteral("This user has been added."));

    WriteBook("Friend,TOM@1/1,7\r\n");
    bool opened = false;
    OnModal(&testScope, QStringLiteral("frmAddToAddressBook"), [&](QWidget*) { opened = true; });
    ui::AddSenderToAddressBook(nullptr, s, received);
    QTest::qWait(50);
    EXPECT_FALSE(opened);
    ASSERT_EQ(fake.messages.size(), 2);
    EXPECT_EQ(fake.messages[1].text, QStringLiteral("This user is already in the address book."));
    EXPECT_EQ(Book(), "Friend,TOM@1/1,7\r\n");
}

} // namespace
} // namespace kesto::test
