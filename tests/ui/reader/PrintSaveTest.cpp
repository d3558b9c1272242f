// Printing into a PDF read back as text, and the Save As dialog and file.
#include "ReaderFixture.h"

#include "reader/OutputCommands.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <filesystem>

namespace kesto::test {
namespace {

// The pages of a PDF as text, or nothing when pdftotext is not installed.
std::optional<QStringList> PdfPages(const QString& pdf) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) return std::nullopt;
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitCode() != 0) return QStringList();
    QStringList pages = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
    return pages;
}

std::string NumberedLines(int count) {
    std::string body;
    for (int i = 1; i <= count; ++i) {
        char line[32];
        std::snprintf(line, sizeof line, "body line %03d", i);
        body += line;
        if (i < count) body += "\r\n";
    }
    return body;
}

TEST(PrintMessage, PagesCarryFooterTitleAndHeaderOnlyFirst) {
    ReaderBoard rb;
    auto n = rb.Add("Long report", NumberedLines(150));
    FakeDialogs fake;
    fake.printToPdf = QString::fromStdString(rb.dir.File("out.pdf"));
    ASSERT_TRUE(ui::PrintMessage(nullptr, rb.s, n));
    ASSERT_EQ(fake.messages.size(), 1);
    EXPECT_EQ(fake.messages[0].text, QStringLiteral("Message sent to printer."));

    std::optional<QStringList> pages = PdfPages(fake.printToPdf);
    if (!pages) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    ASSERT_GE(pages->size(), 3);
    int next = 1;
    for (int i = 0; i < pages->size(); ++i) {
        const QString& page = pages->at(i);
        EXPECT_TRUE(page.contains(QStringLiteral("Page ") + QString::number(i + 1))) << i;
        EXPECT_TRUE(page.contains(QStringLiteral("Kesto v1.0.060711"))) << i;
        // The header is in a larger size, so the text layout may widen its padding.
        EXPECT_EQ(page.contains(QRegularExpression(QStringLiteral("From: +ALICE @1/1 \\(Home\\)"))), i == 0)
            << i;
        EXPECT_EQ(page.contains(QRegularExpression(QStringLiteral("Subject: +Long report"))), i == 0) << i;
        // Body lines continue in order from page to page, none lost or repeated.
        for (const QString& line : page.split(QLatin1Char('\n'))) {
            QString t = line.trimmed();
            if (!t.startsWith(QStringLiteral("body line "))) continue;
            EXPECT_EQ(t, QStringLiteral("body line %1").arg(next, 3, 10, QLatin1Char('0')));
            ++next;
        }
    }
    EXPECT_EQ(next, 151);
}

TEST(PrintMessage, CancelAndBadMessagesPrintNothing) {
    ReaderBoard rb;
    auto n = rb.Add("Short", "x");
    FakeDialogs fake; // no PDF path: the dialog is cancelled
    EXPECT_FALSE(ui::PrintMessage(nullptr, rb.s, n));
    EXPECT_TRUE(fake.messages.isEmpty());
    rb.s.CurrentMailbox = Mailbox::Sent; // no sent mail: nothing to read, no dialog
    fake.printToPdf = QString::fromStdString(rb.dir.File("none.pdf"));
    EXPECT_FALSE(ui::PrintMessage(nullptr, rb.s, n));
    EXPECT_FALSE(std::filesystem::exists(rb.dir.File("none.pdf")));
    EXPECT_FALSE(std::filesystem::exists(rb.s.board.log.path));

    // A printer that cannot be started is logged, not announced.
    rb.s.CurrentMailbox = Mailbox::Received;
    fake.printToPdf = QString::fromStdString(rb.dir.File("no/such/dir/x.pdf"));
    {
        ExpectQtWarning painter(QStringLiteral("QPainter::begin(): Returned false"));
        EXPECT_FALSE(ui::PrintMessage(nullptr, rb.s, n));
    }
    EXPECT_TRUE(fake.messages.isEmpty());
    EXPECT_NE(ReadNative(rb.s.board.log.path).find("modKesto PrintMessage - "), std::string::npos);
}

TEST(SaveMessage, DialogAndFileFromTheReader) {
    ReaderBoard rb;
    rb.list.rows = {rb.Add("../../x", "Hello\r\nthere")};
    auto reader = rb.Reader(1);
    ui::frmOpenMessage& w = *reader;
    FakeDialogs fake;
    const std::string target = rb.dir.File("chosen.txt");
    WriteNative(target, std::string(4000, 'o'));
    fake.saveAnswer = QString::fromStdString(target);
    QDir::setCurrent(QDir::tempPath());

    Act(w, "mnuFileSaveAs")->trigger();
    EXPECT_EQ(fake.lastDefaultName, QStringLiteral("x.txt"));
    // The bytes are MessageOutput's tests; here: this message, over the whole old file.
    const std::string saved = ReadNative(target);
    EXPECT_TRUE(saved.starts_with("From:     ALICE @1/1 (Home)\r\n") &&
                saved.ends_with("\r\nSubject:  ../../x\r\n\r\nHello\r\nthere\r\n"))
        << saved;
    ASSERT_EQ(fake.messages.size(), 1);
    EXPECT_EQ(fake.messages[0].text, QStringLiteral("Message saved."));
    // The dialog may have moved the current directory; it is back at the board's main path.
    EXPECT_EQ(std::filesystem::canonical(QDir::currentPath().toStdString()),
              std::filesystem::canonical(rb.dir.Path()));

    // Cancel writes nothing and says nothing; a file that cannot be written says nothing either.
    fake.messages.clear();
    fake.saveAnswer.clear();
    WriteNative(target, "keep");
    Act(w, "mnuFileSaveAs")->trigger();
    EXPECT_EQ(ReadNative(target), "keep");
    fake.saveAnswer = QString::fromStdString(rb.dir.File("missing/dir/x.txt"));
    Act(w, "mnuFileSaveAs")->trigger();
    EXPECT_TRUE(fake.messages.isEmpty());
    EXPECT_NE(ReadNative(rb.s.board.log.path).find("SaveMessage"), std::string::npos);
}

} // namespace
} // namespace kesto::test
