#include "Commands.h"
#include "ReaderArgs.h"

#include "DateFunctions.h"
#include "JsonOutput.h"
#include "MailBase.h"
#include "MessageInfoView.h"

#include <ostream>

namespace kesto::cli {

// --user is the current user, as in the windows: the dialog is only reached from that
// user's list, so a message of another user's mailbox is refused.
int CmdInfo(Context& ctx) {
    int rc = kExitOk;
    const std::optional<RecordNo> parsed = MessageNumberArg(ctx, ctx.opt.args[0], rc);
    if (!parsed) return rc;
    const RecordNo number = *parsed;
    std::optional<Board> b = ctx.OpenBoard();
    if (!b) return kExitFailed;

    const Mailbox mailbox = ctx.opt.Box();
    const std::string name(MailboxName(mailbox));
    if (number > MessageCount(*b, name))
        return ctx.Fail("there is no message " + std::to_string(number) + " in " + name);
    const Result<MessageInfo> read = GetMessageInfo(*b, name, number);
    if (!read) return ctx.Fail("message " + std::to_string(number) + " of " + name + " cannot be read");
    const MessageInfo& m = *read;
    const std::int32_t owner = mailbox == Mailbox::Received ? m.ToUserNo : m.FromUserNo;
    if (owner != ctx.opt.user)
        return ctx.Fail("message " + std::to_string(number) + " of " + name +
                        " is not in the mailbox of user " + std::to_string(ctx.opt.user) + " (use --user)");

    // Past the 32-bit clock the age stays empty, as in the dialog.
    const Result<std::int32_t> now = GetTimeStamp(0);
    std::vector<MessageInfoField> fields =
        MessageInfoFields(m, now ? std::optional<std::int32_t>(*now) : std::nullopt);

    if (ctx.opt.json) {
        Json obj = Json::object();
        for (const auto& f : fields) {
            if (!f.numeric) {
                obj[f.name] = BoardText(f.value);
            } else {
                std::int64_t v = 0;
                obj[f.name] =
                    ParseInteger(f.value, INT64_MIN / 2, INT64_MAX / 2, v) ? Json(v) : Json(nullptr);
            }
        }
        JsonWriter::Write(ctx.out, obj);
        return kExitOk;
    }
    for (const auto& f : fields) {
        std::string caption = f.caption;
        caption.resize(caption.size() < 20 ? 20 : caption.size(), ' ');
        ctx.out << caption << TerminalText(f.value) << '\n';
    }
    return kExitOk;
}

} // namespace kesto::cli
