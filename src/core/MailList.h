// The rows the mailbox list shows, read from one mailbox index in one pass.
#pragma once

#include "Board.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kesto {

struct MailRow {
    std::int16_t number = 0;  // record number in the index ("#")
    std::string icon;         // "delete", "email_attach", "new" or "open"
    std::string name;         // trimmed FromHandle (received) or ToHandle (sent)
    std::string subject;      // trimmed Subject
    std::string date;         // trimmed Creation
    std::int32_t size = 0;    // MsgLength
    bool bold = false;        // Offline == 0
};

// Icon key of a record by the row icon rule.
std::string RowIcon(const MessageInfo& m);
MailRow MakeMailRow(std::int16_t number, const MessageInfo& m, bool received);
// The same row read straight from an index record's bytes, decoding only the
// fields a row shows; a short or empty record reads as the empty record.
MailRow MakeMailRow(std::int16_t number, std::string_view record, bool received);

// Every record of the mailbox (1 = EMAIL, otherwise SNTEMAIL) owned by userNo,
// newest first. The index is read with one read into `buffer` (reused across
// calls). A missing index gives no rows. Throws KestoError on a read failure.
std::vector<MailRow> ReadMailboxRows(const Board& b, std::int16_t currentMailbox, std::int32_t userNo,
                                     std::string& buffer);

} // namespace kesto
