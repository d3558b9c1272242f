// The main window driven from the keyboard: where the keys go after start and
// after a rebuild, and the context menu from the menu key.
#include "MailboxFixture.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTest>

#include <utility>

namespace kesto::test {
namespace {

using KeyboardTest = MailboxFixture;

TEST_F(KeyboardTest, TheListHasTheKeysFromTheStartAndKeepsThemAcrossARefresh) {
    Add({.subject = "older"});
    Add({.subject = "newer"});
    Open();
    win->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(win.get()));
    EXPECT_EQ(QApplication::focusWidget(), List());
    EXPECT_EQ(List()->currentIndex().row(), 0);

    // Down then Del marks the second row (record 1, the list is newest first) and nothing else.
    QTest::keyClick(List(), Qt::Key_Down);
    QTest::keyClick(List(), Qt::Key_Delete);
    EXPECT_EQ(Record("EMAIL", 1).Deleted, 1);
    EXPECT_EQ(Record("EMAIL", 2).Deleted, 0);

    // F5 rebuilds with the list hidden meanwhile; the keys must still reach it afterwards.
    QTest::keyClick(List(), Qt::Key_F5);
    EXPECT_EQ(List()->currentIndex().row(), 0);
    EXPECT_EQ(QApplication::focusWidget(), List());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(List()->currentIndex().row(), 1);
}

TEST_F(KeyboardTest, ReturnOrEnterOnTheListOpensTheSelectedMessage) {
    Add({.subject = "older"});
    Add({.subject = "newer"});
    Open();
    QTest::keyClick(List(), Qt::Key_Down);
    for (auto [key, modifiers] :
         {std::pair{Qt::Key_Return, Qt::NoModifier}, {Qt::Key_Enter, Qt::KeypadModifier}}) {
        QString subject;
        OnNextModal([&](QWidget* w) {
            if (w) subject = LabelText(*w, "lblMailSubjectValue");
        });
        QTest::keyClick(List(), key, modifiers);
        EXPECT_EQ(subject, QStringLiteral("older")) << key;
    }
}

TEST_F(KeyboardTest, TheMenuKeyAndShiftF10OpenTheContextMenuAtTheCurrentRowOnlyWhenThereAreRows) {
    Open();
    auto* popup = win->findChild<QMenu*>(QStringLiteral("mnuPopUp"));
    ASSERT_NE(popup, nullptr);
    auto menuKey = [this] {
        QContextMenuEvent e(QContextMenuEvent::Keyboard, QPoint(5, 5), List()->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(List(), &e);
    };
    menuKey();
    QTest::keyClick(List(), Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_FALSE(popup->isVisible());

    Add({.subject = "one"});
    Add({.subject = "two"});
    win->RefreshList();
    QTest::keyClick(List(), Qt::Key_Down);
    const QRect row = List()->visualRect(List()->currentIndex());
    const QPoint atRow = List()->viewport()->mapToGlobal(row.bottomLeft());
    menuKey();
    ASSERT_TRUE(popup->isVisible());
    EXPECT_EQ(popup->pos(), atRow);
    popup->hide();
    QTest::keyClick(List(), Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_TRUE(popup->isVisible());
    popup->hide();
}

} // namespace
} // namespace kesto::test
