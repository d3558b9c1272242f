#include "MailBase.h"

#include "StringHelpers.h"
#include "TextHelpers.h"
#include "platform/BoardPath.h"
#include "platform/File.h"

#include <limits>

namespace kesto {
namespace {

constexpr std::string_view kModule = "modHALK";

std::string Native(const Board& b, std::string_view mailbox, std::string_view ext) {
    return platform::NativePath(MailboxFile(b, mailbox, ext), b.startDir);
}

Result<std::int64_t> RecordOffset(RecordNo number) {
    if (number < 1) return Error(ErrorCode::BadRecordNumber);
    return (static_cast<std::int64_t>(number) - 1) * static_cast<std::int64_t>(kMessageInfoSize);
}

Result<MessageInfo> ReadRecord(const std::string& path, RecordNo number) {
    Result<std::int64_t> offset = RecordOffset(number);
    if (!offset) return offset.error();
    Result<Bytes> buf = platform::ReadAt(path, *offset, kMessageInfoSize);
    if (!buf) return buf.error();
    return DecodeMessageInfo(*buf);
}

Result<void> WriteRecord(const std::string& path, RecordNo number, const MessageInfo& rec) {
    Result<std::int64_t> offset = RecordOffset(number);
    if (!offset) return offset.error();
    return platform::WriteAt(path, *offset, EncodeMessageInfo(rec));
}

Result<std::string> ReadBody(const std::string& path, std::int32_t position, std::int32_t length,
                             bool stripColourCodes, bool raw) {
    Result<BodySpan> span = GetBodySpan(position, length);
    if (!span) return span.error();
    Result<Bytes> read = platform::ReadAt(path, span->offset, span->length);
    if (!read) return read.error();
    return CleanMessageText(*read, length, stripColourCodes, raw);
}

} // namespace

// A damaged index record must not cost more than the text file holds. So a position
// below 1 (no byte of the file) and a negative length are failures; a length running
// past the end (up to 2147483647) gives the bytes that exist, and a position past the
// end the empty text, so the reader still shows whatever part of the body survived.
Result<BodySpan> GetBodySpan(std::int32_t position, std::int32_t length) {
    if (position < 1) return Error(ErrorCode::BadRecordNumber);
    if (length < 0) return Error(ErrorCode::BadRecordLength);
    return BodySpan{static_cast<std::int64_t>(position) - 1, length};
}

std::string CleanMessageText(std::string_view bytes, std::int32_t length, bool stripColourCodes, bool raw) {
    std::string text(bytes);
    if (!raw) {
        // A body cut short by the file's end reads as if blank-filled to its length: the
        // blanks then end the text, so no trailing CR LF is removed before they are.
        const bool cutShort = static_cast<std::int64_t>(bytes.size()) < length;
        text = ConvertCrLf(text);
        if (!cutShort) text = StripTrailingCrLf(text);
        text = RTrim(text);
    }
    if (stripColourCodes) text = StripHeartCodes(text);
    return text;
}

std::string_view MailboxName(Mailbox box) {
    return box == Mailbox::Received ? "EMAIL" : "SNTEMAIL";
}

std::string MailboxFile(const Board& b, std::string_view mailbox, std::string_view ext) {
    std::string name = UpperAscii(Trim(mailbox));
    name += ext;
    return BoardFile(b.paths.MailPath(), name);
}

Result<MessageInfo> GetMessageInfo(const Board& b, std::string_view mailbox, RecordNo number) {
    const std::string path = Native(b, mailbox, ".DAT");
    // A mailbox nobody has written to yet is normal, not an error worth a log line.
    if (!platform::IsFile(path)) return Error(ErrorCode::FileNotFound);
    return Logged(b.log, kModule, "GetMessageInfo", ReadRecord(path, number));
}

Result<void> PutMessageInfo(const Board& b, std::string_view mailbox, RecordNo number,
                            const MessageInfo& rec) {
    return Logged(b.log, kModule, "PutMessageInfo", WriteRecord(Native(b, mailbox, ".DAT"), number, rec));
}

Result<std::string> GetMessage(const Board& b, std::string_view mailbox, std::int32_t position,
                               std::int32_t length, bool stripColourCodes, bool raw) {
    const std::string path = Native(b, mailbox, ".BIN");
    if (!platform::IsFile(path)) return Error(ErrorCode::FileNotFound);
    return Logged(b.log, kModule, "GetMessage", ReadBody(path, position, length, stripColourCodes, raw));
}

Result<void> FileRecordAndText(const std::string& nativeDat, const std::string& nativeBin,
                               const MessageInfo& record, std::string_view text) {
    Result<std::int64_t> filedAt = platform::AppendRecord(nativeDat, EncodeMessageInfo(record));
    if (!filedAt) return filedAt.error();
    // Only these four bytes of the record just filed are ever written again.
    const auto patch = [&](FieldPlace place, std::int32_t value) {
        Bytes field(place.width, '\0');
        PutI32(field, 0, value);
        return platform::PatchAt(nativeDat, *filedAt + static_cast<std::int64_t>(place.offset), field);
    };
    Result<std::int64_t> landed = platform::AppendAt(nativeBin, text);
    if (!landed) {
        // The text is missing or cut short, and the next text will land where this one
        // was expected: the record is left with no text rather than somebody else's.
        (void)patch(PlaceOf<&MessageInfo::MsgLength>(), 0);
        return landed.error();
    }
    if (*landed >= std::numeric_limits<std::int32_t>::max()) return Error(ErrorCode::Overflow);
    const auto pos = static_cast<std::int32_t>(*landed + 1);
    if (pos == record.MsgPos) return {};
    return patch(PlaceOf<&MessageInfo::MsgPos>(), pos);
}

std::int32_t MessageCount(const Board& b, std::string_view mailbox) {
    const std::optional<std::int64_t> len = platform::FileLengthIfAny(Native(b, mailbox, ".DAT"));
    if (!len || *len <= 0) return 0;
    return static_cast<std::int32_t>(*len / static_cast<std::int64_t>(kMessageInfoSize));
}

} // namespace kesto
