#include "AddressBookUiSupport.h"

#include "addressbook/frmAddressBook.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

using kesto::test::Child;
using kesto::test::OnModal;
constexpr auto View = kesto::ui::frmAddressBook::Mode::View;
constexpr auto Pick = kesto::ui::frmAddressBook::Mode::Pick;

class frmAddressBookTest : public kesto::test::AddressBookUiTest {
  protected:
    std::unique_ptr<kesto::ui::frmAddressBook> w;

    void open(kesto::ui::frmAddressBook::Mode mode) {
        w = std::make_unique<kesto::ui::frmAddressBook>(s, mode);
        w->show();
    }
    QListWidget* list() { return Child<QListWidget>(w.get(), "lstAddressBook"); }
    QAbstractButton* button(const char* name) { return Child<QAbstractButton>(w.get(), name); }
    void click(const char* name) { button(name)->click(); }
    void clickOnRow(const char* name, int row) {
        list()->setCurrentRow(row);
        click(name);
    }
    static std::string Entries(int from, int to) {
        std::string s;
        for (int i = from; i <= to; ++i) s += "N" + std::to_string(i) + ",n@1/1,1\r\n";
        return s;
    }
};

TEST_F(frmAddressBookTest, ViewModeListsTheFileWithEditAsDefault) {
    writeBook("Desk,desk@4/5,2\r\n\r\n  Fred , Fred ,0\r\n");
    open(View);
    EXPECT_FALSE(w->isBusy());
    EXPECT_EQ(Child<QGroupBox>(w.get(), "fraAddressBook")->title(),
              QStringLiteral("Address Book Entries (2)"));
    EXPECT_EQ(list()->item(1)->text(), QStringLiteral("2: Fred                   "));
    EXPECT_EQ(list()->currentRow(), 0);
    EXPECT_FALSE(button("cmdOk")->isEnabled());
    EXPECT_TRUE(Child<QPushButton>(w.get(), "cmdEdit")->isDefault());
}

TEST_F(frmAddressBookTest, PickerHandsBackAddressStarNetworkByReturnOrDoubleClick) {
    writeBook("Desk,desk@4/5,2\r\n Fred , Fred , 0 \r\n");
    open(Pick);
    QTest::keyClick(list(), Qt::Key_Return);
    EXPECT_EQ(w->pickedAddress(), "desk@4/5*2");
    EXPECT_EQ(w->result(), QDialog::Accepted);

    open(Pick);
    list()->setCurrentRow(1);
    emit list()->itemDoubleClicked(list()->item(1));
    EXPECT_EQ(w->pickedAddress(), "Fred@0*0");
    EXPECT_FALSE(w->isVisible());
}

TEST_F(frmAddressBookTest, InsertAndDeleteKeepTheFileAndSelectionInStep) {
    open(View);
    EXPECT_FALSE(button("cmdEdit")->isEnabled());
    click("cmdInsert");
    EXPECT_EQ(book(), ",,0\r\n");
    EXPECT_FALSE(button("cmdMoveDown")->isEnabled()); // one row cannot move

    writeBook(Entries(1, 99));
    open(View);
    clickOnRow("cmdInsert", 5);
    EXPECT_EQ(book(), Entries(1, 99) + ",,0\r\n");
    EXPECT_EQ(list()->currentRow(), 99);
    EXPECT_FALSE(button("cmdInsert")->isEnabled());
    w->cmdInsert_Click(); // the command checks the limit itself
    EXPECT_EQ(list()->count(), 100);
    clickOnRow("cmdDelete", 2);
    EXPECT_TRUE(button("cmdInsert")->isEnabled());
    EXPECT_EQ(list()->currentRow(), 2);

    writeBook(Entries(1, 5));
    open(View);
    clickOnRow("cmdDelete", 4);
    EXPECT_EQ(list()->currentRow(), 3);
    EXPECT_EQ(book(), Entries(1, 4));
}

TEST_F(frmAddressBookTest, MovesSwapNeighboursButNotPastTheEnds) {
    writeBook(Entries(1, 3));
    open(View);
    clickOnRow("cmdMoveUp", 2);
    EXPECT_EQ(book(), Entries(1, 1) + Entries(3, 3) + Entries(2, 2));
    EXPECT_EQ(list()->currentRow(), 1);
    click("cmdMoveDown");
    EXPECT_EQ(book(), Entries(1, 3));
    EXPECT_EQ(list()->currentRow(), 2);

    writeBook(Entries(1, 3) + "\r\n"); // not even rewritten
    click("cmdMoveDown");
    clickOnRow("cmdMoveUp", 0);
    EXPECT_EQ(book(), Entries(1, 3) + "\r\n");
}

TEST_F(frmAddressBookTest, LinesPastTheLoadLimitSurviveTheWindowsCommands) {
    const std::string tail = "Hidden1,h@1/1,1\r\nHidden2,h@1/1,1\r\n";
    writeBook(Entries(1, 101) + tail);
    open(View);
    clickOnRow("cmdMoveDown", 0);
    EXPECT_EQ(book(), Entries(2, 2) + Entries(1, 1) + Entries(3, 101) + tail);
    click("cmdDelete");
    EXPECT_EQ(book(), Entries(2, 2) + Entries(3, 101) + tail);
    EXPECT_EQ(list()->item(100)->text().trimmed(), QStringLiteral("101: Hidden1"));
}

TEST_F(frmAddressBookTest, EditRunsTheEditorWhileBusyAndRefreshes) {
    writeBook(Entries(1, 3));
    open(View);
    list()->setCurrentRow(1);
    bool busy = false, closeRefused = false;
    QString frame;
    OnModal(&testScope, QStringLiteral("frmAddressBookEdit"), [&](QWidget* e) {
        busy = w->isBusy();
        closeRefused = !w->close();
        frame = Child<QGroupBox>(e, "fraAddressBook")->title();
        Child<QLineEdit>(e, "DescriptionValue")->setText(QStringLiteral("Second"));
        Child<QPushButton>(e, "cmdOk")->click();
    });
    QTest::keyClick(list(), Qt::Key_Return); // Return edits in view mode
    EXPECT_EQ(frame, QStringLiteral("Entry 2 / 3"));
    EXPECT_TRUE(busy);
    EXPECT_TRUE(closeRefused);
    EXPECT_EQ(book(), Entries(1, 1) + "Second,n@1/1,1\r\n" + Entries(3, 3));
    EXPECT_EQ(list()->item(1)->text().trimmed(), QStringLiteral("2: Second"));
    EXPECT_EQ(list()->currentRow(), 1);

    bool opened = false;
    OnModal(&testScope, QStringLiteral("frmAddressBookEdit"), [&](QWidget*) { opened = true; });
    emit list()->itemDoubleClicked(list()->item(0));
    EXPECT_TRUE(opened);
    EXPECT_TRUE(w->isVisible());

    QTest::keyClick(list(), Qt::Key_Escape);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(w->pickedAddress(), std::nullopt);
}

} // namespace
