// The file helpers of modCommonFunctions.
#include "FileHelpers.h"

#include "StringHelpers.h"
#include "TextHelpers.h"
#include "platform/BoardPath.h"
#include "platform/DirEntries.h"
#include "platform/File.h"

#include <filesystem>
#include <system_error>

namespace kesto {
namespace {

constexpr std::string_view kModule = "modCommonFunctions";

char Fold(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// "*" and "?" over one name, letter case ignored; "*.*" also takes names without a dot.
bool MatchesPattern(std::string_view pattern, std::string_view name) {
    if (pattern == "*.*") pattern = "*";
    std::size_t p = 0, n = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || Fold(pattern[p]) == Fold(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

// The directory part of a board path (as given) and its last component.
struct SplitPath {
    std::string_view dir; // up to and including the last separator
    std::string_view last;
};

SplitPath SplitLast(std::string_view path) {
    std::size_t i = path.size();
    while (i > 0 && !platform::IsPathSeparator(path[i - 1])) --i;
    // A drive with no separator ("C:x") keeps the drive on the directory side.
    if (i == 0 && platform::StripDrive(path).size() != path.size()) i = 2;
    return {path.substr(0, i), path.substr(i)};
}

// A directory search for the last component as a pattern. Files only, or any
// entry when directories are wanted too (as the board's search with the directory attribute).
bool SearchMatches(const Board& b, std::string_view path, bool directories) {
    SplitPath sp = SplitLast(path);
    if (sp.last.empty()) return false;
    std::string dir = platform::NativePath(sp.dir.empty() ? std::string_view(".") : sp.dir, b.startDir);
    for (const std::string& name : platform::ListEntries(dir)) {
        if (!MatchesPattern(sp.last, name)) continue;
        if (directories) return true;
        std::string full = dir;
        full.append("/").append(name);
        if (!platform::IsDirectory(full)) return true;
    }
    return false;
}

bool Exists(const Board& b, std::string_view path, bool useSearch, bool directory) {
    std::string p = Trim(path);
    if (p.empty()) return false;
    if (useSearch || p.find_first_of("?*") != std::string::npos) return SearchMatches(b, p, directory);
    std::string native = platform::NativePath(p, b.startDir);
    return directory ? platform::IsDirectory(native) : platform::IsFile(native);
}

} // namespace

bool FileExists(const Board& b, std::string_view path, bool useSearch) {
    return Exists(b, path, useSearch, false);
}

bool FolderExists(const Board& b, std::string_view path, bool useSearch) {
    return Exists(b, path, useSearch, true);
}

Result<void> CreateFile(const Board& b, std::string_view path, bool overwrite) {
    const std::string p = Trim(path);
    if (!overwrite && FileExists(b, p)) return {};
    Result<void> made = p.empty() ? Result<void>(Error(ErrorCode::BadFileName))
                                  : platform::Truncate(platform::NativePath(p, b.startDir));
    return Logged(b.log, kModule, "CreateFile", std::move(made));
}

Result<std::string> ReadFileContents(const Board& b, std::string_view path, bool whole) {
    const std::string p = Trim(path);
    if (!FileExists(b, p)) return std::string();
    Result<Bytes> bytes =
        Logged(b.log, kModule, "ReadFileContents", platform::ReadAll(platform::NativePath(p, b.startDir)));
    if (!bytes) return bytes.error();
    if (whole) return StripTrailingCrLf(*bytes);

    // Line by line: each line (ended by CR LF, CR or LF, or the end) plus CR LF.
    std::string result;
    result.reserve(bytes->size() + 2);
    std::size_t start = 0;
    const std::string_view all = *bytes;
    while (start < all.size()) {
        std::size_t end = all.find_first_of("\r\n", start);
        if (end == std::string::npos) end = all.size();
        result.append(all, start, end - start);
        result += kCrLf;
        start = end;
        if (start < all.size()) ++start; // the CR, or a lone LF
        if (start < all.size() && end < all.size() && all[end] == '\r' && all[start] == '\n') ++start;
    }
    return StripTrailingCrLf(result);
}

Result<void> WriteToFile(const Board& b, std::string_view path, std::string_view text, bool noLineEnd) {
    const std::string p = Trim(path);
    if (p.empty()) return Error(ErrorCode::BadFileName);
    std::string bytes(text);
    if (!noLineEnd) bytes += kCrLf;
    // One write: nothing half-appended in two parts.
    return Logged(b.log, kModule, "WriteToFile",
                  platform::Append(platform::NativePath(p, b.startDir), bytes));
}

std::string GetFileBasename(std::string_view path) {
    std::string p = Trim(path);
    return Trim(SplitLast(p).last);
}

std::string GetLongFilename(const Board& b, std::string_view path) {
    const std::string p = Trim(path);
    // No drives here: a leading "X:" is dropped and the rest looked up from the root.
    const std::string_view rest = platform::StripDrive(p);
    if (rest.empty()) return {};
    const bool absolute = platform::IsPathSeparator(rest.front());
    std::string native = absolute ? std::string("/") : b.startDir;
    std::string built;
    std::size_t pos = 0;
    while (pos < rest.size()) {
        if (platform::IsPathSeparator(rest[pos])) {
            built += rest[pos++]; // the separators stay as given
            continue;
        }
        std::size_t end = pos;
        while (end < rest.size() && !platform::IsPathSeparator(rest[end])) ++end;
        const std::string_view part = rest.substr(pos, end - pos);
        pos = end;
        std::string real(part);
        if (part != "." && part != "..") {
            real = platform::FindEntry(native, part);
            if (real.empty()) return {}; // a component that does not exist: no long name
        }
        built += real;
        if (!native.empty() && native.back() != '/') native += '/';
        native += real;
    }
    return built;
}

std::string GetShortFilename(const Board& b, std::string_view path) {
    const std::string p = Trim(path);
    if (p.empty()) return {};
    const std::string native = platform::NativePath(p, b.startDir);
    std::error_code ec;
    if (!std::filesystem::exists(native, ec)) return {};

    std::string_view given = p;
    while (given.size() > 1 && platform::IsPathSeparator(given.back())) given.remove_suffix(1);
    const SplitPath sp = SplitLast(given);
    if (sp.last.empty() || sp.last == "." || sp.last == "..") return std::string(given);
    std::filesystem::path real(native);
    while (!real.empty() && !real.has_filename()) real = real.parent_path(); // "dir/" -> "dir"
    const std::string parent = real.parent_path().string();
    return std::string(sp.dir) +
           platform::ShortAlias(parent.empty() ? "." : parent, real.filename().string());
}

} // namespace kesto
