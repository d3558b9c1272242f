#include "Commands.h"

#include "Startup.h"
#include "platform/BoardPath.h"
#include "platform/File.h"

#include <filesystem>
#include <ostream>
#include <system_error>

namespace kesto::cli {

const std::string* Options::Value(std::string_view name) const {
    auto it = values.find(std::string(name));
    return it == values.end() ? nullptr : &it->second;
}

bool Options::Flag(std::string_view name) const {
    return flags.count(std::string(name)) != 0;
}

int Context::UsageError(std::string_view message) const {
    err << "kesto-cli: " << TerminalNative(message) << "\nusage: kesto-cli " << usage << '\n';
    return kExitUsage;
}

int Context::Fail(std::string_view message) const {
    err << "kesto-cli: " << TerminalNative(message) << '\n';
    return kExitFailed;
}

std::optional<Board> Context::OpenBoard(bool writeLog) const {
    std::error_code ec;
    std::filesystem::path dir =
        opt.board.empty() ? std::filesystem::current_path(ec) : std::filesystem::path(opt.board);
    if (ec) {
        Fail("cannot determine the current directory: " + ec.message());
        return std::nullopt;
    }
    dir = std::filesystem::absolute(dir, ec);
    if (ec || !platform::IsDirectory(dir.string())) {
        Fail("board directory " + dir.string() + " does not exist");
        return std::nullopt;
    }
    const std::string startDir = dir.lexically_normal().string();

    // LoadCfg logs an unreadable path file and goes on with blank paths; the tool
    // should say so instead of working on the wrong directories.
    const std::string sysPaths = platform::NativePath("SYSPATHS.CFG", startDir);
    if (platform::IsFile(sysPaths)) {
        if (const Result<Bytes> probe = platform::ReadAt(sysPaths, 0, 1); !probe) {
            Fail("cannot read " + sysPaths + ": " + probe.error().description);
            return std::nullopt;
        }
    }
    std::optional<Board> board = LoadCfg(startDir, "kesto-cli", writeLog);
    if (!board)
        Fail("SYSPATHS.CFG was not found in " + startDir +
             " (start in the board's directory or use --board DIR)");
    return board;
}

bool ParseInteger(std::string_view text, std::int64_t min, std::int64_t max, std::int64_t& value) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    if (i == text.size() || text.size() - i > 12) return false;
    std::int64_t v = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        v = v * 10 + (text[i] - '0');
    }
    if (negative) v = -v;
    if (v < min || v > max) return false;
    value = v;
    return true;
}

} // namespace kesto::cli
