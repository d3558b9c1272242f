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
    add({.from = 2, .to = 1, .subject = "  First  ", .body = "12345"});
    add({.from = 1, .to = 2, .subject = "To Bob"});
    add({.from = 3, .to = 1, .subject = "Third", .body = "1234567890"});
    open();

    // Only user 1's received mail; the saved default sort is "#" descending.
    EXPECT_EQ(columnTexts(1), Strings({"3", "1"}));
    EXPECT_EQ(columnTexts(2), Strings({"Ann", "Bob"}));
    EXPECT_EQ(columnTexts(3), Strings({"Third", "First"}));
    EXPECT_EQ(columnTexts(5), Strings({"10", "5"}));
    EXPECT_EQ(headerIcon(1), QStringLiteral("down"));
    EXPECT_EQ(win->selectedPosition(), 1);
    EXPECT_EQ(win->messageNumberAt(1), 3);
    EXPECT_EQ(win->messageNumberAt(3), 0);

    // KESTO.DAT was created with the defaults, and the columns use its widths.
    const std::string dat = ReadNative(nativeFile("KESTO.DAT"));
    ASSERT_EQ(dat.size(), 48u);
    EXPECT_EQ(GetI32(dat, 8), 10215);
    EXPECT_EQ(GetI32(dat, 12), 5865);
    EXPECT_EQ(GetI16(dat, 20), 2);
    EXPECT_EQ(GetI16(dat, 22), 1);
    const int widths[] = {360, 800, 2000, 3500, 2500, 1000};
    for (int c = 0; c < 6; ++c) {
        EXPECT_EQ(GetI32(dat, 24 + 4 * static_cast<std::size_t>(c)), widths[c]);
        EXPECT_EQ(list()->header()->sectionSize(c), px(widths[c])) << c;
    }
    // The size is the outer one, frame included, so it does not grow by a frame per run.
    EXPECT_EQ(win->frameGeometry().size(), QSize(px(10215), px(5865)));
}

TEST_F(ListTest, IconsFollowDeletedReadAndAttachmentAndUnreadRowsAreBoldExceptSize) {
    add({.subject = "unread"});
    add({.subject = "read", .offline = 1});
    add({.subject = "attached", .attachment = "TRIP.ZIP"});
    add({.subject = "attached read", .offline = 1, .attachment = "TRIP.ZIP"});
    add({.subject = "deleted unread", .deleted = 1});
    open();

    // Newest first: rows 0..4 are records 5..1. A deleted message never read stays bold.
    const char* icons[] = {"delete", "open", "email_attach", "open", "new"};
    for (int r = 0; r < 5; ++r) EXPECT_EQ(rowIcon(r), QLatin1String(icons[r])) << r;
    for (int c = 0; c <= 5; ++c) {
        EXPECT_EQ(bold(0, c), c >= 1 && c <= 4) << c;
        EXPECT_FALSE(bold(1, c)) << c;
    }
}

