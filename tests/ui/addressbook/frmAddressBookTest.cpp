#include "AddressBookUiSupport.h"

#include "addressbook/frmAddressBook.h"

#include <QFontInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>

namespace {

using kesto::test::OnModal;

class frmAddressBookTest : public kesto::test::AddressBookUiTest {
protected:
    std::unique_ptr<kesto::ui::frmAddressBook> open(const std::string& mode) {
        s.DialogMode = mode;
        auto w = std::make_unique<kesto::ui::frmAddressBook>(s);
        w->show();
        return w;
    }
    static QListWidget* list(QWidget* w) { return w->findChild<QListWidget*>(QStringLiteral("lstAddressBook")); }
    static QAbstractButton* button(QWidget* w, const char* name) {
        return w->findChild<QAbstractButton*>(QLatin1String(name));
    }
    static QPushButton* push(QWidget* w, const char* name) {
        return w->findChild<QPushButton*>(QLatin1String(name));
    }
    static void click(QWidget* w, const char* name) { button(w, name)->click(); }
    static QString caption(QWidget* w) {
        return w->findChild<QGroupBox*>(QStringLiteral("fraAddressBook"))->title();
    }
    static QStringList rows(QWidget* w) {
        QStringList out;
        for (int i = 0; i < list(w)->count(); ++i) out << list(w)->item(i)->text();
        return out;
    }
    static std::string Entries(int n) {
        std::string s;
        for (int i = 1; i <= n; ++i) s += "N" + std::to_string(i) + ",n" + std::to_string(i) + "@1/1,1\r\n";
        return s;
    }
};

TEST_F(frmAddressBookTest, ViewModeOpensWithRowsCaptionsAndEditAsDefault) {
    writeBook("Desk,desk@4/5,2\r\n\r\n  Fred , Fred ,0\r\nAn extremely long description here,a@1,1\r\n");
    auto w = open("view");
    EXPECT_TRUE(s.DialogMode.empty());
    EXPECT_TRUE(w->isViewMode());
    EXPECT_FALSE(w->isBusy());
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Kesto - Address Book"));
    EXPECT_EQ(caption(w.get()), QStringLiteral("Address Book Entries (3)"));
    EXPECT_EQ(rows(w.get()), (QStringList{QStringLiteral("1: Desk                   "),
                                          QStringLiteral("2: Fred                   "),
                                          QStringLiteral("3: An extremely long descr")}));
    EXPECT_TRUE(QFontInfo(list(w.get())->font()).fixedPitch());
    EXPECT_EQ(list(w.get())->currentRow(), 0);
    EXPECT_FALSE(button(w.get(), "cmdOk")->isEnabled());
    EXPECT_TRUE(push(w.get(), "cmdEdit")->isDefault());
    EXPECT_FALSE(push(w.get(), "cmdOk")->isDefault());
    EXPECT_EQ(button(w.get(), "cmdOk")->text(), QStringLiteral("Select"));
    EXPECT_EQ(button(w.get(), "cmdCancel")->text(), QStringLiteral("Close"));
    EXPECT_EQ(button(w.get(), "cmdCancel")->toolTip(), QStringLiteral("Close this window."));
    EXPECT_EQ(button(w.get(), "cmdEdit")->toolTip(), QStringLiteral("Edit the current entry."));
    EXPECT_EQ(button(w.get(), "cmdInsert")->toolTip(), QStringLiteral("Insert a new entry."));
    EXPECT_EQ(button(w.get(), "cmdDelete")->toolTip(), QStringLiteral("Delete the current entry."));
    EXPECT_EQ(button(w.get(), "cmdMoveUp")->toolTip(), QStringLiteral("Move the selected entry up."));
    EXPECT_EQ(button(w.get(), "cmdMoveDown")->toolTip(), QStringLiteral("Move the selected entry down."));
}

TEST_F(frmAddressBookTest, RowNumbersArePaddedToTheWidthOfTheCount) {
    writeBook(Entries(12));
    auto w = open("view");
    EXPECT_EQ(rows(w.get()).first(), QStringLiteral(" 1: N1") + QString(21, QLatin1Char(' ')));
    EXPECT_EQ(rows(w.get()).last(), QStringLiteral("12: N12") + QString(20, QLatin1Char(' ')));
}

TEST_F(frmAddressBookTest, PickerHandsBackAddressStarNetwork) {
    writeBook("Desk,desk@4/5,2\r\n Fred , Fred , 0 \r\n");
    auto w = open("");
    EXPECT_FALSE(w->isViewMode());
    EXPECT_TRUE(push(w.get(), "cmdOk")->isDefault());
    click(w.get(), "cmdOk");
    EXPECT_EQ(s.DialogMode, "desk@4/5*2");
    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_FALSE(w->isVisible());

    // Double click on a row selects it too; a handle alone is completed with "@0".
    auto w2 = open("");
    QListWidget* l = list(w2.get());
    l->setCurrentRow(1);
    emit l->itemDoubleClicked(l->item(1));
    EXPECT_EQ(s.DialogMode, "Fred@0*0");
    EXPECT_FALSE(w2->isVisible());
}

TEST_F(frmAddressBookTest, ReturnRunsSelectOrEditInViewModeAndEscapeCloses) {
    writeBook("Desk,desk@4/5,2\r\n");
    auto w = open("");
    list(w.get())->setFocus();
    QTest::keyClick(list(w.get()), Qt::Key_Return);
    EXPECT_EQ(s.DialogMode, "desk@4/5*2");
    EXPECT_FALSE(w->isVisible());

    s.DialogMode.clear();
    auto v = open("view");
    bool edited = false;
    OnModal(&testScope, QStringLiteral("frmAddressBookEdit"), [&](QWidget* e) {
        edited = true;
        QTest::keyClick(e, Qt::Key_Escape);
    });
    QTest::keyClick(list(v.get()), Qt::Key_Return);
    EXPECT_TRUE(edited);
    EXPECT_TRUE(v->isVisible());
    EXPECT_TRUE(s.DialogMode.empty());

    QTest::keyClick(list(v.get()), Qt::Key_Escape);
    EXPECT_FALSE(v->isVisible());
    EXPECT_EQ(v->result(), QDialog::Rejected);
    EXPECT_TRUE(s.DialogMode.empty());
    EXPECT_EQ(book(), "Desk,desk@4/5,2\r\n");
}

TEST_F(frmAddressBookTest, MissingFileGivesAnEmptyListWithOnlyInsert) {
    auto w = open("view");
    EXPECT_EQ(list(w.get())->count(), 0);
    EXPECT_EQ(caption(w.get()), QStringLiteral("Address Book Entries (0)"));
    EXPECT_FALSE(button(w.get(), "cmdEdit")->isEnabled());
    EXPECT_FALSE(button(w.get(), "cmdDelete")->isEnabled());
    EXPECT_FALSE(button(w.get(), "cmdMoveUp")->isEnabled());
    EXPECT_TRUE(button(w.get(), "cmdInsert")->isEnabled());
    click(w.get(), "cmdDelete"); // nothing selected: nothing happens
    click(w.get(), "cmdEdit");
    EXPECT_FALSE(std::filesystem::exists(bookPath()));

    click(w.get(), "cmdInsert");
    EXPECT_EQ(book(), ",,0\r\n");
    EXPECT_EQ(list(w.get())->currentRow(), 0);
    EXPECT_FALSE(button(w.get(), "cmdMoveUp")->isEnabled()); // one row cannot move
    EXPECT_FALSE(button(w.get(), "cmdMoveDown")->isEnabled());
}

TEST_F(frmAddressBookTest, InsertAppendsAndStopsAtOneHundred) {
    writeBook(Entries(99));
    auto w = open("view");
    list(w.get())->setCurrentRow(5);
    click(w.get(), "cmdInsert");
    EXPECT_EQ(book(), Entries(99) + ",,0\r\n");
    EXPECT_EQ(list(w.get())->count(), 100);
    EXPECT_EQ(list(w.get())->currentRow(), 99);
    EXPECT_FALSE(button(w.get(), "cmdInsert")->isEnabled());
    click(w.get(), "cmdInsert"); // a disabled button does not click, and the command checks anyway
    w->cmdInsert_Click();
    EXPECT_EQ(list(w.get())->count(), 100);

    click(w.get(), "cmdDelete");
    EXPECT_TRUE(button(w.get(), "cmdInsert")->isEnabled());
    EXPECT_EQ(book(), Entries(99));
}

TEST_F(frmAddressBookTest, DeleteSelectsTheSameRowOrTheNewLast) {
    writeBook(Entries(5));
    auto w = open("view");
    list(w.get())->setCurrentRow(4);
    click(w.get(), "cmdDelete");
    EXPECT_EQ(list(w.get())->currentRow(), 3);
    EXPECT_EQ(book(), Entries(4));

    list(w.get())->setCurrentRow(1);
    click(w.get(), "cmdDelete");
    EXPECT_EQ(list(w.get())->currentRow(), 1);
    EXPECT_EQ(book(), "N1,n1@1/1,1\r\nN3,n3@1/1,1\r\nN4,n4@1/1,1\r\n");
    EXPECT_EQ(caption(w.get()), QStringLiteral("Address Book Entries (3)"));

    click(w.get(), "cmdDelete");
    click(w.get(), "cmdDelete");
    click(w.get(), "cmdDelete");
    EXPECT_EQ(list(w.get())->count(), 0);
    EXPECT_EQ(book(), "");
}

TEST_F(frmAddressBookTest, MovesSwapNeighboursAndFollowTheEntry) {
    writeBook(Entries(3));
    auto w = open("view");
    list(w.get())->setCurrentRow(2);
    click(w.get(), "cmdMoveUp");
    EXPECT_EQ(book(), "N1,n1@1/1,1\r\nN3,n3@1/1,1\r\nN2,n2@1/1,1\r\n");
    EXPECT_EQ(list(w.get())->currentRow(), 1);

    click(w.get(), "cmdMoveDown");
    EXPECT_EQ(book(), Entries(3));
    EXPECT_EQ(list(w.get())->currentRow(), 2);

    // The ends do not move, and the file is not even rewritten.
    writeBook(Entries(3) + "\r\n");
    click(w.get(), "cmdMoveDown");
    list(w.get())->setCurrentRow(0);
    click(w.get(), "cmdMoveUp");
    EXPECT_EQ(book(), Entries(3) + "\r\n");
    EXPECT_EQ(list(w.get())->currentRow(), 0);
}

TEST_F(frmAddressBookTest, LinesPastTheLoadLimitSurviveEveryCommand) {
    const std::string tail = "Hidden1,h1@1/1,1\r\nHidden2,h2@1/1,1\r\n";
    writeBook(Entries(101) + tail);
    auto w = open("view");
    EXPECT_EQ(list(w.get())->count(), 101);

    list(w.get())->setCurrentRow(0);
    click(w.get(), "cmdMoveDown");
    std::string expected = "N2,n2@1/1,1\r\nN1,n1@1/1,1\r\n" + Entries(101).substr(Entries(2).size()) + tail;
    EXPECT_EQ(book(), expected);

    // Deleting one brings the first hidden line into view; it is still written once.
    click(w.get(), "cmdDelete");
    EXPECT_EQ(list(w.get())->count(), 101);
    EXPECT_EQ(rows(w.get()).last().trimmed(), QStringLiteral("101: Hidden1"));
    EXPECT_EQ(book(), "N2,n2@1/1,1\r\n" + Entries(101).substr(Entries(2).size()) + tail);
}

TEST_F(frmAddressBookTest, EditOpensTheEditorOnTheSelectedEntryAndRefreshes) {
    writeBook(Entries(3));
    auto w = open("view");
    list(w.get())->setCurrentRow(1);
    bool busyWhileEditing = false, closeRefused = false;
    QString frame;
    OnModal(&testScope, QStringLiteral("frmAddressBookEdit"), [&](QWidget* e) {
        busyWhileEditing = w->isBusy();
        closeRefused = !w->close();
        frame = e->findChild<QGroupBox*>(QStringLiteral("fraAddressBook"))->title();
        auto* desc = e->findChild<QLineEdit*>(QStringLiteral("DescriptionValue"));
        desc->setText(QStringLiteral("Second"));
        e->findChild<QPushButton*>(QStringLiteral("cmdOk"))->click();
    });
    click(w.get(), "cmdEdit");
    EXPECT_EQ(s.AddressBookEditIndex, 2);
    EXPECT_EQ(frame, QStringLiteral("Entry 2 / 3"));
    EXPECT_TRUE(busyWhileEditing);
    EXPECT_TRUE(closeRefused);
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(w->isBusy());
    EXPECT_EQ(book(), "N1,n1@1/1,1\r\nSecond,n2@1/1,1\r\nN3,n3@1/1,1\r\n");
    EXPECT_EQ(rows(w.get())[1], QStringLiteral("2: Second") + QString(17, QLatin1Char(' ')));
    EXPECT_EQ(list(w.get())->currentRow(), 1);

    // In view mode a double click edits instead of selecting.
    bool opened = false;
    OnModal(&testScope, QStringLiteral("frmAddressBookEdit"), [&](QWidget*) { opened = true; });
    emit list(w.get())->itemDoubleClicked(list(w.get())->item(0));
    EXPECT_TRUE(opened);
    EXPECT_TRUE(s.DialogMode.empty());
    EXPECT_TRUE(w->isVisible());
}

} // namespace
