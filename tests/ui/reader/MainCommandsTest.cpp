// The mailbox window's Open, Print, Save As and About on a fixture board.
#include "ReaderFixture.h"

#include "MailBase.h"
#include "mailbox/frmMain.h"

namespace kesto::test {
namespace {

class MainCommands : public ::testing::Test {
  protected:
    ReaderBoard rb;
    std::unique_ptr<ui::frmMain> win;

    void Open() {
        for (int i = 1; i <= 4; ++i)
            rb.Add("Subject " + std::to_string(i), "Body " + std::to_string(i), 1150000000 + i * 60);
        win = std::make_unique<ui::frmMain>(rb.s);
        win->Form_Load();
        ASSERT_EQ(win->GetRowCount(), 4);
    }
    QAction* Action(const char* name) { return Act(*win, name); }
    std::int32_t Offline(RecordNo number) { return GetMessageInfo(rb.s.board, "EMAIL", number)->Offline; }
};

TEST_F(MainCommands, OpenShowsTheSelectedRowAndClearsTheStateAfter) {
    Open();
    win->ClearSelection();
    Action("mnuActionsOpen")->trigger(); // no row selected: nothing opens
    EXPECT_EQ(Offline(win->GetMessageNumberAt(1)), 0);
    win->SelectRow(1);
    win->SelectRow(2); // several rows selected: the current one opens
    const RecordNo second = win->GetMessageNumberAt(2), third = win->GetMessageNumberAt(3);
    QString first, stepped;
    int indexInside = 0;
    RecordNo numberInside = 0;
    OnNextModal([&](QWidget* w) {
        auto* reader = qobject_cast<ui::frmOpenMessage*>(w);
        ASSERT_NE(reader, nullptr);
        indexInside = reader->GetRow();
        numberInside = reader->GetMessageNumber();
        first = LabelText(*w, "lblMailSubjectValue");
        Act(*w, "mnuActionsNextMessage")->trigger();
        stepped = LabelText(*w, "lblMailSubjectValue");
    });
    Action("mnuActionsOpen")->trigger();
    EXPECT_EQ(indexInside, 2);
    EXPECT_EQ(numberInside, second);
    EXPECT_EQ(first, QStringLiteral("Subject ") + QString::number(second));
    EXPECT_EQ(stepped, QStringLiteral("Subject ") + QString::number(third));
    EXPECT_EQ(Offline(second), 1);
    EXPECT_EQ(Offline(third), 1);
    EXPECT_EQ(Offline(win->GetMessageNumberAt(1)), 0);
    EXPECT_EQ(ReadNative(rb.Mail("ONELINE.DAT")).size(), 2u * 582);
}

TEST_F(MainCommands, ReplyFromTheReaderOpensTheComposer) {
    Open();
    win->SelectRow(1);
    QString composer, subject;
    OnNextModal([&](QWidget* w) {
        // Scheduled before Reply closes the reader: runs in the composer's own loop.
        OnNextModal([&](QWidget* c) {
            composer = c ? c->objectName() : QString();
            if (c) subject = Edit(*c, "MailSubject")->text();
        });
        Act(*w, "mnuActionsNextMessage")->trigger(); // the reply answers the message shown last
        Act(*w, "mnuActionsReply")->trigger();
    });
    Action("mnuActionsOpen")->trigger();
    EXPECT_EQ(composer, QStringLiteral("frmNewMessage"));
    EXPECT_EQ(subject, QStringLiteral("Subject ") + QString::number(win->GetMessageNumberAt(2)));
}

TEST_F(MainCommands, PrintAndSaveWorkOnTheCurrentRowAndKeepItSelected) {
    Open();
    FakeDialogs fake;
    win->ClearSelection();
    win->SelectRow(1);
    win->SelectRow(3);
    const RecordNo number = win->GetMessageNumberAt(3);
    fake.printToPdf = QString::fromStdString(rb.dir.File("list.pdf"));
    Action("mnuActionsPrint")->trigger();
    EXPECT_EQ(win->GetSelectedPositions(), QList<int>{3});
    EXPECT_EQ(fake.messages.size(), 1);

    fake.saveAnswer = QString::fromStdString(rb.dir.File("row.txt"));
    Action("mnuFileSaveAs")->trigger();
    EXPECT_EQ(fake.lastDefaultName,
              QStringLiteral("Subject ") + QString::number(number) + QStringLiteral(".txt"));
    EXPECT_NE(ReadNative(rb.dir.File("row.txt")).find("Body " + std::to_string(number) + "\r\n"),
              std::string::npos);
    // Neither printing nor saving marks the message read.
    EXPECT_EQ(Offline(number), 0);
}

TEST(LargeMailbox, TheNewestOfMoreThan32767IsListedReadDeletedAndAnswered) {
    ReaderBoard rb;
    WriteLargeMailbox(rb.s.board, "EMAIL", 32770, demo::MakeMessage(2, 1, "ALICE", "SYSOP", "", 1150000000));
    ui::frmMain win(rb.s);
    win.Form_Load();
    ASSERT_EQ(win.GetRowCount(), 32770);
    EXPECT_EQ(win.GetMessageNumberAt(1), 32770);
    EXPECT_EQ(win.GetMessageNumberAt(32770), 1);

    QString shown;
    OnNextModal([&](QWidget* w) { shown = LabelText(*w, "lblMailSubjectValue"); });
    Act(win, "mnuActionsOpen")->trigger();
    EXPECT_EQ(shown, QStringLiteral("Message 32770"));
    EXPECT_EQ(GetMessageInfo(rb.s.board, "EMAIL", 32770)->Offline, 1);

    win.ClearSelection();
    win.SelectRow(2);
    Act(win, "mnuActionsDelete")->trigger();
    EXPECT_EQ(GetMessageInfo(rb.s.board, "EMAIL", 32769)->Deleted, 1);

    QString to, subject;
    OnNextModal([&](QWidget* c) {
        to = Edit(*c, "MailTo")->text();
        subject = Edit(*c, "MailSubject")->text();
    });
    Act(win, "mnuActionsReply")->trigger();
    EXPECT_EQ(to, QStringLiteral("ALICE"));
    EXPECT_EQ(subject, QStringLiteral("Message 32769"));
}

} // namespace
} // namespace kesto::test
