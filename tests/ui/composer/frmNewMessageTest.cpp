#include "ComposerFixture.h"

#include "AddressBook.h"
#include "Bytes.h"
#include "MessageOutput.h"
#include "composer/frmNewMessage.h"

#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

namespace {

using kesto::test::Act;
using kesto::test::Button;
using kesto::test::Child;
using kesto::test::ComposerBoard;
using kesto::test::Edit;
using kesto::test::FakeDialogs;
using kesto::test::OnNextModal;
using kesto::ui::frmNewMessage;

QComboBox* Net(QWidget& w) {
    return Child<QComboBox>(w, "MailToNetid");
}
QPlainTextEdit* Text(QWidget& w) {
    return Child<QPlainTextEdit>(w, "txtMessage");
}

TEST(Composer, OffersTheNetworksAndFocusesTheRecipient) {
    ComposerBoard f;
    frmNewMessage w(f.s);
    // Network 5 has no system id and is left out.
    QComboBox* net = Net(w);
    ASSERT_EQ(net->count(), 3);
    EXPECT_EQ(net->itemText(0), QStringLiteral("Local (0)"));
    EXPECT_EQ(net->itemText(2), QStringLiteral("Fido Net (7)"));
    EXPECT_EQ(net->currentIndex(), 0);

    w.show();
    w.Form_Activate();
    EXPECT_EQ(w.focusWidget(), Edit(w, "MailTo"));
}

TEST(Composer, LevelsGovernSendToAllAndAttach) {
    ComposerBoard f;
    f.BecomeUser(2, 20);
    frmNewMessage w(f.s);
    EXPECT_FALSE(Act(w, "mnuActionsSendToAll")->isEnabled());
    EXPECT_FALSE(Button(w, "Toolbar1_Button7")->isEnabled());
    EXPECT_FALSE(Act(w, "mnuActionsAttach")->isEnabled());

    // Mail to user 1 on the local line takes the SysOp level (10); anything else the mail level (50).
    QLineEdit* to = Edit(w, "MailTo");
    to->setText(QStringLiteral("1"));
    EXPECT_TRUE(Act(w, "mnuActionsAttach")->isEnabled());
    EXPECT_TRUE(Button(w, "Toolbar1_Button3")->isEnabled());
    to->setText(QStringLiteral("01"));
    EXPECT_TRUE(Act(w, "mnuActionsAttach")->isEnabled());
    to->setText(QStringLiteral("1@0"));
    EXPECT_FALSE(Act(w, "mnuActionsAttach")->isEnabled());
    EXPECT_TRUE(Child<QPushButton>(w, "cmdAttach")->isEnabled());

    // Changing the line alone does not look again.
    to->setText(QStringLiteral("1"));
    Net(w)->setCurrentIndex(2);
    EXPECT_TRUE(Act(w, "mnuActionsAttach")->isEnabled());
    to->setText(QStringLiteral("1 "));
    EXPECT_FALSE(Act(w, "mnuActionsAttach")->isEnabled());

    // A "*" in the address names the network itself.
    to->setText(QStringLiteral("bob@1234*7"));
    EXPECT_FALSE(Net(w)->isEnabled());
    to->setText(QStringLiteral("bob@1234"));
    EXPECT_TRUE(Net(w)->isEnabled());

    FakeDialogs dialogs;
    w.mnuActionsSendToAll_Click();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Only a user with SysOp access may use this option."));
}

TEST(Composer, SendChecksShowTheirMessagesAndKeepTheWindowOpen) {
    ComposerBoard f;
    FakeDialogs dialogs;
    frmNewMessage w(f.s);
    w.show();
    QLineEdit* to = Edit(w, "MailTo");
    QLineEdit* subject = Edit(w, "MailSubject");
    struct Case {
        const char* to;
        const char* subject;
        int line;
        const char* message;
    } cases[] = {
        {"  ", "s", 0, "You must enter a recipient for this message."},
        {"bob", " ", 0, "You must enter a subject for this message."},
        {"ALL USERS > 20", "s", 1,
         "You may only send email to \"all users\" if the chosen network is Local."},
        {"bob*7", "s", 0, "Invalid TO: Format"},
        {"bob*7@1234", "s", 0, "Invalid TO: Format"},
        {"bob@1234*5", "s", 0, "The network you specified is invalid."},
        {"nobody", "s", 0, "The user specified is invalid."},
        {"all users # 5", "s", 0,
         "Improper format to send to all users.\nSend to \"all users <>= securitylevel\" or \"all users !$ "
         "flag\"."},
    };
    for (const auto& c : cases) {
        dialogs.messages.clear();
        to->setText(QString::fromLatin1(c.to));
        subject->setText(QString::fromLatin1(c.subject));
        Net(w)->setCurrentIndex(c.line);
        Button(w, "Toolbar1_Button1")->click();
        ASSERT_EQ(dialogs.messages.size(), 1) << c.to;
        EXPECT_EQ(dialogs.messages[0].text, QString::fromLatin1(c.message));
        EXPECT_TRUE(w.isVisible());
        EXPECT_FALSE(w.IsLocked());
    }
    EXPECT_FALSE(std::filesystem::exists(f.dir.File("MAIL/EMAIL.DAT")));

    // Closing sends nothing.
    Act(w, "mnuFileClose")->trigger();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.result(), QDialog::Rejected);
}

