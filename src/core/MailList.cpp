#include "MailList.h"

#include "MailBase.h"
#include "platform/BoardPath.h"
#include "platform/File.h"

#include <algorithm>
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
MailRowView ViewRow(RecordNo number, std::string_view rec, bool received) {
    const std::int32_t offline = ReadField<&MessageInfo::Offline>(rec);
    const bool attachment = !TrimView(ReadField<&MessageInfo::AttFileName>(rec)).empty();
    const std::string_view from = TrimView(ReadField<&MessageInfo::FromHandle>(rec));
    const std::string_view to = TrimView(ReadField<&MessageInfo::ToHandle>(rec));
    MailRowView row;
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
    return row;
}

void FillRow(MailRow& row, const MailRowView& view) {
    row.number = view.number;
    row.state = view.state;
    row.name = view.name;
    row.subject = view.subject;
    row.date = view.date;
    row.size = view.size;
    row.bold = view.bold;
    row.ownerName = view.ownerName;
    row.unread = view.unread;
    row.attachment = view.attachment;
    row.position = view.position;
}

std::size_t OwnerOffset(bool received) {
    return received ? PlaceOf<&MessageInfo::ToUserNo>().offset : PlaceOf<&MessageInfo::FromUserNo>().offset;
}

// Whole records in an index of `length` bytes that the list shows: a partial
// trailing record is not a message.
std::size_t ListedRecords(std::int64_t length) {
    const auto count = static_cast<std::size_t>(length) / kMessageInfoSize;
    return count > kMaxListedRecords ? kMaxListedRecords : count;
}

} // namespace

RowState RowStateOf(const MessageInfo& m) {
    return StateFor(m.Deleted, m.Offline, !TrimView(m.AttFileName).empty());
}

// Each row text holds its whole field.
static_assert(decltype(MailRow::name)::kWidth >= PlaceOf<&MessageInfo::FromHandle>().width &&
              decltype(MailRow::name)::kWidth >= PlaceOf<&MessageInfo::ToHandle>().width &&
              decltype(MailRow::subject)::kWidth >= PlaceOf<&MessageInfo::Subject>().width &&
              decltype(MailRow::date)::kWidth >= PlaceOf<&MessageInfo::Creation>().width &&
              decltype(MailRow::ownerName)::kWidth >= PlaceOf<&MessageInfo::FromHandle>().width &&
              decltype(MailRow::ownerName)::kWidth >= PlaceOf<&MessageInfo::ToHandle>().width);

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

MailRowView MakeMailRowView(const MailRow& row) {
    MailRowView view;
    view.number = row.number;
    view.state = row.state;
    view.name = row.name;
    view.subject = row.subject;
    view.date = row.date;
    view.size = row.size;
    view.bold = row.bold;
    view.ownerName = row.ownerName;
    view.unread = row.unread;
    view.attachment = row.attachment;
    view.position = row.position;
    return view;
}

MailRow MakeMailRow(RecordNo number, std::string_view record, Mailbox box) {
    MailRow row;
    FillRow(row, ViewRow(number, record, box == Mailbox::Received));
    return row;
}

Result<std::vector<MailRow>> ReadMailboxRows(const Board& b, Mailbox box, std::int32_t userNo,
                                             std::string& buffer) {
    std::vector<MailRow> rows;
    const std::string path = platform::NativePath(MailboxFile(b, MailboxName(box), ".DAT"), b.startDir);
    // Room for every record up front, up to the 32,767 of a full 16-bit mailbox:
    // growing would move the rows several times over, and the pages of room a
    // smaller mailbox leaves unused are never touched. Past that the rows grow.
    constexpr std::size_t kReservedRows = 32767;
    if (const std::optional<std::int64_t> length = platform::FileLengthIfAny(path))
        rows.reserve(std::min(ListedRecords(*length), kReservedRows));
    Result<void> walked = ForEachMailboxRow(
        b, box, userNo, buffer, [&](const MailRowView& view) { FillRow(rows.emplace_back(), view); });
    if (!walked) return walked.error();
    if (rows.size() < rows.capacity() / 2) rows.shrink_to_fit();
    return rows;
}

Result<void> ForEachMailboxRow(const Board& b, Mailbox box, std::int32_t userNo, std::string& buffer,
                               const std::function<void(const MailRowView&)>& visit) {
    const std::string path = platform::NativePath(MailboxFile(b, MailboxName(box), ".DAT"), b.startDir);
    if (!platform::IsFile(path)) return {};
    const Result<std::int64_t> length = platform::FileLength(path);
    if (!length) return length.error();

    const bool received = box == Mailbox::Received;
    const std::size_t ownerOffset = OwnerOffset(received);
    // 149 KB at a time: the walk never holds more of the index, in few reads.
    constexpr std::size_t kSliceRecords = 256;
    std::size_t end = ListedRecords(*length); // records [0, end) are still to be walked
    while (end > 0) {
        const std::size_t first = end > kSliceRecords ? end - kSliceRecords : 0;
        if (auto read = platform::ReadAt(path, static_cast<std::int64_t>(first * kMessageInfoSize),
                                         (end - first) * kMessageInfoSize, buffer);
            !read)
            return read.error();
        // An index that shrank under us lists what it still holds.
        const std::size_t got = std::min(end - first, buffer.size() / kMessageInfoSize);
        const std::string_view slice(buffer);
        for (std::size_t i = got; i >= 1; --i) {
            const std::size_t rec = (i - 1) * kMessageInfoSize;
            if (GetI32(slice, rec + ownerOffset) != userNo) continue;
            visit(ViewRow(static_cast<RecordNo>(first + i), slice.substr(rec, kMessageInfoSize), received));
        }
        end = first;
    }
    return {};
}

} // namespace kesto
