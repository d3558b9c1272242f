#include "Commands.h"
#include "ReaderArgs.h"

#include "MessageOutput.h"

#include <ostream>

namespace kesto::cli {

// Writes the same file the window's Save As writes; an existing FILE is replaced.
int CmdSave(Context& ctx) {
    int rc = kExitOk;
    std::optional<RecordNo> number = MessageNumberArg(ctx, ctx.opt.args[0], rc);
    if (!number) return rc;
    const std::string& file = ctx.opt.args[1];
    if (file.empty()) return ctx.UsageError("FILE must not be empty");
    std::optional<Board> b = ctx.OpenBoard();
    if (!b) return kExitFailed;
    if (!IsOwnMessage(ctx, *b, *number, rc)) return rc;

    const Result<MessageOutput> out = LoadMessageOutput(*b, ctx.opt.Box(), *number);
    if (!out) return ctx.Fail("message " + std::to_string(*number) + " cannot be read");
    if (!WriteSavedMessage(*b, file, SaveFileContent(*out))) return ctx.Fail("cannot write " + file);
    ctx.out << "Message saved.\n";
    return kExitOk;
}

} // namespace kesto::cli
