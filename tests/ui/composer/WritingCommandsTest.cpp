// The main window's New, Reply and Change Current User, and the reply the reader asks for.
#include "ComposerFixture.h"

#include "MailBase.h"
#include "composer/ComposerCommands.h"
#include "mailbox/frmMain.h"

#include <QListWidget>
#include <QPushButton>

#include <memory>

namespace kesto::test {
namespace {

struct WritingCommands : ::testing::Test, ComposerBoard {
    FakeDialogs dialogs;
    std::unique_ptr<ui::frmMain> win;

    RecordNo Receive(std::string_view fromHandle, std::int32_t from, std::string_view subject) {
        auto m = demo::MakeMessage(from, 1, fromHandle, "SysOp", subject, 1150000000 + from);
        return static_cast<RecordNo>(demo::AppendMessage(s.board, "EMAIL", m, "body\r\n").value());
    }
    ui::frmMain& Open() {
        win = std::make_unique<ui::frmMain>(s);
        win->Form_Load();
        return *win;
    }
};

// Fills the composer the next statement opens and sends it.
void SendFromNextComposer(const char* to, const char* subject) {
    OnNextModal([to, subject](QWidget* w) {
        ASSERT_NE(w, nullptr);
        ASSERT_EQ(w->objectName(), QStringLiteral("frmNewMessage"));
        if (to) Edit(*w, "MailTo")->setText(QString::fromLatin1(to));
        Edit(*w, "MailSubject")->setText(QString::fromLatin1(subject));
        Act(*w, "mnuActionsSend")->trigger();
    });
}

TEST_F(WritingCommands, NewRebuildsTheListOnlyWhenSomethingWasSent) {
    Receive("Bob", 2, "one");
    auto& w = Open();
    ASSERT_EQ(w.GetRowCount(), 1);

    OnNextModal([](QWidget* c) { Act(*c, "mnuFileClose")->trigger(); });
    Act(w, "mnuActionsNew")->trigger();
    EXPECT_EQ(w.GetRowCount(), 1);

    SendFromNextComposer("1", "to myself");
    Act(w, "mnuActionsNew")->trigger();
    EXPECT_EQ(w.GetRowCount(), 2);
}

TEST_F(WritingCommands, ReplyAnswersTheSelectedRowAndSelectsItAgain) {
    Receive("Bob", 2, "from bob");
    Receive("SysOp", 1, "note to self");
    auto& w = Open();
    ASSERT_EQ(w.GetRowCount(), 2);
    int p = 0;
    for (int row = 1; row <= 2; ++row)
        if (w.GetMessageNumberAt(row) == 2) p = row;
    ASSERT_NE(p, 0);
    w.SelectRow(p);

    OnNextModal([](QWidget* c) {
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(Edit(*c, "MailTo")->text(), QStringLiteral("SysOp"));
        EXPECT_EQ(Edit(*c, "MailSubject")->text(), QStringLiteral("note to self"));
        Act(*c, "mnuActionsSend")->trigger();
    });
    Act(w, "mnuActionsReply")->trigger();
    EXPECT_EQ(w.GetRowCount(), 3); // rebuilt: the reply came back to this user
    EXPECT_EQ(w.GetSelectedPosition(), p);
}

TEST_F(WritingCommands, ReplyAfterReadingAnswersTheMessageItIsGiven) {
    auto n = Receive("Bob", 2, "hello");
    SendFromNextComposer(nullptr, "hello again");
    ui::ReplyAfterReading(nullptr, s, n);
    std::string dat = Read("MAIL/EMAIL.DAT");
    ASSERT_EQ(dat.size(), 2 * 582u);
    EXPECT_EQ(GetI32(dat, 582 + 4), 2); // to Bob
}

TEST_F(WritingCommands, ChangeCurrentUserSwitchesCaptionAndListOrNothingOnCancel) {
    Receive("Bob", 2, "for sysop");
    auto& w = Open();
    const QString caption = w.windowTitle();
    ASSERT_EQ(w.GetRowCount(), 1);

    OnNextModal([](QWidget* d) { Child<QPushButton>(*d, "cmdCancel")->click(); });
    Act(w, "mnuFileChangeUser")->trigger();
    EXPECT_EQ(w.windowTitle(), caption);
    EXPECT_EQ(s.CurrentUserNumber, 1);
    EXPECT_EQ(w.GetRowCount(), 1);

    OnNextModal([](QWidget* d) {
        Child<QListWidget>(*d, "lstUsers")->setCurrentRow(1);
        Child<QPushButton>(*d, "cmdOk")->click();
    });
    Act(w, "mnuFileChangeUser")->trigger();
    EXPECT_EQ(s.CurrentUserNumber, 2);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Kesto - Bob (#2)"));
    EXPECT_EQ(w.GetRowCount(), 0);
}

} // namespace
} // namespace kesto::test