TEST(Composer, SendsTheNormalisedAddressAndCloses) {
    ComposerBoard f;
    FakeDialogs dialogs;
    {
        frmNewMessage w(f.s);
        w.show();
        Edit(w, "MailTo")->setText(QStringLiteral("zed@2:7/9"));
        Net(w)->setCurrentIndex(2);
        Edit(w, "MailSubject")->setText(QString::fromUtf8("Caf\xC3\xA9"));
        Text(w)->setPlainText(QString::fromUtf8("Hi\xC2\xA0\nthere"));
        Act(w, "mnuActionsSend")->trigger();
        EXPECT_TRUE(dialogs.messages.isEmpty());
        EXPECT_EQ(w.result(), QDialog::Accepted);
    }
    std::string spool = f.Read("DATA/SPOOL.NET");
    ASSERT_EQ(spool.size(), 582u + 12);
    EXPECT_EQ(spool.substr(48, 4), "zed ");
    EXPECT_EQ(spool.substr(168, 7), "2:7/9  ");
    EXPECT_EQ(kesto::GetI16(spool, 250), 7);
    EXPECT_EQ(spool.substr(268, 5), "Caf\xE9 ");
    // The no-break blank stays a byte of its own.
    EXPECT_EQ(spool.substr(582), "Hi\xA0\r\nthere\r\n");
    EXPECT_EQ(f.Read("MAIL/SNTEMAIL.BIN"), "Hi\xA0\r\nthere\r\n");
}

TEST(Composer, SendsToAllUsersFromTheCriterionDialog) {
    ComposerBoard f;
    FakeDialogs dialogs;
    frmNewMessage w(f.s);
    w.show();
    OnNextModal([](QWidget* d) {
        ASSERT_NE(d, nullptr);
        Child<QRadioButton>(*d, "Option1_2")->click();
        Edit(*d, "ValueValue")->setText(QStringLiteral("255"));
        Child<QPushButton>(*d, "cmdOk")->click();
    });
    Button(w, "Toolbar1_Button7")->click();
    EXPECT_EQ(Edit(w, "MailTo")->text(), QStringLiteral("all users = 255"));
    Edit(w, "MailSubject")->setText(QStringLiteral("News"));
    Act(w, "mnuActionsSend")->trigger();
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(f.Read("MAIL/EMAIL.DAT").size(), 2 * 582u); // users 1 and 4
    EXPECT_FALSE(std::filesystem::exists(f.dir.File("MAIL/SNTEMAIL.DAT")));
}

TEST(Composer, UserListingAndAddressBookFillTheRecipient) {
    ComposerBoard f;
    frmNewMessage w(f.s);
    w.show();
    Net(w)->setCurrentIndex(1);
    OnNextModal([](QWidget* d) {
        ASSERT_NE(d, nullptr);
        Child<QListWidget>(*d, "lstUsers")->setCurrentRow(2); // user 4: slot 3 is not listed
        Child<QPushButton>(*d, "cmdOk")->click();
    });
    Act(w, "mnuActionsUserlist")->trigger();
    EXPECT_EQ(Edit(w, "MailTo")->text(), QStringLiteral("4"));
    EXPECT_EQ(Net(w)->currentIndex(), 0);

    ASSERT_TRUE(kesto::AddToAddressBook(f.s.board, 1, "Carol at Fido,Carol@2:7/3,7"));
    OnNextModal([](QWidget* d) {
        ASSERT_NE(d, nullptr);
        Child<QListWidget>(*d, "lstAddressBook")->setCurrentRow(0);
        Child<QPushButton>(*d, "cmdOk")->click();
    });
    Child<QPushButton>(w, "cmdTo")->click();
    EXPECT_EQ(Edit(w, "MailTo")->text(), QStringLiteral("Carol@2:7/3"));
    EXPECT_EQ(Net(w)->currentIndex(), 2);
}

