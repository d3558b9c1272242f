// Start-up: the board's path file and the single instance across two real processes.
#include "FakeDialogs.h"
#include "TestBoard.h"

#include "DemoBoard.h"
#include "app/AppStart.h"
#include "app/Session.h"
#include "app/SingleInstance.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace kesto::test {
namespace {

TEST(Startup, WithoutThePathFileItSaysSoAndWritesNothing) {
    TempDir dir;
    FakeDialogs dialogs;
    ui::Session session;
    EXPECT_FALSE(ui::LoadBoard(dir.path(), session));
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("SYSPATHS.CFG was not found! Exiting..."));
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(Startup, ABoardIsLoadedAndStampedWithTheVersion) {
    TempDir dir;
    demo::CreateBoard(dir.path()).value();
    FakeDialogs dialogs;
    ui::Session session;
    ASSERT_TRUE(ui::LoadBoard(dir.path(), session));
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_EQ(session.board.startDir, std::filesystem::canonical(dir.path()).string());
    EXPECT_EQ(ReadNative(dir.file("HMRDATA.DAT")).substr(66, 15), "1.0.060711     ");
}

TEST(SingleInstance, TheFirstCopyIsAskedForwardOncePerLaterStart) {
    const QString name = QStringLiteral("KestoTest-%1").arg(QCoreApplication::applicationPid());
    ui::SingleInstance first(name);
    int asked = 0;
    first.onActivate([&] { ++asked; });
    ASSERT_TRUE(first.claim());
    for (int i = 0; i < 2; ++i) {
        ui::SingleInstance later(name);
        EXPECT_FALSE(later.claim());
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return asked == 2; }, 5000));
}

// Runs the real program with its own runtime folder, so the instance socket
// of this test cannot meet a copy the user is running.
class SingleInstanceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        program = QCoreApplication::applicationDirPath() + QStringLiteral("/kesto");
        ASSERT_TRUE(QFileInfo::exists(program)) << "build the kesto target first";
        env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString(sockets.path()));
    }
    void TearDown() override {
        for (QProcess* p : {&first, &second}) {
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished(5000);
            }
        }
    }
    void start(QProcess& p, const std::string& dir) {
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(QString::fromStdString(dir));
        p.start(program, {});
        ASSERT_TRUE(p.waitForStarted(5000));
    }
    std::string socketPath() { return sockets.path() + "/Kesto"; }
    // The first copy is up once it has written its settings file.
    bool waitForFile(const std::string& path) {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 15000) {
            if (std::filesystem::exists(path) && std::filesystem::exists(socketPath())) return true;
            QThread::msleep(50);
        }
        return false;
    }

    QString program;
    QProcessEnvironment env;
    TempDir sockets, boardDir, emptyDir;
    QProcess first, second;
};

TEST_F(SingleInstanceTest, ASecondCopyHandsOverAndEndsWithoutReadingTheBoard) {
    demo::CreateBoard(boardDir.path()).value();
    start(first, boardDir.path());
    ASSERT_TRUE(waitForFile(boardDir.file("KESTO.DAT")));

    // In a directory without SYSPATHS.CFG: reading it would show the box and never end.
    start(second, emptyDir.path());
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(std::filesystem::is_empty(emptyDir.path()));
    EXPECT_EQ(first.state(), QProcess::Running);
}

TEST_F(SingleInstanceTest, AStaleNameLeftByACrashedCopyDoesNotStopTheNextStart) {
    // A bound socket nobody listens on, as a killed copy leaves it.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const std::string path = socketPath();
    ASSERT_LT(path.size(), sizeof(addr.sun_path));
    std::copy(path.begin(), path.end(), addr.sun_path);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)), 0);
    ::close(fd);
    ASSERT_TRUE(std::filesystem::exists(path));

    demo::CreateBoard(boardDir.path()).value();
    start(first, boardDir.path());
    EXPECT_TRUE(waitForFile(boardDir.file("KESTO.DAT")));
    EXPECT_EQ(first.state(), QProcess::Running);
}

TEST_F(SingleInstanceTest, TerminationSignalsSaveTheSettingsAndEndAsExitDoes) {
    demo::CreateBoard(boardDir.path()).value();
    for (int sig : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(sig);
        std::filesystem::remove(boardDir.file("KESTO.DAT")); // so the wait sees this copy's
        start(first, boardDir.path());
        ASSERT_TRUE(waitForFile(boardDir.file("KESTO.DAT")));
        // Written again on the way out, as File > Exit writes it.
        std::filesystem::remove(boardDir.file("KESTO.DAT"));
        ::kill(static_cast<pid_t>(first.processId()), sig);
        ASSERT_TRUE(first.waitForFinished(10000));
        EXPECT_EQ(first.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(first.exitCode(), 0);
        EXPECT_EQ(ReadNative(boardDir.file("KESTO.DAT")).size(), 48u);
    }
}

} // namespace
} // namespace kesto::test
