#include "Commands.h"
#include "ReaderArgs.h"

#include "DeleteMessage.h"

#include <algorithm>
#include <ostream>

namespace kesto::cli {

// Toggles the deletion mark of each listed message, as Delete does on selected
// rows. Every number is checked before any mark changes.
int CmdDelete(Context& ctx) {
    int rc = kExitOk;
    std::vector<RecordNo> numbers;
    for (const std::string& arg : ctx.opt.args) {
        std::optional<RecordNo> n = MessageNumberArg(ctx, arg, rc);
        if (!n) return rc;
        if (std::find(numbers.begin(), numbers.end(), *n) != numbers.end())
            return ctx.UsageError("message " + arg + " is given twice");
        numbers.push_back(*n);
    }
    std::optional<Board> b = ctx.OpenBoard();
    if (!b) return kExitFailed;
    for (RecordNo n : numbers)
        if (!IsOwnMessage(ctx, *b, n, rc)) return rc;

    const std::string name(MailboxName(ctx.opt.Box()));
    for (RecordNo n : numbers) {
        // A mark that could not be written is logged; the state read back tells what holds.
        (void)DeleteMessage(*b, ctx.opt.Box(), n);
        const Result<MessageInfo> m = GetMessageInfo(*b, name, n);
        if (!m) return ctx.Fail("message " + std::to_string(n) + " cannot be read back");
        ctx.out << n << ": " << (m->Deleted != 0 ? "marked for deletion" : "not marked for deletion") << '\n';
    }
    return kExitOk;
}

} // namespace kesto::cli
