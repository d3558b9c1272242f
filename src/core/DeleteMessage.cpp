#include "DeleteMessage.h"

#include "MailBase.h"
#include "platform/BoardPath.h"
#include "platform/File.h"

namespace kesto {
namespace {

// Read and written back under a lock on the record, so a toggle in another copy of
// Kesto is never undone by ours. Only the mark goes back: the board may have changed
// the rest of the record meanwhile.
Result<void> ToggleMark(const std::string& path, RecordNo number) {
    if (number < 1) return Error(ErrorCode::BadRecordNumber);
    const std::int64_t offset = (static_cast<std::int64_t>(number) - 1) * std::int64_t{kMessageInfoSize};
    Result<platform::LockedFile> file = platform::LockedFile::Open(path, offset, kMessageInfoSize, false);
    if (!file) return file.error();
    const Result<Bytes> rec = file->ReadAt(offset, kMessageInfoSize);
    if (!rec) return rec.error();
    // Writing a mark past the last whole record would make up a message the board never wrote.
    if (rec->size() < kMessageInfoSize) return Error(ErrorCode::BadRecordNumber);

    constexpr FieldPlace deleted = PlaceOf<&MessageInfo::Deleted>();
    Bytes mark(deleted.width, '\0');
    PutI16(mark, 0, ReadField<&MessageInfo::Deleted>(*rec) == 0 ? 1 : 0);
    if (auto w = file->WriteAt(offset + static_cast<std::int64_t>(deleted.offset), mark); !w) return w;
    return file->Close();
}

} // namespace

Result<void> DeleteMessage(const Board& b, Mailbox box, RecordNo number) {
    const std::string path = platform::NativePath(MailboxFile(b, MailboxName(box), ".DAT"), b.startDir);
    if (!platform::IsFile(path)) return {};
    return Logged(b.log, "modKesto", "DeleteMessage", ToggleMark(path, number));
}

} // namespace kesto
