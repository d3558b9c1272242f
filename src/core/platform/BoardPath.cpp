#include "BoardPath.h"

namespace kesto::platform {

// First cut: separators and relative paths only. Case-insensitive lookup and
// short-name aliases come with the platform layer.
std::string NativePath(std::string_view path, std::string_view baseDir) {
    std::string p(path);
    for (char& c : p)
        if (c == '\\') c = '/';
    if (!p.empty() && p.front() == '/') return p;
    std::string out(baseDir);
    if (!out.empty() && out.back() != '/') out += '/';
    return out + p;
}

std::string ShortAlias(std::string_view, std::string_view name) { return std::string(name); }

} // namespace kesto::platform
