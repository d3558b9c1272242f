// The rows the mailbox list shows, read from one mailbox index in one pass.
#pragma once

#include "Board.h"
#include "MailBase.h"
#include "Result.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kesto {

// What a row's icon tells about its message.
enum class RowState { Unread, UnreadWithAttachment, Read, Deleted };

struct MailRow {
    RecordNo number = 0; // record number in the index ("#")
    RowState state = RowState::Unread;
    std::string name;      // trimmed FromHandle (received) or ToHandle (sent)
    std::string subject;   // trimmed Subject
    std::string date;      // trimmed Creation
    std::int32_t size = 0; // MsgLength
    bool bold = false;     // Offline == 0 when the list was built; a refresh leaves it
    // What a search looks at besides the shown columns.
    std::string ownerName;     // trimmed ToHandle (received) or FromHandle (sent)
    bool unread = false;       // Offline == 0 now
    bool attachment = false;   // AttFileName not blank
    std::int32_t position = 0; // MsgPos
};

// A deleted mark wins; an attachment shows only while the message is unread.
RowState RowStateOf(const MessageInfo& m);
MailRow MakeMailRow(RecordNo number, const MessageInfo& m, Mailbox box);
// The same row read straight from an index record's bytes, decoding only the
// fields a row shows; a short or empty record reads as the empty record.
MailRow MakeMailRow(RecordNo number, std::string_view record, Mailbox box);

// Every record of the mailbox owned by userNo (the recipient of received mail, the
// sender of sent mail), newest first. The index is read with one read into `buffer`
// (reused across calls). A missing index gives no rows; a read failure is for the
// caller to log under its own name.
Result<std::vector<MailRow>> ReadMailboxRows(const Board& b, Mailbox box, std::int32_t userNo,
                                             std::string& buffer);

} // namespace kesto
