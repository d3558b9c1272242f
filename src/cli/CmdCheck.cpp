#include "Commands.h"

#include "BoardCheck.h"
#include "JsonOutput.h"

#include <ostream>

namespace kesto::cli {

// Reports every problem the check finds, one line (or one JSON object) each, and
// writes nothing in the board, not even the error log.
int CmdCheck(Context& ctx) {
    std::optional<Board> b = ctx.OpenBoard(false);
    if (!b) return kExitFailed;

    std::size_t found = 0;
    if (ctx.opt.json) {
        JsonWriter w(ctx.out);
        w.BeginArray();
        found = CheckBoard(*b, [&](const CheckFinding& f) {
            w.Value({{"file", BoardText(f.file)},
                     {"record", f.number ? Json(*f.number) : Json(nullptr)},
                     {"problem", BoardText(f.problem)}});
        });
        w.End();
    } else {
        found = CheckBoard(*b, [&](const CheckFinding& f) {
            ctx.out << TerminalText(f.file);
            if (f.number) ctx.out << (f.isLine ? " line " : " record ") << *f.number;
            ctx.out << ": " << TerminalText(f.problem) << '\n';
        });
    }
    return found == 0 ? kExitOk : kExitFailed;
}

} // namespace kesto::cli
