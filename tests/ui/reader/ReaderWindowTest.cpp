#include "ReaderFixture.h"

#include "Records.h"
#include "reader/frmAbout.h"
#include "reader/frmMessageInfo.h"
#include "reader/frmOpenMessage.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

namespace kesto::test {
namespace {

using ui::frmOpenMessage;

std::int32_t Field32(const std::string& index, RecordNo number, std::size_t offset) {
    return GetI32(index, static_cast<std::size_t>(number - 1) * 582 + offset);
}
QPlainTextEdit* Text(const QWidget& w) {
    return Child<QPlainTextEdit>(w, "txtMessage");
}

struct ReaderWindow : ::testing::Test {
    ReaderBoard rb;
};

TEST_F(ReaderWindow, ShowsTheMessageAndMarksItRead) {
    MessageInfo m = demo::MakeMessage(2, 1, "ALICE", "SYSOP", "Caf\xE9 <b>", 1150000000);
    m.AttFileName = Pad("REPORT.ZIP", 12);
    m.AttFileSize = 1234;
    auto n = static_cast<RecordNo>(demo::AppendMessage(rb.s.board, "EMAIL", m, "Hi\r\nthere\r\n").value());
    rb.list.rows = {n};
    auto w = rb.Reader(1);
    EXPECT_EQ(LabelText(*w, "lblMailFromValue"), QStringLiteral("ALICE @1/1 (Home)"));
    EXPECT_EQ(LabelText(*w, "lblMailSubjectValue"), QString::fromUtf8("Caf\u00e9 <b>"));
    EXPECT_EQ(Text(*w)->toPlainText(),
              QStringLiteral("Hi\nthere\n\n---\nAttached File: REPORT.ZIP (1234 bytes)"));
    EXPECT_TRUE(Child<QLabel>(*w, "lblMailDeleteValue")->isHidden());
    EXPECT_EQ(Field32(ReadNative(rb.Mail("EMAIL.DAT")), n, 374), 1);
    EXPECT_EQ(ReadNative(rb.Mail("ONELINE.BIN")), "\r\n");
}

TEST_F(ReaderWindow, StepToADamagedRecordClearsTheShownText) {
    auto shown = rb.Add("Shown", "text"), lost = rb.Add("Lost", "x");
    std::string index = ReadNative(rb.Mail("EMAIL.DAT"));
    index.replace(static_cast<std::size_t>(lost - 1) * 582 + 478, 4, "\xFF\xFF\xFF\x7F"); // far past the end
    WriteNative(rb.Mail("EMAIL.DAT"), index);
    rb.list.rows = {shown, lost};
    auto w = rb.Reader(1);
    Act(*w, "mnuActionsNextMessage")->trigger();
    EXPECT_EQ(LabelText(*w, "lblMailSubjectValue"), QStringLiteral("Lost"));
    EXPECT_TRUE(Text(*w)->toPlainText().isEmpty());
}

TEST_F(ReaderWindow, StepsThroughTheListInItsOrder) {
    auto a = rb.Add("A", "a"), b = rb.Add("B", "b"), c = rb.Add("C", "c");
    rb.list.rows = {c, a, b}; // the list is sorted: reader follows it, not the record order
    auto w = rb.Reader(1);
    QSignalSpy steps(w.get(), &frmOpenMessage::StepRequested);
    QAbstractButton* prev = Button(*w, "Toolbar1_Button9");
    QAbstractButton* next = Button(*w, "Toolbar1_Button10");
    EXPECT_FALSE(prev->isEnabled());
    Act(*w, "mnuActionsPreviousMessage")->trigger(); // at the first row: nothing
    EXPECT_EQ(w->GetRow(), 1);

    next->click();
    EXPECT_EQ(w->GetMessageNumber(), a);
    Act(*w, "mnuActionsNextMessage")->trigger();
    Act(*w, "mnuActionsNextMessage")->trigger(); // at the last row: nothing
    EXPECT_FALSE(next->isEnabled());
    EXPECT_EQ(w->GetRow(), 3);
    EXPECT_EQ(w->GetMessageNumber(), b);
    EXPECT_EQ(LabelText(*w, "lblMailSubjectValue"), QStringLiteral("B"));

    prev->click();
    prev->click();
    EXPECT_EQ(w->GetMessageNumber(), c);
    EXPECT_EQ(steps.size(), 4); // only the steps that had a row to go to were asked for
    // Each shown message got its mark once: three notices.
    std::string index = ReadNative(rb.Mail("EMAIL.DAT"));
    for (auto n : {a, b, c}) EXPECT_EQ(Field32(index, n, 374), 1);
    EXPECT_EQ(ReadNative(rb.Mail("ONELINE.DAT")).size(), 3u * 582);
}

TEST_F(ReaderWindow, DeleteTogglesTheMarkAndTheNotice) {
    auto n = rb.Add("Old news", "x");
    rb.list.rows = {n};
    auto w = rb.Reader(1);
    auto* notice = Child<QLabel>(*w, "lblMailDeleteValue");
    const std::string before = ReadNative(rb.Mail("EMAIL.DAT"));

    Act(*w, "mnuActionsDelete")->trigger();
    EXPECT_FALSE(notice->isHidden());
    EXPECT_EQ(GetI16(ReadNative(rb.Mail("EMAIL.DAT")), 332), 1);
    EXPECT_EQ(w->GetShownRecord().Deleted, 1);
    EXPECT_EQ(LabelText(*w, "lblMailToValue"), QStringLiteral("SYSOP @1/1 (Home)")); // labels not rebuilt

    Button(*w, "Toolbar1_Button4")->click();
    EXPECT_TRUE(notice->isHidden());
    EXPECT_EQ(ReadNative(rb.Mail("EMAIL.DAT")), before);

    // With no rows listed (the list was rebuilt under the reader) commands do nothing.
    QSignalSpy replies(w.get(), &frmOpenMessage::ReplyRequested);
    rb.list.rows.clear();
    Act(*w, "mnuActionsDelete")->trigger();
    Act(*w, "mnuActionsReply")->trigger();
    EXPECT_EQ(ReadNative(rb.Mail("EMAIL.DAT")), before);
    EXPECT_TRUE(replies.isEmpty());
}

TEST_F(ReaderWindow, ReplyAsksForAnAnswerToTheShownMessageAndCloses) {
    rb.list.rows = {rb.Add("Question", "?")};
    auto w = rb.Reader(1);
    w->show();
    QSignalSpy replies(w.get(), &frmOpenMessage::ReplyRequested);
    Button(*w, "Toolbar1_Button3")->click();
    ASSERT_EQ(replies.size(), 1);
    EXPECT_EQ(replies[0][0].value<RecordNo>(), rb.list.rows[0]);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(w->result(), QDialog::Accepted);
}

TEST_F(ReaderWindow, DisableAndEnableCommands) {
    auto a = rb.Add("A", "a"), b = rb.Add("B", "b");
    rb.list.rows = {a, b};
    auto w = rb.Reader(2);
    w->DisableCommands();
    for (const char* name : {"mnuFileClose", "mnuActionsDelete", "mnuActionsNextMessage", "mnuHelpAbout"})
        EXPECT_FALSE(Act(*w, name)->isEnabled()) << name;
    for (const char* name : {"Toolbar1_Button1", "Toolbar1_Button9", "Toolbar1_Button10"})
        EXPECT_FALSE(Button(*w, name)->isEnabled()) << name;
    w->EnableCommands();
    EXPECT_TRUE(Act(*w, "mnuActionsPrint")->isEnabled());
    EXPECT_TRUE(Button(*w, "Toolbar1_Button9")->isEnabled());
    EXPECT_FALSE(Button(*w, "Toolbar1_Button10")->isEnabled()); // last row: still no Next
    EXPECT_TRUE(Act(*w, "mnuActionsNextMessage")->isEnabled());
}

TEST_F(ReaderWindow, SenderContextMenuOnlyWithRows) {
    rb.list.rows = {rb.Add("A", "a")};
    auto w = rb.Reader(1);
    w->show();
    auto* from = Child<QLabel>(*w, "lblMailFromValue");
    auto* popup = w->findChild<QMenu*>(QStringLiteral("mnuPopUp"));
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

TEST_F(ReaderWindow, LongSenderRecipientAndSubjectShowWholeAndTheTextFollowsTheWindow) {
    MessageInfo m =
        demo::MakeMessage(2, 1, "Alexandra Montgomery-Worthington Smythe", "SYSOP",
                          "Minutes of the annual general meeting and the budget for 2007/08", 1150000000);
    m.FromNetNode = Pad("fidonet.example.org:21/234.56789", 80); // an 80-character sender line
    auto n = static_cast<RecordNo>(demo::AppendMessage(rb.s.board, "EMAIL", m, "x").value());
    rb.list.rows = {n};
    auto w = rb.Reader(1);
    w->show();
    ASSERT_EQ(LabelText(*w, "lblMailFromValue").size(), 80);
    ASSERT_EQ(LabelText(*w, "lblMailSubjectValue").size(), 64);
    for (const char* name : {"lblMailFromValue", "lblMailToValue", "lblMailSubjectValue"}) {
        auto* l = w->findChild<QLabel*>(QLatin1String(name));
        EXPECT_GE(l->width(), l->fontMetrics().horizontalAdvance(l->text())) << name;
    }

    // Below its smallest size the window lays out as if it had it: 3000 x 3500 twips.
    auto* text = Text(*w);
    EXPECT_EQ(text->pos(), QPoint(8, 96)); // 120 and 1440 twips at 96 dpi
    w->resize(100, 100);
    const QRect smallest = text->geometry();
    w->resize(150, 200);
    EXPECT_EQ(text->geometry(), smallest);
    w->resize(400, 500); // the text grows with the window's outer width from that floor of 200 pixels
    EXPECT_EQ(text->width() - smallest.width(), w->frameGeometry().width() - 200);
}

TEST_F(ReaderWindow, CtrlCCopiesTheSelectedTextAndCtrlInsStillAddsTheSender) {
    rb.list.rows = {rb.Add("Copy me", "first line\r\nsecond line")};
    auto w = rb.Reader(1);
    w->show();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    auto* text = Text(*w);
    text->setFocus();
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(text, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(text, Qt::Key_Home, Qt::ShiftModifier);
    QTest::keyClick(text, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("second line"));

    QString opened;
    OnNextModal([&](QWidget* d) { opened = d ? d->objectName() : QString(); });
    QTest::keyClick(text, Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(opened, QStringLiteral("frmAddToAddressBook"));
}

TEST_F(ReaderWindow, InformationShowsTheRecordAsRead) {
    rb.list.rows = {rb.Add("Info", "i", 1150000000)};
    auto w = rb.Reader(1);
    QString from, offline;
    OnNextModal([&](QWidget* d) {
        ASSERT_NE(d, nullptr);
        from = LabelText(*d, "lblFromUserNoValue");
        offline = LabelText(*d, "lblOfflineValue");
    });
    Button(*w, "Toolbar1_Button5")->click();
    EXPECT_EQ(from, QStringLiteral("2"));
    EXPECT_EQ(offline, QStringLiteral("1"));
}

TEST_F(ReaderWindow, InformationTallerThanTheScreenScrollsToItsCloseButton) {
    const RecordNo n = rb.Add("Info", "i");
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    {
        ui::frmMessageInfo fits(rb.s, n);
        fits.show();
        EXPECT_EQ(fits.findChild<QScrollArea*>(), nullptr) << "only a dialog that needs it scrolls";
    }
    // As at a larger scale: every row too tall for all of them to fit.
    ui::frmMessageInfo d(rb.s, n);
    for (QLabel* l : d.findChildren<QLabel*>()) {
        QFont f = l->font();
        f.setPointSize(f.pointSize() * 3);
        l->setFont(f);
    }
    d.show();
    auto* area = d.findChild<QScrollArea*>();
    ASSERT_NE(area, nullptr);
    EXPECT_TRUE(available.contains(d.frameGeometry())) << "within the screen";
    EXPECT_EQ(LabelText(d, "lblSubjectValue"), QStringLiteral("Info"));
    auto* close = Button(d, "cmdCancel");
    area->ensureWidgetVisible(close);
    EXPECT_TRUE(d.rect().contains(QRect(close->mapTo(&d, QPoint(0, 0)), close->size())));
    close->click();
    EXPECT_FALSE(d.isVisible());
}

class UrlCatcher : public QObject {
    Q_OBJECT
  public:
    QList<QUrl> opened;
  public slots:
    void Open(const QUrl& url) { opened.append(url); }
};

TEST(About, DoubleClickOpensTheWebLinkShownInThePalettesLinkColour) {
    const QPalette before = QApplication::palette();
    QPalette dark = before;
    dark.setColor(QPalette::Link, QColor(0x80, 0xC0, 0xFF));
    QApplication::setPalette(dark);
    ui::frmAbout about;
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "Open");
    auto* link = about.findChild<QLabel*>(QStringLiteral("lblWebLink"));
    QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(1, 1), link->mapToGlobal(QPointF(1, 1)),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(link, &dbl);
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    ASSERT_EQ(catcher.opened.size(), 1);
    EXPECT_EQ(catcher.opened.first(), QUrl(link->text()));
    EXPECT_EQ(link->palette().color(link->foregroundRole()), QColor(0x80, 0xC0, 0xFF));
    QApplication::setPalette(before);
}

} // namespace
} // namespace kesto::test

#include "ReaderWindowTest.moc"
