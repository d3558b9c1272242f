#include "Board.h"

#include "Bytes.h"
#include "platform/BoardPath.h"

namespace kesto {

std::string BoardFile(std::string_view field, std::string_view name) {
    std::string out(TrimView(field));
    out += '\\';
    out += name;
    return out;
}

std::string BoardNativePath(const Board& b, std::string_view field, std::string_view name) {
    return platform::NativePath(BoardFile(field, name), b.startDir);
}

} // namespace kesto
