// The main window's New, Reply and Change Current User, and the reply the reader asks for.
#include "ComposerFixture.h"

#include "MailBase.h"
#include "composer/ComposerCommands.h"
#include "mailbox/frmMain.h"

#include <QListWidget>
#include <QPushButton>

#include <gtest/gtest.h>

#include <memory>

namespace {

using kesto::test::Act;
using kesto::test::Button;
using kesto::test::Child;
using kesto::test::ComposerBoard;
using kesto::test::Edit;
using kesto::test::FakeDialogs;
using kesto::test::OnNextModal;

struct MainBoard : ComposerBoard {
    FakeDialogs dialogs;
    std::unique_ptr<kesto::ui::frmMain> win;

    kesto::RecordNo Receive(std::string_view fromHandle, std::int32_t from, std::string_view subject) {
        auto m = kesto::demo::MakeMessage(from, 1, fromHandle, "SysOp", subject, 1150000000 + from);
        return static_cast<kesto::RecordNo>(
            kesto::demo::AppendMessage(s.board, "EMAIL", m, "body\r\n").value());
    }
    kesto::ui::frmMain& Open() {
        win = std::make_unique<kesto::ui::frmMain>(s);
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

TEST(WritingCommands, NewRebuildsTheListOnlyWhenSomethingWasSent) {
    MainBoard f;
    f.Receive("Bob", 2, "one");
    auto& w = f.Open();
    ASSERT_EQ(w.GetRowCount(), 1);

    OnNextModal([](QWidget* c) { Act(*c, "mnuFileClose")->trigger(); });
    Act(w, "mnuActionsNew")->trigger();
    EXPECT_EQ(w.GetRowCount(), 1);

    SendFromNextComposer("1", "to myself");
    Act(w, "mnuActionsNew")->trigger();
    EXPECT_EQ(w.GetRowCount(), 2);
}

TEST(WritingCommands, ReplyAnswersTheSelectedRowAndSelectsItAgain) {
    MainBoard f;
    f.Receive("Bob", 2, "from bob");
    f.Receive("SysOp", 1, "note to self");
    auto& w = f.Open();
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

TEST(WritingCommands, ReplyAfterReadingAnswersTheMessageItIsGiven) {
    MainBoard f;
    auto n = f.Receive("Bob", 2, "hello");
    SendFromNextComposer(nullptr, "hello again");
    kesto::ui::ReplyAfterReading(nullptr, f.s, n);
    std::string dat = f.Read("MAIL/EMAIL.DAT");
    ASSERT_EQ(dat.size(), 2 * 582u);
    EXPECT_EQ(kesto::GetI32(dat, 582 + 4), 2); // to Bob
}

TEST(WritingCommands, ChangeCurrentUserSwitchesCaptionAndListOrNothingOnCancel) {
    MainBoard f;
    f.Receive("Bob", 2, "for sysop");
    auto& w = f.Open();
    const QString caption = w.windowTitle();
    ASSERT_EQ(w.GetRowCount(), 1);

    OnNextModal([](QWidget* d) { Child<QPushButton>(*d, "cmdCancel")->click(); });
    Act(w, "mnuFileChangeUser")->trigger();
    EXPECT_EQ(w.windowTitle(), caption);
    EXPECT_EQ(f.s.CurrentUserNumber, 1);
    EXPECT_EQ(w.GetRowCount(), 1);

    OnNextModal([](QWidget* d) {
        Child<QListWidget>(*d, "lstUsers")->setCurrentRow(1);
        Child<QPushButton>(*d, "cmdOk")->click();
    });
    Act(w, "mnuFileChangeUser")->trigger();
    EXPECT_EQ(f.s.CurrentUserNumber, 2);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Kesto - Bob (#2)"));
    EXPECT_EQ(w.GetRowCount(), 0);
}

} // namespace
