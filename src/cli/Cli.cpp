#include "Cli.h"

#include "Commands.h"
#include "ErrorLog.h"

#include <CLI/CLI.hpp>

#include <cstdint>
#include <exception>
#include <iostream>
#include <new>

namespace kesto::cli {
namespace {

// The options the commands share. Every command accepts all four, before or after its
// name, so a script can pass the same ones to each; a command's help shows the ones it uses.
enum Shared : unsigned { WithBoard = 1, WithUser = 2, WithSent = 4, WithJson = 8 };

struct OptionSpec {
    std::string_view name; // without "--"
    std::string_view type; // the value's name in the help
    std::string_view help;
    bool required = false;
};

struct PositionalSpec {
    std::string_view name; // a name ending in "..." takes one or more values
    std::string_view help;
    bool optional = false; // only the last one can be
};

constexpr PositionalSpec kNumber{"NUMBER",
                                 "the message's record number in the mailbox (the list's # column)"};

struct CommandSpec {
    std::string_view name; // "addressbook add": the action "add" of addressbook
    int (*run)(Context&);
    std::string_view usage;
    std::string_view description;
    unsigned shared = 0; // the shared options it uses
    std::vector<PositionalSpec> positionals = {};
    std::vector<OptionSpec> options = {}; // the command's own options
};

// One entry per command (see Commands.h).
const std::vector<CommandSpec>& Commands() {
    static const std::vector<CommandSpec> kCommands = {
        {"demo",
         CmdDemo,
         "demo DIR",
         "Create a complete demo board in DIR, which must not exist or be empty.",
         0,
         {{"DIR", "the new board's directory"}}},
        {"users", CmdUsers, "users [--json]", "List the users as the user picker shows them.",
         WithBoard | WithJson},
        {"list", CmdList, "list [--user N] [--sent] [--json]",
         "List the rows of a mailbox as the main window shows them, newest first.",
         WithBoard | WithUser | WithSent | WithJson},
        {"search",
         CmdSearch,
         "search QUERY... [--user N] [--sent] [--json]",
         "List the rows of a mailbox that match every word of the query, as list shows them.",
         WithBoard | WithUser | WithSent | WithJson,
         {{"QUERY...", "words: a plain word (name, subject or text), from:W, to:W, subject:W, text:W, "
                       "is:unread, is:deleted, has:attachment; \"two words\" in quotes are one word"}}},
        {"info",
         CmdInfo,
         "info NUMBER [--sent] [--user N] [--json]",
         "Show every field of the message information dialog for message NUMBER.",
         WithBoard | WithUser | WithSent | WithJson,
         {kNumber}},
        {"addressbook", CmdAddressBook, "addressbook [--user N] [--json]", "List a user's address book.",
         WithBoard | WithUser | WithJson},
        {"addressbook add",
         CmdAddressBook,
         "addressbook add --user N --description D --address A --network N",
         "Append one entry to a user's address book.",
         WithBoard | WithUser | WithJson,
         {},
         {{"description", "D", "the entry's description", true},
          {"address", "A", "the address the entry hands to the composer", true},
          {"network", "N", "the entry's network number", true}}},
        {"send",
         CmdSend,
         "send --from N --to ADDRESS --subject TEXT [--network N] [--attach FILE] < text",
         "Send the text on standard input as the composer window does.",
         WithBoard,
         {},
         {{"from", "N", "the sending user's number", true},
          {"to", "ADDRESS", "the recipient, in any form the composer takes"},
          {"subject", "TEXT", "the subject"},
          {"network", "N", "the composer's network line for network N (default: Local (0))"},
          {"attach", "FILE", "a file to attach"}}},
        {"read",
         CmdRead,
         "read NUMBER [--user N] [--sent] [--json]",
         "Show message NUMBER as the reader window does; a first reading stores the read mark.",
         WithBoard | WithUser | WithSent | WithJson,
         {kNumber}},
        {"delete",
         CmdDelete,
         "delete NUMBER... [--sent] [--user N]",
         "Toggle the deletion mark of each message.",
         WithBoard | WithUser | WithSent,
         {{"NUMBER...", "the messages' record numbers"}}},
        {"save",
         CmdSave,
         "save NUMBER FILE [--sent] [--user N]",
         "Write message NUMBER to FILE as the window's Save As does.",
         WithBoard | WithUser | WithSent,
         {kNumber, {"FILE", "the file to write; an existing one is replaced"}}},
        {"export",
         CmdExport,
         "export FILE [--user N] [--sent] [QUERY...]",
         "Write the messages of a mailbox, or those that match the query, to FILE as an mbox, the oldest "
         "first. Writes nothing in the board.",
         WithBoard | WithUser | WithSent,
         {{"FILE", "the mbox file to write; an existing one is replaced"},
          {"QUERY...", "words that choose the messages, as search takes them (default: all)", true}}},
        {"check", CmdCheck, "check [--json]",
         "Read the whole board and report every problem found; exit 1 when there is one. Writes nothing.",
         WithBoard | WithJson},
    };
    return kCommands;
}

struct SharedSpec {
    Shared bit;
    std::string_view name;
    std::string_view type; // empty: a flag
    std::string_view help;
};

const SharedSpec kShared[] = {
    {WithBoard, "board", "DIR",
     "the board's directory, which holds SYSPATHS.CFG (default: the current directory)"},
    {WithUser, "user", "N", "the current user, as in the windows (default 1, the SysOp)"},
    {WithSent, "sent", "", "the sent mailbox (SNTEMAIL) instead of the received one (EMAIL)"},
    {WithJson, "json", "", "JSON output"},
};

void WriteUsage(std::ostream& out) {
    out << "usage: kesto-cli [--board DIR] COMMAND [ARGS]\n"
           "Works on the board whose SYSPATHS.CFG is in DIR (default: the current directory).\n"
           "Commands:\n";
    for (const auto& c : Commands()) out << "  " << c.usage << '\n';
    out << "kesto-cli COMMAND --help shows a command's options; kesto-cli --version its version.\n"
           "Exit codes: 0 done, 1 refused or failed, 2 usage.\n";
}

std::string UsageLine(const CommandSpec& c) {
    return std::string(c.shared & WithBoard ? "[--board DIR] " : "") + std::string(c.usage);
}

// What one shared option received on one level of the command line.
struct SharedSlot {
    CLI::Option* option = nullptr;
    std::string value;
    bool flag = false;
};

// The command line's grammar, and where each part of it lands.
struct Grammar {
    CLI::App app{"", "kesto-cli"};
    SharedSlot top[std::size(kShared)];
    std::vector<std::string> rest; // an unknown command, or arguments after "--" past the command's own
    struct OwnSlot {
        std::string_view name;
        CLI::Option* option = nullptr;
        std::string value;
    };
    struct Command {
        const CommandSpec* def;
        CLI::App* app;
        SharedSlot shared[std::size(kShared)];
        std::string positionals[2];
        std::vector<std::string> many; // the values of a last positional that takes one or more
        std::vector<OwnSlot> options;
    };
    std::vector<Command> commands; // in the order of Commands(); an action follows its command
    CLI::App* help = nullptr;
    std::vector<std::string> helpTopic;

