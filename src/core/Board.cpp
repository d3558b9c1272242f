#include "Board.h"

namespace kesto {

std::string BoardFile(std::string_view field, std::string_view name) {
    while (!field.empty() && field.front() == ' ') field.remove_prefix(1);
    while (!field.empty() && field.back() == ' ') field.remove_suffix(1);
    std::string out(field);
    out += '\\';
    out += name;
    return out;
}

} // namespace kesto
