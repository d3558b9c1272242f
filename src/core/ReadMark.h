// What the reader shows for one message, and the read mark with the read
// notice it leaves for a local sender in ONELINE.DAT / ONELINE.BIN. Shared by
// the reader window and `kesto-cli read`.
#pragma once

#include "Board.h"
#include "MailBase.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kesto {

struct ShownMessage {
    bool ok = false;      // the index and the record could be read
    MessageInfo info;     // the shown record (ToNetNode may hold the system id, see below)
    std::string fromLine; // "handle @node (network)"
    std::string toLine;
    std::string subject;     // trimmed
    std::string date;        // trimmed Creation
    std::string text;        // message text with the attachment lines
    bool deleted = false;    // Deleted != 0
    bool markedRead = false; // this call stored the read mark
    bool noticeSent = false; // this call wrote a read notice
};

// Reads message `number` of the mailbox and,
// the first time it is shown, stores its read mark and (for a sender of
// network 1) writes the read notice. Nothing else in the board files changes.
// A record past the end of the index is shown empty and nothing is written.
ShownMessage ShowMessage(const Board& b, Mailbox box, RecordNo number, std::int32_t readerNo,
                         const UserRecord& reader);

// Only the texts of the record as the reader lays them out, without touching
// any file but the ones read (used after Delete re-reads the record).
void FillShownTexts(const Board& b, ShownMessage& s, std::string_view body);

// The body (as GetMessage gives it) without trailing CR LF pairs and blanks.
std::string ReaderBodyText(std::string_view body);
// The message text area: ReaderBodyText, then,
// for an attachment, an empty line, "---" and "Attached File: NAME (SIZE bytes)".
std::string MessageDisplayText(std::string_view body, const MessageInfo& m);
// The same made in place from the body in `text`, for a caller that has no record.
void MakeDisplayText(std::string& text, std::string_view attFileName, std::int32_t attFileSize);

// "HANDLE #N Read Email: SUBJECT".
std::string ReadNoticeText(const UserRecord& reader, std::int32_t readerNo, std::string_view subject);

// Appends one read notice for user `recipient` (record to ONELINE.DAT after
// its last whole record, CR LF to ONELINE.BIN). False, writing nothing, for an
// empty text, a recipient below 1 or an unreadable user record.
bool SendOneLiner(const Board& b, std::int32_t readerNo, const UserRecord& reader, std::int32_t recipient,
                  std::string_view text);

} // namespace kesto
