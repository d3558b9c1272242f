// modHALK: the mailboxes EMAIL and SNTEMAIL (MailPath\<name>.DAT and .BIN).
#pragma once

#include "Board.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kesto {

// The two mailboxes: every user's received mail, and the copies the senders keep.
enum class Mailbox { Received, Sent };

// The mailbox's file name without extension: "EMAIL" or "SNTEMAIL".
std::string_view MailboxName(Mailbox box);
// MailPath trimmed + "\" + trimmed upper-cased mailbox + ext (".DAT" or ".BIN").
std::string MailboxFile(const Board& b, std::string_view mailbox, std::string_view ext);

MessageInfo GetMessageInfo(const Board& b, std::string_view mailbox, RecordNo number, std::int16_t& status);
void PutMessageInfo(const Board& b, std::string_view mailbox, RecordNo number, const MessageInfo& rec,
                    std::int16_t& status);
std::string GetMessage(const Board& b, std::string_view mailbox, std::int32_t position, std::int32_t length,
                       bool stripColourCodes, bool raw, std::int16_t& status);
// Number of whole records in the mailbox index (0 when it does not exist).
std::int32_t MessageCount(const Board& b, std::string_view mailbox);

} // namespace kesto
