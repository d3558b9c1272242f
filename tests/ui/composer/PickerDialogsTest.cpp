#include "ComposerFixture.h"

#include "Bytes.h"
#include "composer/frmSendToAll.h"
#include "composer/frmUserListing.h"

#include <QClipboard>
#include <QDropEvent>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <tuple>

namespace kesto::test {
namespace {

using ui::frmSendToAll;
using ui::frmUserListing;

QRadioButton* Option(QWidget& w, int i) {
    return Child<QRadioButton>(w, ("Option1_" + std::to_string(i)).c_str());
}

TEST(SendToAllDialog, FiltersKeysByTheSelectedOption) {
    frmSendToAll d;
    QLineEdit* value = Edit(d, "ValueValue");
    EXPECT_EQ(value->maxLength(), 3);

    QTest::keyClicks(value, QStringLiteral("x2-0.5"));
    EXPECT_EQ(value->text(), QStringLiteral("20."));
    QTest::keyClick(value, Qt::Key_Backspace);
    EXPECT_EQ(value->text(), QStringLiteral("20"));

    // A number does not survive the switch to a flag; a letter is typed in upper case.
    Option(d, 3)->click();
    EXPECT_EQ(value->text(), QString());
    EXPECT_EQ(value->maxLength(), 1);
    QTest::keyClicks(value, QStringLiteral("7c"));
    EXPECT_EQ(value->text(), QStringLiteral("C"));
    QTest::keyClicks(value, QStringLiteral("d"));
    EXPECT_EQ(value->text(), QStringLiteral("C"));

    // A letter does not survive the switch back to a level.
    Option(d, 1)->click();
    EXPECT_EQ(value->text(), QString());
    QTest::keyClicks(value, QStringLiteral("5"));
    Option(d, 4)->click();
    EXPECT_EQ(value->text(), QString());
}

TEST(SendToAllDialog, PastedOrDroppedTextPassesOnlyWhereTypingWould) {
    frmSendToAll d;
    d.show();
    QLineEdit* value = Edit(d, "ValueValue");
    auto paste = [value](const QString& text, const QKeySequence& keys) {
        QGuiApplication::clipboard()->setText(text);
        value->setFocus();
        QTest::keySequence(value, keys);
    };
    auto drop = [value](const QString& text) {
        QMimeData data;
        data.setText(text);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(value, &enter);
        QDropEvent e(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(value, &e);
    };
    // "abc" under a level would have sent to every user of level 1 or more.
    paste(QStringLiteral("abc"), QKeySequence(Qt::CTRL | Qt::Key_V));
    paste(QStringLiteral("2 0"), QKeySequence(Qt::SHIFT | Qt::Key_Insert));
    drop(QStringLiteral("-5"));
    EXPECT_EQ(value->text(), QString());
    paste(QStringLiteral("20"), QKeySequence(Qt::CTRL | Qt::Key_V));
    EXPECT_EQ(value->text(), QStringLiteral("20"));

    Option(d, 4)->click();
    drop(QStringLiteral("7"));
    EXPECT_EQ(value->text(), QString());
    drop(QStringLiteral("x"));
    EXPECT_EQ(value->text(), QStringLiteral("X"));
}

TEST(SendToAllDialog, OkBuildsTheCriterionAndRefusesAnEmptyValue) {
    FakeDialogs dialogs;
    {
        frmSendToAll d;
        Edit(d, "ValueValue")->setText(QStringLiteral("  "));
        Child<QPushButton>(d, "cmdOk")->click();
        ASSERT_EQ(dialogs.messages.size(), 1);
        EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Please enter a value."));
        EXPECT_EQ(d.GetCriterion(), std::nullopt);
    }
    for (auto [option, value, expected] :
         {std::tuple{1, " 20", "all users < 20"}, {4, "x", "all users $ X"}}) {
        frmSendToAll d;
        Option(d, option)->click();
        Edit(d, "ValueValue")->setText(QString::fromLatin1(value));
        Child<QPushButton>(d, "cmdOk")->click();
        EXPECT_EQ(d.GetCriterion(), expected);
        EXPECT_EQ(d.result(), QDialog::Accepted);
    }
    frmSendToAll d;
    Edit(d, "ValueValue")->setText(QStringLiteral("20"));
    Child<QPushButton>(d, "cmdCancel")->click();
    EXPECT_EQ(d.GetCriterion(), std::nullopt);
    EXPECT_EQ(d.result(), QDialog::Rejected);
}

TEST(UserPicker, ListsPaddedLinesAndReturnsTheRecordNumber) {
    ComposerBoard f;
    frmUserListing d(f.s);
    auto* list = Child<QListWidget>(d, "lstUsers");
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("2:     Bob                   Robert Smith"));
    EXPECT_EQ(list->currentRow(), 0);

    // The third line is user 4: the level-0 slot 3 is not listed.
    list->setCurrentRow(2);
    Child<QPushButton>(d, "cmdOk")->click();
    EXPECT_EQ(d.GetPickedUser(), 4);
    EXPECT_EQ(d.result(), QDialog::Accepted);

    frmUserListing again(f.s);
    Child<QListWidget>(again, "lstUsers")->setCurrentRow(1);
    again.lstUsers_DblClick();
    EXPECT_EQ(again.GetPickedUser(), 2);
}

TEST(UserPicker, EmptyBoardClosesWithoutAChoice) {
    TempDir dir;
    ui::Session s;
    s.board = demo::CreateBoard(dir.Path()).value();
    frmUserListing d(s);
    EXPECT_EQ(Child<QListWidget>(d, "lstUsers")->count(), 0);
    Child<QPushButton>(d, "cmdOk")->click();
    EXPECT_EQ(d.GetPickedUser(), std::nullopt);
    EXPECT_EQ(d.result(), QDialog::Rejected);
}

} // namespace
} // namespace kesto::test
