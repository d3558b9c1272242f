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
    add({.subject = "older"});
    add({.subject = "newer"});
    open();
    win->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(win.get()));
    EXPECT_EQ(QApplication::focusWidget(), list());
    EXPECT_EQ(list()->currentIndex().row(), 0);

    // Down then Del marks the second row (record 1, the list is newest first) and nothing else.
    QTest::keyClick(list(), Qt::Key_Down);
    QTest::keyClick(list(), Qt::Key_Delete);
    EXPECT_EQ(record("EMAIL", 1).Deleted, 1);
    EXPECT_EQ(record("EMAIL", 2).Deleted, 0);

    // F5 rebuilds with the list hidden meanwhile; the keys must still reach it afterwards.
    QTest::keyClick(list(), Qt::Key_F5);
    EXPECT_EQ(list()->currentIndex().row(), 0);
    EXPECT_EQ(QApplication::focusWidget(), list());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(list()->currentIndex().row(), 1);
}

TEST_F(KeyboardTest, ReturnOrEnterOnTheListOpensTheSelectedMessage) {
    add({.subject = "older"});
    add({.subject = "newer"});
    open();
    QTest::keyClick(list(), Qt::Key_Down);
    for (auto [key, modifiers] :
         {std::pair{Qt::Key_Return, Qt::NoModifier}, {Qt::Key_Enter, Qt::KeypadModifier}}) {
        QString subject;
        OnNextModal([&](QWidget* w) {
            if (w) subject = LabelText(*w, "lblMailSubjectValue");
        });
        QTest::keyClick(list(), key, modifiers);
        EXPECT_EQ(subject, QStringLiteral("older")) << key;
    }
}

TEST_F(KeyboardTest, TheMenuKeyAndShiftF10OpenTheContextMenuAtTheCurrentRowOnlyWhenThereAreRows) {
    open();
    auto* popup = win->findChild<QMenu*>(QStringLiteral("mnuPopUp"));
    ASSERT_NE(popup, nullptr);
    auto menuKey = [this] {
        QContextMenuEvent e(QContextMenuEvent::Keyboard, QPoint(5, 5), list()->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(list(), &e);
    };
    menuKey();
    QTest::keyClick(list(), Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_FALSE(popup->isVisible());

    add({.subject = "one"});
    add({.subject = "two"});
    win->RefreshList();
    QTest::keyClick(list(), Qt::Key_Down);
    const QRect row = list()->visualRect(list()->currentIndex());
    const QPoint atRow = list()->viewport()->mapToGlobal(row.bottomLeft());
    menuKey();
    ASSERT_TRUE(popup->isVisible());
    EXPECT_EQ(popup->pos(), atRow);
    popup->hide();
    QTest::keyClick(list(), Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_TRUE(popup->isVisible());
    popup->hide();
}

} // namespace
} // namespace kesto::test
