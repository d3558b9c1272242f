// The rows the mailbox list shows, read from one mailbox index in one pass.
#pragma once

#include "Board.h"
#include "MailBase.h"
#include "Result.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kesto {

// What a row's icon tells about its message.
enum class RowState { Unread, UnreadWithAttachment, Read, Deleted };

// A row's text kept inside the row, as wide as its record field, so a list of
// 32,767 rows makes no allocation per text. Reads as a std::string_view.
template <std::size_t Width>
class RowText {
  public:
    static constexpr std::size_t kWidth = Width;
    RowText() = default;
    RowText(std::string_view text) { *this = text; }
    RowText& operator=(std::string_view text) {
        size_ = static_cast<std::uint8_t>(std::min(text.size(), Width));
        text.copy(bytes_.data(), size_);
        return *this;
    }
    operator std::string_view() const { return {bytes_.data(), size_}; }
    friend bool operator==(const RowText& a, const RowText& b) { return std::string_view(a) == b; }
    friend bool operator==(const RowText& a, std::string_view b) { return std::string_view(a) == b; }

  private:
    static_assert(Width < 256);
    std::array<char, Width> bytes_{};
    std::uint8_t size_ = 0;
};

struct MailRow {
    RecordNo number = 0; // record number in the index ("#")
    RowState state = RowState::Unread;
    RowText<40> name;      // trimmed FromHandle (received) or ToHandle (sent)
    RowText<64> subject;   // trimmed Subject
    RowText<40> date;      // trimmed Creation
    std::int32_t size = 0; // MsgLength
    bool bold = false;     // Offline == 0 when the list was built; a refresh leaves it
    // What a search looks at besides the shown columns.
    RowText<40> ownerName;     // trimmed ToHandle (received) or FromHandle (sent)
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

// A row as views into the index bytes just read: valid during the call it is handed to.
struct MailRowView {
    RecordNo number = 0;
    RowState state = RowState::Unread;
    std::string_view name, subject, date; // trimmed, as in MailRow
    std::int32_t size = 0;
    bool bold = false;
    std::string_view ownerName;
    bool unread = false;
    bool attachment = false;
    std::int32_t position = 0;
};

// A row held in a list, as the views the walk hands over: valid while the row is.
MailRowView MakeMailRowView(const MailRow& row);

// Every record of the mailbox owned by userNo (the recipient of received mail, the
// sender of sent mail), newest first, gathered by ForEachMailboxRow (`buffer` is
// reused across calls). A missing index gives no rows; a read failure is for the
// caller to log under its own name.
Result<std::vector<MailRow>> ReadMailboxRows(const Board& b, Mailbox box, std::int32_t userNo,
                                             std::string& buffer);

// The same rows, handed to `visit` one at a time: the index is read a slice at a
// time from its end into `buffer`, so output that streams the rows holds neither
// the whole index nor all its rows. The records are those the index held when
// the walk began.
Result<void> ForEachMailboxRow(const Board& b, Mailbox box, std::int32_t userNo, std::string& buffer,
                               const std::function<void(const MailRowView&)>& visit);

} // namespace kesto
