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
    MailRowView row;
    row.number = number;
    row.state = StateFor(ReadField<&MessageInfo::Deleted>(rec), offline,
                         !TrimView(ReadField<&MessageInfo::AttFileName>(rec)).empty());
    row.name = TrimView(received ? ReadField<&MessageInfo::FromHandle>(rec)
                                 : ReadField<&MessageInfo::ToHandle>(rec));
    row.subject = TrimView(ReadField<&MessageInfo::Subject>(rec));
    row.date = TrimView(ReadField<&MessageInfo::Creation>(rec));
    row.size = ReadField<&MessageInfo::MsgLength>(rec);
    row.bold = offline == 0;
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
              decltype(MailRow::date)::kWidth >= PlaceOf<&MessageInfo::Creation>().width);

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
