// kesto's command line, the board's folder and where the single-instance socket lives.
#include "FakeDialogs.h"
#include "TestBoard.h"
#include "UiTestSupport.h"

#include "DemoBoard.h"
#include "app/AppStart.h"
#include "app/SingleInstance.h"
#include "app/StartArguments.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSettings>
#include <QThread>
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <pwd.h>
#include <unistd.h>

namespace kesto::test {
namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

TEST(StartArguments, HelpVersionFolderAndMistakes) {
    auto info = [](std::vector<const char*> argv) {
        argv.insert(argv.begin(), "kesto");
        return ui::InfoOptionText(static_cast<int>(argv.size()), argv.data());
    };
    EXPECT_EQ(info({"--version"}), "kesto 1.0.060711\n");
    EXPECT_TRUE(info({"-platform", "offscreen", "--help"})
                    .value_or("")
                    .starts_with("usage: kesto [--pick-board] [DIR]"));
    EXPECT_EQ(info({"--", "--help"}), std::nullopt); // a folder of that name

    const struct {
        QStringList args;
        QString dir;
        bool pickBoard;
    } good[] = {
        {{QStringLiteral("b"), QStringLiteral("--pick-board")}, QStringLiteral("b"), true},
        {{QStringLiteral("--"), QStringLiteral("--odd")}, QStringLiteral("--odd"), false},
    };
    for (const auto& c : good) {
        QString error;
        auto parsed = ui::ParseStartArguments(QStringList{QStringLiteral("kesto")} + c.args, error);
        ASSERT_TRUE(parsed) << error.toStdString();
        EXPECT_EQ(parsed->dir, c.dir);
        EXPECT_EQ(parsed->pickBoard, c.pickBoard);
    }
    const struct {
        QStringList args;
        QString named;
    } bad[] = {
        {{QStringLiteral("--bogus")}, QStringLiteral("'bogus'")},
        {{QStringLiteral("a"), QStringLiteral("b")}, QStringLiteral("'a' 'b'")},
    };
    for (const auto& c : bad) {
        QString error;
        EXPECT_FALSE(ui::ParseStartArguments(QStringList{QStringLiteral("kesto")} + c.args, error));
        EXPECT_TRUE(error.contains(c.named)) << error.toStdString();
        EXPECT_TRUE(error.contains(QStringLiteral("usage: kesto"))) << error.toStdString();
    }
}

// ChooseBoardFolder with the current folder set to an empty folder and the
// remembered choice in a settings file of its own.
class BoardFolderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(demo::CreateBoard(base.File("board")));
        std::filesystem::create_directories(base.File("empty"));
        std::filesystem::create_directories(base.File("plain"));
        saved = QDir::currentPath();
        QDir::setCurrent(Q(base.File("empty")));
    }
    void TearDown() override { QDir::setCurrent(saved); }

    QString Choose(bool pickBoard, const QString& dir = {}) {
        return ui::ChooseBoardFolder({dir, pickBoard}, settings);
    }
    QString Remembered() { return settings.value(QStringLiteral("BoardFolder")).toString(); }

    TempDir base;
    QString saved;
    QSettings settings{Q(base.File("kesto.conf")), QSettings::IniFormat};
    FakeDialogs dialogs;
};

TEST_F(BoardFolderTest, AGivenOrCurrentFolderIsTakenAsItIs) {
    EXPECT_EQ(Choose(false, QStringLiteral("../board")), Q(base.File("board")));
    EXPECT_EQ(Choose(false), Q(base.File("empty"))); // the not-found box comes later
    EXPECT_EQ(Choose(true, Q(base.File("board"))), Q(base.File("board")));
    EXPECT_EQ(dialogs.folderAsked, 0);
}

TEST_F(BoardFolderTest, PickBoardAsksWhenThereIsNoBoardAndRemembersABoard) {
    dialogs.folderAnswer = Q(base.File("board"));
    EXPECT_EQ(Choose(true), Q(base.File("board")));
    EXPECT_EQ(dialogs.lastDirectory, QDir::homePath());
    EXPECT_EQ(Remembered(), Q(base.File("board")));

    // Offered next time; a folder without a board is taken (its box follows) but not remembered.
    dialogs.folderAnswer = Q(base.File("plain"));
    EXPECT_EQ(Choose(true), Q(base.File("plain")));
    EXPECT_EQ(dialogs.lastDirectory, Q(base.File("board")));
    EXPECT_EQ(Remembered(), Q(base.File("board")));

    dialogs.folderAnswer.clear(); // cancelled
    EXPECT_EQ(Choose(true), QString());
    EXPECT_EQ(dialogs.folderAsked, 3);
    EXPECT_EQ(Remembered(), Q(base.File("board")));
}

// Sets an environment variable for the life of the guard.
class EnvGuard {
  public:
    EnvGuard(const char* name, const std::string& value)
        : name_(name), had_(qEnvironmentVariableIsSet(name)) {
        saved_ = qgetenv(name);
        qputenv(name, QByteArray::fromStdString(value));
    }
    ~EnvGuard() { had_ ? qputenv(name_, saved_) : qunsetenv(name_); }
    void Unset() { qunsetenv(name_); }

