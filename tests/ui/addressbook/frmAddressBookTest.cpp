#include "AddressBookUiSupport.h"

#include "addressbook/frmAddressBook.h"

#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <memory>

namespace kesto::test {
namespace {

constexpr auto kView = ui::frmAddressBook::Mode::View;
constexpr auto kPick = ui::frmAddressBook::Mode::Pick;

class frmAddressBookTest : public AddressBookUiTest {
  protected:
    std::unique_ptr<ui::frmAddressBook> w;

    void Open(ui::frmAddressBook::Mode mode) {
        w = std::make_unique<ui::frmAddressBook>(s, mode);
        w->show();
    }
    QListWidget* List() { return Child<QListWidget>(w.get(), "lstAddressBook"); }
    QAbstractButton* Button(const char* name) { return Child<QAbstractButton>(w.get(), name); }
    void Click(const char* name) { Button(name)->click(); }
    // Focuses the button and presses Return on it.
    void ReturnOn(const char* name) {
        Button(name)->setFocus();
        QTest::keyClick(Button(name), Qt::Key_Return);
    }
    void ClickOnRow(const char* name, int row) {
        List()->setCurrentRow(row);
        Click(name);
    }
    static std::string Entries(int from, int to) {
        std::string s;
        for (int i = from; i <= to; ++i) s += "N" + std::to_string(i) + ",n@1/1,1\r\n";
        return s;
    }
};

TEST_F(frmAddressBookTest, ViewModeListsTheFileWithEditAsDefault) {
    WriteBook("Desk,desk@4/5,2\r\n\r\n  Fred , Fred ,0\r\n");
    Open(kView);
    EXPECT_FALSE(w->IsBusy());
    EXPECT_EQ(Child<QGroupBox>(w.get(), "fraAddressBook")->title(),
              QStringLiteral("Address Book Entries (2)"));
    EXPECT_EQ(List()->item(1)->text(), QStringLiteral("2: Fred                   "));
    EXPECT_EQ(List()->currentRow(), 0);
    EXPECT_FALSE(Button("cmdOk")->isEnabled());
    EXPECT_TRUE(Child<QPushButton>(w.get(), "cmdEdit")->isDefault());
}

TEST_F(frmAddressBookTest, PickerHandsBackAddressStarNetworkByReturnOrDoubleClick) {
    WriteBook("Desk,desk@4/5,2\r\n Fred , Fred , 0 \r\n");
    Open(kPick);
    QTest::keyClick(List(), Qt::Key_Return);
    EXPECT_EQ(w->GetPickedAddress(), "desk@4/5*2");
    EXPECT_EQ(w->result(), QDialog::Accepted);

    Open(kPick);
    List()->setCurrentRow(1);
    emit List()->itemDoubleClicked(List()->item(1));
    EXPECT_EQ(w->GetPickedAddress(), "Fred@0*0");
    EXPECT_FALSE(w->isVisible());
}

TEST_F(frmAddressBookTest, InsertAndDeleteKeepTheFileAndSelectionInStep) {
    Open(kView);
    EXPECT_FALSE(Button("cmdEdit")->isEnabled());
    Click("cmdInsert");
    EXPECT_EQ(Book(), ",,0\r\n");
    EXPECT_FALSE(Button("cmdMoveDown")->isEnabled()); // one row cannot move

    WriteBook(Entries(1, 99));
    Open(kView);
    ClickOnRow("cmdInsert", 5);
    EXPECT_EQ(Book(), Entries(1, 99) + ",,0\r\n");
    EXPECT_EQ(List()->currentRow(), 99);
    EXPECT_FALSE(Button("cmdInsert")->isEnabled());
    w->cmdInsert_Click(); // the command checks the limit itself
    EXPECT_EQ(List()->count(), 100);
    ClickOnRow("cmdDelete", 2);
    EXPECT_TRUE(Button("cmdInsert")->isEnabled());
    EXPECT_EQ(List()->currentRow(), 2);

    WriteBook(Entries(1, 5));
    Open(kView);
    ClickOnRow("cmdDelete", 4);
    EXPECT_EQ(List()->currentRow(), 3);
    EXPECT_EQ(Book(), Entries(1, 4));
}

TEST_F(frmAddressBookTest, MovesSwapNeighboursButNotPastTheEnds) {
    WriteBook(Entries(1, 3));
    Open(kView);
    ClickOnRow("cmdMoveUp", 2);
    EXPECT_EQ(Book(), Entries(1, 1) + Entries(3, 3) + Entries(2, 2));
    EXPECT_EQ(List()->currentRow(), 1);
    Click("cmdMoveDown");
    EXPECT_EQ(Book(), Entries(1, 3));
    EXPECT_EQ(List()->currentRow(), 2);

    WriteBook(Entries(1, 3) + "\r\n"); // not even rewritten
    Click("cmdMoveDown");
    ClickOnRow("cmdMoveUp", 0);
    EXPECT_EQ(Book(), Entries(1, 3) + "\r\n");
}

TEST_F(frmAddressBookTest, LinesPastTheLoadLimitSurviveTheWindowsCommands) {
    const std::string tail = "Hidden1,h@1/1,1\r\nHidden2,h@1/1,1\r\n";
    WriteBook(Entries(1, 101) + tail);
    Open(kView);
    ClickOnRow("cmdMoveDown", 0);
    EXPECT_EQ(Book(), Entries(2, 2) + Entries(1, 1) + Entries(3, 101) + tail);
    Click("cmdDelete");
    EXPECT_EQ(Book(), Entries(2, 2) + Entries(3, 101) + tail);
    EXPECT_EQ(List()->item(100)->text().trimmed(), QStringLiteral("101: Hidden1"));
}

TEST_F(frmAddressBookTest, EditRunsTheEditorWhileBusyAndRefreshes) {
    WriteBook(Entries(1, 3));
    Open(kView);
    List()->setCurrentRow(1);
    bool busy = false, closeRefused = false;
    QString frame;
    OnModal(&testScope, QStringLiteral("frmAddressBookEdit"), [&](QWidget* e) {
        busy = w->IsBusy();
        closeRefused = !w->close();
        frame = Child<QGroupBox>(e, "fraAddressBook")->title();
        Edit(*e, "DescriptionValue")->setText(QStringLiteral("Second"));
        Child<QPushButton>(e, "cmdOk")->click();
    });
    QTest::keyClick(List(), Qt::Key_Return); // Return edits in view mode
    EXPECT_EQ(frame, QStringLiteral("Entry 2 / 3"));
    EXPECT_TRUE(busy);
    EXPECT_TRUE(closeRefused);
    EXPECT_EQ(Book(), Entries(1, 1) + "Second,n@1/1,1\r\n" + Entries(3, 3));
    EXPECT_EQ(List()->item(1)->text().trimmed(), QStringLiteral("2: Second"));
    EXPECT_EQ(List()->currentRow(), 1);

    bool opened = false;
    OnModal(&testScope, QStringLiteral("frmAddressBookEdit"), [&](QWidget*) { opened = true; });
    emit List()->itemDoubleClicked(List()->item(0));
    EXPECT_TRUE(opened);
    EXPECT_TRUE(w->isVisible());

    QTest::keyClick(List(), Qt::Key_Escape);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(w->GetPickedAddress(), std::nullopt);
}

// Return presses the focused button, picture buttons included; from the list it is the default command.
TEST_F(frmAddressBookTest, ReturnOnAFocusedButtonPressesThatButtonNotTheDefault) {
    WriteBook("Desk,desk@4/5,2\r\nFred,Fred,0\r\n");
    Open(kView);
    bool editorOpened = false;
    OnModal(&testScope, QStringLiteral("frmAddressBookEdit"), [&](QWidget*) { editorOpened = true; });
    ReturnOn("cmdInsert");
    EXPECT_EQ(Book(), "Desk,desk@4/5,2\r\nFred,Fred,0\r\n,,0\r\n");
    ReturnOn("cmdDelete");
    EXPECT_EQ(Book(), "Desk,desk@4/5,2\r\nFred,Fred,0\r\n");
    List()->setCurrentRow(0);
    ReturnOn("cmdMoveDown");
    EXPECT_EQ(Book(), "Fred,Fred,0\r\nDesk,desk@4/5,2\r\n");
    List()->setFocus();
    EXPECT_TRUE(Child<QPushButton>(w.get(), "cmdEdit")->isDefault());
    ReturnOn("cmdCancel");
    EXPECT_FALSE(w->isVisible());
    EXPECT_FALSE(editorOpened);
}

} // namespace
} // namespace kesto::test
