// The address book from the keyboard: Return presses the focused button, and
// from the list the window's default command.
#include "AddressBookUiSupport.h"

#include "addressbook/frmAddressBook.h"

#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using kesto::test::Child;
using kesto::test::OnModal;

using AddressBookKeyboardTest = kesto::test::AddressBookUiTest;

TEST_F(AddressBookKeyboardTest, ReturnOnAFocusedButtonPressesThatButtonNotTheDefault) {
    WriteBook("Desk,desk@4/5,2\r\nFred,Fred,0\r\n");
    kesto::ui::frmAddressBook w(s, kesto::ui::frmAddressBook::Mode::View);
    w.show();
    bool editorOpened = false;
    OnModal(&testScope, QStringLiteral("frmAddressBookEdit"), [&](QWidget*) { editorOpened = true; });

    // Insert, Delete and Close each act on Return; Edit, the default, never runs.
    auto* insert = Child<QPushButton>(&w, "cmdInsert");
    insert->setFocus();
    QTest::keyClick(insert, Qt::Key_Return);
    EXPECT_EQ(Book(), "Desk,desk@4/5,2\r\nFred,Fred,0\r\n,,0\r\n");
    auto* del = Child<QPushButton>(&w, "cmdDelete");
    del->setFocus();
    QTest::keyClick(del, Qt::Key_Return);
    EXPECT_EQ(Book(), "Desk,desk@4/5,2\r\nFred,Fred,0\r\n");
    EXPECT_FALSE(editorOpened);
    // The picture buttons answer Return too: the first entry moves down.
    auto* down = Child<QAbstractButton>(&w, "cmdMoveDown");
    Child<QListWidget>(&w, "lstAddressBook")->setCurrentRow(0);
    down->setFocus();
    QTest::keyClick(down, Qt::Key_Return);
    EXPECT_EQ(Book(), "Fred,Fred,0\r\nDesk,desk@4/5,2\r\n");
    // Back in the list, Return is the default command again.
    auto* list = Child<QListWidget>(&w, "lstAddressBook");
    list->setFocus();
    EXPECT_TRUE(Child<QPushButton>(&w, "cmdEdit")->isDefault());
    auto* close = Child<QPushButton>(&w, "cmdCancel");
    close->setFocus();
    QTest::keyClick(close, Qt::Key_Return);
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(editorOpened);
}

} // namespace
