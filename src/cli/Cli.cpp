#include "Cli.h"

#include "Commands.h"

#include <cstdint>
#include <exception>
#include <iostream>
#include <new>
#include <optional>

namespace kesto::cli {
namespace {

struct CommandSpec {
    std::string_view name;
    int (*run)(Context&);
    std::string_view usage;
    int minArgs = 0;
    int maxArgs = 0;                    // -1: any number
    std::string_view valueOptions = {}; // the command's own options taking a value, e.g. "--to --subject"
    std::string_view flagOptions = {};  // the command's own options without a value
};

// One line per command (see Commands.h).
const CommandSpec kCommands[] = {
    {"demo", CmdDemo, "demo DIR", 1, 1},
    {"users", CmdUsers, "users [--json]", 0, 0},
    {"list", CmdList, "list [--user N] [--sent] [--json]", 0, 0},
    {"info", CmdInfo, "info NUMBER [--sent] [--user N] [--json]", 1, 1},
    {"addressbook", CmdAddressBook,
     "addressbook [--user N] [--json] | addressbook add --user N --description D --address A --network N", 0,
     1, "--description --address --network"},
    {"send", CmdSend, "send --from N --to ADDRESS --subject TEXT [--network N] [--attach FILE] < text", 0, 0,
     "--from --to --subject --network --attach"},
    {"read", CmdRead, "read NUMBER [--user N] [--sent] [--json]", 1, 1},
    {"delete", CmdDelete, "delete NUMBER... [--sent] [--user N]", 1, -1},
    {"save", CmdSave, "save NUMBER FILE [--sent] [--user N]", 2, 2},
};

const CommandSpec* FindCommand(std::string_view name) {
    for (const auto& c : kCommands)
        if (c.name == name) return &c;
    return nullptr;
}

bool InList(std::string_view list, std::string_view option) {
    while (!list.empty()) {
        std::size_t sp = list.find(' ');
        if (list.substr(0, sp) == option) return true;
        if (sp == std::string_view::npos) break;
        list.remove_prefix(sp + 1);
    }
    return false;
}

void WriteUsage(std::ostream& out) {
    out << "usage: kesto-cli [--board DIR] COMMAND [ARGS]\n"
           "Works on the board whose SYSPATHS.CFG is in DIR (default: the current directory).\n"
           "Commands:\n";
    for (const auto& c : kCommands)
        out << "  " << c.usage << '\n';
    out << "Exit codes: 0 done, 1 refused or failed, 2 usage.\n";
}

bool IsOption(const std::string& a) {
    return a.size() > 2 && a[0] == '-' && a[1] == '-';
}

// Splits "--name=value" into its parts; "--name" leaves value unset.
void SplitOption(const std::string& a, std::string& name, std::optional<std::string>& value) {
    std::size_t eq = a.find('=');
    name = a.substr(2, eq == std::string::npos ? std::string::npos : eq - 2);
    if (eq != std::string::npos) value = a.substr(eq + 1);
}

bool IsGlobalValueOption(std::string_view name) {
    return name == "board" || name == "user";
}

} // namespace

int Run(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err) {
    // The command is the first argument that is neither an option nor a global option's value,
    // so --board DIR may stand before or after it.
    const CommandSpec* cmd = nullptr;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--") break;
        if (IsOption(a)) {
            if (a == "--help") {
                WriteUsage(out);
                return kExitOk;
            }
            if (IsGlobalValueOption(a.substr(2))) ++i;
            continue;
        }
        if (a == "help") {
            WriteUsage(out);
            return kExitOk;
        }
        cmd = FindCommand(a);
        if (!cmd) {
            err << "kesto-cli: unknown command '" << a << "'\n";
            WriteUsage(err);
            return kExitUsage;
        }
        break;
    }
    if (!cmd) {
        WriteUsage(err);
        return kExitUsage;
    }

    Options opt;
    Context ctx{opt, in, out, err, cmd->usage};
    bool seenCommand = false;
    bool onlyPositional = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (onlyPositional || !IsOption(a)) {
            if (a == "--" && !onlyPositional) {
                onlyPositional = true;
            } else if (!seenCommand) {
                seenCommand = true;
            } else {
                opt.args.push_back(a);
            }
            continue;
        }
        std::string name;
        std::optional<std::string> value;
        SplitOption(a, name, value);
        const bool takesValue = IsGlobalValueOption(name) || InList(cmd->valueOptions, "--" + name);
        const bool isFlag = name == "sent" || name == "json" || InList(cmd->flagOptions, "--" + name);
        if (!takesValue && !isFlag) return ctx.UsageError("unknown option --" + name);
        if (isFlag) {
            if (value) return ctx.UsageError("option --" + name + " takes no value");
            if (name == "sent")
                opt.sent = true;
            else if (name == "json")
                opt.json = true;
            else
                opt.flags.insert(name);
            continue;
        }
        if (!value) {
            if (i + 1 >= args.size()) return ctx.UsageError("option --" + name + " needs a value");
            value = args[++i];
        }
        if (name == "board") {
            if (value->empty()) return ctx.UsageError("option --board needs a directory");
            opt.board = *value;
        } else if (name == "user") {
            std::int64_t n = 0;
            if (!ParseInteger(*value, 1, INT32_MAX, n))
                return ctx.UsageError("--user needs a user number from 1 up, not '" + *value + "'");
            opt.user = static_cast<std::int32_t>(n);
            opt.userGiven = true;
        } else {
            opt.values[name] = *value;
        }
    }

    const auto count = static_cast<int>(opt.args.size());
    if (count < cmd->minArgs) return ctx.UsageError("missing argument");
    if (cmd->maxArgs >= 0 && count > cmd->maxArgs) return ctx.UsageError("too many arguments");

    // A command must never take the process down: whatever escapes is reported as a failure.
    try {
        return cmd->run(ctx);
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