  private:
    const char* name_;
    bool had_;
    QByteArray saved_;
};

bool IsPrivateFolder(const QString& path) {
    const QFileInfo info(path);
    const QFile::Permissions own = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadUser |
                                   QFile::WriteUser | QFile::ExeUser;
    return info.isDir() && info.ownerId() == ::getuid() && (info.permissions() & ~own) == 0;
}

// The socket lies in the user's private runtime folder, never in a folder others may write.
TEST(SingleInstanceName, OnlyInAPrivateRuntimeFolder) {
    TempDir runtime, open, tmp;
    std::filesystem::permissions(open.Path(), std::filesystem::perms::all);
    EnvGuard tmpDir("TMPDIR", tmp.Path());
    EnvGuard runtimeDir("XDG_RUNTIME_DIR", runtime.Path());
    auto nameWith = [](const std::string& dir) {
        qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(dir));
        return ui::SingleInstance(QStringLiteral("Kesto")).GetServerName();
    };

    EXPECT_EQ(nameWith(runtime.Path()), Q(runtime.Path() + "/Kesto"));
    // Open to others, or missing: Qt's private stand-in, made 0700. Qt says why it left the folder.
    ExpectQtWarning wrongPermissions(
        QStringLiteral("QStandardPaths: wrong permissions on runtime directory"));
    for (const std::string& dir : {open.Path(), tmp.Path() + "/missing"}) {
        const QString name = nameWith(dir);
        EXPECT_TRUE(name.endsWith(QStringLiteral("/Kesto"))) << dir;
        EXPECT_FALSE(name.startsWith(Q(open.Path()))) << dir;
        EXPECT_TRUE(IsPrivateFolder(QFileInfo(name).path())) << name.toStdString();
    }
    // Qt's stand-in taken by another user: no name, and the copy runs unguarded.
    if (::geteuid() == 0) {
        ExpectQtWarning notSet(QStringLiteral("QStandardPaths: XDG_RUNTIME_DIR not set"));
        ExpectQtWarning notOwned(QStringLiteral("QStandardPaths: runtime directory"));
        ExpectQtWarning unguardedNote(QStringLiteral("Kesto: no private runtime folder"));
        runtimeDir.Unset();
        const std::string standIn = tmp.Path() + "/runtime-" + ::getpwuid(::getuid())->pw_name;
        std::filesystem::remove_all(standIn);
        std::filesystem::create_directory(standIn);
        ASSERT_EQ(::chown(standIn.c_str(), 65534, 65534), 0);
        ui::SingleInstance unguarded(QStringLiteral("Kesto"));
        EXPECT_EQ(unguarded.GetServerName(), QString());
        EXPECT_TRUE(unguarded.Claim());
    }
}

// The real program: kesto DIR from another folder, and the options that need no display.
class ProgramTest : public ::testing::Test {
  protected:
    void SetUp() override {
        program = QCoreApplication::applicationDirPath() + QStringLiteral("/kesto");
        ASSERT_TRUE(QFileInfo::exists(program)) << "build the kesto target first";
        env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), Q(runtime.Path()));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), Q(base.File("config")));
        p.setProcessEnvironment(env);
    }
    void TearDown() override {
        if (p.state() != QProcess::NotRunning) {
            p.kill();
            p.waitForFinished(5000);
        }
    }
    bool WaitFor(const std::string& path) {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 15000 && p.state() != QProcess::NotRunning) {
            if (std::filesystem::exists(path)) return true;
            QThread::msleep(50);
        }
        return false;
    }

    QString program;
    QProcessEnvironment env;
    TempDir runtime, base;
    QProcess p;
};

TEST_F(ProgramTest, StartsOnTheBoardInDirFromAnotherFolder) {
    ASSERT_TRUE(demo::CreateBoard(base.File("board")));
    std::filesystem::create_directories(base.File("elsewhere"));
    p.setWorkingDirectory(Q(base.File("elsewhere")));
    p.start(program, {QStringLiteral("../board")});
    ASSERT_TRUE(WaitFor(base.File("board/KESTO.DAT"))) << p.readAllStandardError().toStdString();
    EXPECT_EQ(ReadNative(base.File("board/HMRDATA.DAT")).substr(66, 15), "1.0.060711     ");
    EXPECT_TRUE(std::filesystem::is_empty(base.File("elsewhere")));
}

TEST_F(ProgramTest, VersionNeedsNoDisplayAndAMistakeExitsWithTwo) {
    for (const char* var : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        env.remove(QString::fromLatin1(var));
    p.setProcessEnvironment(env);
    p.start(program, {QStringLiteral("--version")});
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_EQ(p.readAllStandardOutput(), QByteArray("kesto 1.0.060711\n"));

    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.start(program, {QStringLiteral("--bogus")});
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(p.exitCode(), 2);
    EXPECT_TRUE(p.readAllStandardError().contains("bogus"));
}

} // namespace
} // namespace kesto::test
