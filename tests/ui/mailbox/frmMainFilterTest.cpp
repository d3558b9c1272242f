// The filter box through its widget, and the notice of arriving mail.
#include "MailboxFixture.h"

#include "Records.h"
#include "UserFile.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <filesystem>

namespace kesto::test {
namespace {

class FilterTest : public MailboxFixture {
  protected:
    QLineEdit* box() { return Edit(*win, "txtFilter"); }
    QString label() { return LabelText(*win, "lblFilter"); }
    void waitForTexts() {
        ASSERT_TRUE(QTest::qWaitFor([this] { return !win->IsSearchingTexts(); }, 10000));
    }
};

TEST_F(FilterTest, TypingFiltersTheShownRowsWhichSortAndTakeCommandsAndEscapeBringsAllBack) {
    add({.subject = "Modem offer"});                             // 1
    add({.subject = "Lunch", .body = "Bring the MODEM.\r\n"});   // 2: the text holds the word
    add({.from = 3, .subject = "Re: modem"});                    // 3
    add({.from = 3, .subject = "Other", .body = "Nothing\r\n"}); // 4
    open();
    win->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(win.get()));
    const int width = list()->header()->sectionSize(3);

    QTest::keyClick(list(), Qt::Key_Slash);
    EXPECT_EQ(QApplication::focusWidget(), box());
    QTest::keyClicks(box(), QStringLiteral("modem"));
    waitForTexts();
    EXPECT_EQ(columnTexts(1), Strings({"3", "2", "1"}));
    EXPECT_EQ(label(), QStringLiteral("3 of 4"));

    // Sorting orders the shown rows; the current message survives the filter's end.
    win->ListView1_ColumnClick(4); // Subject, ascending
    EXPECT_EQ(columnTexts(3), Strings({"Lunch", "Modem offer", "Re: modem"}));
    win->ClearSelection();
    win->selectRow(2);
    QTest::keyClick(box(), Qt::Key_Escape);
    EXPECT_EQ(box()->text(), QString());
    EXPECT_EQ(QApplication::focusWidget(), list());
    EXPECT_EQ(columnTexts(3), Strings({"Lunch", "Modem offer", "Other", "Re: modem"}));
    EXPECT_EQ(win->selectedPositions(), (QList<int>{2}));
    EXPECT_EQ(label(), QString());
    EXPECT_EQ(list()->header()->sectionSize(3), width);

    // Header words filter at once. The current row is gone, so the first is selected;
    // Delete All and F5 work on the shown rows; Down goes into the list.
    QTest::keyClick(list(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), box());
    QTest::keyClicks(box(), QStringLiteral("FROM:ann"));
    EXPECT_FALSE(win->IsSearchingTexts());
    EXPECT_EQ(columnTexts(1), Strings({"4", "3"}));
    EXPECT_EQ(win->selectedPositions(), (QList<int>{1}));
    action("mnuActionsDeleteAll")->trigger();
    EXPECT_EQ(record("EMAIL", 4).Deleted, 1);
    EXPECT_EQ(record("EMAIL", 1).Deleted, 0);
    action("mnuActionsRefresh")->trigger();
    EXPECT_EQ(columnTexts(1), Strings({"4", "3"}));
    QTest::keyClick(box(), Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), list());

    box()->setText(QStringLiteral("is:deleted xyzzy"));
    waitForTexts();
    EXPECT_EQ(model()->rowCount(), 0);
    EXPECT_EQ(label(), QStringLiteral("No messages match"));
    EXPECT_FALSE(action("mnuActionsOpen")->isEnabled());
}

TEST_F(FilterTest, ANewerKeystrokeWinsOverATextSearchStillRunning) {
    for (int i = 0; i < 500; ++i) add({.subject = "m" + std::to_string(i), .body = "alpha beta\r\n"});
    add({.from = 3, .subject = "From Ann"});
    open();
    box()->setText(QStringLiteral("text:alpha")); // the texts go to the worker
    box()->setText(QStringLiteral("from:ann"));   // a header word filters at once
    EXPECT_EQ(columnTexts(3), Strings({"From Ann"}));
    QTest::qWait(200); // the older search's result, when it comes, is dropped
    EXPECT_EQ(columnTexts(3), Strings({"From Ann"}));
    EXPECT_EQ(label(), QStringLiteral("1 of 501"));
}

TEST_F(FilterTest, ArrivingUnreadMailIsToldOfWithoutARebuild) {
    UserRecord sysop = GetUser(board, 1).value();
    sysop.Handle = "<b>Sys</b>op";
    PutUser(board, 1, sysop).value();
    add({.subject = "old", .offline = 1});
    open();
    win->Timer1_Timer();
    QSignalSpy arrived(win.get(), &ui::frmMain::MailArrived);
    QSignalSpy reset(model(), &QAbstractItemModel::modelReset);

    // The board appends two unread for the user, one read, one for someone else.
    add({.subject = "new 1"});
    add({.subject = "seen", .offline = 1});
    add({.to = 2, .subject = "not mine"});
    add({.subject = "new 2"});
    win->Timer1_Timer();
    ASSERT_EQ(arrived.count(), 1);
    EXPECT_EQ(arrived[0][0].toString(),
              QStringLiteral("Kesto - &lt;b&gt;Sys&lt;/b&gt;op (#1): 2 unread messages"));
    EXPECT_EQ(arrived[0][1].toString(), QStringLiteral("2 new messages \u2014 press F5 to list them"));
    EXPECT_EQ(reset.count(), 0);
    EXPECT_EQ(model()->rowCount(), 1);

    // A record the board is still writing counts once it is whole, and only once.
    const std::string dat = nativeFile("MAIL/EMAIL.DAT");
    add({.subject = "new 3"});
    const auto whole = std::filesystem::file_size(dat);
    const std::string last = ReadNative(dat).substr(whole - kMessageInfoSize);
    std::filesystem::resize_file(dat, whole - 100);
    win->Timer1_Timer();
    EXPECT_EQ(arrived.count(), 1);
    WriteNative(dat, ReadNative(dat) + last.substr(kMessageInfoSize - 100));
    win->Timer1_Timer();
    win->Timer1_Timer();
    ASSERT_EQ(arrived.count(), 2);
    EXPECT_EQ(arrived[1][1].toString(), QStringLiteral("1 new message \u2014 press F5 to list it"));
    EXPECT_TRUE(arrived[1][0].toString().endsWith(QStringLiteral(": 3 unread messages")));

    // F5 lists them; from then on only newer mail counts.
    action("mnuActionsRefresh")->trigger();
    EXPECT_EQ(model()->rowCount(), 5);
    win->Timer1_Timer();
    EXPECT_EQ(arrived.count(), 2);
}

} // namespace
} // namespace kesto::test
