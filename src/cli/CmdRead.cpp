#include "Commands.h"
#include "ReaderArgs.h"

#include "JsonOutput.h"
#include "ReadMark.h"
#include "UserFile.h"

#include <ostream>

namespace kesto::cli {

// Shows a message as the reader window does and, like opening it there, stores
// the read mark and leaves the read notice for a local sender.
int CmdRead(Context& ctx) {
    int rc = kExitOk;
    std::optional<RecordNo> number = MessageNumberArg(ctx, ctx.opt.args[0], rc);
    if (!number) return rc;
    std::optional<Board> b = ctx.OpenBoard();
    if (!b) return kExitFailed;
    if (!IsOwnMessage(ctx, *b, *number, rc)) return rc;

    const Result<UserRecord> reader = GetUser(*b, ctx.opt.user);
    if (!reader) return ctx.Fail("user " + std::to_string(ctx.opt.user) + " cannot be read");
    ShownMessage s = ShowMessage(*b, ctx.opt.Box(), *number, ctx.opt.user, *reader);
    if (!s.ok) return ctx.Fail("message " + std::to_string(*number) + " cannot be read");

    if (ctx.opt.json) {
        JsonWriter::Write(ctx.out, {{"from", BoardText(s.fromLine)},
                                    {"to", BoardText(s.toLine)},
                                    {"subject", BoardText(s.subject)},
                                    {"date", BoardText(s.date)},
                                    {"text", BoardText(s.text)},
                                    {"deleted", s.deleted}});
        return kExitOk;
    }
    ctx.out << "From:    " << TerminalText(s.fromLine) << '\n'
            << "To:      " << TerminalText(s.toLine) << '\n'
            << "Subject: " << TerminalText(s.subject) << '\n'
            << "Sent:    " << TerminalText(s.date) << '\n';
    if (s.deleted) ctx.out << "This message is marked for deletion.\n";
    ctx.out << '\n' << TerminalLines(s.text) << '\n';
    return kExitOk;
}

} // namespace kesto::cli
