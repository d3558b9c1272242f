// Where the single-instance socket lives.
#include "TestBoard.h"

#include "app/SingleInstance.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <filesystem>
#include <pwd.h>
#include <unistd.h>

namespace kesto::test {
namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
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
    void unset() { qunsetenv(name_); }

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
    std::filesystem::permissions(open.path(), std::filesystem::perms::all);
    EnvGuard tmpDir("TMPDIR", tmp.path());
    EnvGuard runtimeDir("XDG_RUNTIME_DIR", runtime.path());
    auto nameWith = [](const std::string& dir) {
        qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(dir));
        return ui::SingleInstance(QStringLiteral("Kesto")).serverName();
    };

    EXPECT_EQ(nameWith(runtime.path()), Q(runtime.path() + "/Kesto"));
    // Open to others, or missing: Qt's private stand-in, made 0700.
    for (const std::string& dir : {open.path(), tmp.path() + "/missing"}) {
        const QString name = nameWith(dir);
        EXPECT_TRUE(name.endsWith(QStringLiteral("/Kesto"))) << dir;
        EXPECT_FALSE(name.startsWith(Q(open.path()))) << dir;
        EXPECT_TRUE(IsPrivateFolder(QFileInfo(name).path())) << name.toStdString();
    }
    // Qt's stand-in taken by another user: no name, and the copy runs unguarded.
    if (::geteuid() == 0) {
        runtimeDir.unset();
        const std::string standIn = tmp.path() + "/runtime-" + ::getpwuid(::getuid())->pw_name;
        std::filesystem::remove_all(standIn);
        std::filesystem::create_directory(standIn);
        ASSERT_EQ(::chown(standIn.c_str(), 65534, 65534), 0);
        ui::SingleInstance unguarded(QStringLiteral("Kesto"));
        EXPECT_EQ(unguarded.serverName(), QString());
        EXPECT_TRUE(unguarded.claim());
    }
}

} // namespace
} // namespace kesto::test
