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
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

// The directory part of a board path (as given) and its last component.
struct SplitPath {
    std::string_view dir; // up to and including the last separator
    std::string_view last;
};

SplitPath SplitLast(std::string_view path) {
    std::size_t i = path.size();
    while (i > 0 && !platform::IsPathSeparator(path[i - 1]))
        --i;
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
        if (directories || !platform::IsDirectory(dir + "/" + name)) return true;
    }
    return false;
}

bool Exists(const Board& b, std::string_view path, bool useSearch, bool directory) noexcept {
    try {
        std::string p = Trim(path);
        if (p.empty()) return false;
        if (useSearch || p.find_first_of("?*") != std::string::npos) return SearchMatches(b, p, directory);
        std::string native = platform::NativePath(p, b.startDir);
        return directory ? platform::IsDirectory(native) : platform::IsFile(native);
    } catch (...) {
        return false; // these two never log
    }
}

} // namespace

bool FileExists(const Board& b, std::string_view path, bool useSearch) {
    return Exists(b, path, useSearch, false);
}

bool FolderExists(const Board& b, std::string_view path, bool useSearch) {
    return Exists(b, path, useSearch, true);
}

bool CreateFile(const Board& b, std::string_view path, bool overwrite) {
    bool ok = false;
    Guard(b.log, kModule, "CreateFile", [&] {
        std::string p = Trim(path);
        if (!overwrite && FileExists(b, p)) {
            ok = true;
            return;
        }
        if (p.empty()) throw KestoError("Bad file name or number");
        platform::Truncate(platform::NativePath(p, b.startDir));
        ok = true;
    });
    return ok;
}

std::string ReadFileContents(const Board& b, std::string_view path, bool whole) {
    std::string result;
    bool ok = Guard(b.log, kModule, "ReadFileContents", [&] {
        std::string p = Trim(path);
        if (!FileExists(b, p)) return;
        Bytes bytes;
        platform::ReadAll(platform::NativePath(p, b.startDir), bytes);
        if (whole) {
            result = StripTrailingCrLf(bytes);
            return;
        }
        // Line by line: each line (ended by CR LF, CR or LF, or the end) plus CR LF.
        result.reserve(bytes.size() + 2);
        std::size_t start = 0;
        while (start < bytes.size()) {
            std::size_t end = bytes.find_first_of("\r\n", start);
            if (end == std::string::npos) end = bytes.size();
            result.append(bytes, start, end - start);
            result += kCrLf;
            start = end;
            if (start < bytes.size() && bytes[start] == '\r')
                ++start;
            else if (start < bytes.size())
                ++start; // a lone LF
            if (start < bytes.size() && end < bytes.size() && bytes[end] == '\r' && bytes[start] == '\n')
                ++start;
        }
        result = StripTrailingCrLf(result);
    });
    if (!ok) result.clear();
    return result;
}

bool WriteToFile(const Board& b, std::string_view path, std::string_view text, bool noLineEnd) {
    bool ok = false;
    Guard(b.log, kModule, "WriteToFile", [&] {
        std::string p = Trim(path);
        if (p.empty()) return;
        std::string bytes(text);
        if (!noLineEnd) bytes += kCrLf;
        platform::Append(platform::NativePath(p, b.startDir),
                         bytes); // one write: nothing half-appended in two parts
        ok = true;
    });
    return ok;
}

std::string GetFileBasename(std::string_view path) {
    std::string p = Trim(path);
    return Trim(SplitLast(p).last);
}

std::string GetLongFilename(const Board& b, std::string_view path) {
    std::string result;
    bool ok = Guard(b.log, kModule, "GetLongFilename", [&] {
        std::string p = Trim(path);
        // No drives here: a leading "X:" is dropped and the rest looked up from the root.
        std::string_view rest = platform::StripDrive(p);
        if (rest.empty()) return;
        bool absolute = platform::IsPathSeparator(rest.front());
        std::string native = absolute ? std::string("/") : b.startDir;
        std::string built;
        std::size_t pos = 0;
        while (pos < rest.size()) {
            if (platform::IsPathSeparator(rest[pos])) {
                built += rest[pos++]; // the separators stay as given
                continue;
            }
            std::size_t end = pos;
            while (end < rest.size() && !platform::IsPathSeparator(rest[end]))
                ++end;
            std::string_view part = rest.substr(pos, end - pos);
            pos = end;
            std::string real(part);
            if (part != "." && part != "..") {
                real = platform::FindEntry(native, part);
                if (real.empty()) return; // a component that does not exist: no long name
            }
            built += real;
            if (!native.empty() && native.back() != '/') native += '/';
            native += real;
        }
        result = std::move(built);
    });
    if (!ok) result.clear();
    return result;
}

std::string GetShortFilename(const Board& b, std::string_view path) {
    std::string result;
    bool ok = Guard(b.log, kModule, "GetShortFilename", [&] {
        std::string p = Trim(path);
        if (p.empty()) return;
        std::string native = platform::NativePath(p, b.startDir);
        std::error_code ec;
        if (!std::filesystem::exists(native, ec)) return;

        std::string_view given = p;
        while (given.size() > 1 && platform::IsPathSeparator(given.back()))
            given.remove_suffix(1);
        SplitPath sp = SplitLast(given);
        if (sp.last.empty() || sp.last == "." || sp.last == "..") {
            result = std::string(given);
            return;
        }
        std::filesystem::path real(native);
        while (!real.empty() && !real.has_filename())
            real = real.parent_path(); // "dir/" -> "dir"
        std::string parent = real.parent_path().string();
        result = std::string(sp.dir) +
                 platform::ShortAlias(parent.empty() ? "." : parent, real.filename().string());
    });
    if (!ok) result.clear();
    return result;
}

} // namespace kesto
