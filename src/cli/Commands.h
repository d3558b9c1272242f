// The commands of kesto-cli and what they share: parsed options, the streams,
// opening the board and the exit codes.
//
// Adding a command:
//   1. Write src/cli/Cmd<Name>.cpp with `int Cmd<Name>(Context& ctx)` in kesto::cli
//      (return kExitOk, or ctx.Fail(...) / ctx.UsageError(...)).
//   2. Declare it below.
//   3. Add one entry to the table in Cli.cpp: name, function, usage line, description,
//      the shared options it takes, its positional arguments and its own options.
//   4. Describe it in kesto-cli's manual page (docs/man/kesto-cli.1.scd) and offer its
//      options in the bash completion (src/cli/kesto-cli.bash); a test checks both
//      against the command's --help.
//   5. Describe it in README.md under "Command-line tool".
// The shared options --board, --user, --sent and --json land in ctx.opt; the command's
// own options in ctx.opt.values and its positional arguments in ctx.opt.args.
// Board text reaches the terminal only through TerminalText (TerminalText.h).
#pragma once

#include "Board.h"
#include "MailBase.h"
#include "TerminalText.h"

#include <cstdint>
#include <iosfwd>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace kesto::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1; // refused or failed; the reason is on stderr
inline constexpr int kExitUsage = 2;

struct Options {
    std::string board;     // --board DIR; empty: the current directory
    std::int32_t user = 1; // --user N: the current user, as in the windows (user 1 at start)
    bool userGiven = false;
    bool sent = false;                         // --sent: the sent mailbox instead of the received one
    bool json = false;                         // --json
    std::vector<std::string> args;             // positional arguments after the command name
    std::map<std::string, std::string> values; // the command's own value options, key without "--"
    std::set<std::string> flags;               // the command's own flag options, without "--"

    kesto::Mailbox Box() const { return sent ? kesto::Mailbox::Sent : kesto::Mailbox::Received; }
    // A command option's value, or nullptr when it was not given.
    const std::string* Value(std::string_view name) const;
    bool Flag(std::string_view name) const;
};

struct Context {
    const Options& opt;
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
    std::string_view usage; // the running command's usage line, after "kesto-cli "

    // Writes "kesto-cli: message" and the command's usage to stderr; returns kExitUsage.
    // The message is UTF-8 (board text in it already through TerminalText); a control
    // character in it, from a path or an argument, is shown rather than sent.
    int UsageError(std::string_view message) const;
    // Writes "kesto-cli: message" to stderr, as UsageError; returns kExitFailed.
    int Fail(std::string_view message) const;
    // The board in --board DIR or the current directory. Writes the reason to stderr
    // and returns nothing when SYSPATHS.CFG is missing or unreadable. Without writeLog
    // not even the error log is written.
    std::optional<Board> OpenBoard(bool writeLog = true) const;
};

// A whole decimal number (optional sign, nothing else) within [min, max].
bool ParseInteger(std::string_view text, std::int64_t min, std::int64_t max, std::int64_t& value);

int CmdDemo(Context& ctx);  // demo DIR
int CmdUsers(Context& ctx); // users [--json]
int CmdList(Context& ctx);  // list [--user N] [--sent] [--json]
int CmdInfo(Context& ctx);  // info NUMBER [--sent] [--user N] [--json]
int CmdAddressBook(
    Context& ctx);           // addressbook [add --description D --address A --network N] [--user N] [--json]
int CmdSend(Context& ctx);   // send --from N --to ADDRESS --subject TEXT [--network N] [--attach FILE] < text
int CmdRead(Context& ctx);   // read NUMBER [--user N] [--sent] [--json]
int CmdDelete(Context& ctx); // delete NUMBER... [--sent] [--user N]
int CmdSave(Context& ctx);   // save NUMBER FILE [--sent] [--user N]
int CmdExport(Context& ctx); // export FILE [--user N] [--sent] [QUERY...]
int CmdCheck(Context& ctx);  // check [--json]
int CmdSearch(Context& ctx); // search QUERY... [--user N] [--sent] [--json]

} // namespace kesto::cli
