#include "platform/File.h"

#include "ErrorLog.h"
#include "HalkTestBoard.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace kesto;
using namespace kesto::platform;
using kesto::test::ReadNative;
using kesto::test::TempDir;
using kesto::test::WriteNative;

namespace {

template <class F> std::string ErrorOf(F&& f) {
    try {
        f();
    } catch (const KestoError& e) {
        return e.what();
    }
    return "no error";
}

std::size_t EntriesIn(const std::string& dir) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

} // namespace

TEST(File, ReadsAreCappedByTheFile) {
    TempDir dir;
    const std::string f = dir.file("a.bin");
    WriteNative(f, "0123456789");
    Bytes out = "stale";
    ReadAt(f, 4, 2147483647, out);
    EXPECT_EQ(out, "456789");
    EXPECT_LE(out.capacity(), 64u); // sized by the file, not by the length asked for
    ReadAt(f, 10, 5, out);
    EXPECT_EQ(out, "");
    ReadAt(f, -3, 5, out);
    EXPECT_EQ(out, "");
}

TEST(File, FailureDescriptions) {
    TempDir dir;
    const std::string sub = dir.file("sub");
    fs::create_directory(sub);
    Bytes out;
    EXPECT_EQ(ErrorOf([&] { ReadAll(dir.file("missing.dat"), out); }), "File not found");
    EXPECT_EQ(ErrorOf([&] { ReadAt(dir.file("nodir/x.dat"), 0, 1, out); }), "Path not found");
    EXPECT_EQ(ErrorOf([&] { WriteAt(dir.file("nodir/x.dat"), 0, "x"); }), "Path not found");
    for (auto op :
         {+[](const std::string& p) {
              Bytes b;
              ReadAll(p, b);
          },
          +[](const std::string& p) { WriteAt(p, 0, "x"); }, +[](const std::string& p) { Append(p, "x"); },
          +[](const std::string& p) { ReplaceContents(p, "x"); },
          +[](const std::string& p) { FileLength(p); }})
        EXPECT_EQ(ErrorOf([&] { op(sub); }), "Path/File access error");
    EXPECT_FALSE(IsFile(sub));
    EXPECT_EQ(FileLengthOr(sub), -1);

    // A FIFO in place of a board file must not block the program.
    const std::string fifo = dir.file("fifo.dat");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ReadAll(fifo, out);
    EXPECT_EQ(out, "");
    EXPECT_EQ(ErrorOf([&] { WriteAt(fifo, 0, "x"); }), "Bad file name or number");

    if (::geteuid() != 0) { // root reads and writes everything
        const std::string f = dir.file("locked.dat");
        WriteNative(f, "abc");
        ::chmod(f.c_str(), 0);
        EXPECT_EQ(ErrorOf([&] { ReadAll(f, out); }), "Permission denied");
        EXPECT_EQ(ErrorOf([&] { WriteAt(f, 0, "x"); }), "Permission denied");
    }
}

TEST(File, FullDiskThroughALink) {
    TempDir dir;
    WriteAt(dir.file("w.dat"), 2, "ab"); // in place: the gap reads as zeros, nothing is cut off
    WriteAt(dir.file("w.dat"), 0, "X");
    EXPECT_EQ(ReadNative(dir.file("w.dat")), std::string("X\0ab", 4));
    fs::remove(dir.file("w.dat"));

    const std::string link = dir.file("full.dat");
    fs::create_symlink("/dev/full", link);
    EXPECT_EQ(ErrorOf([&] { WriteAt(link, 0, "x"); }), "Disk full");
    EXPECT_EQ(ErrorOf([&] { Append(link, "x"); }), "Disk full");
    EXPECT_EQ(ErrorOf([&] { ReplaceContents(link, "x"); }), "Disk full");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(EntriesIn(dir.path()), 1u); // no temporary copy left behind
}

TEST(File, FailedReplaceLeavesTheOldFile) {
    TempDir dir;
    const std::string f = dir.file("keep.dat");
    WriteNative(f, "old contents");
    std::string error = kesto::test::WithFileSizeLimit(
        64, [&] { return ErrorOf([&] { ReplaceContents(f, std::string(1000, 'n')); }); });
    EXPECT_EQ(error, "Disk full");
    EXPECT_EQ(ReadNative(f), "old contents");
    EXPECT_EQ(EntriesIn(dir.path()), 1u);

    if (::geteuid() != 0) {
        ::chmod(dir.path().c_str(), 0555); // no room for the new copy
        EXPECT_EQ(ErrorOf([&] { ReplaceContents(f, "new"); }), "Permission denied");
        EXPECT_EQ(ReadNative(f), "old contents");
    }
}

TEST(File, ReplaceKeepsLinksAndPermissions) {
    TempDir dir;
    const std::string real = dir.file("real.dat");
    const std::string link = dir.file("link.dat");
    WriteNative(real, "a much longer old text");
    ::chmod(real.c_str(), 0640);
    fs::create_symlink(real, link);
    ReplaceContents(link, "new");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadNative(real), "new");
    struct stat st {};
    ::stat(real.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}
