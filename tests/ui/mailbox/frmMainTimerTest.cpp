#include "MailboxFixture.h"

#include "Bytes.h"
#include "Records.h"
#include "composer/frmNewMessage.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTabBar>
#include <QTest>

#include <filesystem>
#include <functional>

namespace kesto::test {
namespace {

using TimerTest = MailboxFixture;

TEST_F(TimerTest, AShrunkIndexRebuildsTheListUnderTheReaderWhichKeepsOnlyCloseAndAbout) {
    for (int i = 1; i <= 4; ++i) Add({.subject = "m" + std::to_string(i)});
    Open();
    win->Timer1_Timer(); // the first tick only learns the size
    EXPECT_EQ(win->GetLastMailboxSize(), 4.0f * kMessageInfoSize);

    // Reading row 3 when the index loses its last record (and a bit): the rebuild
    // selects the reader's row, the reader keeps only Close and About.
    auto shrinkWhileReading = [&](int row, std::uintmax_t size, std::function<void(QWidget*)> check) {
        win->ClearSelection();
        win->SelectRow(row);
        OnNextModal([&](QWidget* reader) {
            ASSERT_NE(reader, nullptr);
            std::filesystem::resize_file(NativeFile("MAIL/EMAIL.DAT"), size);
            win->Timer1_Timer();
            check(reader);
        });
        Action("mnuActionsOpen")->trigger();
    };
    shrinkWhileReading(3, 4 * kMessageInfoSize - 100, [&](QWidget* reader) {
        EXPECT_EQ(ColumnTexts(1), Strings({"3", "2", "1"}));
        EXPECT_EQ(win->GetSelectedPositions(), (QList<int>{3}));
        for (const char* name : {"mnuActionsReply", "mnuActionsNextMessage", "mnuPopUpAdd"})
            EXPECT_FALSE(Act(*reader, name)->isEnabled()) << name;
        EXPECT_FALSE(Button(*reader, "Toolbar1_Button9")->isEnabled());
        EXPECT_TRUE(Act(*reader, "mnuFileClose")->isEnabled());
    });
    EXPECT_EQ(win->GetLastMailboxSize(), 4.0f * kMessageInfoSize - 100);

    // Its row gone with the records: the last row is selected.
    shrinkWhileReading(3, 2 * kMessageInfoSize,
                       [&](QWidget*) { EXPECT_EQ(win->GetSelectedPositions(), (QList<int>{2})); });

    // Gone altogether: one more rebuild, to an empty list.
    std::filesystem::remove(NativeFile("MAIL/EMAIL.DAT"));
    win->Timer1_Timer();
    EXPECT_EQ(Model()->rowCount(), 0);
    EXPECT_FALSE(Action("mnuActionsDelete")->isEnabled());
    EXPECT_EQ(win->GetLastMailboxSize(), 0.0f);
}

TEST_F(TimerTest, PlacementStateAndColumnWidthsRoundTripThroughTheSettingsFile) {
    Add({.subject = "one"});
    Open();
    // Placement is the outer rectangle, frame included.
    const QSize frame = win->frameGeometry().size() - win->size();
    win->resize(QSize(600, 400) - frame);
    win->move(30, 45);
    List()->header()->resizeSection(3, 300);
    win->Timer1_Timer();
    EXPECT_EQ(session.live.WindowLeft, 30.0f * 15);
    EXPECT_EQ(session.live.WindowTop, 45.0f * 15);
    EXPECT_EQ(session.live.WindowWidth, 600.0f * 15);
    EXPECT_EQ(session.live.ColumnWidths[3], 300 * 15);

    // Maximized: the state is recorded, the last normal placement is kept.
    win->setWindowState(Qt::WindowMaximized);
    win->Timer1_Timer();
    EXPECT_EQ(session.live.WindowStateValue, 2);
    EXPECT_EQ(session.live.WindowWidth, 600.0f * 15);
    win->close();

    std::string dat = ReadNative(NativeFile("KESTO.DAT"));
    EXPECT_EQ(GetI32(dat, 0), 45 * 15);
    EXPECT_EQ(GetI32(dat, 4), 30 * 15);
    EXPECT_EQ(GetI32(dat, 8), 600 * 15);
    EXPECT_EQ(GetI32(dat, 12), 400 * 15);
    EXPECT_EQ(GetI32(dat, 16), 2);
    EXPECT_EQ(GetI32(dat, 36), 300 * 15);

    Open();
    EXPECT_TRUE(win->isMaximized());
    EXPECT_EQ(List()->header()->sectionSize(3), 300);

    // Minimized: saved as such, but the next start opens normal at the last normal placement.
    win->setWindowState(Qt::WindowNoState);
    win->resize(QSize(500, 300) - frame);
    win->move(10, 20);
    win->Timer1_Timer();
    win->setWindowState(Qt::WindowMinimized);
    win->Timer1_Timer();
    win->close();
    dat = ReadNative(NativeFile("KESTO.DAT"));
    EXPECT_EQ(GetI32(dat, 16), 1);
    Open();
    EXPECT_FALSE(win->isMinimized());
    EXPECT_FALSE(win->isMaximized());
    EXPECT_EQ(win->frameGeometry(), QRect(10, 20, 500, 300));
}

TEST_F(TimerTest, ASmallWindowKeepsTheLastLargerPlacementForSaving) {
    Open();
    const QSize frame = win->frameGeometry().size() - win->size();
    win->resize(QSize(600, 400) - frame);
    win->Timer1_Timer();
    win->resize(QSize(200, 400) - frame); // 3000 twips wide at 96 dpi: not recorded
    win->Timer1_Timer();
    EXPECT_EQ(session.live.WindowWidth, 600.0f * 15);
    win->resize(QSize(201, 400) - frame);
    win->Timer1_Timer();
    EXPECT_EQ(session.live.WindowWidth, 201.0f * 15);
}

TEST_F(TimerTest, ASavedPlacementOffTheScreenOpensCentredAtTheDefaultSize) {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    ViewSettings v;
    v.Top = (screen.height() + 10) * 15;
    v.Left = 0;
    v.Width = 6000;
    v.Height = 4000;
    WriteNative(NativeFile("KESTO.DAT"), EncodeViewSettings(v));
    Open();
    EXPECT_EQ(win->frameGeometry().size(), QSize(Px(10215), Px(5865)));
    EXPECT_NEAR(win->pos().x(), (screen.width() - Px(10335)) / 2.0, 2);
}

TEST_F(TimerTest, ASavedPlacementMostlyOffTheAvailableScreenIsBroughtOntoIt) {
    // Written on a larger screen: on this one the window would be mostly out of sight.
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    ViewSettings v;
    v.Left = (available.right() - 150) * 15;
    v.Top = (available.bottom() - 100) * 15;
    v.Width = (available.width() + 200) * 15;
    v.Height = 400 * 15;
    WriteNative(NativeFile("KESTO.DAT"), EncodeViewSettings(v));
    Open();
    EXPECT_EQ(win->frameGeometry(),
              QRect(available.left(), available.bottom() + 1 - 400, available.width(), 400));

    // Half of it in sight is enough to leave it where it was put.
    v.Left = (available.right() + 1 - 300) * 15;
    v.Top = 10 * 15;
    v.Width = 600 * 15;
    WriteNative(NativeFile("KESTO.DAT"), EncodeViewSettings(v));
    Open();
    EXPECT_EQ(win->frameGeometry(), QRect(available.right() + 1 - 300, 10, 600, 400));
}

TEST_F(TimerTest, ClosingBeforeTheFirstTickSavesTheLoadedPlacement) {
    ViewSettings v;
    v.Top = 300;
    v.Left = 450;
    v.Width = 9000;
    v.Height = 6000;
    WriteNative(NativeFile("KESTO.DAT"), EncodeViewSettings(v));
    Open();
    win->close();
    EXPECT_EQ(ReadNative(NativeFile("KESTO.DAT")).substr(0, 16), EncodeViewSettings(v).substr(0, 16));
}

TEST_F(TimerTest, AnEndingWaitsForASendInProgressAndSavesOnce) {
    Open();
    auto* composer = new ui::frmNewMessage(session, win.get());
    composer->LockComposer();
    win->RequestExit();
    QTest::qWait(300);
    EXPECT_TRUE(win->isVisible());
    std::filesystem::remove(NativeFile("KESTO.DAT"));
    composer->UnlockComposer();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !win->isVisible(); }, 5000));
    EXPECT_TRUE(std::filesystem::exists(NativeFile("KESTO.DAT")));

    // The quit that follows finds nothing new to save.
    std::filesystem::remove(NativeFile("KESTO.DAT"));
    win->SaveSettings();
    EXPECT_FALSE(std::filesystem::exists(NativeFile("KESTO.DAT")));
}

