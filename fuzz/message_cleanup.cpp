// The clean-up GetMessage applies to a body: ConvertCrLf, StripTrailingCrLf and
// StripHeartCodes, each checked on its own and then chained; CleanMessageText and
// the reader's MakeDisplayText, which do the chain in one buffer, give the same.
#include "MailBase.h"
#include "ReadMark.h"
#include "StringHelpers.h"
#include "TextHelpers.h"
#include "FuzzInput.h"

#include <limits>

#include <string>

namespace {

using kesto::fuzz::Check;
using kesto::fuzz::WithoutLineEnds;

bool OnlyCrLfPairs(std::string_view s) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r' && (i + 1 >= s.size() || s[i + 1] != '\n')) return false;
        if (s[i] == '\n' && (i == 0 || s[i - 1] != '\r')) return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view in(reinterpret_cast<const char*>(data), size);

    std::string uniform = kesto::ConvertCrLf(in);
    Check(OnlyCrLfPairs(uniform));
    Check(WithoutLineEnds(uniform) == WithoutLineEnds(in));
    Check(uniform.size() <= 2 * in.size());
    Check(kesto::ConvertCrLf(uniform) == uniform);

    std::string stripped = kesto::StripTrailingCrLf(in);
    if (in.find_first_not_of(' ') == std::string_view::npos) {
        Check(stripped == in);
    } else {
        Check(in.starts_with(stripped));
        Check(!stripped.ends_with("\r\n"));
        for (std::size_t i = stripped.size(); i < in.size(); i += 2) Check(in.substr(i, 2) == "\r\n");
    }

    // A colour code is character 3 and the one after it, wherever it stands.
    std::string plain = kesto::StripHeartCodes(in);
    std::string expected;
    for (std::size_t i = 0; i < in.size(); ++i) {
        if (in[i] == '\x03')
            ++i;
        else
            expected += in[i];
    }
    Check(plain == expected);

    std::string body = kesto::StripHeartCodes(kesto::RTrim(kesto::StripTrailingCrLf(uniform)));
    Check(body.find('\x03') == std::string::npos);
    Check(body.size() <= uniform.size());

    const auto whole = static_cast<std::int32_t>(in.size());
    Check(kesto::CleanMessageText(in, whole, true, false) == body);
    // Cut short by the file's end: no trailing CR LF is removed.
    Check(kesto::CleanMessageText(in, whole + 1, true, false) ==
          kesto::StripHeartCodes(kesto::RTrim(uniform)));
    Check(kesto::CleanMessageText(in, whole, false, true) == in);
    std::string shown(in);
    kesto::MakeDisplayText(shown, "", 0);
    Check(shown == kesto::RTrim(kesto::StripTrailingCrLf(in)));
    return 0;
}
