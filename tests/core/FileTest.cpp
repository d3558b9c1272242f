#include "platform/File.h"
#include "platform/Termination.h"

#include "ErrorLog.h"
#include "HalkTestBoard.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace kesto;
using namespace kesto::platform;
using kesto::test::ReadNative;
using kesto::test::TempDir;
using kesto::test::WriteNative;

namespace {

// The code and the log's description of a failed call; "ok" for one that did not fail.
template <class T>
std::pair<ErrorCode, std::string> Failure(const Result<T>& r) {
    if (r) return {ErrorCode::Refused, "ok"};
    return {r.error().code, r.error().description};
}

const std::pair<ErrorCode, std::string> kNotFound{ErrorCode::FileNotFound, "File not found"};
const std::pair<ErrorCode, std::string> kNoPath{ErrorCode::PathNotFound, "Path not found"};
const std::pair<ErrorCode, std::string> kAccess{ErrorCode::FileAccess, "Path/File access error"};
const std::pair<ErrorCode, std::string> kDenied{ErrorCode::PermissionDenied, "Permission denied"};
const std::pair<ErrorCode, std::string> kFull{ErrorCode::DiskFull, "Disk full"};

std::size_t EntriesIn(const std::string& dir) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

} // namespace

TEST(File, ReadsAreCappedByTheFile) {
    TempDir dir;
    const std::string f = dir.File("a.bin");
    WriteNative(f, "0123456789");
    const Bytes tail = ReadAt(f, 4, 2147483647).value();
    EXPECT_EQ(tail, "456789");
    EXPECT_LE(tail.capacity(), 64u); // sized by the file, not by the length asked for
    EXPECT_EQ(*ReadAt(f, 10, 5), "");
    EXPECT_EQ(*ReadAt(f, -3, 5), "");
}

TEST(File, FailureDescriptions) {
    TempDir dir;
    const std::string sub = dir.File("sub");
    fs::create_directory(sub);
    EXPECT_EQ(Failure(ReadAll(dir.File("missing.dat"))), kNotFound);
    EXPECT_EQ(Failure(ReadAt(dir.File("nodir/x.dat"), 0, 1)), kNoPath);
    EXPECT_EQ(Failure(WriteAt(dir.File("nodir/x.dat"), 0, "x")), kNoPath);
    EXPECT_EQ(Failure(ReadAll(sub)), kAccess);
    EXPECT_EQ(Failure(WriteAt(sub, 0, "x")), kAccess);
    EXPECT_EQ(Failure(Append(sub, "x")), kAccess);
    EXPECT_EQ(Failure(ReplaceContents(sub, "x")), kAccess);
    EXPECT_EQ(Failure(FileLength(sub)), kAccess);
    EXPECT_FALSE(IsFile(sub));
    EXPECT_EQ(FileLengthIfAny(sub), std::nullopt);

    // A FIFO in place of a board file must not block the program.
    const std::string fifo = dir.File("fifo.dat");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(*ReadAll(fifo), "");
    EXPECT_EQ(Failure(WriteAt(fifo, 0, "x")),
              std::make_pair(ErrorCode::BadFileName, std::string("Bad file name or number")));

    if (::geteuid() != 0) { // root reads and writes everything
        const std::string f = dir.File("locked.dat");
        WriteNative(f, "abc");
        ::chmod(f.c_str(), 0);
        EXPECT_EQ(Failure(ReadAll(f)), kDenied);
        EXPECT_EQ(Failure(WriteAt(f, 0, "x")), kDenied);
    }
}

TEST(File, FullDiskThroughALink) {
    TempDir dir;
    ASSERT_TRUE(WriteAt(dir.File("w.dat"), 2, "ab")); // in place: the gap reads as zeros, nothing is cut off
    ASSERT_TRUE(WriteAt(dir.File("w.dat"), 0, "X"));
    EXPECT_EQ(ReadNative(dir.File("w.dat")), std::string("X\0ab", 4));
    fs::remove(dir.File("w.dat"));

    const std::string link = dir.File("full.dat");
    fs::create_symlink("/dev/full", link);
    EXPECT_EQ(Failure(WriteAt(link, 0, "x")), kFull);
    EXPECT_EQ(Failure(Append(link, "x")), kFull);
    EXPECT_EQ(Failure(ReplaceContents(link, "x")), kFull);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(EntriesIn(dir.Path()), 1u); // no temporary copy left behind
}

TEST(File, FailedReplaceLeavesTheOldFile) {
    TempDir dir;
    const std::string f = dir.File("keep.dat");
    WriteNative(f, "old contents");
    EXPECT_EQ(kesto::test::WithFileSizeLimit(
                  64, [&] { return Failure(ReplaceContents(f, std::string(1000, 'n'))); }),
              kFull);
    EXPECT_EQ(ReadNative(f), "old contents");
    EXPECT_EQ(EntriesIn(dir.Path()), 1u);

    if (::geteuid() != 0) {
        ::chmod(dir.Path().c_str(), 0555); // no room for the new copy
        EXPECT_EQ(Failure(ReplaceContents(f, "new")), kDenied);
        EXPECT_EQ(ReadNative(f), "old contents");
    }
}

