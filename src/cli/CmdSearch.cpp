#include "Commands.h"

#include "ListOutput.h"
#include "MailList.h"
#include "Search.h"

#include <ostream>

namespace kesto::cli {

// The rows of `list` that match, through list's own writers, so the lines and the
// JSON objects are the same.
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
    const Mailbox mailbox = ctx.opt.Box();
    std::string buffer;
    Result<std::vector<MailRow>> rows = ReadMailboxRows(*b, mailbox, ctx.opt.user, buffer);
    if (!rows) return ctx.Fail("cannot read the mailbox index: " + rows.error().description);
    Result<std::vector<MailRow>> found = FilterRows(*b, mailbox, query, std::move(*rows));
    if (!found) return ctx.Fail("cannot read the mailbox texts: " + found.error().description);

    if (ctx.opt.json) {
        ListJson list(ctx.out, mailbox, ctx.opt.user);
        for (const MailRow& r : *found) list.Row(MakeMailRowView(r));
        list.Finish();
        return kExitOk;
    }
    std::string out = ListHead(mailbox, ctx.opt.user, found->size());
    for (const MailRow& r : *found) AppendListLine(out, MakeMailRowView(r));
    ctx.out.write(out.data(), static_cast<std::streamsize>(out.size()));
    return kExitOk;
}

} // namespace kesto::cli
