// Board paths on a case-sensitive file system without short names: separators,
// relative paths, letter case and 8.3 aliases are resolved component by component.
#include "BoardPath.h"
#include "DirEntries.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <unordered_map>
#include <unordered_set>

namespace kesto::platform {
namespace {

namespace fs = std::filesystem;

char UpperChar(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string Upper(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = UpperChar(c);
    return out;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (UpperChar(a[i]) != UpperChar(b[i])) return false;
    return true;
}

// Characters a short name cannot hold (the dot is handled separately).
bool IsShortNameChar(char c) {
    auto u = static_cast<unsigned char>(c);
    if (u <= 0x20 || u >= 0x7F) return false;
    static constexpr std::string_view kInvalid = "\"*+,/:;<=>?[\\]|.";
    return kInvalid.find(c) == std::string_view::npos;
}

// Blanks and the like are dropped; the characters a long name may hold but a short one
// may not become "_", as the file system makes its aliases ("a+b.txt" -> "A_B~1.TXT").
std::string KeepShortNameChars(std::string_view s) {
    static constexpr std::string_view kUnderscored = "+,;=[]";
    std::string out;
    for (char c : s) {
        if (IsShortNameChar(c))
            out += UpperChar(c);
        else if (kUnderscored.find(c) != std::string_view::npos)
            out += '_';
    }
    return out;
}

// Base and extension of a long name as its generated aliases use them.
struct AliasParts {
    std::string base;
    std::string ext;
};

AliasParts SplitForAlias(std::string_view name) {
    while (!name.empty() && name.front() == '.') name.remove_prefix(1); // ".profile" -> PROFIL~1
    AliasParts parts;
    auto dot = name.rfind('.');
    if (dot == std::string_view::npos) {
        parts.base = KeepShortNameChars(name);
    } else {
        parts.base = KeepShortNameChars(name.substr(0, dot));
        parts.ext = KeepShortNameChars(name.substr(dot + 1)).substr(0, 3);
    }
    if (parts.base.empty()) parts.base = "_";
    return parts;
}

std::string MakeAlias(const AliasParts& parts, int n) {
    std::string tail = "~" + std::to_string(n);
    std::size_t keep = std::min<std::size_t>(6, 8 - std::min<std::size_t>(tail.size(), 7));
    std::string alias = parts.base.substr(0, keep) + tail;
    if (!parts.ext.empty()) alias += "." + parts.ext;
    return alias;
}

// Aliases of sorted entry names, index for index. Each generated alias takes the
// lowest number not used by another entry's name or by an earlier alias.
std::vector<std::string> AssignAliases(const std::vector<std::string>& names) {
    std::unordered_set<std::string> taken;
    taken.reserve(names.size() * 2);
    for (const auto& n : names) taken.insert(Upper(n));

    std::vector<std::string> aliases(names.size());
    std::unordered_map<std::string, int> lastNumber; // per base+ext: numbers below are all taken
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (IsShortName(names[i])) {
            aliases[i] = Upper(names[i]);
            continue;
        }
        AliasParts parts = SplitForAlias(names[i]);
        std::string key = parts.base.substr(0, 6) + "." + parts.ext;
        int n = lastNumber[key];
        std::string alias;
        do {
            alias = MakeAlias(parts, ++n);
        } while (taken.count(alias) && n < 999999);
        lastNumber[key] = n;
        taken.insert(alias);
        aliases[i] = std::move(alias);
    }
    return aliases;
}

std::string Join(const std::string& dir, std::string_view name) {
    std::string out = dir;
    if (!out.empty() && out.back() != '/') out += '/';
    out += name;
    return out;
}

bool Exists(const std::string& path) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

} // namespace

std::string_view StripDrive(std::string_view path) {
    if (path.size() >= 2 && path[1] == ':' &&
        ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')))
        path.remove_prefix(2);
    return path;
}

std::vector<std::string> ListEntries(const std::string& dir) {
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(dir.empty() ? std::string(".") : dir, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec))
        names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

bool IsShortName(std::string_view name) {
    auto dot = name.find('.');
    std::string_view base = name.substr(0, dot);
    std::string_view ext = dot == std::string_view::npos ? std::string_view{} : name.substr(dot + 1);
    if (base.empty() || base.size() > 8 || ext.size() > 3) return false;
    auto valid = [](std::string_view s) { return std::all_of(s.begin(), s.end(), IsShortNameChar); };
    return valid(base) && valid(ext); // a second dot fails here
}

std::string FindEntry(const std::string& dir, std::string_view component) {
    if (component.empty()) return {};
    std::vector<std::string> names = ListEntries(dir);
    for (const auto& n : names)
        if (n == component) return n;
    for (const auto& n : names)
        if (EqualsNoCase(n, component)) return n;
    // Generated aliases always carry a "~"; anything else was a name match or nothing.
    if (component.find('~') == std::string_view::npos) return {};
    std::string wanted = Upper(component);
    std::vector<std::string> aliases = AssignAliases(names);
    for (std::size_t i = 0; i < names.size(); ++i)
        if (aliases[i] == wanted) return names[i];
    return {};
}

std::string NativePath(std::string_view path, std::string_view baseDir) {
    try {
        path = StripDrive(path);
        bool absolute = !path.empty() && IsPathSeparator(path.front());
        std::string out = absolute ? std::string("/") : std::string(baseDir);
        bool resolving = true; // once a component is missing, the rest cannot exist either

        std::size_t pos = 0;
        while (pos <= path.size()) {
            std::size_t end = pos;
            while (end < path.size() && !IsPathSeparator(path[end])) ++end;
            std::string_view part = path.substr(pos, end - pos);
            pos = end + 1;
            if (part.empty() || part == ".") continue;

            std::string candidate = Join(out, part);
            if (!resolving || part == ".." || Exists(candidate)) {
                out = std::move(candidate);
                continue;
            }
            std::string real = FindEntry(out.empty() ? std::string(".") : out, part);
            if (real.empty()) {
                resolving = false;
                out = std::move(candidate);
            } else {
                out = Join(out, real);
            }
        }
        if (out.empty()) out = ".";
        return out;
    } catch (...) {
        // Out of memory while resolving: hand back the plain translation.
        std::string p(path);
        std::replace(p.begin(), p.end(), '\\', '/');
        return p;
    }
}

std::string ShortAlias(std::string_view dirPath, std::string_view name) {
    try {
        if (IsShortName(name)) return Upper(name);
        std::vector<std::string> names = ListEntries(std::string(dirPath));
        auto at = std::lower_bound(names.begin(), names.end(), name);
        if (at == names.end() || *at != name) at = names.insert(at, std::string(name));
        std::vector<std::string> aliases = AssignAliases(names);
        return aliases[static_cast<std::size_t>(at - names.begin())];
    } catch (...) {
        return Upper(name);
    }
}

} // namespace kesto::platform
