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
    EXPECT_FALSE(ui::LoadBoard(dir.Path(), session));
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("SYSPATHS.CFG was not found! Exiting..."));
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

TEST(SingleInstance, TheFirstCopyIsAskedForwardOncePerLaterStart) {
    const QString name = QStringLiteral("KestoTest-%1").arg(QCoreApplication::applicationPid());
    ui::SingleInstance first(name);
    int asked = 0;
    first.OnActivate([&] { ++asked; });
    ASSERT_TRUE(first.Claim());
    for (int i = 0; i < 2; ++i) {
        ui::SingleInstance later(name);
        EXPECT_FALSE(later.Claim());
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
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString(sockets.Path()));
    }
    void TearDown() override {
        for (QProcess* p : {&first, &second}) {
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished(5000);
            }
        }
    }
    void Start(QProcess& p, const std::string& dir) {
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(QString::fromStdString(dir));
        p.start(program, {});
        ASSERT_TRUE(p.waitForStarted(5000));
    }
    std::string SocketPath() { return sockets.Path() + "/Kesto"; }
    // The first copy is up once it has written its settings file.
    bool WaitForFile(const std::string& path) {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 15000) {
            if (std::filesystem::exists(path) && std::filesystem::exists(SocketPath())) return true;
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
    demo::CreateBoard(boardDir.Path()).value();
    Start(first, boardDir.Path());
    ASSERT_TRUE(WaitForFile(boardDir.File("KESTO.DAT")));

    // In a directory without SYSPATHS.CFG: reading it would show the box and never end.
    Start(second, emptyDir.Path());
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(std::filesystem::is_empty(emptyDir.Path()));
    EXPECT_EQ(first.state(), QProcess::Running);
}

TEST_F(SingleInstanceTest, AStaleNameLeftByACrashedCopyDoesNotStopTheNextStart) {
    // A bound socket nobody listens on, as a killed copy leaves it.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const std::string path = SocketPath();
    ASSERT_LT(path.size(), sizeof(addr.sun_path));
    std::copy(path.begin(), path.end(), addr.sun_path);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)), 0);
    ::close(fd);
    ASSERT_TRUE(std::filesystem::exists(path));

    demo::CreateBoard(boardDir.Path()).value();
    Start(first, boardDir.Path());
    EXPECT_TRUE(WaitForFile(boardDir.File("KESTO.DAT")));
    EXPECT_EQ(first.state(), QProcess::Running);
}

TEST_F(SingleInstanceTest, TerminationSignalsSaveTheSettingsAndEndAsExitDoes) {
    demo::CreateBoard(boardDir.Path()).value();
    for (int sig : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(sig);
        std::filesystem::remove(boardDir.File("KESTO.DAT")); // so the wait sees this copy's
        Start(first, boardDir.Path());
        ASSERT_TRUE(WaitForFile(boardDir.File("KESTO.DAT")));
        // Written again on the way out, as File > Exit writes it.
        std::filesystem::remove(boardDir.File("KESTO.DAT"));
        ::kill(static_cast<pid_t>(first.processId()), sig);
        ASSERT_TRUE(first.waitForFinished(10000));
        EXPECT_EQ(first.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(first.exitCode(), 0);
        EXPECT_EQ(ReadNative(boardDir.File("KESTO.DAT")).size(), 48u);
    }
}

} // namespace
} // namespace kesto::test
