#include "Commands.h"

#include "MailList.h"
#include "Mbox.h"
#include "Search.h"

#include <ostream>

namespace kesto::cli {

// Writes the rows `list` shows, or those `search` finds, to FILE as an mbox; nothing
// is written in the board.
int CmdExport(Context& ctx) {
    const std::string& file = ctx.opt.args[0];
    if (file.empty()) return ctx.UsageError("FILE must not be empty");
    // The words after FILE as typed, quotes included, as search takes them.
    std::string typed;
    for (std::size_t i = 1; i < ctx.opt.args.size(); ++i)
        typed += (typed.empty() ? "" : " ") + ctx.opt.args[i];
    const Query query = ParseQuery(typed);
    if (query.cut)
        return ctx.UsageError("the query is too long: at most " + std::to_string(kMaxQueryWords) +
                              " words of at most " + std::to_string(kMaxQueryWordBytes) + " characters");
    std::optional<Board> b = ctx.OpenBoard(false);
    if (!b) return kExitFailed;

    std::string buffer;
    Result<std::vector<MailRow>> rows = ReadMailboxRows(*b, ctx.opt.Box(), ctx.opt.user, buffer);
    if (!rows) return ctx.Fail("cannot read the mailbox index: " + rows.error().description);
    if (!typed.empty()) {
        rows = FilterRows(*b, ctx.opt.Box(), query, std::move(*rows));
        if (!rows) return ctx.Fail("cannot read the mailbox texts: " + rows.error().description);
    }
    std::vector<RecordNo> numbers;
    numbers.reserve(rows->size());
    for (const MailRow& row : *rows) numbers.push_back(row.number);

    const Result<MboxSummary> done = ExportMbox(*b, ctx.opt.Box(), std::move(numbers), file);
    if (!done) return ctx.Fail("cannot export to " + file + ": " + done.error().description);
    ctx.out << done->messages << (done->messages == 1 ? " message" : " messages") << " exported to "
            << TerminalNative(file);
    if (done->missingAttachments > 0)
        ctx.out << "; " << done->missingAttachments
                << (done->missingAttachments == 1 ? " attached file was" : " attached files were")
                << " not found on the board";
    ctx.out << '\n';
    return kExitOk;
}

} // namespace kesto::cli
