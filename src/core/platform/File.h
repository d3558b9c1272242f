// Open-use-close file primitives on native paths. Each call opens the file,
// does one thing and closes it; nothing is cached.
// This is the one place where the operating system's error numbers become an
// Error ("File not found", "Path not found", "Permission denied", "Disk full",
// "Path/File access error", ...).
//
// The board software and other copies of Kesto write the same files at the same
// time. Appends therefore go on with one write on a descriptor opened for appending
// and report where they landed; read-modify-write steps hold a LockedFile.
#pragma once

#include "../Bytes.h"
#include "../Result.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace kesto::platform {

bool IsFile(const std::string& nativePath) noexcept; // exists and is not a directory
bool IsDirectory(const std::string& nativePath) noexcept;
// The absolute path with every symlink, "." and ".." resolved; nothing when it does not exist.
std::optional<std::string> CanonicalPath(const std::string& nativePath);
// Length in bytes of a file that can be examined.
Result<std::int64_t> FileLength(const std::string& nativePath);
// Length in bytes, or nothing when there is no file (or a directory) at the path.
std::optional<std::int64_t> FileLengthIfAny(const std::string& nativePath) noexcept;

// Up to `length` bytes starting at 0-based `offset`: never more than the file holds,
// and nothing for an offset outside the file.
Result<Bytes> ReadAt(const std::string& nativePath, std::int64_t offset, std::int64_t length);
// The same into `out`, reusing its capacity.
Result<void> ReadAt(const std::string& nativePath, std::int64_t offset, std::size_t length, Bytes& out);
// The whole file into `out`, reusing its capacity.
Result<void> ReadAll(const std::string& nativePath, Bytes& out);
Result<Bytes> ReadAll(const std::string& nativePath);
// Writes bytes at 0-based offset without truncating; creates the file when missing.
Result<void> WriteAt(const std::string& nativePath, std::int64_t offset, std::string_view bytes);
// Appends bytes at the end with one write, so they never interleave with another
// writer's; creates the file when missing. A write cut short (a full disk) is a
// failure and leaves the part that was written.
Result<void> Append(const std::string& nativePath, std::string_view bytes);
// The same, returning the 0-based offset where the bytes landed, whoever else appended.
Result<std::int64_t> AppendAt(const std::string& nativePath, std::string_view bytes);
// Files a fixed-length record after the last whole record of the file (its length
// being a multiple of record.size()): appended with one write, or, over a torn tail
// a crashed writer left, written in its place. A tail is taken for torn once the
// length has stayed as it is for a quarter second: until then it is another writer's
// record still being written. Returns the record's 0-based offset.
Result<std::int64_t> AppendRecord(const std::string& nativePath, std::string_view record);
// Writes bytes at a 0-based offset of a file that must exist already.
Result<void> PatchAt(const std::string& nativePath, std::int64_t offset, std::string_view bytes);
// Replaces the file's contents atomically (write a new file, rename over the old one).
Result<void> ReplaceContents(const std::string& nativePath, std::string_view bytes);

// A file that replaces `target` only once it is whole: written beside it under a
// temporary name and renamed over it by Commit(); dropped uncommitted, it is removed
// and the target stays as it was. A symlinked target keeps its link, a device (such
// as /dev/stdout) is written in place, and the target's permissions are kept.
class ReplacementFile {
  public:
    static Result<ReplacementFile> Create(const std::string& target);
    ReplacementFile(ReplacementFile&& other) noexcept;
    ReplacementFile& operator=(ReplacementFile&&) = delete;
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;
    ~ReplacementFile();

    Result<void> Write(std::string_view bytes);
    // Syncs (unless told not to), closes and renames; the file is then the target.
    Result<void> Commit(bool sync = true);

  private:
    ReplacementFile(int fd, std::string target, std::string temp);
    int fd_ = -1;
    std::string target_;
    std::string temp_; // empty when the target is written in place
};

// Creates the file empty (truncating an existing one).
Result<void> Truncate(const std::string& nativePath);

// One directory level; a directory that exists already is no failure.
Result<void> MakeDirectory(const std::string& nativePath);
// The directory and every missing directory above it.
Result<void> MakeDirectories(const std::string& nativePath);
// Copies a file's bytes to `target`, replacing a file there. Copying a file onto
// itself leaves it as it is.
Result<void> CopyFile(const std::string& source, const std::string& target);
// Whether the file can be opened for reading now (a regular file we may read).
bool IsReadableFile(const std::string& nativePath);

// One read-modify-write step among copies of Kesto: the file opened for reading
// and writing with an advisory lock on a byte range, held by this open descriptor
// (not by the process, so closing another descriptor of the same file elsewhere
// does not drop it, and not by a lock file, so a crash leaves nothing behind). The
// board takes no locks and is never held up. A lock another copy holds is tried
// again until the patience runs out, then the step fails with ErrorCode::Locked.
// On a file system without such locks the step goes on unlocked.
class LockedFile {
  public:
    // Locks `length` bytes from `offset` (length 0: the whole file, however it grows).
    // The path is checked again once locked: a file renamed over it meanwhile is
    // opened and locked in its turn.
    static Result<LockedFile> Open(const std::string& nativePath, std::int64_t offset, std::int64_t length,
                                   bool create);
    LockedFile(LockedFile&& other) noexcept;
    LockedFile& operator=(LockedFile&&) = delete;
    LockedFile(const LockedFile&) = delete;
    LockedFile& operator=(const LockedFile&) = delete;
    ~LockedFile();

    Result<std::int64_t> Length() const;
    // Up to `length` bytes at `offset`, as far as the file holds them.
    Result<Bytes> ReadAt(std::int64_t offset, std::int64_t length) const;
    Result<void> WriteAt(std::int64_t offset, std::string_view bytes) const;
    // Closes the descriptor, which releases the lock.
    Result<void> Close();

  private:
    LockedFile(std::string path, int fd) : path_(std::move(path)), fd_(fd) {}
    std::string path_;
    int fd_ = -1;
};

// How long LockedFile::Open keeps trying (a few seconds unless a test shortens it).
void SetLockPatience(std::chrono::milliseconds patience) noexcept;
std::chrono::milliseconds LockPatience() noexcept;

} // namespace kesto::platform
