#include "MailBase.h"

#include "StringHelpers.h"
#include "TextHelpers.h"
#include "platform/BoardPath.h"
#include "platform/File.h"

namespace kesto {
namespace {

constexpr std::string_view kModule = "modHALK";

std::string Native(const Board& b, std::string_view mailbox, std::string_view ext) {
    return platform::NativePath(MailboxFile(b, mailbox, ext), b.startDir);
}

std::int64_t RecordOffset(RecordNo number) {
    if (number < 1) throw KestoError("Bad record number");
    return (static_cast<std::int64_t>(number) - 1) * static_cast<std::int64_t>(kMessageInfoSize);
}

} // namespace

std::string_view MailboxName(Mailbox box) {
    return box == Mailbox::Received ? "EMAIL" : "SNTEMAIL";
}

std::string MailboxFile(const Board& b, std::string_view mailbox, std::string_view ext) {
    std::string name = UpperAscii(Trim(mailbox));
    name += ext;
    return BoardFile(b.paths.MailPath(), name);
}

MessageInfo GetMessageInfo(const Board& b, std::string_view mailbox, RecordNo number,
                           std::int16_t& status) {
    status = 0;
    MessageInfo rec;
    bool ok = Guard(b.log, kModule, "GetMessageInfo", [&] {
        const std::string path = Native(b, mailbox, ".DAT");
        // A mailbox nobody has written to yet is normal, not an error worth a log line.
        if (!platform::IsFile(path)) {
            status = -1;
            rec = EmptyMessageInfo();
            return;
        }
        Bytes buf;
        platform::ReadAt(path, RecordOffset(number), kMessageInfoSize, buf);
        rec = DecodeMessageInfo(buf);
    });
    if (!ok) {
        status = -1;
        rec = EmptyMessageInfo();
    }
    return rec;
}

void PutMessageInfo(const Board& b, std::string_view mailbox, RecordNo number, const MessageInfo& rec,
                    std::int16_t& status) {
    status = 0;
    if (!Guard(b.log, kModule, "PutMessageInfo", [&] {
            platform::WriteAt(Native(b, mailbox, ".DAT"), RecordOffset(number), EncodeMessageInfo(rec));
        }))
        status = -1;
}

// A damaged index record must not cost more than the text file holds. So:
//  - a position below 1 names no byte of the file: a failure, logged, status -1;
//  - a negative length is likewise a damaged record: a failure;
//  - a length running past the end (up to 2147483647) gives the bytes that exist,
//    and a position past the end gives the empty text, both with status 0, so the
//    reader still shows whatever part of the body survived.
std::string GetMessage(const Board& b, std::string_view mailbox, std::int32_t position, std::int32_t length,
                       bool stripColourCodes, bool raw, std::int16_t& status) {
    status = 0;
    std::string text;
    bool ok = Guard(b.log, kModule, "GetMessage", [&] {
        const std::string path = Native(b, mailbox, ".BIN");
        if (!platform::IsFile(path)) {
            status = -1;
            return;
        }
        if (position < 1) throw KestoError("Bad record number");
        if (length < 0) throw KestoError("Bad record length");
        platform::ReadAt(path, static_cast<std::int64_t>(position) - 1, length, text);
        if (!raw) {
            // A body cut short by the file's end reads as if blank-filled to its length: the
            // blanks then end the text, so no trailing CR LF is removed before they are.
            const bool cutShort = static_cast<std::int64_t>(text.size()) < length;
            text = ConvertCrLf(text);
            if (!cutShort) text = StripTrailingCrLf(text);
            text = RTrim(text);
        }
        if (stripColourCodes) text = StripHeartCodes(text);
    });
    if (!ok) {
        status = -1;
        text.clear();
    }
    return text;
}

std::int32_t MessageCount(const Board& b, std::string_view mailbox) {
    std::int64_t len = platform::FileLengthOr(Native(b, mailbox, ".DAT"));
    if (len <= 0) return 0;
    return static_cast<std::int32_t>(len / static_cast<std::int64_t>(kMessageInfoSize));
}

} // namespace kesto
