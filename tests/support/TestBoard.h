// A temporary directory that removes itself, and a fixture board inside it.
#pragma once

#include "Board.h"
#include "DemoBoard.h"

#include <filesystem>
#include <map>
#include <string>

namespace kesto::test {

class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return path_; }
    std::string File(const std::string& rel) const { return path_ + "/" + rel; }

  private:
    std::string path_;
};

// Reads a whole native file ("" when missing).
std::string ReadNative(const std::string& path);
// Writes a whole native file, creating parent directories.
void WriteNative(const std::string& path, std::string_view bytes);
// Every file under `dir` (relative path -> bytes), to see that a command wrote nothing.
std::map<std::string, std::string> SnapshotTree(const std::string& dir);

// Replaces the mailbox with `count` unread messages of one sender to one recipient,
// record n with the subject "Message n", all sharing one body "Body.": written
// whole, as appending tens of thousands one by one would take minutes.
void WriteLargeMailbox(const Board& b, std::string_view mailbox, std::int32_t count, const MessageInfo& like);

} // namespace kesto::test
