#include "Commands.h"

#include "MailList.h"
#include "Search.h"

namespace kesto::cli {

int CmdSearch(Context& ctx) {
    // The words as typed, quotes included: '"old news"' is one phrase.
    std::string typed;
    for (const std::string& arg : ctx.opt.args) typed += (typed.empty() ? "" : " ") + arg;
    const Query query = ParseQuery(typed);
    if (query.cut)
        return ctx.UsageError("the query is too long: at most " + std::to_string(kMaxQueryWords) +
                              " words of at most " + std::to_string(kMaxQueryWordBytes) + " characters");

    std::optional<Board> b = ctx.OpenBoard();
    if (!b) return kExitFailed;
    std::string buffer;
    Result<std::vector<MailRow>> rows = ReadMailboxRows(*b, ctx.opt.Box(), ctx.opt.user, buffer);
    if (!rows) return ctx.Fail("cannot read the mailbox index: " + rows.error().description);
    Result<std::vector<MailRow>> found = FilterRows(*b, ctx.opt.Box(), query, std::move(*rows));
    if (!found) return ctx.Fail("cannot read the mailbox texts: " + found.error().description);
    return WriteMailRows(ctx, *found);
}

} // namespace kesto::cli