    // An option the command does not use is accepted but left out of its help.
    static void AddShared(CLI::App& app, const SharedSpec& s, SharedSlot& slot, bool used = true) {
        const std::string name = "--" + std::string(s.name);
        slot.option =
            s.type.empty()
                ? app.add_flag(name, slot.flag, std::string(s.help))
                : app.add_option(name, slot.value, std::string(s.help))->type_name(std::string(s.type));
        if (!used) slot.option->group("");
    }

    Grammar() {
        app.set_help_flag("--help", "Show this help and exit");
        app.set_version_flag("--version", "kesto-cli " + std::string(AppVersion),
                             "Show the version and exit");
        app.require_subcommand(0, 1);
        // As before: a repeated option's last value counts, and a flag takes no value.
        app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast)->disable_flag_override();
        for (std::size_t i = 0; i < std::size(kShared); ++i) AddShared(app, kShared[i], top[i]);
        app.add_option("COMMAND", rest);

        commands.reserve(Commands().size()); // CLI11 keeps pointers into each entry
        for (const CommandSpec& def : Commands()) {
            const std::size_t space = def.name.find(' ');
            CLI::App* parent = &app;
            if (space != std::string_view::npos) {
                for (const Command& c : commands)
                    if (c.def->name == def.name.substr(0, space)) parent = c.app;
            }
            Command& c = commands.emplace_back();
            c.def = &def;
            c.app = parent->add_subcommand(
                std::string(def.name.substr(space == std::string_view::npos ? 0 : space + 1)),
                std::string(def.description));
            if (parent != &app) parent->require_subcommand(0, 1);
            for (std::size_t i = 0; i < std::size(kShared); ++i)
                AddShared(*c.app, kShared[i], c.shared[i], (def.shared & kShared[i].bit) != 0);
            c.options.reserve(def.options.size()); // CLI11 keeps pointers to the values
            for (const OptionSpec& o : def.options) {
                OwnSlot& slot = c.options.emplace_back();
                slot.name = o.name;
                slot.option = c.app->add_option("--" + std::string(o.name), slot.value, std::string(o.help))
                                  ->type_name(std::string(o.type));
                if (o.required) slot.option->required();
            }
            for (std::size_t i = 0; i < def.positionals.size(); ++i) {
                std::string name(def.positionals[i].name);
                const std::string help(def.positionals[i].help);
                CLI::Option* p = name.ends_with("...")
                                     ? c.app->add_option(name.substr(0, name.size() - 3), c.many, help)
                                     : c.app->add_option(name, c.positionals[i], help);
                p->type_name("");
                if (!def.positionals[i].optional) p->required();
            }
        }
        help = app.add_subcommand("help", "List the commands, or show a command's options");
        help->add_option("COMMAND", helpTopic);
    }

