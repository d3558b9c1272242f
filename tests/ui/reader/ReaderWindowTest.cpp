#include "ReaderFixture.h"

#include "Records.h"
#include "reader/frmAbout.h"
#include "reader/frmOpenMessage.h"

#include <QAction>
#include <QDesktopServices>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

using kesto::test::FakeDialogs;
using kesto::test::OnNextModal;
using kesto::test::ReaderBoard;
using kesto::test::ReadNative;
using kesto::ui::frmOpenMessage;

QString Label(QWidget& w, const char* name) {
    auto* l = w.findChild<QLabel*>(QLatin1String(name));
    return l ? l->text() : QStringLiteral("<missing>");
}
QAction* Action(QWidget& w, const char* name) {
    return w.findChild<QAction*>(QLatin1String(name));
}

std::int32_t Field32(const std::string& index, std::int16_t number, std::size_t offset) {
    return kesto::GetI32(index, static_cast<std::size_t>(number - 1) * 582 + offset);
}

TEST(ReaderWindow, ShowsTheMessageAndMarksItRead) {
    ReaderBoard rb;
    kesto::MessageInfo m = kesto::demo::MakeMessage(2, 1, "ALICE", "SYSOP", "Caf\xE9 <b>", 1150000000);
    m.AttFileName = kesto::test::Pad("REPORT.ZIP", 12);
    m.AttFileSize = 1234;
    auto n = static_cast<std::int16_t>(
        kesto::demo::AppendMessage(rb.s.board, "EMAIL", m, "Hi\r\nthere\r\n").value());
    rb.list.rows = {n};
    rb.at(1);
    frmOpenMessage w(rb.s, rb.list);
    EXPECT_EQ(Label(w, "lblMailFromValue"), QStringLiteral("ALICE @1/1 (Home)"));
    EXPECT_EQ(Label(w, "lblMailSubjectValue"), QString::fromUtf8("Caf\u00e9 <b>"));
    EXPECT_EQ(w.findChild<QPlainTextEdit*>(QStringLiteral("txtMessage"))->toPlainText(),
              QStringLiteral("Hi\nthere\n\n---\nAttached File: REPORT.ZIP (1234 bytes)"));
    EXPECT_TRUE(w.findChild<QLabel*>(QStringLiteral("lblMailDeleteValue"))->isHidden());
    EXPECT_EQ(Field32(ReadNative(rb.mail("EMAIL.DAT")), n, 374), 1);
    EXPECT_EQ(ReadNative(rb.mail("ONELINE.BIN")), "\r\n");
}

TEST(ReaderWindow, StepToADamagedRecordClearsTheShownText) {
    ReaderBoard rb;
    auto shown = rb.add("Shown", "text"), lost = rb.add("Lost", "x");
    std::string index = ReadNative(rb.mail("EMAIL.DAT"));
    index.replace(static_cast<std::size_t>(lost - 1) * 582 + 478, 4, "\xFF\xFF\xFF\x7F"); // far past the end
    kesto::test::WriteNative(rb.mail("EMAIL.DAT"), index);
    rb.list.rows = {shown, lost};
    rb.at(1);
    frmOpenMessage w(rb.s, rb.list);
    Action(w, "mnuActionsNextMessage")->trigger();
    EXPECT_EQ(Label(w, "lblMailSubjectValue"), QStringLiteral("Lost"));
    EXPECT_TRUE(w.findChild<QPlainTextEdit*>(QStringLiteral("txtMessage"))->toPlainText().isEmpty());
}

TEST(ReaderWindow, StepsThroughTheListInItsOrder) {
    ReaderBoard rb;
    auto a = rb.add("A", "a"), b = rb.add("B", "b"), c = rb.add("C", "c");
    rb.list.rows = {c, a, b}; // the list is sorted: reader follows it, not the record order
    rb.at(1);
    frmOpenMessage w(rb.s, rb.list);
    QAction* prev = Action(w, "Toolbar1_Button9");
    QAction* next = Action(w, "Toolbar1_Button10");
    EXPECT_FALSE(prev->isEnabled());
    Action(w, "mnuActionsPreviousMessage")->trigger(); // at the first row: nothing
    EXPECT_EQ(rb.s.CurrentListIndex, 1);

    rb.s.ReplyMode = true;
    next->trigger();
    EXPECT_EQ(rb.s.CurrentMessageNumber, a);
    EXPECT_FALSE(rb.s.ReplyMode);
    Action(w, "mnuActionsNextMessage")->trigger();
    Action(w, "mnuActionsNextMessage")->trigger(); // at the last row: nothing
    EXPECT_FALSE(next->isEnabled());
    EXPECT_EQ(rb.s.CurrentListIndex, 3);
    EXPECT_EQ(rb.s.CurrentMessageNumber, b);
    EXPECT_EQ(Label(w, "lblMailSubjectValue"), QStringLiteral("B"));

    prev->trigger();
    prev->trigger();
    EXPECT_EQ(rb.s.CurrentMessageNumber, c);
    // Each shown message got its mark once: three notices.
    std::string index = ReadNative(rb.mail("EMAIL.DAT"));
    for (auto n : {a, b, c})
        EXPECT_EQ(Field32(index, n, 374), 1);
    EXPECT_EQ(ReadNative(rb.mail("ONELINE.DAT")).size(), 3u * 582);
}