TEST_F(ListTest, AUserWithoutMailGetsTheColumnsAndOnlyTheCommandsThatNeedNoMessage) {
    add({.from = 1, .to = 2});
    open();

    EXPECT_EQ(model()->rowCount(), 0);
    for (const char* name :
         {"mnuFileSaveAs", "mnuActionsOpen", "mnuActionsPrint", "mnuActionsReply", "mnuActionsDelete",
          "mnuActionsDeleteAll", "mnuActionsAddSender", "mnuPopUpOptions_0"})
        EXPECT_FALSE(action(name)->isEnabled()) << name;
    for (const char* name : {"Toolbar1_Button3", "Toolbar1_Button4", "Toolbar1_Button6", "Toolbar1_Button7",
                             "Toolbar1_Button8", "Toolbar1_Button11"})
        EXPECT_FALSE(button(name)->isEnabled()) << name;
    for (const char* name : {"mnuActionsNew", "mnuActionsAddressBook", "mnuActionsRefresh", "mnuHelpAbout",
                             "mnuFileExit", "mnuFileChangeUser"})
        EXPECT_TRUE(action(name)->isEnabled()) << name;
    for (const char* name : {"Toolbar1_Button1", "Toolbar1_Button10", "Toolbar1_Button13"})
        EXPECT_TRUE(button(name)->isEnabled()) << name;

    // Commands on an empty list do nothing.
    win->mnuActionsDelete_Click();
    win->mnuActionsDeleteAll_Click();
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(ListTest, TheSentTabListsWhatTheUserSentUnderTo) {
    add({.from = 2, .to = 1, .subject = "in"});
    add({.mailbox = "SNTEMAIL", .from = 1, .to = 3, .subject = "out to Ann"});
    add({.mailbox = "SNTEMAIL", .from = 2, .to = 1, .subject = "Bob's copy"});
    // A message to himself is in both mailboxes.
    add({.from = 1, .to = 1, .subject = "note to self"});
    add({.mailbox = "SNTEMAIL", .from = 1, .to = 1, .subject = "note to self"});
    open();
    EXPECT_EQ(columnTexts(3), Strings({"note to self", "in"}));

    win->findChild<QTabBar*>(QStringLiteral("tbsOptions"))->setCurrentIndex(1);
    EXPECT_EQ(session.CurrentMailbox, kesto::Mailbox::Sent);
    EXPECT_EQ(model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("To"));
    EXPECT_EQ(columnTexts(3), Strings({"note to self", "out to Ann"}));
    EXPECT_EQ(columnTexts(2), Strings({"Sysop", "Ann"}));

    win->findChild<QTabBar*>(QStringLiteral("tbsOptions"))->setCurrentIndex(0);
    EXPECT_EQ(session.CurrentMailbox, kesto::Mailbox::Received);
    EXPECT_EQ(columnTexts(3), Strings({"note to self", "in"}));
}

TEST_F(ListTest, DeleteTogglesTheMarkOfExactlyTheSelectedRows) {
    for (int i = 1; i <= 4; ++i) add({.subject = "m" + std::to_string(i)});
    open();
    // Rows 1..4 are records 4..1; select rows 1, 2 and 4.
    win->ClearSelection();
    for (int p : {1, 2, 4}) win->selectRow(p);
    action("mnuActionsDelete")->trigger();

    EXPECT_EQ(record("EMAIL", 4).Deleted, 1);
    EXPECT_EQ(record("EMAIL", 3).Deleted, 1);
    EXPECT_EQ(record("EMAIL", 2).Deleted, 0);
    EXPECT_EQ(record("EMAIL", 1).Deleted, 1);
    EXPECT_EQ(rowIcon(0), QStringLiteral("delete"));
    EXPECT_EQ(rowIcon(2), QStringLiteral("new"));

    // The same command undeletes; the toolbar and context menu word it after the row.
    win->ClearSelection();
    win->selectRow(1);
    EXPECT_EQ(button("Toolbar1_Button7")->toolTip(), QStringLiteral("UnDelete"));
    EXPECT_EQ(action("mnuPopUpOptions_4")->text(), QStringLiteral("UnDelete"));
    EXPECT_EQ(action("mnuActionsDelete")->text(), QStringLiteral("&Delete Message"));
    button("Toolbar1_Button7")->click();
    EXPECT_EQ(record("EMAIL", 4).Deleted, 0);
    EXPECT_EQ(rowIcon(0), QStringLiteral("new"));
    EXPECT_EQ(action("mnuPopUpOptions_4")->text(), QStringLiteral("Delete"));
    action("mnuPopUpOptions_4")->trigger();
    EXPECT_EQ(record("EMAIL", 4).Deleted, 1);
}

TEST_F(ListTest, DeleteAllInvertsEveryListedMarkAndLeavesOtherUsersMail) {
    add({.subject = "a"});
    add({.subject = "b", .deleted = 1});
    add({.to = 2, .subject = "Bob's"});
    open();
    action("mnuActionsDeleteAll")->trigger();
    EXPECT_EQ(record("EMAIL", 1).Deleted, 1);
    EXPECT_EQ(record("EMAIL", 2).Deleted, 0);
    EXPECT_EQ(record("EMAIL", 3).Deleted, 0);
    EXPECT_EQ(rowIcon(0), QStringLiteral("new"));
    EXPECT_EQ(rowIcon(1), QStringLiteral("delete"));

    // The wording followed the last row refreshed; a click on the current row words it after that row.
    EXPECT_EQ(list()->currentIndex().row(), 0);
    EXPECT_EQ(action("mnuPopUpOptions_4")->text(), QStringLiteral("UnDelete"));
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                      list()->visualRect(model()->index(0, 3)).center());
    EXPECT_EQ(action("mnuPopUpOptions_4")->text(), QStringLiteral("Delete"));
    EXPECT_EQ(button("Toolbar1_Button7")->toolTip(), QStringLiteral("Delete"));
}

