// Open-use-close file primitives on native paths. Each call opens the file,
// does one thing and closes it; nothing is cached and nothing is locked.
// This is the one place where the operating system's error numbers become an
// Error ("File not found", "Path not found", "Permission denied", "Disk full",
// "Path/File access error", ...).
#pragma once

#include "../Bytes.h"
#include "../Result.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

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
// Appends bytes at the end; creates the file when missing.
Result<void> Append(const std::string& nativePath, std::string_view bytes);
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

} // namespace kesto::platform
