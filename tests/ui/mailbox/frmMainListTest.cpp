#include "MailboxFixture.h"

#include "Bytes.h"
#include "Records.h"
#include "reader/frmOpenMessage.h"

#include <QMenu>
#include <QTabBar>
#include <QTest>

#include <filesystem>

namespace kesto::test {
namespace {

using ListTest = MailboxFixture;

TEST_F(ListTest, LoadListsTheUsersReceivedMailNewestFirstWithDefaultSettings) {
    Add({.from = 2, .to = 1, .subject = "  First  ", .body = "12345"});
    Add({.from = 1, .to = 2, .subject = "To Bob"});
    Add({.from = 3, .to = 1, .subject = "Third", .body = "1234567890"});
    Open();

    // Only user 1's received mail; the saved default sort is "#" descending.
    EXPECT_EQ(ColumnTexts(1), Strings({"3", "1"}));
    EXPECT_EQ(ColumnTexts(2), Strings({"Ann", "Bob"}));
    EXPECT_EQ(ColumnTexts(3), Strings({"Third", "First"}));
    EXPECT_EQ(ColumnTexts(5), Strings({"10", "5"}));
    EXPECT_EQ(HeaderIcon(1), QStringLiteral("down"));
    EXPECT_EQ(win->GetSelectedPosition(), 1);
    EXPECT_EQ(win->GetMessageNumberAt(1), 3);
    EXPECT_EQ(win->GetMessageNumberAt(3), 0);

    // KESTO.DAT was created with the defaults, and the columns use its widths.
    const std::string dat = ReadNative(NativeFile("KESTO.DAT"));
    ASSERT_EQ(dat.size(), 48u);
    EXPECT_EQ(GetI32(dat, 8), 10215);
    EXPECT_EQ(GetI32(dat, 12), 5865);
    EXPECT_EQ(GetI16(dat, 20), 2);
    EXPECT_EQ(GetI16(dat, 22), 1);
    const int widths[] = {360, 800, 2000, 3500, 2500, 1000};
    for (int c = 0; c < 6; ++c) {
        EXPECT_EQ(GetI32(dat, 24 + 4 * static_cast<std::size_t>(c)), widths[c]);
        EXPECT_EQ(List()->header()->sectionSize(c), Px(widths[c])) << c;
    }
    // The size is the outer one, frame included, so it does not grow by a frame per run.
    EXPECT_EQ(win->frameGeometry().size(), QSize(Px(10215), Px(5865)));
}

TEST_F(ListTest, IconsFollowDeletedReadAndAttachmentAndUnreadRowsAreBoldExceptSize) {
    Add({.subject = "unread"});
    Add({.subject = "read", .offline = 1});
    Add({.subject = "attached", .attachment = "TRIP.ZIP"});
    Add({.subject = "attached read", .offline = 1, .attachment = "TRIP.ZIP"});
    Add({.subject = "deleted unread", .deleted = 1});
    Open();

    // Newest first: rows 0..4 are records 5..1. A deleted message never read stays bold.
    const char* icons[] = {"delete", "open", "email_attach", "open", "new"};
    for (int r = 0; r < 5; ++r) EXPECT_EQ(RowIcon(r), QLatin1String(icons[r])) << r;
    for (int c = 0; c <= 5; ++c) {
        EXPECT_EQ(Bold(0, c), c >= 1 && c <= 4) << c;
        EXPECT_FALSE(Bold(1, c)) << c;
    }
}

TEST_F(ListTest, AUserWithoutMailGetsTheColumnsAndOnlyTheCommandsThatNeedNoMessage) {
    Add({.from = 1, .to = 2});
    Open();

    EXPECT_EQ(Model()->rowCount(), 0);
    for (const char* name :
         {"mnuFileSaveAs", "mnuActionsOpen", "mnuActionsPrint", "mnuActionsReply", "mnuActionsDelete",
          "mnuActionsDeleteAll", "mnuActionsAddSender", "mnuPopUpOptions_0"})
        EXPECT_FALSE(Action(name)->isEnabled()) << name;
    for (const char* name : {"Toolbar1_Button3", "Toolbar1_Button4", "Toolbar1_Button6", "Toolbar1_Button7",
                             "Toolbar1_Button8", "Toolbar1_Button11"})
        EXPECT_FALSE(Button(*win, name)->isEnabled()) << name;
    for (const char* name : {"mnuActionsNew", "mnuActionsAddressBook", "mnuActionsRefresh", "mnuHelpAbout",
                             "mnuFileExit", "mnuFileChangeUser"})
        EXPECT_TRUE(Action(name)->isEnabled()) << name;
    for (const char* name : {"Toolbar1_Button1", "Toolbar1_Button10", "Toolbar1_Button13"})
        EXPECT_TRUE(Button(*win, name)->isEnabled()) << name;

    // Commands on an empty list do nothing.
    win->mnuActionsDelete_Click();
    win->mnuActionsDeleteAll_Click();
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(ListTest, TheSentTabListsWhatTheUserSentUnderTo) {
    Add({.from = 2, .to = 1, .subject = "in"});
    Add({.mailbox = "SNTEMAIL", .from = 1, .to = 3, .subject = "out to Ann"});
    Add({.mailbox = "SNTEMAIL", .from = 2, .to = 1, .subject = "Bob's copy"});
    // A message to himself is in both mailboxes.
    Add({.from = 1, .to = 1, .subject = "note to self"});
    Add({.mailbox = "SNTEMAIL", .from = 1, .to = 1, .subject = "note to self"});
    Open();
    EXPECT_EQ(ColumnTexts(3), Strings({"note to self", "in"}));

    Child<QTabBar>(*win, "tbsOptions")->setCurrentIndex(1);
    EXPECT_EQ(session.CurrentMailbox, Mailbox::Sent);
    EXPECT_EQ(Model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("To"));
    EXPECT_EQ(ColumnTexts(3), Strings({"note to self", "out to Ann"}));
    EXPECT_EQ(ColumnTexts(2), Strings({"Sysop", "Ann"}));

    Child<QTabBar>(*win, "tbsOptions")->setCurrentIndex(0);
    EXPECT_EQ(session.CurrentMailbox, Mailbox::Received);
    EXPECT_EQ(ColumnTexts(3), Strings({"note to self", "in"}));
}

TEST_F(ListTest, DeleteTogglesTheMarkOfExactlyTheSelectedRows) {
    for (int i = 1; i <= 4; ++i) Add({.subject = "m" + std::to_string(i)});
    Open();
    // Rows 1..4 are records 4..1; select rows 1, 2 and 4.
    win->ClearSelection();
    for (int p : {1, 2, 4}) win->SelectRow(p);
    Action("mnuActionsDelete")->trigger();

    EXPECT_EQ(Record("EMAIL", 4).Deleted, 1);
    EXPECT_EQ(Record("EMAIL", 3).Deleted, 1);
    EXPECT_EQ(Record("EMAIL", 2).Deleted, 0);
    EXPECT_EQ(Record("EMAIL", 1).Deleted, 1);
    EXPECT_EQ(RowIcon(0), QStringLiteral("delete"));
    EXPECT_EQ(RowIcon(2), QStringLiteral("new"));

    // The same command undeletes; the toolbar and context menu word it after the row.
    win->ClearSelection();
    win->SelectRow(1);
    EXPECT_EQ(Button(*win, "Toolbar1_Button7")->toolTip(), QStringLiteral("UnDelete"));
    EXPECT_EQ(Action("mnuPopUpOptions_4")->text(), QStringLiteral("UnDelete"));
    EXPECT_EQ(Action("mnuActionsDelete")->text(), QStringLiteral("&Delete Message"));
    Button(*win, "Toolbar1_Button7")->click();
    EXPECT_EQ(Record("EMAIL", 4).Deleted, 0);
    EXPECT_EQ(RowIcon(0), QStringLiteral("new"));
    EXPECT_EQ(Action("mnuPopUpOptions_4")->text(), QStringLiteral("Delete"));
    Action("mnuPopUpOptions_4")->trigger();
    EXPECT_EQ(Record("EMAIL", 4).Deleted, 1);
}

TEST_F(ListTest, DeleteAllInvertsEveryListedMarkAndLeavesOtherUsersMail) {
    Add({.subject = "a"});
    Add({.subject = "b", .deleted = 1});
    Add({.to = 2, .subject = "Bob's"});
    Open();
    Action("mnuActionsDeleteAll")->trigger();
    EXPECT_EQ(Record("EMAIL", 1).Deleted, 1);
    EXPECT_EQ(Record("EMAIL", 2).Deleted, 0);
    EXPECT_EQ(Record("EMAIL", 3).Deleted, 0);
    EXPECT_EQ(RowIcon(0), QStringLiteral("new"));
    EXPECT_EQ(RowIcon(1), QStringLiteral("delete"));

    // The wording followed the last row refreshed; a click on the current row words it after that row.
    EXPECT_EQ(List()->currentIndex().row(), 0);
    EXPECT_EQ(Action("mnuPopUpOptions_4")->text(), QStringLiteral("UnDelete"));
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, {},
                      List()->visualRect(Model()->index(0, 3)).center());
    EXPECT_EQ(Action("mnuPopUpOptions_4")->text(), QStringLiteral("Delete"));
    EXPECT_EQ(Button(*win, "Toolbar1_Button7")->toolTip(), QStringLiteral("Delete"));
}

TEST_F(ListTest, NewMailShowsOnRefreshAndTheContextRefreshRereadsOnlyTheSelectedRow) {
    Add({.subject = "one"});
    Add({.subject = "two"});
    Open();
    Add({.subject = "three"});
    win->Timer1_Timer(); // growth alone does not rebuild
    win->Timer1_Timer();
    EXPECT_EQ(Model()->rowCount(), 2);
    Action("mnuActionsRefresh")->trigger();
    EXPECT_EQ(ColumnTexts(3), Strings({"three", "two", "one"}));

    // Mark records 3 and 2 read on disk; refresh row 2 (record 2) from the context menu.
    for (int n : {3, 2}) {
        MessageInfo m = Record("EMAIL", n);
        m.Offline = 1;
        m.Subject = (std::string("changed") + std::string(64, ' ')).substr(0, 64);
        ASSERT_TRUE(PutMessageInfo(board, "EMAIL", static_cast<RecordNo>(n), m));
    }
    win->ClearSelection();
    win->SelectRow(2);
    Action("mnuPopUpOptions_6")->trigger();
    EXPECT_EQ(RowIcon(1), QStringLiteral("open"));
    EXPECT_EQ(Cell(1, 3), QStringLiteral("changed"));
    EXPECT_TRUE(Bold(1, 3)) << "the bold state changes only on a rebuild";
    EXPECT_EQ(RowIcon(0), QStringLiteral("new"));
    EXPECT_EQ(Cell(0, 3), QStringLiteral("three"));

    // RefreshAllItems picks up the other row from the same file.
    win->RefreshAllItems();
    EXPECT_EQ(RowIcon(0), QStringLiteral("open"));
    EXPECT_EQ(Cell(0, 3), QStringLiteral("changed"));
    EXPECT_EQ(ColumnTexts(1), Strings({"3", "2", "1"}));
}

TEST_F(ListTest, RefreshAllItemsOnATruncatedIndexBlanksTheLostRowsWithoutFailing) {
    for (int i = 1; i <= 3; ++i) Add({.subject = "m" + std::to_string(i)});
    Open();
    std::filesystem::resize_file(NativeFile("MAIL/EMAIL.DAT"), kMessageInfoSize + 100);
    win->RefreshAllItems();
    EXPECT_EQ(ColumnTexts(1), Strings({"3", "2", "1"}));
    EXPECT_EQ(Cell(0, 3), QString());
    EXPECT_EQ(Cell(1, 3), QString()) << "a partial record reads as far as it goes: the subject lies past it";
    EXPECT_EQ(Cell(2, 3), QStringLiteral("m1"));
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(ListTest, TheContextMenuOpensOnRightButtonReleaseOnlyWhenThereAreRows) {
    Open();
    auto* popup = win->findChild<QMenu*>(QStringLiteral("mnuPopUp"));
    QWidget* viewport = List()->viewport();
    QTest::mouseRelease(viewport, Qt::RightButton, {}, QPoint(20, viewport->height() - 5));
    EXPECT_FALSE(popup->isVisible());

    Add({.subject = "one"});
    Add({.subject = "two"});
    win->RefreshList();
    win->ClearSelection();
    win->SelectRow(2);
    // Below the last row: no row under the pointer, the menu still opens and acts on the
    // row that was selected; the press there does not clear the selection.
    QTest::mouseClick(viewport, Qt::RightButton, {}, QPoint(20, viewport->height() - 5));
    EXPECT_TRUE(popup->isVisible());
    EXPECT_EQ(win->GetSelectedPositions(), (QList<int>{2}));
    int opened = 0;
    OnNextModal([&](QWidget* w) {
        if (auto* reader = qobject_cast<ui::frmOpenMessage*>(w)) opened = reader->GetRow();
    });
    Action("mnuPopUpOptions_0")->trigger();
    EXPECT_EQ(opened, 2);
    popup->hide();
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(20, 5));
    EXPECT_FALSE(popup->isVisible());
}

} // namespace
} // namespace kesto::test
