#include "Commands.h"

#include "AllUsers.h"
#include "StringHelpers.h"
#include "TextHelpers.h"
#include "Cp1252.h"
#include "Delivery.h"
#include "Recipient.h"
#include "UserFile.h"
#include "platform/BoardPath.h"
#include "platform/File.h"

#include <filesystem>
#include <istream>
#include <iterator>
#include <ostream>

namespace kesto::cli {
namespace {

constexpr std::size_t kMaxRecipient = 255; // the composer's recipient box
constexpr std::size_t kMaxText = 32767;    // the composer's text box

std::string BoardText(const std::string* utf8) {
    return utf8 ? Utf8ToCp1252(*utf8) : std::string();
}

} // namespace

int CmdSend(Context& ctx) {
    const std::string* fromText = ctx.opt.Value("from");
    if (!fromText) return ctx.UsageError("send needs --from N");
    std::optional<Board> b = ctx.OpenBoard();
    if (!b) return kExitFailed;

    std::int64_t from = 0;
    const std::int32_t users = GetUserCount(*b).value_or(0);
    if (!ParseInteger(Trim(*fromText), 1, 2147483647, from) || from > users)
        return ctx.Fail("--from needs the number of a user of this board (1 to " + std::to_string(users) +
                        "), not '" + *fromText + "'");
    if (!GetUser(*b, static_cast<std::int32_t>(from)))
        return ctx.Fail("user " + std::to_string(from) + " could not be read (see HMRERROR.LOG)");

    const std::string to = BoardText(ctx.opt.Value("to"));
    const std::string subject = BoardText(ctx.opt.Value("subject"));
    if (to.size() > kMaxRecipient)
        return ctx.Fail("the recipient is longer than " + std::to_string(kMaxRecipient) + " characters");

    // The network line, as the composer offers them; Local (0) unless asked otherwise.
    const std::vector<std::string> netList = FillNetList(*b);
    int line = 0;
    if (const std::string* network = ctx.opt.Value("network")) {
        std::int64_t n = -1;
        if (ParseInteger(Trim(*network), 0, 32767, n))
            line = FindNetListLine(netList, static_cast<double>(n));
        if (n < 0 || line < 0) {
            std::string offered;
            for (const auto& entry : netList)
                offered += (offered.empty() ? "" : ", ") + TerminalText(NetListLabel(entry));
            return ctx.Fail("network '" + *network + "' is not offered; the networks are " + offered);
        }
    }

    std::string attach;
    if (const std::string* given = ctx.opt.Value("attach")) {
        // A relative name means the shell's directory, not the board's.
        const std::string file = std::filesystem::absolute(*given).string();
        if (!platform::IsReadableFile(file))
            return ctx.Fail("the file to attach does not exist or cannot be read: " + *given);
        // As in the composer, the attach level only governs the Attach menu command:
        // a file named in the attachment box is sent whatever the sender's level.
        // The file itself is copied; its short name is only what the record files.
        attach = file;
    }

    std::string body(std::istreambuf_iterator<char>(ctx.in), {});
    body = ConvertCrLf(Utf8ToCp1252(body));
    // The line end that closes the input is not an empty last line of the message.
    if (body.ends_with("\r\n")) body.resize(body.size() - 2);
    if (body.size() > kMaxText)
        return ctx.Fail("the text is longer than " + std::to_string(kMaxText) + " characters");

    const SendCheck check = CheckSend(*b, to, subject, netList, line);
    switch (check.outcome) {
    case SendCheck::Outcome::Refused:
        return ctx.Fail(TerminalText(check.message));
    case SendCheck::Outcome::AllUsers: {
        const AllUsersResult r = SendAllUsers(*b, static_cast<std::int32_t>(from), to, subject, body, attach);
        if (!r.success)
            return ctx.Fail(r.message.empty() ? std::string("mail to all users stopped (see HMRERROR.LOG)")
                                              : TerminalText(r.message));
        ctx.out << "Sent to " << r.sent << " user(s).\n";
        return kExitOk;
    }
    case SendCheck::Outcome::Single:
        break;
    }
    const SendResult r =
        SendEmail(*b, static_cast<std::int32_t>(from), check.address, subject, body, attach, true);
    if (!r.success)
        return ctx.Fail(r.message.empty()
                            ? std::string("the message could not be delivered (see HMRERROR.LOG)")
                            : TerminalText(r.message));
    ctx.out << "Sent to " << TerminalText(check.address) << ".\n";
    return kExitOk;
}

} // namespace kesto::cli
