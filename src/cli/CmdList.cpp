#include "Commands.h"

#include "JsonOutput.h"
#include "MailBase.h"
#include "MailList.h"

#include <ostream>

namespace kesto::cli {
namespace {

// Pads a UTF-8 text to `width` characters (not bytes) so columns line up on a terminal.
std::string PadShown(const std::string& utf8, std::size_t width) {
    std::size_t chars = 0;
    for (char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++chars;
    return chars >= width ? utf8 : utf8 + std::string(width - chars, ' ');
}

// The icon column's key, as the window names its images.
const char* IconKey(RowState state) {
    switch (state) {
    case RowState::Unread:
        return "new";
    case RowState::UnreadWithAttachment:
        return "email_attach";
    case RowState::Read:
        return "open";
    case RowState::Deleted:
        return "delete";
    }
    return "";
}

} // namespace

int WriteMailRows(Context& ctx, const std::vector<MailRow>& rows) {
    const Mailbox mailbox = ctx.opt.Box();
    const bool received = mailbox == Mailbox::Received;
    if (ctx.opt.json) {
        // Row by row: a mailbox can hold 32,767 messages.
        JsonWriter w(ctx.out);
        w.BeginObject();
        w.Key("mailbox");
        w.Value(MailboxName(mailbox));
        w.Key("user");
        w.Value(ctx.opt.user);
        w.Key("rows");
        w.BeginArray();
        for (const auto& r : rows) {
            w.Value({{"number", r.number},
                     {"icon", IconKey(r.state)},
                     {received ? "from" : "to", BoardText(r.name)},
                     {"subject", BoardText(r.subject)},
                     {"date", BoardText(r.date)},
                     {"size", r.size},
                     {"bold", r.bold}});
        }
        w.End();
        w.End();
        return kExitOk;
    }

    ctx.out << MailboxName(mailbox) << " of user " << ctx.opt.user << ": " << rows.size()
            << (rows.size() == 1 ? " message" : " messages") << " (* unread, shown bold)\n";
    if (rows.empty()) return kExitOk;
    ctx.out << "    #   " << PadShown("icon", 13) << PadShown(received ? "From" : "To", 21)
            << PadShown("Subject", 41) << PadShown("Date", 32) << "Size\n";
    for (const auto& r : rows) {
        std::string num = std::to_string(r.number);
        ctx.out << std::string(num.size() < 5 ? 5 - num.size() : 0, ' ') << num << ' ' << (r.bold ? '*' : ' ')
                << ' ' << PadShown(IconKey(r.state), 13) << PadShown(Shown(r.name), 21)
                << PadShown(Shown(r.subject), 41) << PadShown(Shown(r.date), 32) << r.size << '\n';
    }
    return kExitOk;
}

int CmdList(Context& ctx) {
    std::optional<Board> b = ctx.OpenBoard();
    if (!b) return kExitFailed;
    std::string buffer;
    const Result<std::vector<MailRow>> read = ReadMailboxRows(*b, ctx.opt.Box(), ctx.opt.user, buffer);
    if (!read) return ctx.Fail("cannot read the mailbox index: " + read.error().description);
    return WriteMailRows(ctx, *read);
}

} // namespace kesto::cli
