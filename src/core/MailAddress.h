// The address form "user@system*network" that passes between the composer, its
// pickers and delivery. The user part is a user number, a handle or a real name;
// system "0" (or the board's own system id on network 1) means this board, and
// network 0 local delivery.
#pragma once

#include <string>
#include <string_view>

namespace kesto {

struct MailAddress {
    std::string user;
    std::string system;
    std::string network; // as written; its numeric value is the network number

    bool operator==(const MailAddress&) const = default;
};

// Splits at the first "@" and the part after it at its first "*"; every part is
// trimmed, and a part that is missing is empty.
MailAddress ParseMailAddress(std::string_view text);
// "user@system*network".
std::string FormatMailAddress(const MailAddress& a);

} // namespace kesto
