#include "AddressBookUiSupport.h"
#include "FakeDialogs.h"

#include "addressbook/frmAddressBook.h"
#include "mailbox/frmMain.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

#include <memory>

namespace {

using kesto::test::OnModal;

class frmMainAddressBookTest : public kesto::test::AddressBookUiTest {
  protected:
    kesto::test::FakeDialogs fake;
    std::unique_ptr<kesto::ui::frmMain> win;

    void SetUp() override {
        kesto::demo::AppendUser(s.board, kesto::demo::MakeUser("Sysop", "System Operator", 255)).value();
        kesto::demo::AppendUser(s.board, kesto::demo::MakeUser("Bob", "Bob Stone", 50)).value();
        kesto::demo::AppendMessage(s.board, "EMAIL",
                                   kesto::demo::MakeMessage(2, 1, "Bob", "Sysop", "One", 1000), "1")
            .value();
        kesto::demo::AppendMessage(s.board, "EMAIL",
                                   kesto::demo::MakeMessage(2, 1, "Bob", "Sysop", "Two", 2000), "2")
            .value();
        win = std::make_unique<kesto::ui::frmMain>(s);
        win->Form_Load();
        ASSERT_EQ(win->GetRowCount(), 2);
    }
    void Trigger(const char* name) {
        QAction* a = win->findChild<QAction*>(QLatin1String(name));
        ASSERT_NE(a, nullptr) << name;
        a->trigger();
    }
};

TEST_F(frmMainAddressBookTest, AddressBookOpensTheWindowInViewMode) {
    bool view = false;
    OnModal(&testScope, QStringLiteral("frmAddressBook"), [&](QWidget* w) {
        auto* book = qobject_cast<kesto::ui::frmAddressBook*>(w);
        view = book && book->IsViewMode();
        w->findChild<QPushButton*>(QStringLiteral("cmdCancel"))->click();
    });
    Trigger("mnuActionsAddressBook");
    EXPECT_TRUE(view);
}

TEST_F(frmMainAddressBookTest, AddSenderAddsTheSelectedRowsSenderAndKeepsTheRowSelected) {
    win->SelectRow(2);
    QString proposed;
    OnModal(&testScope, QStringLiteral("frmAddToAddressBook"), [&](QWidget* w) {
        proposed = w->findChild<QLabel*>(QStringLiteral("lblAddressValue"))->text();
        w->findChild<QPushButton*>(QStringLiteral("cmdOk"))->click();
    });
    Trigger("mnuActionsAddSender");
    EXPECT_EQ(proposed, QStringLiteral("Bob@1/1"));
    EXPECT_EQ(Book(), "Bob@1/1,Bob@1/1,1\r\n");
    ASSERT_EQ(fake.messages.size(), 1);
    EXPECT_EQ(fake.messages[0].text, QStringLiteral("This user has been added."));
    EXPECT_EQ(win->GetSelectedPosition(), 2);
}

} // namespace
