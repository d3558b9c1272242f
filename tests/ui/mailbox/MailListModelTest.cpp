// The list model on its own: model invariants through resets, sorts and row updates.
#include "UiTestSupport.h"
#include "mailbox/MailListModel.h"

#include <QAbstractItemModelTester>
#include <QPersistentModelIndex>
#include <gtest/gtest.h>

namespace kesto::ui {
namespace {

using kesto::test::Strings;

MailRow Row(kesto::RecordNo number, std::string_view name, std::int32_t size) {
    MailRow r;
    r.number = number;
    r.state = RowState::Unread;
    r.name = name;
    r.subject = "s";
    r.date = "d";
    r.size = size;
    r.bold = true;
    return r;
}

QStringList Column(const MailListModel& m, int column) {
    QStringList out;
    for (int r = 0; r < m.rowCount(); ++r) out << m.index(r, column).data().toString();
    return out;
}

TEST(MailListModel, KeepsItsInvariantsThroughResetSortAndUpdate) {
    MailListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.SetRows({Row(1, "b", 5), Row(2, "a", 0), Row(3, "c", 7)});
    QPersistentModelIndex tracked = model.index(1, 2); // "a"
    model.SortBy(MailListModel::ColName, true);
    EXPECT_EQ(Column(model, MailListModel::ColName), Strings({"a", "b", "c"}));
    EXPECT_EQ(tracked.row(), 0);
    model.SortBy(MailListModel::ColSize, false);
    EXPECT_EQ(Column(model, MailListModel::ColSize), Strings({"7", "5", ""}));
    EXPECT_EQ(tracked.row(), 2);
    model.UpdateRow(2, Row(99, "z", 0));
    EXPECT_EQ(model.index(2, MailListModel::ColNumber).data().toString(), QStringLiteral("2"));
    EXPECT_EQ(model.index(2, MailListModel::ColName).data().toString(), QStringLiteral("z"));
    EXPECT_EQ(model.index(2, MailListModel::ColSize).data().toString(), QStringLiteral("0"));
    model.SetRows({});
    EXPECT_EQ(model.rowCount(), 0);
}

TEST(MailListModel, TextSortIgnoresCaseIncludingAccentedLettersAndKeepsTiesInOrder) {
    MailListModel model;
    // 0xC9 is E acute, 0xE9 e acute in the board's code page.
    model.SetRows(
        {Row(1, "\xC9t\xE9", 0), Row(2, "b", 0), Row(3, "B", 0), Row(4, "\xE9t\xE9", 0), Row(5, "a", 0)});
    model.SortBy(MailListModel::ColName, true);
    EXPECT_EQ(Column(model, MailListModel::ColNumber), Strings({"5", "2", "3", "1", "4"}));
    EXPECT_EQ(model.index(3, MailListModel::ColName).data().toString(), QString::fromUtf8("\u00C9t\u00E9"));
    model.SortBy(MailListModel::ColName, false);
    EXPECT_EQ(Column(model, MailListModel::ColNumber), Strings({"1", "4", "2", "3", "5"}));
}

TEST(MailListModel, ASortFindsAnOutOfOrderPairAtEitherEndAndLeavesOrderedTiesWhereTheyAre) {
    MailListModel model;
    // Descending and already in order, ties included: nothing moves, the ties keep their order.
    model.SetRows({Row(1, "a", 9), Row(2, "b", 9), Row(3, "c", 5), Row(4, "d", 5), Row(5, "e", 0)});
    model.SortBy(MailListModel::ColSize, false);
    EXPECT_EQ(Column(model, MailListModel::ColNumber), Strings({"1", "2", "3", "4", "5"}));
    EXPECT_EQ(Column(model, MailListModel::ColSize), Strings({"9", "9", "5", "5", ""}));
    // In order except for the last pair, then except for the first pair.
    model.SetRows({Row(1, "a", 1), Row(2, "b", 2), Row(3, "c", 3), Row(4, "d", 5), Row(5, "e", 4)});
    model.SortBy(MailListModel::ColSize, true);
    EXPECT_EQ(Column(model, MailListModel::ColNumber), Strings({"1", "2", "3", "5", "4"}));
    model.SetRows({Row(1, "b", 0), Row(2, "a", 0), Row(3, "c", 0), Row(4, "d", 0)});
    model.SortBy(MailListModel::ColName, true);
    EXPECT_EQ(Column(model, MailListModel::ColNumber), Strings({"2", "1", "3", "4"}));
}

TEST(MailListModel, AFilterShowsSomeRowsWhichSortAndUpdateWhileTheHiddenOnesKeepTheirPlace) {
    MailListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.SetRows({Row(1, "d", 1), Row(2, "c", 2), Row(3, "b", 3), Row(4, "a", 4)});
    QPersistentModelIndex kept = model.index(2, 0);   // #3
    QPersistentModelIndex hidden = model.index(1, 0); // #2
    model.ShowOnly({1, 0, 1, 1});
    EXPECT_EQ(Column(model, MailListModel::ColNumber), Strings({"1", "3", "4"}));
    EXPECT_EQ(kept.row(), 1);
    EXPECT_FALSE(hidden.isValid());

    model.SortBy(MailListModel::ColName, true);
    EXPECT_EQ(Column(model, MailListModel::ColNumber), Strings({"4", "3", "1"}));
    EXPECT_EQ(kept.row(), 1);
    model.UpdateRow(0, Row(4, "z", 9));
    EXPECT_EQ(model.GetAllRows()[0].name, "z");

    model.ShowAll();
    EXPECT_FALSE(model.IsFiltered());
    EXPECT_EQ(Column(model, MailListModel::ColNumber), Strings({"4", "3", "2", "1"}));
    EXPECT_EQ(kept.row(), 1);
    model.ShowOnly({0, 0, 0, 0});
    EXPECT_EQ(model.rowCount(), 0);
    model.SortBy(MailListModel::ColSize, false); // nothing shown: nothing to announce
    model.SetRows({Row(7, "x", 0)});
    EXPECT_FALSE(model.IsFiltered());
    EXPECT_EQ(model.rowCount(), 1);
}

} // namespace
} // namespace kesto::ui
