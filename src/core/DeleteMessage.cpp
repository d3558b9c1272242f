#include "DeleteMessage.h"

#include "MailBase.h"
#include "platform/BoardPath.h"
#include "platform/File.h"

namespace kesto {

void DeleteMessage(const Board& b, std::int16_t currentMailbox, std::int16_t number) {
    Guard(b.log, "modKesto", "DeleteMessage", [&] {
        const std::string path =
            platform::NativePath(MailboxFile(b, MailboxName(currentMailbox), ".DAT"), b.startDir);
        if (!platform::IsFile(path)) return;
        if (number < 1) throw KestoError("Bad record number");

        const std::int64_t offset = (static_cast<std::int64_t>(number) - 1) * std::int64_t{kMessageInfoSize};
        Bytes rec;
        platform::ReadAt(path, offset, kMessageInfoSize, rec);
        // Writing a mark past the last whole record would make up a message the board never wrote.
        if (rec.size() < kMessageInfoSize) throw KestoError("Bad record number");

        constexpr FieldPlace deleted = PlaceOf<&MessageInfo::Deleted>();
        Bytes mark(deleted.width, '\0');
        PutI16(mark, 0, ReadField<&MessageInfo::Deleted>(rec) == 0 ? 1 : 0);
        // Only the mark goes back: the board may have changed the rest of the record meanwhile.
        platform::WriteAt(path, offset + static_cast<std::int64_t>(deleted.offset), mark);
    });
}

} // namespace kesto
