#include "DeleteMessage.h"

#include "MailBase.h"
#include "platform/BoardPath.h"
#include "platform/File.h"

namespace kesto {
namespace {

constexpr std::size_t kDeletedOffset = 332;

} // namespace

void DeleteMessage(const Board& b, Mailbox box, RecordNo number) {
    Guard(b.log, "modKesto", "DeleteMessage", [&] {
        const std::string path =
            platform::NativePath(MailboxFile(b, MailboxName(box), ".DAT"), b.startDir);
        if (!platform::IsFile(path)) return;
        if (number < 1) throw KestoError("Bad record number");

        const std::int64_t offset = (static_cast<std::int64_t>(number) - 1) * std::int64_t{kMessageInfoSize};
        Bytes rec;
        platform::ReadAt(path, offset, kMessageInfoSize, rec);
        // Writing a mark past the last whole record would make up a message the board never wrote.
        if (rec.size() < kMessageInfoSize) throw KestoError("Bad record number");

        Bytes mark(2, '\0');
        PutI16(mark, 0, GetI16(rec, kDeletedOffset) == 0 ? 1 : 0);
        // Only the mark goes back: the board may have changed the rest of the record meanwhile.
        platform::WriteAt(path, offset + static_cast<std::int64_t>(kDeletedOffset), mark);
    });
}

} // namespace kesto