TEST_F(TimerTest, AWindowSmallerThan3000TwipsLaysOutAsIfItWere3000) {
    Open();
    win->resize(200, 200); // 3000 x 3000 twips at 96 dpi
    const QRect list3000 = List()->geometry();
    const QRect tabs3000 = win->findChild<QTabBar*>(QStringLiteral("tbsOptions"))->geometry();
    win->resize(120, 150);
    EXPECT_EQ(List()->geometry(), list3000);
    EXPECT_EQ(win->findChild<QTabBar*>(QStringLiteral("tbsOptions"))->geometry(), tabs3000);
    win->resize(700, 500);
    EXPECT_EQ(List()->width() - list3000.width(), 500);
    EXPECT_EQ(List()->height() - list3000.height(), 300);
}

TEST_F(TimerTest, BringingToFrontRestoresAMinimizedWindowToItsStateBefore) {
    Open();
    win->showMinimized();
    win->BringToFront();
    EXPECT_FALSE(win->isMinimized());
    EXPECT_FALSE(win->isMaximized());
    EXPECT_TRUE(win->isVisible());

    // Minimized by the window manager from maximized: the state says only "minimized".
    win->showMaximized();
    win->setWindowState(Qt::WindowMinimized);
    win->BringToFront();
    EXPECT_FALSE(win->isMinimized());
    EXPECT_TRUE(win->isMaximized());
}

} // namespace
} // namespace kesto::test