    // The innermost command that was given, or nullptr.
    Command* Chosen() {
        Command* chosen = nullptr;
        for (Command& c : commands)
            if (c.app->parsed()) chosen = &c;
        return chosen;
    }

    // The value of shared option i that counts: the last level that has it
    // (before the command, after it, after its action). Nullptr when not given.
    const SharedSlot* SharedValue(std::size_t i) {
        const SharedSlot* given = top[i].option->count() > 0 ? &top[i] : nullptr;
        for (const Command& c : commands)
            if (c.app->parsed() && c.shared[i].option->count() > 0) given = &c.shared[i];
        return given;
    }

    // A command's own help, with its full name in the usage line.
    static std::string CommandHelp(const Command& c) {
        const std::size_t space = c.def->name.find(' ');
        return c.app->help(space == std::string_view::npos
                               ? std::string("kesto-cli")
                               : "kesto-cli " + std::string(c.def->name.substr(0, space)));
    }
};

// CLI11's words, except where they would not name the option as it is typed.
std::string ParseErrorText(const CLI::ParseError& e) {
    std::string text = e.what();
    constexpr std::string_view kFlagValue = " was given a disallowed flag override";
    if (text.ends_with(kFlagValue))
        return "option --" + text.substr(0, text.size() - kFlagValue.size()) + " takes no value";
    return text;
}

bool IsCommand(std::string_view name) {
    for (const CommandSpec& c : Commands())
        if (c.name == name) return true;
    return false;
}

} // namespace

