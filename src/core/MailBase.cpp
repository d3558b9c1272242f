#include "MailBase.h"

#include "TextHelpers.h"
#include "platform/BoardPath.h"
#include "platform/File.h"

#include <algorithm>
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

// Texts are read at least this much at a time by MessageTexts.
constexpr std::int64_t kTextWindow = 1 << 20;

std::string CleanMessageText(std::string_view bytes, std::int32_t length, bool stripColourCodes, bool raw) {
    std::string text;
    CleanMessageText(bytes, length, stripColourCodes, raw, text);
    return text;
}

// ConvertCrLf, StripTrailingCrLf, RTrim and StripHeartCodes in one buffer: a mailbox
// export cleans every body, and a copy and an allocation per step would cost more
// than the rest of it.
void CleanMessageText(std::string_view bytes, std::int32_t length, bool stripColourCodes, bool raw,
                      std::string& text) {
    text.clear();
    if (raw) {
        text.assign(bytes);
    } else {
        text.reserve(bytes.size() + bytes.size() / 8 + 2);
        // Line ends are found with find (memchr), not byte by byte: bodies are long.
        constexpr std::size_t npos = std::string_view::npos;
        std::size_t nextCr = bytes.find('\r');
        std::size_t nextLf = bytes.find('\n');
        std::size_t from = 0;
        while (nextCr != npos || nextLf != npos) {
            std::size_t i = std::min(nextCr, nextLf);
            text.append(bytes, from, i - from);
            text += kCrLf;
            if (i == nextCr && nextLf == i + 1) ++i; // CR LF is one line end
            from = i + 1;
            if (nextCr != npos && nextCr < from) nextCr = bytes.find('\r', from);
            if (nextLf != npos && nextLf < from) nextLf = bytes.find('\n', from);
        }
        text.append(bytes, from);
        // A body cut short by the file's end reads as if blank-filled to its length: the
        // blanks then end the text, so no trailing CR LF is removed before they are.
        const bool cutShort = static_cast<std::int64_t>(bytes.size()) < length;
        if (!cutShort && text.find_first_not_of(' ') != std::string::npos)
            while (text.ends_with(kCrLf)) text.resize(text.size() - 2);
        text.resize(text.find_last_not_of(' ') + 1); // npos + 1 is 0: all blanks
    }
    if (!stripColourCodes) return;
    std::size_t hit = text.find('\x03');
    if (hit == std::string::npos) return;
    // Each colour code (character 3 and the one after it) goes; the runs between move down.
    std::size_t kept = hit;
    while (hit != std::string::npos) {
        const std::size_t from = std::min(hit + 2, text.size());
        hit = text.find('\x03', from);
        const std::size_t to = hit == std::string::npos ? text.size() : hit;
        std::char_traits<char>::move(text.data() + kept, text.data() + from, to - from);
        kept += to - from;
    }
    text.resize(kept);
}

MessageTexts::MessageTexts(const Board& b, Mailbox box) : path_(Native(b, MailboxName(box), ".BIN")) {}

Result<std::string> MessageTexts::Get(std::int32_t position, std::int32_t length, bool stripColourCodes,
                                      bool raw) {
    std::string text;
    if (auto r = Get(position, length, stripColourCodes, raw, text); !r) return r.error();
    return text;
}

Result<void> MessageTexts::Get(std::int32_t position, std::int32_t length, bool stripColourCodes, bool raw,
                               std::string& text) {
    text.clear();
    if (position < 1) return Error(ErrorCode::BadRecordNumber);
    if (length < 0) return Error(ErrorCode::BadRecordLength);
    const std::int64_t begin = static_cast<std::int64_t>(position) - 1;
    const std::int64_t windowEnd = windowStart_ + static_cast<std::int64_t>(window_.size());
    const bool inWindow =
        windowStart_ >= 0 && begin >= windowStart_ && (begin + length <= windowEnd || windowAtEnd_);
    if (!inWindow) {
        const std::int64_t want = std::max<std::int64_t>(length, kTextWindow);
        if (auto read = platform::ReadAt(path_, begin, static_cast<std::size_t>(want), window_); !read) {
            windowStart_ = -1;
            return read;
        }
        windowStart_ = begin;
        windowAtEnd_ = static_cast<std::int64_t>(window_.size()) < want;
    }
    const std::string_view all(window_);
    const auto from = static_cast<std::size_t>(begin - windowStart_);
    const std::string_view bytes =
        from < all.size() ? all.substr(from, static_cast<std::size_t>(length)) : std::string_view{};
    CleanMessageText(bytes, length, stripColourCodes, raw, text);
    return {};
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
