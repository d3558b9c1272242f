#include "AddressBookUiSupport.h"

#include "addressbook/frmAddressBookEdit.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

class frmAddressBookEditTest : public kesto::test::AddressBookUiTest {
protected:
    std::unique_ptr<kesto::ui::frmAddressBookEdit> open(std::int16_t index) {
        s.AddressBookEditIndex = index;
        auto w = std::make_unique<kesto::ui::frmAddressBookEdit>(s);
        w->show();
        return w;
    }
    static QLineEdit* field(QWidget* w, const char* name) { return w->findChild<QLineEdit*>(QLatin1String(name)); }
    static QPushButton* push(QWidget* w, const char* name) { return w->findChild<QPushButton*>(QLatin1String(name)); }
};

TEST_F(frmAddressBookEditTest, ShowsTheTrimmedFieldsAndTheNetworkIdAsANumber) {
    writeBook("A,a@1/1,1\r\n  Club ,  desk@4/5 , 12abc\r\nC,c@1,007\r\nD,d@1,\r\n");
    auto w = open(2);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Kesto - Address Book"));
    EXPECT_EQ(w->findChild<QGroupBox*>(QStringLiteral("fraAddressBook"))->title(), QStringLiteral("Entry 2 / 4"));
    EXPECT_EQ(field(w.get(), "DescriptionValue")->text(), QStringLiteral("Club"));
    EXPECT_EQ(field(w.get(), "AddressValue")->text(), QStringLiteral("desk@4/5"));
    EXPECT_EQ(field(w.get(), "NetIdValue")->text(), QStringLiteral("12"));
    EXPECT_EQ(field(w.get(), "AddressValue")->toolTip(),
              QStringLiteral("The email address for this user. It should be in the format of user@address."));
    EXPECT_EQ(w->findChild<QLabel*>(QStringLiteral("lblNetId"))->text(), QStringLiteral("Network Id:"));
    EXPECT_EQ(field(open(3).get(), "NetIdValue")->text(), QStringLiteral("7"));
    EXPECT_EQ(field(open(4).get(), "NetIdValue")->text(), QStringLiteral("0"));
}

TEST_F(frmAddressBookEditTest, SeparatorsNeverReachTheTextFieldsTypedOrPasted) {
    writeBook("A,a@1/1,1\r\n");
    auto w = open(1);
    QLineEdit* desc = field(w.get(), "DescriptionValue");
    desc->clear();
    QTest::keyClicks(desc, QStringLiteral("Bob, the; man"));
    EXPECT_EQ(desc->text(), QStringLiteral("Bob the man"));

    // A paste goes through insert(), which the filter sees as well.
    QLineEdit* addr = field(w.get(), "AddressValue");
    addr->clear();
    addr->insert(QStringLiteral("bob@1/1,2;3"));
    EXPECT_EQ(addr->text(), QStringLiteral("bob@1/123"));
    EXPECT_EQ(addr->cursorPosition(), addr->text().size());
    addr->setCursorPosition(3);
    addr->insert(QStringLiteral(",\n;x"));
    EXPECT_EQ(addr->text(), QStringLiteral("bobx@1/123"));

    QLineEdit* net = field(w.get(), "NetIdValue");
    net->clear();
    QTest::keyClicks(net, QStringLiteral("1a2.-3,"));
    EXPECT_EQ(net->text(), QStringLiteral("12.3"));
    QTest::keyClick(net, Qt::Key_Backspace);
    EXPECT_EQ(net->text(), QStringLiteral("12."));
    net->insert(QStringLiteral(" 4x5"));
    EXPECT_EQ(net->text(), QStringLiteral("12.45"));
}

TEST_F(frmAddressBookEditTest, OkWritesTheTrimmedEntryAndKeepsEveryOtherLine) {
    writeBook(" First ,f@1,1\r\nSecond,s@1,2\r\n" + std::string("X,x@1,1\r\n") + "\r\n");
    auto w = open(2);
    field(w.get(), "DescriptionValue")->setText(QStringLiteral("  New desc  "));
    field(w.get(), "AddressValue")->setText(QStringLiteral(" new@2/3 "));
    field(w.get(), "NetIdValue")->setText(QStringLiteral("5"));
    push(w.get(), "cmdOk")->click();
    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_EQ(book(), " First ,f@1,1\r\nNew desc,new@2/3,5\r\nX,x@1,1\r\n");
}

TEST_F(frmAddressBookEditTest, ReturnIsOkAndEscapeCancels) {
    writeBook("A,a@1,1\r\n");
    auto w = open(1);
    field(w.get(), "DescriptionValue")->setText(QStringLiteral("Changed"));
    QTest::keyClick(field(w.get(), "DescriptionValue"), Qt::Key_Escape);
    EXPECT_EQ(w->result(), QDialog::Rejected);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(book(), "A,a@1,1\r\n");

    w = open(1);
    field(w.get(), "DescriptionValue")->setText(QStringLiteral("Changed"));
    QTest::keyClick(field(w.get(), "DescriptionValue"), Qt::Key_Return);
    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_EQ(book(), "Changed,a@1,1\r\n");

    w = open(1);
    field(w.get(), "DescriptionValue")->setText(QStringLiteral("Again"));
    push(w.get(), "cmdCancel")->click();
    EXPECT_EQ(book(), "Changed,a@1,1\r\n");
}

TEST_F(frmAddressBookEditTest, CreatesAMissingBookAndOffersNothingToSaveForABadIndex) {
    auto w = open(1);
    EXPECT_TRUE(std::filesystem::exists(bookPath()));
    EXPECT_EQ(w->findChild<QGroupBox*>(QStringLiteral("fraAddressBook"))->title(), QStringLiteral("Entry 1 / 0"));
    EXPECT_FALSE(push(w.get(), "cmdOk")->isEnabled());
    w->cmdOk_Click();
    EXPECT_EQ(book(), "");
}

TEST_F(frmAddressBookEditTest, EditingKeepsLinesPastTheLoadLimit) {
    std::string lines;
    for (int i = 1; i <= 103; ++i) lines += "E" + std::to_string(i) + ",e@1,1\r\n";
    writeBook(lines);
    auto w = open(101);
    EXPECT_EQ(w->findChild<QGroupBox*>(QStringLiteral("fraAddressBook"))->title(),
              QStringLiteral("Entry 101 / 101"));
    field(w.get(), "DescriptionValue")->setText(QStringLiteral("Last"));
    push(w.get(), "cmdOk")->click();
    std::string expected = lines;
    expected.replace(expected.find("E101,"), 4, "Last");
    EXPECT_EQ(book(), expected);
}

} // namespace
