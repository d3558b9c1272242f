#include "AddressBookUiSupport.h"
#include "FakeDialogs.h"

#include "MailBase.h"
#include "addressbook/AddSenderCommand.h"
#include "addressbook/frmAddToAddressBook.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using kesto::test::OnModal;

class AddSenderTest : public kesto::test::AddressBookUiTest {
protected:
    std::int16_t received = 0; // from Tom at 1/1 on network 2, to SysOp
    std::int16_t sent = 0;     // from SysOp to Desk at 4/5 on network 3

    AddSenderTest() {
        kesto::MessageInfo m = kesto::demo::MakeMessage(9, 1, "Tom", "SysOp", "Hello", 1000);
        m.FromNetNode = Padded("1/1", 80);
        m.FromNetId = 2;
        received = static_cast<std::int16_t>(kesto::demo::AppendMessage(s.board, "EMAIL", m, "Hi"));
        kesto::MessageInfo o = kesto::demo::MakeMessage(1, 0, "SysOp", "Desk", "Out", 1000);
        o.ToNetNode = Padded("4/5", 80);
        o.ToNetId = 3;
        sent = static_cast<std::int16_t>(kesto::demo::AppendMessage(s.board, "SNTEMAIL", o, "Out"));
    }
    static std::string Padded(std::string_view text, std::size_t width) {
        return std::string(text) + std::string(width - text.size(), ' ');
    }
    static QLineEdit* desc(QWidget* w) { return w->findChild<QLineEdit*>(QStringLiteral("DescriptionValue")); }
    static QPushButton* push(QWidget* w, const char* name) { return w->findChild<QPushButton*>(QLatin1String(name)); }
};

TEST_F(AddSenderTest, ProposesTheSenderAndHandsBackTheEntryLine) {
    s.CurrentMessageNumber = received;
    kesto::ui::frmAddToAddressBook w(s);
    w.show();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Kesto - Add Address Book Entry"));
    EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("lblAddressValue"))->text(), QStringLiteral("Tom@1/1"));
    EXPECT_EQ(desc(&w)->text(), QStringLiteral("Tom@1/1"));
    push(&w, "cmdOk")->click();
    EXPECT_EQ(s.DialogMode, "Tom@1/1,Tom@1/1,2");
    EXPECT_EQ(w.result(), QDialog::Accepted);
}

TEST_F(AddSenderTest, SentMailProposesTheRecipientAndTheDescriptionIsFiltered) {
    s.CurrentMailbox = 2;
    s.CurrentMessageNumber = sent;
    kesto::ui::frmAddToAddressBook w(s);
    w.show();
    EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("lblAddressValue"))->text(), QStringLiteral("Desk@4/5"));
    desc(&w)->clear();
    QTest::keyClicks(desc(&w), QStringLiteral(" Front; desk, "));
    desc(&w)->insert(QStringLiteral(",x;"));
    QTest::keyClick(desc(&w), Qt::Key_Return);
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(s.DialogMode, "Front desk x,Desk@4/5,3");
}

TEST_F(AddSenderTest, CancelAndEscapeHandBackNothing) {
    s.CurrentMessageNumber = received;
    s.DialogMode = "left over";
    kesto::ui::frmAddToAddressBook w(s);
    w.show();
    push(&w, "cmdCancel")->click();
    EXPECT_EQ(s.DialogMode, "");

    s.DialogMode = "left over";
    kesto::ui::frmAddToAddressBook w2(s);
    w2.show();
    QTest::keyClick(desc(&w2), Qt::Key_Escape);
    EXPECT_EQ(w2.result(), QDialog::Rejected);
    EXPECT_EQ(s.DialogMode, "");
}

TEST_F(AddSenderTest, AnUnreadableMessageClosesTheDialogAtOnce) {
    // Past the end of the index, and a mailbox that cannot be read.
    std::filesystem::remove(s.board.startDir + "/MAIL/SNTEMAIL.DAT");
    for (std::int16_t mailbox : {1, 2}) {
        s.CurrentMailbox = mailbox;
        s.CurrentMessageNumber = mailbox == 1 ? 99 : sent;
        kesto::ui::frmAddToAddressBook w(s);
        EXPECT_TRUE(w.failed());
        QTimer::singleShot(3000, &w, [&w] { w.done(42); }); // only if it failed to close itself
        EXPECT_EQ(w.exec(), QDialog::Rejected);
        EXPECT_EQ(s.DialogMode, "");
    }
}

TEST_F(AddSenderTest, CommandAddsTheSenderOnceAndSaysSo) {
    kesto::test::FakeDialogs fake;
    s.CurrentMessageNumber = 0;
    bool opened = false;
    OnModal(&testScope, QStringLiteral("frmAddToAddressBook"), [&](QWidget* w) {
        opened = true;
        push(w, "cmdOk")->click();
    });
    kesto::ui::AddSenderToAddressBook(nullptr, s, received);
    EXPECT_TRUE(opened);
    EXPECT_EQ(book(), "Tom@1/1,Tom@1/1,2\r\n");
    ASSERT_EQ(fake.messages.size(), 1);
    EXPECT_EQ(fake.messages[0].title, QStringLiteral("Kesto - Address Book"));
    EXPECT_EQ(fake.messages[0].text, QStringLiteral("This user has been added."));
    EXPECT_EQ(fake.messages[0].icon, kesto::ui::Dialogs::Icon::Information);
    EXPECT_EQ(s.CurrentMessageNumber, 0);
    EXPECT_EQ(s.DialogMode, "");

    // The second time it is found, whatever the letter case, and no dialog opens.
    writeBook("Friend,TOM@1/1,7\r\n");
    opened = false;
    OnModal(&testScope, QStringLiteral("frmAddToAddressBook"), [&](QWidget*) { opened = true; });
    kesto::ui::AddSenderToAddressBook(nullptr, s, received);
    QTest::qWait(50);
    EXPECT_FALSE(opened);
    ASSERT_EQ(fake.messages.size(), 2);
    EXPECT_EQ(fake.messages[1].text, QStringLiteral("This user is already in the address book."));
    EXPECT_EQ(fake.messages[1].title, QStringLiteral("Kesto - Address Book"));
    EXPECT_EQ(book(), "Friend,TOM@1/1,7\r\n");
}

TEST_F(AddSenderTest, CancelAddsNothingAndTheReadersMessageNumberIsKept) {
    kesto::test::FakeDialogs fake;
    writeBook("Other,other@1/1,1\r\n");
    s.CurrentMessageNumber = received; // as in the reader, where the open message stays current
    OnModal(&testScope, QStringLiteral("frmAddToAddressBook"), [&](QWidget* w) { push(w, "cmdCancel")->click(); });
    kesto::ui::AddSenderToAddressBook(nullptr, s, received);
    EXPECT_EQ(book(), "Other,other@1/1,1\r\n");
    EXPECT_TRUE(fake.messages.isEmpty());
    EXPECT_EQ(s.CurrentMessageNumber, received);
    EXPECT_EQ(s.DialogMode, "");
}

} // namespace