kesto::MessageInfo Received(std::string_view handle, std::string_view node, std::int16_t net) {
    auto m = kesto::demo::MakeMessage(2, 1, handle, "SysOp", " Plans ", 1150000000);
    kesto::PutText(m.FromNetNode, 0, 80, node);
    m.FromNetId = net;
    return m;
}

TEST(Composer, ReplyPrefillsRecipientSubjectAndQuote) {
    ComposerBoard f;
    auto local =
        static_cast<kesto::RecordNo>(kesto::demo::AppendMessage(f.s.board, "EMAIL", Received("Bob", "1/1", 1),
                                                                "Meet at \x03"
                                                                "3noon\r\n")
                                         .value());
    auto fido = static_cast<kesto::RecordNo>(
        kesto::demo::AppendMessage(f.s.board, "EMAIL", Received("Zed", "2:7/9", 7), "x").value());
    auto unknown = static_cast<kesto::RecordNo>(
        kesto::demo::AppendMessage(f.s.board, "EMAIL", Received("bob", "1234", 8), "y").value());
    {
        frmNewMessage w(f.s, nullptr, local);
        EXPECT_EQ(Edit(w, "MailTo")->text(), QStringLiteral("Bob"));
        EXPECT_EQ(Net(w)->currentIndex(), 0);
        EXPECT_EQ(Edit(w, "MailSubject")->text(), QStringLiteral("Plans"));
        const std::string quote = kesto::QuoteMessage("Meet at noon", " Plans ");
        QString expected = QString::fromLatin1(quote.c_str()) + QStringLiteral("\n\n");
        expected.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        EXPECT_EQ(Text(w)->toPlainText(), expected);
        w.show();
        w.Form_Activate();
        EXPECT_EQ(w.focusWidget(), Text(w));
        EXPECT_EQ(Text(w)->textCursor().position(), Text(w)->toPlainText().size());
    }
    // An offered network is selected; an unknown one goes into the address and locks the line.
    for (auto [number, to, line, enabled] :
         {std::tuple{fido, "Zed@2:7/9", 2, true}, std::tuple{unknown, "bob@1234*8", 0, false}}) {
        frmNewMessage w(f.s, nullptr, number);
        EXPECT_EQ(Edit(w, "MailTo")->text(), QLatin1String(to));
        EXPECT_EQ(Net(w)->currentIndex(), line);
        EXPECT_EQ(Net(w)->isEnabled(), enabled);
    }
}

