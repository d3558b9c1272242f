#include "platform/File.h"

#include "ErrorLog.h"
#include "TestBoard.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace kesto;
using kesto::test::ReadNative;
using kesto::test::TempDir;
using kesto::test::WriteNative;

namespace {

template <class F>
std::string ErrorOf(F&& f) {
    try {
        f();
    } catch (const KestoError& e) {
        return e.what();
    }
    return "no error";
}

std::size_t EntriesIn(const std::string& dir) {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir)) ++n;
    return n;
}

} // namespace

TEST(File, ReadAtNeverReadsMoreThanTheFileHolds) {
    TempDir dir;
    const std::string f = dir.file("a.bin");
    WriteNative(f, "0123456789");
    Bytes out = "stale";
    platform::ReadAt(f, 4, 2147483647, out);
    EXPECT_EQ(out, "456789");
    EXPECT_LE(out.capacity(), 64u); // capped by the file, not by the length asked for
    platform::ReadAt(f, 0, 3, out);
    EXPECT_EQ(out, "012");
    platform::ReadAt(f, 10, 5, out);
    EXPECT_EQ(out, "");
    platform::ReadAt(f, -3, 5, out);
    EXPECT_EQ(out, "");
    platform::ReadAll(f, out);
    EXPECT_EQ(out, "0123456789");
}

TEST(File, FailuresCarryTheBoardsDescriptions) {
    TempDir dir;
    fs::create_directory(dir.file("sub"));
    Bytes out;
    EXPECT_EQ(ErrorOf([&] { platform::ReadAll(dir.file("missing.dat"), out); }), "File not found");
    EXPECT_EQ(ErrorOf([&] { platform::ReadAt(dir.file("nodir/x.dat"), 0, 1, out); }), "Path not found");
    EXPECT_EQ(ErrorOf([&] { platform::WriteAt(dir.file("nodir/x.dat"), 0, "x"); }), "Path not found");
    EXPECT_EQ(ErrorOf([&] { platform::FileLength(dir.file("missing.dat")); }), "File not found");

    const std::string sub = dir.file("sub");
    EXPECT_EQ(ErrorOf([&] { platform::ReadAll(sub, out); }), "Path/File access error");
    EXPECT_EQ(ErrorOf([&] { platform::ReadAt(sub, 0, 1, out); }), "Path/File access error");
    EXPECT_EQ(ErrorOf([&] { platform::WriteAt(sub, 0, "x"); }), "Path/File access error");
    EXPECT_EQ(ErrorOf([&] { platform::Append(sub, "x"); }), "Path/File access error");
    EXPECT_EQ(ErrorOf([&] { platform::ReplaceContents(sub, "x"); }), "Path/File access error");
    EXPECT_EQ(ErrorOf([&] { platform::FileLength(sub); }), "Path/File access error");
    EXPECT_TRUE(platform::IsDirectory(sub));

    EXPECT_FALSE(platform::IsFile(sub));
    EXPECT_EQ(platform::FileLengthOr(sub), -1);
    EXPECT_EQ(platform::FileLengthOr(dir.file("missing.dat")), -1);
}

TEST(File, UnreadableAndReadOnlyFilesAreDenied) {
    if (::geteuid() == 0) GTEST_SKIP() << "root reads and writes everything";
    TempDir dir;
    const std::string f = dir.file("locked.dat");
    WriteNative(f, "abc");
    ::chmod(f.c_str(), 0);
    Bytes out;
    EXPECT_EQ(ErrorOf([&] { platform::ReadAll(f, out); }), "Permission denied");
    EXPECT_EQ(ErrorOf([&] { platform::WriteAt(f, 0, "x"); }), "Permission denied");

    // A read-only directory cannot take the new copy: the old file stays as it was.
    const std::string g = dir.file("ro/keep.dat");
    WriteNative(g, "old");
    ::chmod(dir.file("ro").c_str(), 0555);
    EXPECT_EQ(ErrorOf([&] { platform::ReplaceContents(g, "new"); }), "Permission denied");
    EXPECT_EQ(ReadNative(g), "old");
}

TEST(File, WritesThroughALinkToAFullDiskReportDiskFull) {
    TempDir dir;
    const std::string link = dir.file("full.dat");
    fs::create_symlink("/dev/full", link);
    EXPECT_EQ(ErrorOf([&] { platform::WriteAt(link, 0, "x"); }), "Disk full");
    EXPECT_EQ(ErrorOf([&] { platform::Append(link, "x"); }), "Disk full");
    EXPECT_EQ(ErrorOf([&] { platform::ReplaceContents(link, "x"); }), "Disk full");
    // The link is still a link to the device, and no temporary file is left behind.
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

TEST(File, ReplaceContentsThatFailsLeavesTheOldFile) {
    TempDir dir;
    const std::string f = dir.file("keep.dat");
    WriteNative(f, "old contents");

    // A file size limit makes the write of the new copy fail the way a full disk does,
    // even for root.
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 64;
    ::setrlimit(RLIMIT_FSIZE, &small);
    std::string error = ErrorOf([&] { platform::ReplaceContents(f, std::string(1000, 'n')); });
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(error, "Disk full");
    EXPECT_EQ(ReadNative(f), "old contents");
    EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

TEST(File, ReplaceContentsKeepsLinksAndPermissions) {
    TempDir dir;
    const std::string real = dir.file("real.dat");
    const std::string link = dir.file("link.dat");
    WriteNative(real, "a much longer old text");
    ::chmod(real.c_str(), 0640);
    fs::create_symlink(real, link);

    platform::ReplaceContents(link, "new");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadNative(real), "new");
    struct stat st {};
    ::stat(real.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);

    platform::ReplaceContents(dir.file("fresh.dat"), "");
    EXPECT_TRUE(platform::IsFile(dir.file("fresh.dat")));
    EXPECT_EQ(EntriesIn(dir.path()), 3u);
}

TEST(File, WriteAtAppendAndTruncate) {
    TempDir dir;
    const std::string f = dir.file("w.dat");
    platform::WriteAt(f, 2, "ab"); // created, the gap reads as zeros
    EXPECT_EQ(ReadNative(f), std::string("\0\0ab", 4));
    platform::WriteAt(f, 0, "X"); // in place, nothing cut off
    EXPECT_EQ(ReadNative(f), std::string("X\0ab", 4));
    platform::Append(f, "\r\n");
    EXPECT_EQ(ReadNative(f), std::string("X\0ab\r\n", 6));
    EXPECT_EQ(platform::FileLength(f), 6);
    platform::Truncate(f);
    EXPECT_EQ(platform::FileLengthOr(f), 0);
    platform::Append(dir.file("new.txt"), "line");
    EXPECT_EQ(ReadNative(dir.file("new.txt")), "line");
}
