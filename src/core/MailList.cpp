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

Result<std::vector<MailRow>> ReadMailboxRows(const Board& b, Mailbox box, std::int32_t userNo,
                                             std::string& buffer) {
    std::vector<MailRow> rows;
    const std::string path = platform::NativePath(MailboxFile(b, MailboxName(box), ".DAT"), b.startDir);
    if (!platform::IsFile(path)) return rows;
    if (auto read = platform::ReadAll(path, buffer); !read) return read.error();

    const bool received = box == Mailbox::Received;
    const std::size_t ownerOffset = received ? 4 : 0;
    const std::size_t nameOffset = received ? 8 : 48;
    std::size_t count = buffer.size() / kMessageInfoSize; // a partial trailing record is not a message
    if (count > kMaxListedRecords) count = kMaxListedRecords;

    // Only the shown fields are decoded, straight from the buffer: this runs on every
    // refresh over the whole index.
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
        const std::int32_t offline = GetI32(all, rec + 374);
        MailRow& row = rows.emplace_back();
        row.number = static_cast<RecordNo>(i);
        row.state = StateFor(GetI16(all, rec + 332), offline, !TrimView(all.substr(rec + 382, 12)).empty());
        row.name = TrimView(all.substr(rec + nameOffset, 40));
        row.subject = TrimView(all.substr(rec + 268, 64));
        row.date = TrimView(all.substr(rec + 334, 40));
        row.size = GetI32(all, rec + 482);
        row.bold = offline == 0;
    }
    return rows;
}

} // namespace kesto
