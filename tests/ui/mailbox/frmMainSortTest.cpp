// Header clicks: arrows, numeric and text order, the display quirks, the saved sort.
#include "MailboxFixture.h"

#include "Bytes.h"

#include <QTest>

namespace kesto::test {
namespace {

class SortTest : public MailboxFixture {
  protected:
    void ClickHeader(int column) { // 1-based like the window
        QHeaderView* header = List()->header();
        const int x = header->sectionViewportPosition(column - 1) + header->sectionSize(column - 1) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    }
    QStringList Arrows() {
        QStringList out;
        for (int c = 0; c < 6; ++c) out << HeaderIcon(c);
        return out;
    }
};

TEST_F(SortTest, SizeSortsByValueFlipsOnTheSecondClickAndTheArrowFollowsTheColumn) {
    Add({.subject = "cherry", .body = std::string(9, 'x')});
    Add({.subject = "apple", .body = std::string(120, 'x')});
    Add({.subject = "Banana", .body = ""});
    Add({.subject = "date", .body = std::string(15, 'x')});
    Open();

    ClickHeader(6);
    EXPECT_EQ(session.live.SortedColumn, 6);
    EXPECT_EQ(session.live.SortOrder, 0);
    // 0 sorts first and is shown empty after a numeric sort.
    EXPECT_EQ(ColumnTexts(5), Strings({"", "9", "15", "120"}));
    EXPECT_EQ(Arrows(), Strings({"", "", "", "", "", "up"}));

    ClickHeader(6);
    EXPECT_EQ(session.live.SortOrder, 1);
    EXPECT_EQ(ColumnTexts(5), Strings({"120", "15", "9", ""}));
    EXPECT_EQ(Arrows(), Strings({"", "", "", "", "", "down"}));

    // Text order ignores case; the empty size stays empty until the row is rewritten.
    ClickHeader(4);
    EXPECT_EQ(session.live.SortOrder, 0);
    EXPECT_EQ(ColumnTexts(3), Strings({"apple", "Banana", "cherry", "date"}));
    EXPECT_EQ(ColumnTexts(5), Strings({"120", "", "9", "15"}));
    EXPECT_EQ(Arrows(), Strings({"", "", "", "up", "", ""}));
    win->RefreshItem(2);
    EXPECT_EQ(Cell(1, 5), QStringLiteral("0"));
}

TEST_F(SortTest, NumberSortsNumericallyAndDateSortsByNumberLeavingTheDateTexts) {
    // Records 2, 10 and 100 are user 1's; the rest go to Bob. Later records get earlier
    // dates, so ordering by the date texts would differ from ordering by number.
    for (int i = 1; i <= 100; ++i) {
        const bool mine = i == 2 || i == 10 || i == 100;
        Add({.to = mine ? 1 : 2,
             .subject = "m" + std::to_string(i),
             .stamp = 1'100'000'000 - i * 86400 * 40});
    }
    Open();
    const QStringList dates = ColumnTexts(4);

    ClickHeader(2);
    EXPECT_EQ(ColumnTexts(1), Strings({"2", "10", "100"}));
    ClickHeader(5);
    EXPECT_EQ(ColumnTexts(1), Strings({"2", "10", "100"}));
    EXPECT_EQ(Arrows(), Strings({"", "", "", "", "up", ""}));
    ClickHeader(5);
    EXPECT_EQ(ColumnTexts(1), Strings({"100", "10", "2"}));
    EXPECT_EQ(ColumnTexts(4), dates);
}

TEST_F(SortTest, TheSavedSortIsReappliedAfterEveryRebuildAndSavedOnCloseAndKeepsTheSelection) {
    Add({.subject = "b"});
    Add({.subject = "c"});
    Add({.subject = "a"});
    Open();
    win->ClearSelection();
    win->SelectRow(1); // record 3, "a": sorting keeps it selected
    ClickHeader(4);
    EXPECT_EQ(win->GetSelectedPositions(), (QList<int>{1}));
    ClickHeader(4);
    EXPECT_EQ(ColumnTexts(3), Strings({"c", "b", "a"}));
    EXPECT_EQ(win->GetSelectedPositions(), (QList<int>{3}));
    EXPECT_EQ(win->GetMessageNumberAt(win->GetSelectedPosition()), 3);

    Add({.subject = "d"});
    Action("mnuActionsRefresh")->trigger();
    EXPECT_EQ(ColumnTexts(3), Strings({"d", "c", "b", "a"}));
    EXPECT_EQ(Arrows(), Strings({"", "", "", "down", "", ""}));

    win->close();
    const std::string dat = ReadNative(NativeFile("KESTO.DAT"));
    EXPECT_EQ(GetI16(dat, 20), 4);
    EXPECT_EQ(GetI16(dat, 22), 1);

    Open();
    EXPECT_EQ(ColumnTexts(3), Strings({"d", "c", "b", "a"}));
}

} // namespace
} // namespace kesto::test
