#include "AddressBookUiSupport.h"

#include "addressbook/frmAddressBookEdit.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

using kesto::test::Child;

class frmAddressBookEditTest : public kesto::test::AddressBookUiTest {
  protected:
    std::unique_ptr<kesto::ui::frmAddressBookEdit> w;

    void open(int index) {
        w = std::make_unique<kesto::ui::frmAddressBookEdit>(s, index);
        w->show();
    }
    QLineEdit* field(const char* name) { return Child<QLineEdit>(w.get(), name); }
};

TEST_F(frmAddressBookEditTest, ShowsTrimmedFieldsAndWritesThemBackOnOkOnly) {
    writeBook("A,a@1/1,1\r\n  Club ,  desk@4/5 , 12abc\r\nC,c@1,007\r\n\r\n");
    open(3);
    EXPECT_EQ(field("NetIdValue")->text(), QStringLiteral("7"));
    open(2);
    EXPECT_EQ(Child<QGroupBox>(w.get(), "fraAddressBook")->title(), QStringLiteral("Entry 2 / 3"));
    EXPECT_EQ(field("DescriptionValue")->text(), QStringLiteral("Club"));
    EXPECT_EQ(field("AddressValue")->text(), QStringLiteral("desk@4/5"));
    EXPECT_EQ(field("NetIdValue")->text(), QStringLiteral("12"));

    field("DescriptionValue")->setText(QStringLiteral("  New  "));
    QTest::keyClick(field("DescriptionValue"), Qt::Key_Escape);
    EXPECT_EQ(book(), "A,a@1/1,1\r\n  Club ,  desk@4/5 , 12abc\r\nC,c@1,007\r\n\r\n");

    open(2);
    field("DescriptionValue")->setText(QStringLiteral("  New  "));
    QTest::keyClick(field("DescriptionValue"), Qt::Key_Return);
    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_EQ(w->savedEntry(), "New,desk@4/5,12");
    EXPECT_EQ(book(), "A,a@1/1,1\r\nNew,desk@4/5,12\r\nC,c@1,007\r\n");
}

TEST_F(frmAddressBookEditTest, SeparatorsNeverReachTheFieldsTypedOrPasted) {
    open(1); // no book yet: the editor creates it, and has nothing to save
    EXPECT_TRUE(std::filesystem::exists(bookPath()));
    EXPECT_FALSE(Child<QPushButton>(w.get(), "cmdOk")->isEnabled());

    QTest::keyClicks(field("DescriptionValue"), QStringLiteral("Bob, the; man"));
    EXPECT_EQ(field("DescriptionValue")->text(), QStringLiteral("Bob the man"));
    QLineEdit* addr = field("AddressValue");
    addr->insert(QStringLiteral("bob@1/1,2;3")); // the paste path
    addr->setCursorPosition(3);
    addr->insert(QStringLiteral(",\n;x"));
    EXPECT_EQ(addr->text(), QStringLiteral("bobx@1/123"));
    EXPECT_EQ(addr->cursorPosition(), 4);
    QTest::keyClicks(field("NetIdValue"), QStringLiteral("1a2.-3,"));
    field("NetIdValue")->insert(QStringLiteral(" 4x"));
    EXPECT_EQ(field("NetIdValue")->text(), QStringLiteral("12.34"));
}

// The filters act on what is typed or pasted; an entry as stored shows and saves unchanged.
TEST_F(frmAddressBookEditTest, StoredTextKeepsWhatTypingWouldRefuse) {
    writeBook("Desk; home,desk;x@4/5,-2\r\n");
    open(1);
    EXPECT_EQ(field("DescriptionValue")->text(), QStringLiteral("Desk; home"));
    EXPECT_EQ(field("AddressValue")->text(), QStringLiteral("desk;x@4/5"));
    EXPECT_EQ(field("NetIdValue")->text(), QStringLiteral("-2"));

    QLineEdit* desc = field("DescriptionValue");
    desc->setCursorPosition(5);
    QTest::keyClicks(desc, QStringLiteral(";,!"));
    EXPECT_EQ(desc->text(), QStringLiteral("Desk;! home"));
    QTest::keyClick(desc, Qt::Key_Return);
    EXPECT_EQ(book(), "Desk;! home,desk;x@4/5,-2\r\n");
}

} // namespace
