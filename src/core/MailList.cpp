#include "MailList.h"

#include "MailBase.h"
#include "platform/BoardPath.h"
#include "platform/File.h"

namespace kesto {
namespace {

// Record numbers in the list are 16-bit like every routine that reads them back,
// so records past 32767 cannot be opened and are not listed.
constexpr std::size_t kMaxListedRecords = 32767;

RowState StateFor(std::int32_t deleted, std::int32_t offline, bool hasAttachment) {
    if (deleted >= 1) return RowState::Deleted;
    if (offline == 0 && hasAttachment) return RowState::UnreadWithAttachment;
    if (offline < 1) return RowState::Unread;
    return RowState::Read;
}

// Only the fields a row shows, straight from the record's bytes: decoding every
// field of 32,767 records would cost more than the rest of a refresh.
void FillRow(MailRow& row, RecordNo number, std::string_view rec, bool received) {
    const std::int32_t offline = ReadField<&MessageInfo::Offline>(rec);
    const bool attachment = !TrimView(ReadField<&MessageInfo::AttFileName>(rec)).empty();
    const std::string_view from = TrimView(ReadField<&MessageInfo::FromHandle>(rec));
    const std::string_view to = TrimView(ReadField<&MessageInfo::ToHandle>(rec));
    row.number = number;
    row.state = StateFor(ReadField<&MessageInfo::Deleted>(rec), offline, attachment);
    row.name = received ? from : to;
    row.subject = TrimView(ReadField<&MessageInfo::Subject>(rec));
    row.date = TrimView(ReadField<&MessageInfo::Creation>(rec));
    row.size = ReadField<&MessageInfo::MsgLength>(rec);
    row.bold = offline == 0;
    row.ownerName = received ? to : from;
    row.unread = offline == 0;
    row.attachment = attachment;
    row.position = ReadField<&MessageInfo::MsgPos>(rec);
}

} // namespace

RowState RowStateOf(const MessageInfo& m) {
    return StateFor(m.Deleted, m.Offline, !TrimView(m.AttFileName).empty());
}

MailRow MakeMailRow(RecordNo number, const MessageInfo& m, Mailbox box) {
    MailRow row;
    row.number = number;
    row.state = RowStateOf(m);
    const bool received = box == Mailbox::Received;
    row.name = TrimView(received ? m.FromHandle : m.ToHandle);
    row.ownerName = TrimView(received ? m.ToHandle : m.FromHandle);
    row.subject = TrimView(m.Subject);
    row.date = TrimView(m.Creation);
    row.size = m.MsgLength;
    row.bold = m.Offline == 0;
    row.unread = m.Offline == 0;
    row.attachment = !TrimView(m.AttFileName).empty();
    row.position = m.MsgPos;
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
