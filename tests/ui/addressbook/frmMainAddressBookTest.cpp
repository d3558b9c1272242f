#include "AddressBookUiSupport.h"
#include "FakeDialogs.h"

#include "addressbook/frmAddressBook.h"
#include "mailbox/frmMain.h"

#include <QPushButton>

#include <memory>

namespace kesto::test {
namespace {

class frmMainAddressBookTest : public AddressBookUiTest {
  protected:
    FakeDialogs fake;
    std::unique_ptr<ui::frmMain> win;

    void SetUp() override {
        demo::AppendUser(s.board, demo::MakeUser("Sysop", "System Operator", 255)).value();
        demo::AppendUser(s.board, demo::MakeUser("Bob", "Bob Stone", 50)).value();
        for (const char* subject : {"One", "Two"})
            demo::AppendMessage(s.board, "EMAIL", demo::MakeMessage(2, 1, "Bob", "Sysop", subject, 1000), "1")
                .value();
        win = std::make_unique<ui::frmMain>(s);
        win->Form_Load();
        ASSERT_EQ(win->GetRowCount(), 2);
    }
};

TEST_F(frmMainAddressBookTest, AddressBookOpensTheWindowInViewMode) {
    bool view = false;
    OnModal(&testScope, QStringLiteral("frmAddressBook"), [&](QWidget* w) {
        auto* book = qobject_cast<ui::frmAddressBook*>(w);
        view = book && book->IsViewMode();
        Button(*w, "cmdCancel")->click();
    });
    Act(*win, "mnuActionsAddressBook")->trigger();
    EXPECT_TRUE(view);
}

TEST_F(frmMainAddressBookTest, AddSenderAddsTheSelectedRowsSenderAndKeepsTheRowSelected) {
    win->SelectRow(2);
    QString proposed;
    OnModal(&testScope, QStringLiteral("frmAddToAddressBook"), [&](QWidget* w) {
        proposed = LabelText(*w, "lblAddressValue");
        Button(*w, "cmdOk")->click();
    });
    Act(*win, "mnuActionsAddSender")->trigger();
    EXPECT_EQ(proposed, QStringLiteral("Bob@1/1"));
    EXPECT_EQ(Book(), "Bob@1/1,Bob@1/1,1\r\n");
    ASSERT_EQ(fake.messages.size(), 1);
    EXPECT_EQ(fake.messages[0].text, QStringLiteral("This user has been added."));
    EXPECT_EQ(win->GetSelectedPosition(), 2);
}

} // namespace
} // namespace kesto::test
