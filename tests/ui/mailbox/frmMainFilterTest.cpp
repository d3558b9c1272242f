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
    QLineEdit* Box() { return Edit(*win, "txtFilter"); }
    QString Label() { return LabelText(*win, "lblFilter"); }
    void WaitForTexts() {
        ASSERT_TRUE(QTest::qWaitFor([this] { return !win->IsSearchingTexts(); }, 10000));
    }
};

TEST_F(FilterTest, TypingFiltersTheShownRowsWhichSortAndTakeCommandsAndEscapeBringsAllBack) {
    Add({.subject = "Modem offer"});                             // 1
    Add({.subject = "Lunch", .body = "Bring the MODEM.\r\n"});   // 2: the text holds the word
    Add({.from = 3, .subject = "Re: modem"});                    // 3
    Add({.from = 3, .subject = "Other", .body = "Nothing\r\n"}); // 4
    Open();
    win->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(win.get()));
    const int width = List()->header()->sectionSize(3);

    QTest::keyClick(List(), Qt::Key_Slash);
    EXPECT_EQ(QApplication::focusWidget(), Box());
    QTest::keyClicks(Box(), QStringLiteral("modem"));
    WaitForTexts();
    EXPECT_EQ(ColumnTexts(1), Strings({"3", "2", "1"}));
    EXPECT_EQ(Label(), QStringLiteral("3 of 4"));

    // Sorting orders the shown rows; the current message survives the filter's end.
    win->ListView1_ColumnClick(4); // Subject, ascending
    EXPECT_EQ(ColumnTexts(3), Strings({"Lunch", "Modem offer", "Re: modem"}));
    win->ClearSelection();
    win->SelectRow(2);
    QTest::keyClick(Box(), Qt::Key_Escape);
    EXPECT_EQ(Box()->text(), QString());
    EXPECT_EQ(QApplication::focusWidget(), List());
    EXPECT_EQ(ColumnTexts(3), Strings({"Lunch", "Modem offer", "Other", "Re: modem"}));
    EXPECT_EQ(win->GetSelectedPositions(), (QList<int>{2}));
    EXPECT_EQ(Label(), QString());
    EXPECT_EQ(List()->header()->sectionSize(3), width);

    // Header words filter at once. The current row is gone, so the first is selected;
    // Delete All and F5 work on the shown rows; Down goes into the list.
    QTest::keyClick(List(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), Box());
    QTest::keyClicks(Box(), QStringLiteral("FROM:ann"));
    EXPECT_FALSE(win->IsSearchingTexts());
    EXPECT_EQ(ColumnTexts(1), Strings({"4", "3"}));
    EXPECT_EQ(win->GetSelectedPositions(), (QList<int>{1}));
    Action("mnuActionsDeleteAll")->trigger();
    EXPECT_EQ(Record("EMAIL", 4).Deleted, 1);
    EXPECT_EQ(Record("EMAIL", 1).Deleted, 0);
    Action("mnuActionsRefresh")->trigger();
    EXPECT_EQ(ColumnTexts(1), Strings({"4", "3"}));
    QTest::keyClick(Box(), Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), List());

    Box()->setText(QStringLiteral("is:deleted xyzzy"));
    WaitForTexts();
    EXPECT_EQ(Model()->rowCount(), 0);
    EXPECT_EQ(Label(), QStringLiteral("No messages match"));
    EXPECT_FALSE(Action("mnuActionsOpen")->isEnabled());
}

TEST_F(FilterTest, ANewerKeystrokeWinsOverATextSearchStillRunning) {
    for (int i = 0; i < 500; ++i) Add({.subject = "m" + std::to_string(i), .body = "alpha beta\r\n"});
    Add({.from = 3, .subject = "From Ann"});
    Open();
    Box()->setText(QStringLiteral("text:alpha")); // the texts go to the worker
    Box()->setText(QStringLiteral("from:ann"));   // a header word filters at once
    EXPECT_EQ(ColumnTexts(3), Strings({"From Ann"}));
    QTest::qWait(200); // the older search's result, when it comes, is dropped
    EXPECT_EQ(ColumnTexts(3), Strings({"From Ann"}));
    EXPECT_EQ(Label(), QStringLiteral("1 of 501"));
}

TEST_F(FilterTest, ArrivingUnreadMailIsToldOfWithoutARebuild) {
    UserRecord sysop = GetUser(board, 1).value();
    sysop.Handle = "<b>Sys</b>op";
    PutUser(board, 1, sysop).value();
    Add({.subject = "old", .offline = 1});
    Open();
    win->Timer1_Timer();
    QSignalSpy arrived(win.get(), &ui::frmMain::MailArrived);
    QSignalSpy reset(Model(), &QAbstractItemModel::modelReset);

    // The board appends two unread for the user, one read, one for someone else.
    Add({.subject = "new 1"});
    Add({.subject = "seen", .offline = 1});
    Add({.to = 2, .subject = "not mine"});
    Add({.subject = "new 2"});
    win->Timer1_Timer();
    ASSERT_EQ(arrived.count(), 1);
    EXPECT_EQ(arrived[0][0].toString(),
              QStringLiteral("Kesto - &lt;b&gt;Sys&lt;/b&gt;op (#1): 2 unread messages"));
    EXPECT_EQ(arrived[0][1].toString(), QStringLiteral("2 new messages \u2014 press F5 to list them"));
    EXPECT_EQ(reset.count(), 0);
    EXPECT_EQ(Model()->rowCount(), 1);

    // A record the board is still writing counts once it is whole, and only once.
    const std::string dat = NativeFile("MAIL/EMAIL.DAT");
    Add({.subject = "new 3"});
    const auto whole = std::filesystem::file_size(dat);
    const std::string last = ReadNative(dat).substr(whole - kMessageInfoSize);
    std::filesystem::resize_file(dat, whole - 100);
    win->Timer1_Timer();
    EXPECT_EQ(arrived.count(), 1);
    WriteNative(dat, ReadNative(dat) + last.substr(kMessageInfoSize - 100));
    win->Timer1_Timer();
    win->Timer1_Timer();
    ASSERT_EQ(arrived.count(), 2);
    EXPECT_EQ(arrived[1][1].toString(), QStringLiteral("1 new messages \u2014 press F5 to list them"));
    EXPECT_TRUE(arrived[1][0].toString().endsWith(QStringLiteral(": 3 unread messages")));

    // F5 lists them; from then on only newer mail counts.
    Action("mnuActionsRefresh")->trigger();
    EXPECT_EQ(Model()->rowCount(), 5);
    win->Timer1_Timer();
    EXPECT_EQ(arrived.count(), 2);
}

} // namespace
} // namespace kesto::test