int Run(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err) {
    Grammar g;
    try {
        g.app.parse(std::vector<std::string>(args.rbegin(), args.rend()));
    } catch (const CLI::CallForHelp&) {
        if (Grammar::Command* c = g.Chosen())
            out << Grammar::CommandHelp(*c);
        else
            WriteUsage(out);
        return kExitOk;
    } catch (const CLI::CallForVersion& e) {
        out << e.what() << '\n';
        return kExitOk;
    } catch (const CLI::ParseError& e) {
        err << "kesto-cli: " << TerminalNative(ParseErrorText(e)) << '\n';
        if (Grammar::Command* c = g.Chosen())
            err << "usage: kesto-cli " << UsageLine(*c->def) << '\n';
        else
            WriteUsage(err);
        return kExitUsage;
    }

    if (g.help->parsed()) {
        if (g.helpTopic.empty()) {
            WriteUsage(out);
            return kExitOk;
        }
        std::string topic;
        for (const std::string& word : g.helpTopic) topic += (topic.empty() ? "" : " ") + word;
        for (const Grammar::Command& c : g.commands) {
            if (c.def->name == topic) {
                out << Grammar::CommandHelp(c);
                return kExitOk;
            }
        }
        err << "kesto-cli: unknown command '" << TerminalNative(topic) << "'\n";
        WriteUsage(err);
        return kExitUsage;
    }

    Grammar::Command* chosen = g.Chosen();
    if (!chosen) {
        // ("kesto-cli -- list" is a command after "--", which ends the options only.)
        if (!g.rest.empty() && !IsCommand(g.rest.front()))
            err << "kesto-cli: unknown command '" << TerminalNative(g.rest.front()) << "'\n";
        WriteUsage(err);
        return kExitUsage;
    }
    const CommandSpec& def = *chosen->def;
    Options opt;
    const std::string usage = UsageLine(def);
    Context ctx{opt, in, out, err, usage};

    for (std::size_t i = 0; i < std::size(kShared); ++i) {
        const SharedSpec& s = kShared[i];
        const SharedSlot* slot = g.SharedValue(i);
        if (!slot) continue;
        const SharedSlot& given = *slot;
        switch (s.bit) {
        case WithBoard:
            if (given.value.empty()) return ctx.UsageError("option --board needs a directory");
            opt.board = given.value;
            break;
        case WithUser: {
            std::int64_t n = 0;
            if (!ParseInteger(given.value, 1, INT32_MAX, n))
                return ctx.UsageError("--user needs a user number from 1 up, not '" + given.value + "'");
            opt.user = static_cast<std::int32_t>(n);
            opt.userGiven = true;
            break;
        }
        case WithSent:
            opt.sent = true;
            break;
        case WithJson:
            opt.json = true;
            break;
        }
    }

    if (def.name.starts_with("addressbook ")) opt.args.push_back(std::string(def.name.substr(12)));
    for (std::size_t i = 0; i < def.positionals.size(); ++i)
        if (!def.positionals[i].name.ends_with("...")) opt.args.push_back(chosen->positionals[i]);
    opt.args.insert(opt.args.end(), chosen->many.begin(), chosen->many.end());
    // Arguments after "--" that the command's own places did not take.
    if (!g.rest.empty()) {
        if (def.positionals.empty() || !def.positionals.back().name.ends_with("..."))
            return ctx.UsageError("unexpected argument '" + g.rest.front() + "'");
        opt.args.insert(opt.args.end(), g.rest.begin(), g.rest.end());
    }
    for (const Grammar::OwnSlot& o : chosen->options)
        if (o.option->count() > 0) opt.values[std::string(o.name)] = o.value;

    // A command must never take the process down: whatever escapes is reported as a failure.
    try {
        return def.run(ctx);
    } catch (const std::bad_alloc&) {
        return ctx.Fail("out of memory");
    } catch (const std::exception& e) {
        return ctx.Fail(e.what());
    } catch (...) {
        return ctx.Fail("unexpected failure");
    }
}

int Run(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    int rc = Run(args, std::cin, std::cout, std::cerr);
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "kesto-cli: cannot write the output\n";
        return rc == kExitOk ? kExitFailed : rc;
    }
    return rc;
}

} // namespace kesto::cli
