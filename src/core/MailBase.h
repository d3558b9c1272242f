// modHALK: the mailboxes EMAIL and SNTEMAIL (MailPath\<name>.DAT and .BIN).
#pragma once

#include "Board.h"
#include "Result.h"

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

// Failures are written to the error log under the routine's name, except a missing
// index or text file (ErrorCode::FileNotFound), which is no more than an empty mailbox.

// A record past the end of the index reads as the empty record.
Result<MessageInfo> GetMessageInfo(const Board& b, std::string_view mailbox, RecordNo number);
Result<void> PutMessageInfo(const Board& b, std::string_view mailbox, RecordNo number,
                            const MessageInfo& rec);
// The body at 1-based `position`, `length` bytes, as far as the text file holds it.
// Unless raw, line ends made CR LF and the trailing ones and blanks removed.
Result<std::string> GetMessage(const Board& b, std::string_view mailbox, std::int32_t position,
                               std::int32_t length, bool stripColourCodes, bool raw);
// Files `record` as record n + 1 of an index (n: its whole records, so a torn tail is
// overwritten), then appends `text` to the text file, each with one write. The record
// carries the position the text was expected at (the text file's length + 1 before
// filing); when somebody else appended to the text file in between, the record's
// MsgPos is set to where the text really landed. With nobody else writing, the bytes
// are those of the two plain appends. When the text cannot be appended (or only part
// of it), the record's MsgLength is set to 0. Not logged: the caller's failure.
Result<void> FileRecordAndText(const std::string& nativeDat, const std::string& nativeBin,
                               const MessageInfo& record, std::string_view text);
// Where GetMessage reads a body: 0-based offset and length in the text file, as far
// as the file holds them. A position below 1 or a negative length is refused.
struct BodySpan {
    std::int64_t offset = 0;
    std::int64_t length = 0;
};
Result<BodySpan> GetBodySpan(std::int32_t position, std::int32_t length);

// Number of whole records in the mailbox index (0 when it does not exist).
std::int32_t MessageCount(const Board& b, std::string_view mailbox);

// What GetMessage makes of the bytes found for a body: `bytes` holds fewer than
// `length` when the text file ended first. The second form builds it in `text`,
// reusing its capacity.
std::string CleanMessageText(std::string_view bytes, std::int32_t length, bool stripColourCodes, bool raw);
void CleanMessageText(std::string_view bytes, std::int32_t length, bool stripColourCodes, bool raw,
                      std::string& text);

// The bodies of many messages of one mailbox, each as GetMessage gives it, read
// from the text file in large pieces instead of one opening per message: for a
// walk over a mailbox in record order, where the texts lie one after another.
// Writes nothing, not even a log line.
class MessageTexts {
  public:
    MessageTexts(const Board& b, Mailbox box);
    Result<std::string> Get(std::int32_t position, std::int32_t length, bool stripColourCodes, bool raw);
    // The same into `text`, reusing its capacity; `text` is empty after a failure.
    Result<void> Get(std::int32_t position, std::int32_t length, bool stripColourCodes, bool raw,
                     std::string& text);

  private:
    std::string path_;
    std::string window_; // bytes of the text file from windowStart_ on
    std::int64_t windowStart_ = -1;
    bool windowAtEnd_ = false; // the file ended within the window when it was read
};

} // namespace kesto
