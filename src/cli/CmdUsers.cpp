#include "Commands.h"

#include "TextHelpers.h"
#include "UserListing.h"

#include <ostream>

namespace kesto::cli {

int CmdUsers(Context& ctx) {
    std::optional<Board> b = ctx.OpenBoard();
    if (!b) return kExitFailed;

    if (ctx.opt.json) {
        Json users = Json::Array();
        const Result<void> listed = ForEachListedUser(*b, [&](std::int32_t n, const UserRecord& u) {
            users.Push(Json::Object()
                           .Set("number", Json::Number(n))
                           .Set("handle", Json::BoardText(Trim(u.Handle)))
                           .Set("realName", Json::BoardText(Trim(u.RealName)))
                           .Set("securityLevel", Json::Number(u.SecurityLevel)));
        });
        if (!listed) return ctx.Fail("the user file could not be read (see HMRERROR.LOG)");
        users.Write(ctx.out);
        return kExitOk;
    }

    const Result<UserListing> list = FillUserList(*b);
    if (!list) return ctx.Fail("the user file could not be read (see HMRERROR.LOG)");
    for (const auto& line : list->lines)
        ctx.out << Shown(line) << '\n';
    return kExitOk;
}

} // namespace kesto::cli