TEST(Composer, AttachTakesTheShortUpperCaseFormFromTheFilePicker) {
    ComposerBoard f;
    FakeDialogs dialogs;
    frmNewMessage w(f.s);
    kesto::test::WriteNative(f.dir.File("files/Quarterly Report.text"), "q");
    dialogs.openAnswer = QString::fromStdString(f.dir.File("files/Quarterly Report.text"));
    Act(w, "mnuActionsAttach")->trigger();
    EXPECT_EQ(dialogs.lastTitle, QStringLiteral("Please select a file."));
    EXPECT_EQ(dialogs.lastDirectory, QDir::currentPath());
    const QString attached = Edit(w, "MailAttach")->text();
    EXPECT_TRUE(attached.endsWith(QStringLiteral("/FILES/QUARTE~1.TEX"))) << attached.toStdString();
    EXPECT_EQ(attached, attached.toUpper());

    // The next pick starts beside the attached file; cancelling keeps it.
    dialogs.openAnswer.clear();
    Child<QPushButton>(w, "cmdAttach")->click();
    EXPECT_EQ(QDir(dialogs.lastDirectory).canonicalPath(),
              QDir(QString::fromStdString(f.dir.File("files"))).canonicalPath());
    EXPECT_EQ(Edit(w, "MailAttach")->text(), attached);

    // Sending copies the file picked under the sender's folder, not a twin folder that
    // the box's upper-case form names as well.
    kesto::test::WriteNative(f.dir.File("FILES/Quarterly Report.text"), "twin");
    Edit(w, "MailTo")->setText(QStringLiteral("bob"));
    Edit(w, "MailSubject")->setText(QStringLiteral("report"));
    Act(w, "mnuActionsSend")->trigger();
    EXPECT_EQ(f.Read("ATTACH/1/QUARTE~1.TEX"), "q");

    // A picked file gone at send time is said, and nothing is sent.
    frmNewMessage gone(f.s);
    dialogs.openAnswer = QString::fromStdString(f.dir.File("files/Quarterly Report.text"));
    Act(gone, "mnuActionsAttach")->trigger();
    std::filesystem::remove(f.dir.File("files/Quarterly Report.text"));
    Edit(gone, "MailTo")->setText(QStringLiteral("bob"));
    Edit(gone, "MailSubject")->setText(QStringLiteral("again"));
    const std::string index = f.Read("MAIL/EMAIL.DAT");
    Act(gone, "mnuActionsSend")->trigger();
    ASSERT_FALSE(dialogs.messages.isEmpty());
    EXPECT_EQ(dialogs.messages.back().text, QStringLiteral("The file to attach cannot be read."));
    EXPECT_EQ(f.Read("MAIL/EMAIL.DAT"), index);
    EXPECT_FALSE(gone.IsLocked());
}

TEST(Composer, DeliveryFailureIsOnlyLoggedAndLeavesTheWindowUsable) {
    ComposerBoard f;
    FakeDialogs dialogs;
    std::filesystem::create_symlink("/dev/full", f.dir.File("MAIL/EMAIL.DAT"));
    frmNewMessage w(f.s);
    w.show();
    Edit(w, "MailTo")->setText(QStringLiteral("bob"));
    Edit(w, "MailSubject")->setText(QStringLiteral("s"));
    Act(w, "mnuActionsSend")->trigger();
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(w.IsLocked());
    EXPECT_NE(f.Read("HMRERROR.LOG").find("frmNewMessage SendEmail - Disk full"), std::string::npos);

    // While a send runs nothing can be changed and the window cannot be closed under it.
    w.LockComposer();
    EXPECT_FALSE(Button(w, "Toolbar1_Button5")->isEnabled());
    EXPECT_TRUE(Text(w)->isReadOnly());
    w.close();
    EXPECT_TRUE(w.isVisible());
    // Unlocking gives the commands back as the rules say: mail to user 1 may carry a file.
    f.BecomeUser(2, 20);
    Edit(w, "MailTo")->setText(QStringLiteral("1"));
    w.UnlockComposer();
    EXPECT_TRUE(Act(w, "mnuActionsAttach")->isEnabled());
    EXPECT_FALSE(Act(w, "mnuActionsSendToAll")->isEnabled());
    w.close();
    EXPECT_FALSE(w.isVisible());
}

TEST(Composer, MessageTextStopsAt32767CharactersAsFiledWithCrLf) {
    ComposerBoard f;
    frmNewMessage w(f.s);
    Text(w)->setPlainText(QString(32760, QLatin1Char('a')));
    Text(w)->moveCursor(QTextCursor::End);
    Text(w)->insertPlainText(QString(20, QLatin1Char('b')));
    EXPECT_EQ(Text(w)->toPlainText().size(), 32767);

    // Each line break is filed as CR LF: two of the 32,767.
    Text(w)->setPlainText(QString(32750, QLatin1Char('a')));
    Text(w)->moveCursor(QTextCursor::End);
    Text(w)->insertPlainText(QStringLiteral("\nb\nc\nd\nefghijklmnop"));
    EXPECT_EQ(Text(w)->toPlainText(), QString(32750, QLatin1Char('a')) + QStringLiteral("\nb\nc\nd\nefghij"));
    // A break that no longer fits whole is left out with what follows it.
    Text(w)->setPlainText(QString(32766, QLatin1Char('a')));
    Text(w)->moveCursor(QTextCursor::End);
    Text(w)->insertPlainText(QStringLiteral("\nz"));
    EXPECT_EQ(Text(w)->toPlainText(), QString(32766, QLatin1Char('a')));
}

} // namespace
