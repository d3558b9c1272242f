#include "AddressBookUiSupport.h"

#include "addressbook/frmAddressBookEdit.h"

#include <QGroupBox>
#include <QPushButton>
#include <QTest>

#include <memory>

namespace kesto::test {
namespace {

class frmAddressBookEditTest : public AddressBookUiTest {
  protected:
    std::unique_ptr<ui::frmAddressBookEdit> w;

    void Open(int index) {
        w = std::make_unique<ui::frmAddressBookEdit>(s, index);
        w->show();
    }
    QLineEdit* Field(const char* name) { return Child<QLineEdit>(w.get(), name); }
};

TEST_F(frmAddressBookEditTest, ShowsTrimmedFieldsAndWritesThemBackOnOkOnly) {
    WriteBook("A,a@1/1,1\r\n  Club ,  desk@4/5 , 12abc\r\nC,c@1,007\r\n\r\n");
    Open(3);
    EXPECT_EQ(Field("NetIdValue")->text(), QStringLiteral("7"));
    Open(2);
    EXPECT_EQ(Child<QGroupBox>(w.get(), "fraAddressBook")->title(), QStringLiteral("Entry 2 / 3"));
    EXPECT_EQ(Field("DescriptionValue")->text(), QStringLiteral("Club"));
    EXPECT_EQ(Field("AddressValue")->text(), QStringLiteral("desk@4/5"));
    EXPECT_EQ(Field("NetIdValue")->text(), QStringLiteral("12"));

    Field("DescriptionValue")->setText(QStringLiteral("  New  "));
    QTest::keyClick(Field("DescriptionValue"), Qt::Key_Escape);
    EXPECT_EQ(Book(), "A,a@1/1,1\r\n  Club ,  desk@4/5 , 12abc\r\nC,c@1,007\r\n\r\n");

    Open(2);
    Field("DescriptionValue")->setText(QStringLiteral("  New  "));
    QTest::keyClick(Field("DescriptionValue"), Qt::Key_Return);
    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_EQ(w->GetSavedEntry(), "New,desk@4/5,12");
    EXPECT_EQ(Book(), "A,a@1/1,1\r\nNew,desk@4/5,12\r\nC,c@1,007\r\n");
}

TEST_F(frmAddressBookEditTest, SeparatorsNeverReachTheFieldsTypedOrPasted) {
    Open(1); // no book yet: the editor creates it, and has nothing to save
    EXPECT_TRUE(std::filesystem::exists(BookPath()));
    EXPECT_FALSE(Child<QPushButton>(w.get(), "cmdOk")->isEnabled());

    QTest::keyClicks(Field("DescriptionValue"), QStringLiteral("Bob, the; man"));
    EXPECT_EQ(Field("DescriptionValue")->text(), QStringLiteral("Bob the man"));
    QLineEdit* addr = Field("AddressValue");
    addr->insert(QStringLiteral("bob@1/1,2;3")); // the paste path
    addr->setCursorPosition(3);
    addr->insert(QStringLiteral(",\n;x"));
    EXPECT_EQ(addr->text(), QStringLiteral("bobx@1/123"));
    EXPECT_EQ(addr->cursorPosition(), 4);
    QTest::keyClicks(Field("NetIdValue"), QStringLiteral("1a2.-3,"));
    Field("NetIdValue")->insert(QStringLiteral(" 4x"));
    EXPECT_EQ(Field("NetIdValue")->text(), QStringLiteral("12.34"));
}

// The filters act on what is typed or pasted; an entry as stored shows and saves unchanged.
TEST_F(frmAddressBookEditTest, StoredTextKeepsWhatTypingWouldRefuse) {
    WriteBook("Desk; home,desk;x@4/5,-2\r\n");
    Open(1);
    EXPECT_EQ(Field("DescriptionValue")->text(), QStringLiteral("Desk; home"));
    EXPECT_EQ(Field("AddressValue")->text(), QStringLiteral("desk;x@4/5"));
    EXPECT_EQ(Field("NetIdValue")->text(), QStringLiteral("-2"));

    QLineEdit* desc = Field("DescriptionValue");
    desc->setCursorPosition(5);
    QTest::keyClicks(desc, QStringLiteral(";,!"));
    EXPECT_EQ(desc->text(), QStringLiteral("Desk;! home"));
    QTest::keyClick(desc, Qt::Key_Return);
    EXPECT_EQ(Book(), "Desk;! home,desk;x@4/5,-2\r\n");
}

} // namespace
} // namespace kesto::test
