#include "MailAddress.h"

#include "StringHelpers.h"
#include "TextHelpers.h"

#include <vector>

namespace kesto {

MailAddress ParseMailAddress(std::string_view text) {
    const std::vector<std::string> at = Explode("@", text, 2, 2);
    const std::vector<std::string> star = Explode("*", at[1], 2, 2);
    return {Trim(at[0]), Trim(star[0]), Trim(star[1])};
}

std::string FormatMailAddress(const MailAddress& a) {
    return a.user + "@" + a.system + "*" + a.network;
}

} // namespace kesto
