#include "Board.h"

#include "Bytes.h"

namespace kesto {

std::string BoardFile(std::string_view field, std::string_view name) {
    std::string out(TrimView(field));
    out += '\\';
    out += name;
    return out;
}

} // namespace kesto
