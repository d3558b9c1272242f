#include "Commands.h"

#include "DemoBoard.h"

#include <filesystem>
#include <ostream>
#include <system_error>

namespace kesto::cli {

int CmdDemo(Context& ctx) {
    const std::string& dir = ctx.opt.args[0];
    // The demo appends users and mail: never mix it into a board or folder that holds anything.
    std::error_code ec;
    if (std::filesystem::exists(dir, ec) &&
        (!std::filesystem::is_directory(dir, ec) || !std::filesystem::is_empty(dir, ec)))
        return ctx.Fail(dir + " already exists and is not an empty directory");
    const Result<Board> b = demo::CreateDemoBoard(dir);
    if (!b) return ctx.Fail("the demo board could not be written in " + dir + ": " + b.error().description);
    ctx.out << "Demo board created in " << TerminalNative(b->startDir) << '\n';
    return kExitOk;
}

} // namespace kesto::cli
