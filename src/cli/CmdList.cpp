#include "Commands.h"

#include "ListOutput.h"
#include "MailList.h"

#include <ostream>
#include <vector>

namespace kesto::cli {

// Writes the rows as the walk over the index hands them over, so the largest
// mailbox is listed without holding its index or its rows. A read that fails
// midway (a disk error) ends the output where it stands, with exit code 1.
int CmdList(Context& ctx) {
    std::optional<Board> b = ctx.OpenBoard();
    if (!b) return kExitFailed;

    const Mailbox mailbox = ctx.opt.Box();
    std::string slice;
    if (ctx.opt.json) {
        ListJson list(ctx.out, mailbox, ctx.opt.user);
        const Result<void> walked =
            ForEachMailboxRow(*b, mailbox, ctx.opt.user, slice, [&](const MailRowView& r) { list.Row(r); });
        if (!walked) return ctx.Fail("cannot read the mailbox index: " + walked.error().description);
        list.Finish();
        return kExitOk;
    }

    // The count heads the list, so the rows wait in memory until it is known, in
    // pieces that are never copied to grow.
    constexpr std::size_t kPiece = std::size_t{64} * 1024;
    std::vector<std::string> rows;
    std::size_t count = 0;
    const Result<void> walked =
        ForEachMailboxRow(*b, mailbox, ctx.opt.user, slice, [&](const MailRowView& r) {
            if (rows.empty() || rows.back().size() >= kPiece) rows.emplace_back().reserve(kPiece + 1024);
            AppendListLine(rows.back(), r);
            ++count;
        });
    if (!walked) return ctx.Fail("cannot read the mailbox index: " + walked.error().description);
    const std::string head = ListHead(mailbox, ctx.opt.user, count);
    ctx.out.write(head.data(), static_cast<std::streamsize>(head.size()));
    for (const std::string& piece : rows)
        ctx.out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
    return kExitOk;
}

} // namespace kesto::cli
