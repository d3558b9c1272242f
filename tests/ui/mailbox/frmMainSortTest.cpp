// Header clicks: arrows, numeric and text order, the display quirks, the saved sort.
#include "MailboxFixture.h"

#include "Bytes.h"

#include <QTest>

namespace kesto::test {
namespace {

class SortTest : public MailboxFixture {
  protected:
    void clickHeader(int column) { // 1-based like the window
        QHeaderView* header = list()->header();
        const int x = header->sectionViewportPosition(column - 1) + header->sectionSize(column - 1) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    }
    QStringList arrows() {
        QStringList out;
        for (int c = 0; c < 6; ++c) out << headerIcon(c);
        return out;
    }
};

TEST_F(SortTest, SizeSortsByValueFlipsOnTheSecondClickAndTheArrowFollowsTheColumn) {
    add({.subject = "cherry", .body = std::string(9, 'x')});
    add({.subject = "apple", .body = std::string(120, 'x')});
    add({.subject = "Banana", .body = ""});
    add({.subject = "date", .body = std::string(15, 'x')});
    open();

    clickHeader(6);
    EXPECT_EQ(session.live.SortedColumn, 6);
    EXPECT_EQ(session.live.SortOrder, 0);
    // 0 sorts first and is shown empty after a numeric sort.
    EXPECT_EQ(columnTexts(5), Strings({"", "9", "15", "120"}));
    EXPECT_EQ(arrows(), Strings({"", "", "", "", "", "up"}));

    clickHeader(6);
    EXPECT_EQ(session.live.SortOrder, 1);
    EXPECT_EQ(columnTexts(5), Strings({"120", "15", "9", ""}));
    EXPECT_EQ(arrows(), Strings({"", "", "", "", "", "down"}));

    // Text order ignores case; the empty size stays empty until the row is rewritten.
    clickHeader(4);
    EXPECT_EQ(session.live.SortOrder, 0);
    EXPECT_EQ(columnTexts(3), Strings({"apple", "Banana", "cherry", "date"}));
    EXPECT_EQ(columnTexts(5), Strings({"120", "", "9", "15"}));
    EXPECT_EQ(arrows(), Strings({"", "", "", "up", "", ""}));
    win->RefreshItem(2);
    EXPECT_EQ(cell(1, 5), QStringLiteral("0"));
}

TEST_F(SortTest, NumberSortsNumericallyAndDateSortsByNumberLeavingTheDateTexts) {
    // Records 2, 10 and 100 are user 1's; the rest go to Bob. Later records get earlier
    // dates, so ordering by the date texts would differ from ordering by number.
    for (int i = 1; i <= 100; ++i) {
        const bool mine = i == 2 || i == 10 || i == 100;
        add({.to = mine ? 1 : 2,
             .subject = "m" + std::to_string(i),
             .stamp = 1'100'000'000 - i * 86400 * 40});
    }
    open();
    const QStringList dates = columnTexts(4);

    clickHeader(2);
    EXPECT_EQ(columnTexts(1), Strings({"2", "10", "100"}));
    clickHeader(5);
    EXPECT_EQ(columnTexts(1), Strings({"2", "10", "100"}));
    EXPECT_EQ(arrows(), Strings({"", "", "", "", "up", ""}));
    clickHeader(5);
    EXPECT_EQ(columnTexts(1), Strings({"100", "10", "2"}));
    EXPECT_EQ(columnTexts(4), dates);
}

TEST_F(SortTest, TheSavedSortIsReappliedAfterEveryRebuildAndSavedOnClose) {
    add({.subject = "b"});
    add({.subject = "c"});
    add({.subject = "a"});
    open();
    clickHeader(4);
    clickHeader(4);
    EXPECT_EQ(columnTexts(3), Strings({"c", "b", "a"}));

    add({.subject = "d"});
    action("mnuActionsRefresh")->trigger();
    EXPECT_EQ(columnTexts(3), Strings({"d", "c", "b", "a"}));
    EXPECT_EQ(arrows(), Strings({"", "", "", "down", "", ""}));

    win->close();
    const std::string dat = ReadNative(nativeFile("KESTO.DAT"));
    EXPECT_EQ(GetI16(dat, 20), 4);
    EXPECT_EQ(GetI16(dat, 22), 1);

    open();
    EXPECT_EQ(columnTexts(3), Strings({"d", "c", "b", "a"}));
}

TEST_F(SortTest, SortingKeepsTheSelectionOnTheSameMessages) {
    add({.subject = "b"});
    add({.subject = "c"});
    add({.subject = "a"});
    open();
    win->ClearSelection();
    win->selectRow(1); // record 3, "a"
    clickHeader(4);
    EXPECT_EQ(win->selectedPositions(), (QList<int>{1}));
    clickHeader(4);
    EXPECT_EQ(win->selectedPositions(), (QList<int>{3}));
    EXPECT_EQ(win->messageNumberAt(win->selectedPosition()), 3);
}

} // namespace
} // namespace kesto::test
