// File › Export on the main window: the shown rows, the oldest first, into the file
// the dialog names.
#include "MailboxFixture.h"

#include <QAction>
#include <QLineEdit>
#include <QProgressDialog>
#include <QTest>
#include <QTimer>

namespace kesto::test {
namespace {

using frmMainExport = MailboxFixture;

TEST_F(frmMainExport, WritesTheShownMailboxOldestFirst) {
    Add({.subject = "First"});
    Add({.from = 1, .to = 2, .subject = "For Bob"});
    Add({.from = 3, .subject = "Second", .offline = 1, .deleted = 1});
    Open();
    const std::string target = dir.File("out.mbox");
    dialogs.saveAnswer = QString::fromStdString(target);

    Action("mnuFileExport")->trigger();
    EXPECT_EQ(dialogs.lastDefaultName, QStringLiteral("Sysop received.mbox"));
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Kesto - Export"));
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("2 messages exported."));
    const std::string mbox = ReadNative(target);
    const std::size_t first = mbox.find("Subject: First\n");
    const std::size_t second = mbox.find("Subject: Second\n");
    EXPECT_TRUE(first != std::string::npos && second != std::string::npos && first < second) << mbox;
    EXPECT_EQ(mbox.find("For Bob"), std::string::npos);
    EXPECT_NE(mbox.find("X-Kesto-Deleted: yes\n"), std::string::npos);

    // Cancelling the file dialog writes and says nothing.
    dialogs.messages.clear();
    dialogs.saveAnswer.clear();
    WriteNative(target, "keep");
    Action("mnuFileExport")->trigger();
    EXPECT_EQ(ReadNative(target), "keep");
    EXPECT_TRUE(dialogs.messages.isEmpty());

    // With a filter, only the rows it shows.
    QTest::keyClicks(Edit(*win, "txtFilter"), QStringLiteral("subject:second"));
    const std::string filtered = dir.File("filtered.mbox");
    dialogs.saveAnswer = QString::fromStdString(filtered);
    Action("mnuFileExport")->trigger();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("1 message exported."));
    EXPECT_EQ(ReadNative(filtered).find("Subject: First"), std::string::npos);
}

// Cancel in the progress dialog stops the export and leaves the old file as it was.
TEST_F(frmMainExport, CancelLeavesNoFile) {
    for (int i = 0; i < 130; ++i) Add({.subject = "Message " + std::to_string(i)});
    Open();
    TempDir elsewhere; // an existing file in the board's folders would be refused
    const std::string target = elsewhere.File("out.mbox");
    WriteNative(target, "keep");
    dialogs.saveAnswer = QString::fromStdString(target);
    const auto before = SnapshotTree(elsewhere.Path());
    bool cancelled = false;
    QTimer watch; // until the export's progress dialog is there
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (auto* progress = win->findChild<QProgressDialog*>(QStringLiteral("dlgExportProgress"))) {
            progress->cancel();
            cancelled = true;
            watch.stop();
        }
    });
    watch.start(0);
    Action("mnuFileExport")->trigger();
    EXPECT_TRUE(cancelled);
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_EQ(SnapshotTree(elsewhere.Path()), before); // "keep", and no temporary file beside it
}

TEST_F(frmMainExport, NeedsRowsAndRefusesABoardFile) {
    Add({.from = 1, .to = 2, .subject = "For Bob"});
    Open();
    EXPECT_FALSE(Action("mnuFileExport")->isEnabled());

    Add({.subject = "Mine"});
    win->RefreshList();
    ASSERT_TRUE(Action("mnuFileExport")->isEnabled());
    const std::string index = ReadNative(NativeFile("MAIL/EMAIL.DAT"));
    dialogs.saveAnswer = QString::fromStdString(NativeFile("MAIL/EMAIL.DAT"));
    Action("mnuFileExport")->trigger();
    EXPECT_EQ(ReadNative(NativeFile("MAIL/EMAIL.DAT")), index);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].icon, ui::Dialogs::Icon::Critical);
    EXPECT_TRUE(dialogs.messages[0].text.endsWith(QStringLiteral("an export never replaces a file there")))
        << dialogs.messages[0].text.toStdString();
}

} // namespace
} // namespace kesto::test
