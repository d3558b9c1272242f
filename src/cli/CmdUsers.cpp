#include "Commands.h"

#include "JsonOutput.h"
#include "TextHelpers.h"
#include "UserListing.h"

#include <ostream>

namespace kesto::cli {

int CmdUsers(Context& ctx) {
    std::optional<Board> b = ctx.OpenBoard();
    if (!b) return kExitFailed;

    if (ctx.opt.json) {
        Json users = Json::array();
        const Result<void> listed = ForEachListedUser(*b, [&](std::int32_t n, const UserRecord& u) {
            users.push_back({{"number", n},
                             {"handle", BoardText(Trim(u.Handle))},
                             {"realName", BoardText(Trim(u.RealName))},
                             {"securityLevel", u.SecurityLevel}});
        });
        if (!listed) return ctx.Fail("the user file could not be read (see HMRERROR.LOG)");
        JsonWriter::Write(ctx.out, users);
        return kExitOk;
    }

    const Result<UserListing> list = FillUserList(*b);
    if (!list) return ctx.Fail("the user file could not be read (see HMRERROR.LOG)");
    for (const auto& line : list->lines) ctx.out << TerminalText(line) << '\n';
    return kExitOk;
}

} // namespace kesto::cli