TEST(File, ReplaceKeepsLinksAndPermissions) {
    TempDir dir;
    const std::string real = dir.File("real.dat");
    const std::string link = dir.File("link.dat");
    WriteNative(real, "a much longer old text");
    ::chmod(real.c_str(), 0640);
    fs::create_symlink(real, link);
    ASSERT_TRUE(ReplaceContents(link, "new"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadNative(real), "new");
    struct stat st {};
    ::stat(real.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(File, DirectoriesAndCopies) {
    TempDir dir;
    EXPECT_TRUE(MakeDirectory(dir.File("a")));
    EXPECT_TRUE(MakeDirectory(dir.File("a"))); // already there
    EXPECT_EQ(Failure(MakeDirectory(dir.File("none/b"))), kNoPath);
    WriteNative(dir.File("plain"), "x");
    EXPECT_EQ(Failure(MakeDirectory(dir.File("plain"))), kAccess);
    EXPECT_TRUE(MakeDirectories(dir.File("c/d/e")));
    EXPECT_TRUE(fs::is_directory(dir.File("c/d/e")));

    const std::string big(100000, 'b');
    WriteNative(dir.File("src.bin"), big);
    WriteNative(dir.File("a/dst.bin"), std::string(200000, 'o'));
    ASSERT_TRUE(CopyFile(dir.File("src.bin"), dir.File("a/dst.bin"))); // replaced, not overlaid
    EXPECT_EQ(ReadNative(dir.File("a/dst.bin")), big);
    ASSERT_TRUE(CopyFile(dir.File("src.bin"), dir.File("src.bin")));
    EXPECT_EQ(ReadNative(dir.File("src.bin")), big);
    EXPECT_EQ(Failure(CopyFile(dir.File("src.bin"), dir.File("none/dst.bin"))), kNoPath);
    EXPECT_EQ(Failure(CopyFile(dir.File("src.bin"), dir.File("a"))), kAccess);
    EXPECT_EQ(kesto::test::WithFileSizeLimit(
                  4096, [&] { return Failure(CopyFile(dir.File("src.bin"), dir.File("a/big.bin"))); }),
              kFull);
    ASSERT_EQ(::mkfifo(dir.File("pipe").c_str(), 0600), 0);
    EXPECT_EQ(Failure(CopyFile(dir.File("pipe"), dir.File("a/pipe.bin"))), kAccess);
}

TEST(File, AppendsReportWhereTheyLandedAndRecordsReplaceATornTail) {
    TempDir dir;
    const std::string text = dir.File("t.bin");
    EXPECT_EQ(*AppendAt(text, "abc"), 0);
    EXPECT_EQ(*AppendAt(text, "de"), 3);

    const std::string index = dir.File("i.dat");
    EXPECT_EQ(*AppendRecord(index, "1111"), 0);
    EXPECT_EQ(*AppendRecord(index, "2222"), 4);
    WriteNative(index, ReadNative(index) + "3"); // a writer died half-way through record 3
    EXPECT_EQ(*AppendRecord(index, "4444"), 8);
    EXPECT_EQ(ReadNative(index), "111122224444");

    ASSERT_TRUE(PatchAt(index, 4, "xy"));
    EXPECT_EQ(ReadNative(index), "1111xy224444");
    EXPECT_EQ(Failure(PatchAt(dir.File("none.dat"), 0, "x")), kNotFound); // never creates

    // A full disk: what was written stays, and the failure says so.
    const std::string link = dir.File("full.dat");
    fs::create_symlink("/dev/full", link);
    EXPECT_EQ(Failure(AppendAt(link, "x")), kFull);
    EXPECT_EQ(Failure(AppendRecord(link, "x")), kFull);
    EXPECT_EQ(kesto::test::WithFileSizeLimit(14, [&] { return Failure(AppendRecord(index, "5555")); }),
              kFull);
    EXPECT_EQ(ReadNative(index), "1111xy22444455");
}

TEST(File, LocksHoldOffOtherDescriptorsAndFollowAReplacedFile) {
    TempDir dir;
    const std::string f = dir.File("seq.dat");
    const auto savedPatience = LockPatience();
    SetLockPatience(std::chrono::milliseconds(50));

    Result<LockedFile> held = LockedFile::Open(f, 0, 4, true);
    ASSERT_TRUE(held);
    ASSERT_TRUE(held->WriteAt(0, "abcd"));
    // Another descriptor, in this process or any other, waits and then gives up.
    EXPECT_EQ(LockedFile::Open(f, 0, 4, false).error().code, ErrorCode::Locked);
    EXPECT_TRUE(LockedFile::Open(f, 4, 4, false)); // another record is free
    // A plain open and close elsewhere does not drop the lock.
    EXPECT_EQ(*ReadAll(f), "abcd");
    EXPECT_EQ(LockedFile::Open(f, 2, 0, false).error().code, ErrorCode::Locked);
    ASSERT_TRUE(held->Close());
    EXPECT_EQ(*LockedFile::Open(f, 0, 4, false)->ReadAt(0, 4), "abcd");

    // The holder renames a new file over the path: the waiter ends up with the new one.
    SetLockPatience(std::chrono::seconds(5));
    Result<LockedFile> old = LockedFile::Open(f, 0, 0, false);
    ASSERT_TRUE(old);
    std::thread replacer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        ASSERT_TRUE(ReplaceContents(f, "new!"));
        ASSERT_TRUE(old->Close());
    });
    Result<LockedFile> waiter = LockedFile::Open(f, 0, 0, false);
    replacer.join();
    ASSERT_TRUE(waiter);
    EXPECT_EQ(*waiter->ReadAt(0, 4), "new!");
    SetLockPatience(savedPatience);
}

TEST(File, TerminationWaitsForTheStepToEnd) {
    TempDir dir;
    const std::string marker = dir.File("done");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        {
            const DeferTermination whole;
            ::raise(SIGTERM);
            (void)Append(marker, "step finished");
        }
        (void)Append(marker, " and after");
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
    EXPECT_EQ(ReadNative(marker), "step finished");
}
