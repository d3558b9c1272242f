// Open-use-close file primitives on native paths. Each call opens the file,
// does one thing and closes it; nothing is cached and nothing is locked.
// Failures throw KestoError with a short description ("File not found",
// "Path not found", "Permission denied", "Disk full", "Path/File access error").
#pragma once

#include "../Bytes.h"

#include <cstdint>
#include <string>

namespace kesto::platform {

bool IsFile(const std::string& nativePath) noexcept;      // exists and is not a directory
bool IsDirectory(const std::string& nativePath) noexcept;
// Length in bytes; throws when the file cannot be examined.
std::int64_t FileLength(const std::string& nativePath);
// Length in bytes, or -1 when the file does not exist (never throws).
std::int64_t FileLengthOr(const std::string& nativePath) noexcept;

// Reads up to `length` bytes starting at 0-based `offset` into `out` (resized to
// what was read: never more than the file holds). Throws when the file cannot be opened.
void ReadAt(const std::string& nativePath, std::int64_t offset, std::int64_t length, Bytes& out);
// Reads the whole file into `out`, reusing its capacity.
void ReadAll(const std::string& nativePath, Bytes& out);
// Writes bytes at 0-based offset without truncating; creates the file when missing.
void WriteAt(const std::string& nativePath, std::int64_t offset, std::string_view bytes);
// Appends bytes at the end; creates the file when missing.
void Append(const std::string& nativePath, std::string_view bytes);
// Replaces the file's contents atomically (write a new file, rename over the old one).
void ReplaceContents(const std::string& nativePath, std::string_view bytes);
// Creates the file empty (truncating an existing one).
void Truncate(const std::string& nativePath);

} // namespace kesto::platform