TEST_F(ListTest, NewMailShowsOnRefreshAndTheContextRefreshRereadsOnlyTheSelectedRow) {
    add({.subject = "one"});
    add({.subject = "two"});
    open();
    add({.subject = "three"});
    win->Timer1_Timer(); // growth alone does not rebuild
    win->Timer1_Timer();
    EXPECT_EQ(model()->rowCount(), 2);
    action("mnuActionsRefresh")->trigger();
    EXPECT_EQ(columnTexts(3), Strings({"three", "two", "one"}));

    // Mark records 3 and 2 read on disk; refresh row 2 (record 2) from the context menu.
    for (int n : {3, 2}) {
        MessageInfo m = record("EMAIL", n);
        m.Offline = 1;
        m.Subject = (std::string("changed") + std::string(64, ' ')).substr(0, 64);
        ASSERT_TRUE(PutMessageInfo(board, "EMAIL", static_cast<RecordNo>(n), m));
    }
    win->ClearSelection();
    win->selectRow(2);
    action("mnuPopUpOptions_6")->trigger();
    EXPECT_EQ(rowIcon(1), QStringLiteral("open"));
    EXPECT_EQ(cell(1, 3), QStringLiteral("changed"));
    EXPECT_TRUE(bold(1, 3)) << "the bold state changes only on a rebuild";
    EXPECT_EQ(rowIcon(0), QStringLiteral("new"));
    EXPECT_EQ(cell(0, 3), QStringLiteral("three"));

    // RefreshAllItems picks up the other row from the same file.
    win->RefreshAllItems();
    EXPECT_EQ(rowIcon(0), QStringLiteral("open"));
    EXPECT_EQ(cell(0, 3), QStringLiteral("changed"));
    EXPECT_EQ(columnTexts(1), Strings({"3", "2", "1"}));
}

TEST_F(ListTest, RefreshAllItemsOnATruncatedIndexBlanksTheLostRowsWithoutFailing) {
    for (int i = 1; i <= 3; ++i) add({.subject = "m" + std::to_string(i)});
    open();
    std::filesystem::resize_file(nativeFile("MAIL/EMAIL.DAT"), kMessageInfoSize + 100);
    win->RefreshAllItems();
    EXPECT_EQ(columnTexts(1), Strings({"3", "2", "1"}));
    EXPECT_EQ(cell(0, 3), QString());
    EXPECT_EQ(cell(1, 3), QString()) << "a partial record reads as far as it goes: the subject lies past it";
    EXPECT_EQ(cell(2, 3), QStringLiteral("m1"));
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(ListTest, TheContextMenuOpensOnRightButtonReleaseOnlyWhenThereAreRows) {
    open();
    auto* popup = win->findChild<QMenu*>(QStringLiteral("mnuPopUp"));
    QWidget* viewport = list()->viewport();
    QTest::mouseRelease(viewport, Qt::RightButton, {}, QPoint(20, viewport->height() - 5));
    EXPECT_FALSE(popup->isVisible());

    add({.subject = "one"});
    add({.subject = "two"});
    win->RefreshList();
    win->ClearSelection();
    win->selectRow(2);
    // Below the last row: no row under the pointer, the menu still opens and acts on the
    // row that was selected; the press there does not clear the selection.
    QTest::mouseClick(viewport, Qt::RightButton, {}, QPoint(20, viewport->height() - 5));
    EXPECT_TRUE(popup->isVisible());
    EXPECT_EQ(win->selectedPositions(), (QList<int>{2}));
    int opened = 0;
    OnNextModal([&](QWidget* w) {
        if (auto* reader = qobject_cast<ui::frmOpenMessage*>(w)) opened = reader->row();
    });
    action("mnuPopUpOptions_0")->trigger();
    EXPECT_EQ(opened, 2);
    popup->hide();
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(20, 5));
    EXPECT_FALSE(popup->isVisible());
}

} // namespace
} // namespace kesto::test