TEST(ReaderWindow, DeleteTogglesTheMarkAndTheNotice) {
    ReaderBoard rb;
    auto n = rb.add("Old news", "x");
    rb.list.rows = {n};
    rb.at(1);
    frmOpenMessage w(rb.s, rb.list);
    auto* notice = w.findChild<QLabel*>(QStringLiteral("lblMailDeleteValue"));
    const std::string before = ReadNative(rb.mail("EMAIL.DAT"));

    Action(w, "mnuActionsDelete")->trigger();
    EXPECT_FALSE(notice->isHidden());
    EXPECT_EQ(kesto::GetI16(ReadNative(rb.mail("EMAIL.DAT")), 332), 1);
    EXPECT_EQ(w.shownRecord().Deleted, 1);
    EXPECT_EQ(Label(w, "lblMailToValue"), QStringLiteral("SYSOP @1/1 (Home)")); // labels not rebuilt

    Action(w, "Toolbar1_Button4")->trigger();
    EXPECT_TRUE(notice->isHidden());
    EXPECT_EQ(ReadNative(rb.mail("EMAIL.DAT")), before);

    // With no rows listed (the list was rebuilt under the reader) commands do nothing.
    rb.list.rows.clear();
    Action(w, "mnuActionsDelete")->trigger();
    Action(w, "mnuActionsReply")->trigger();
    EXPECT_EQ(ReadNative(rb.mail("EMAIL.DAT")), before);
    EXPECT_FALSE(rb.s.ReplyMode);
}

TEST(ReaderWindow, ReplySetsReplyModeAndCloses) {
    ReaderBoard rb;
    rb.list.rows = {rb.add("Question", "?")};
    rb.at(1);
    frmOpenMessage w(rb.s, rb.list);
    w.show();
    Action(w, "Toolbar1_Button3")->trigger();
    EXPECT_TRUE(rb.s.ReplyMode);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.result(), QDialog::Accepted);
}

TEST(ReaderWindow, DisableAndEnableCommands) {
    ReaderBoard rb;
    auto a = rb.add("A", "a"), b = rb.add("B", "b");
    rb.list.rows = {a, b};
    rb.at(2);
    frmOpenMessage w(rb.s, rb.list);
    w.DisableCommands();
    for (const char* name : {"mnuFileClose", "mnuActionsDelete", "mnuActionsNextMessage", "mnuHelpAbout",
                             "Toolbar1_Button1", "Toolbar1_Button9", "Toolbar1_Button10"})
        EXPECT_FALSE(Action(w, name)->isEnabled()) << name;
    w.EnableCommands();
    EXPECT_TRUE(Action(w, "mnuActionsPrint")->isEnabled());
    EXPECT_TRUE(Action(w, "Toolbar1_Button9")->isEnabled());
    EXPECT_FALSE(Action(w, "Toolbar1_Button10")->isEnabled()); // last row: still no Next
    EXPECT_TRUE(Action(w, "mnuActionsNextMessage")->isEnabled());
}

TEST(ReaderWindow, SenderContextMenuOnlyWithRows) {
    ReaderBoard rb;
    rb.list.rows = {rb.add("A", "a")};
    rb.at(1);
    frmOpenMessage w(rb.s, rb.list);
    w.show();
    auto* from = w.findChild<QLabel*>(QStringLiteral("lblMailFromValue"));
    auto* popup = w.findChild<QMenu*>(QStringLiteral("mnuPopUp"));
    auto release = [&] {
        QMouseEvent e(QEvent::MouseButtonRelease, QPointF(2, 2), from->mapToGlobal(QPointF(2, 2)),
                      Qt::RightButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(from, &e);
    };
    rb.list.rows.clear();
    release();
    EXPECT_FALSE(popup->isVisible());
    rb.list.rows = {1};
    release();
    EXPECT_TRUE(popup->isVisible());
    popup->hide();
}

TEST(ReaderWindow, InformationShowsTheRecordAsRead) {
    ReaderBoard rb;
    rb.list.rows = {rb.add("Info", "i", 1150000000)};
    rb.at(1);
    frmOpenMessage w(rb.s, rb.list);
    QString from, offline;
    OnNextModal([&](QWidget* d) {
        ASSERT_NE(d, nullptr);
        from = Label(*d, "lblFromUserNoValue");
        offline = Label(*d, "lblOfflineValue");
    });
    Action(w, "Toolbar1_Button5")->trigger();
    EXPECT_EQ(from, QStringLiteral("2"));
    EXPECT_EQ(offline, QStringLiteral("1"));
}

class UrlCatcher : public QObject {
    Q_OBJECT
  public:
    QList<QUrl> opened;
  public slots:
    void open(const QUrl& url) { opened.append(url); }
};

TEST(About, DoubleClickOpensTheWebLink) {
    kesto::ui::frmAbout about;
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
    auto* link = about.findChild<QLabel*>(QStringLiteral("lblWebLink"));
    QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(1, 1), link->mapToGlobal(QPointF(1, 1)),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(link, &dbl);
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    ASSERT_EQ(catcher.opened.size(), 1);
    EXPECT_EQ(catcher.opened.first(), QUrl(link->text()));
}

} // namespace

#include "ReaderWindowTest.moc"
