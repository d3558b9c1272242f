// The filter box through its widget.
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

} // namespace
} // namespace kesto::test
