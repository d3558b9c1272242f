// What read, delete and save share: a message number argument that must name a
// message in the mailbox of the current user, as the list would have shown it.
#pragma once

#include "Commands.h"

#include "MailBase.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <string>

namespace kesto::cli {

// Parses `text` as a message number; on a bad number writes the usage error and
// sets `exitCode`.
inline std::optional<RecordNo> MessageNumberArg(const Context& ctx, const std::string& text, int& exitCode) {
    std::int64_t number = 0;
    if (!ParseInteger(text, 1, std::numeric_limits<RecordNo>::max(), number)) {
        exitCode =
            ctx.UsageError("NUMBER must be a message number from 1 to " +
                           std::to_string(std::numeric_limits<RecordNo>::max()) + ", not '" + text + "'");
        return std::nullopt;
    }
    return static_cast<RecordNo>(number);
}

// True when message `number` exists in the chosen mailbox and belongs to --user;
// otherwise writes why and sets `exitCode`.
inline bool IsOwnMessage(const Context& ctx, const Board& b, RecordNo number, int& exitCode) {
    const Mailbox mailbox = ctx.opt.Box();
    const std::string name(MailboxName(mailbox));
    if (number > MessageCount(b, name)) {
        exitCode = ctx.Fail("there is no message " + std::to_string(number) + " in " + name);
        return false;
    }
    const Result<MessageInfo> m = GetMessageInfo(b, name, number);
    if (!m) {
        exitCode = ctx.Fail("message " + std::to_string(number) + " of " + name + " cannot be read");
        return false;
    }
    const std::int32_t owner = mailbox == Mailbox::Received ? m->ToUserNo : m->FromUserNo;
    if (owner != ctx.opt.user) {
        exitCode =
            ctx.Fail("message " + std::to_string(number) + " of " + name + " is not in the mailbox of user " +
                     std::to_string(ctx.opt.user) + " (use --user)");
        return false;
    }
    return true;
}

} // namespace kesto::cli
