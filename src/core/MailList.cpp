#include "MailList.h"

#include "MailBase.h"
#include "platform/BoardPath.h"
#include "platform/File.h"

#include <limits>

namespace kesto {
namespace {

// The last record a 32-bit record number reaches.
constexpr std::size_t kMaxListedRecords = std::numeric_limits<RecordNo>::max();

RowState StateFor(std::int32_t deleted, std::int32_t offline, bool hasAttachment) {
    if (deleted >= 1) return RowState::Deleted;
    if (offline == 0 && hasAttachment) return RowState::UnreadWithAttachment;
    if (offline < 1) return RowState::Unread;
    return RowState::Read;
}

// Only the fields a row shows, straight from the record's bytes: decoding every
// field of tens of thousands of records would cost more than the rest of a refresh.
void FillRow(MailRow& row, RecordNo number, std::string_view rec, bool received) {
    const std::int32_t offline = ReadField<&MessageInfo::Offline>(rec);
    row.number = number;
    row.state = StateFor(ReadField<&MessageInfo::Deleted>(rec), offline,
                         !TrimView(ReadField<&MessageInfo::AttFileName>(rec)).empty());
    row.name = TrimView(received ? ReadField<&MessageInfo::FromHandle>(rec)
                                 : ReadField<&MessageInfo::ToHandle>(rec));
    row.subject = TrimView(ReadField<&MessageInfo::Subject>(rec));
    row.date = TrimView(ReadField<&MessageInfo::Creation>(rec));
    row.size = ReadField<&MessageInfo::MsgLength>(rec);
    row.bold = offline == 0;
}

} // namespace

RowState RowStateOf(const MessageInfo& m) {
    return StateFor(m.Deleted, m.Offline, !TrimView(m.AttFileName).empty());
}

MailRow MakeMailRow(RecordNo number, const MessageInfo& m, Mailbox box) {
    MailRow row;
    row.number = number;
    row.state = RowStateOf(m);
    row.name = TrimView(box == Mailbox::Received ? m.FromHandle : m.ToHandle);
    row.subject = TrimView(m.Subject);
    row.date = TrimView(m.Creation);
    row.size = m.MsgLength;
    row.bold = m.Offline == 0;
    return row;
}

MailRow MakeMailRow(RecordNo number, std::string_view record, Mailbox box) {
    MailRow row;
    FillRow(row, number, record, box == Mailbox::Received);
    return row;
}

Result<std::vector<MailRow>> ReadMailboxRows(const Board& b, Mailbox box, std::int32_t userNo,
                                             std::string& buffer) {
    std::vector<MailRow> rows;
    const std::string path = platform::NativePath(MailboxFile(b, MailboxName(box), ".DAT"), b.startDir);
    if (!platform::IsFile(path)) return rows;
    if (auto read = platform::ReadAll(path, buffer); !read) return read.error();

    const bool received = box == Mailbox::Received;
    const std::size_t ownerOffset =
        received ? PlaceOf<&MessageInfo::ToUserNo>().offset : PlaceOf<&MessageInfo::FromUserNo>().offset;
    std::size_t count = buffer.size() / kMessageInfoSize; // a partial trailing record is not a message
    if (count > kMaxListedRecords) count = kMaxListedRecords;

    const std::string_view all(buffer);
    // Counting first costs one read of a field per record and saves regrowing
    // (and moving) the rows of a large mailbox several times over.
    std::size_t matches = 0;
    for (std::size_t i = 0; i < count; ++i)
        matches += GetI32(all, i * kMessageInfoSize + ownerOffset) == userNo;
    rows.reserve(matches);
    for (std::size_t i = count; i >= 1; --i) {
        const std::size_t rec = (i - 1) * kMessageInfoSize;
        if (GetI32(all, rec + ownerOffset) != userNo) continue;
        FillRow(rows.emplace_back(), static_cast<RecordNo>(i), all.substr(rec, kMessageInfoSize), received);
    }
    return rows;
}

} // namespace kesto
