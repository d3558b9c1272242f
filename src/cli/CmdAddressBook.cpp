#include "Commands.h"

#include "AddressBook.h"
#include "Cp1252.h"
#include "JsonOutput.h"
#include "TextHelpers.h"

#include <ostream>

namespace kesto::cli {
namespace {

// The same fields the windows refuse, plus line ends, which would split the entry.
bool HasRefusedCharacter(std::string_view text) {
    return text.find_first_of(",;\r\n") != std::string_view::npos;
}

Json EntryJson(const AddressBookEntry& e) {
    return {{"description", BoardText(e.description)},
            {"address", BoardText(e.address)},
            {"networkId", BoardText(e.networkId)}};
}

int AddEntry(Context& ctx, const Board& board) {
    const std::string* description = ctx.opt.Value("description");
    const std::string* address = ctx.opt.Value("address");
    const std::string* network = ctx.opt.Value("network");
    if (!description || !address || !network)
        return ctx.UsageError("add needs --description, --address and --network");
    if (HasRefusedCharacter(*description) || HasRefusedCharacter(*address))
        return ctx.Fail("the description and the address may not contain \",\" or \";\"");
    std::int64_t netId = 0;
    if (!ParseInteger(Trim(*network), 0, 32767, netId))
        return ctx.Fail("--network needs a network number from 0 to 32767, not '" + *network + "'");
    const std::string addr = Trim(Utf8ToCp1252(*address));
    if (addr.empty()) return ctx.Fail("the address may not be empty");

    const std::string line = Trim(Utf8ToCp1252(*description)) + "," + addr + "," + std::to_string(netId);
    if (!AddToAddressBook(board, ctx.opt.user, line))
        return ctx.Fail("could not write " + AddressBookFile(board, ctx.opt.user) + " (see HMRERROR.LOG)");

    const AddressBookEntry e = SplitAddressBookLine(line);
    if (ctx.opt.json) {
        JsonWriter::Write(ctx.out, EntryJson(e));
    } else {
        ctx.out << "Added " << TerminalText(e.address) << " to the address book of user " << ctx.opt.user
                << ".\n";
    }
    return kExitOk;
}

int ListEntries(Context& ctx, const Board& board) {
    const AddressBook book = LoadAddressBook(board, ctx.opt.user);
    if (!book.readOk)
        return ctx.Fail("could not read " + AddressBookFile(board, ctx.opt.user) + " (see HMRERROR.LOG)");
    if (ctx.opt.json) {
        Json list = Json::array();
        for (const std::string& line : book.lines) list.push_back(EntryJson(SplitAddressBookLine(line)));
        JsonWriter::Write(ctx.out, list);
        return kExitOk;
    }
    // The window's row, then what Select would hand to the composer.
    for (std::size_t i = 0; i < book.Count(); ++i) {
        ctx.out << TerminalText(AddressBookRowText(i + 1, book.Count(), book.lines[i])) << "  "
                << TerminalText(AddressBookPickText(book.lines[i])) << '\n';
    }
    if (!book.hidden.empty())
        ctx.err << "kesto-cli: " << book.hidden.size() << " more line(s) past the first "
                << kAddressBookLoadLimit << " entries are kept but not shown\n";
    return kExitOk;
}

} // namespace

int CmdAddressBook(Context& ctx) {
    const bool add = !ctx.opt.args.empty();
    if (add && ctx.opt.args[0] != "add")
        return ctx.UsageError("unknown addressbook action '" + ctx.opt.args[0] + "'");
    if (!add && (ctx.opt.Value("description") || ctx.opt.Value("address") || ctx.opt.Value("network")))
        return ctx.UsageError("--description, --address and --network belong to 'addressbook add'");
    if (ctx.opt.sent) return ctx.UsageError("--sent does not apply to the address book");
    std::optional<Board> board = ctx.OpenBoard();
    if (!board) return kExitFailed;
    return add ? AddEntry(ctx, *board) : ListEntries(ctx, *board);
}

} // namespace kesto::cli
