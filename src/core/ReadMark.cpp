#include "ReadMark.h"

#include "StringHelpers.h"
#include "TextHelpers.h"
#include "DateFunctions.h"
#include "ErrorLog.h"
#include "MailBase.h"
#include "SystemFiles.h"
#include "UserFile.h"
#include "platform/BoardPath.h"
#include "platform/File.h"
#include "platform/Termination.h"

namespace kesto {

namespace {
constexpr std::string_view kModule = "frmOpenMessage";

std::string AddressLine(std::string_view handle, std::string_view node, std::string_view network) {
    return Trim(handle) + " @" + Trim(node) + " (" + std::string(network) + ")";
}

// SYSTEMID of network 1 as stored, "0" when it is empty.
std::string RawSystemId(const Board& b) {
    std::string id = GetNetEntry(b, 1, "SYSTEMID").value_or("");
    return Trim(id).empty() ? std::string("0") : id;
}

Result<void> WriteNotice(const Board& b, std::int32_t readerNo, const UserRecord& reader,
                         std::int32_t recipient, const UserRecord& to, const std::string& notice) {
    const std::string systemId = RawSystemId(b);
    const std::string binPath = BoardNativePath(b, b.paths.MailPath(), "ONELINE.BIN");
    const std::string datPath = BoardNativePath(b, b.paths.MailPath(), "ONELINE.DAT");
    const std::optional<std::int64_t> binLength = platform::FileLengthIfAny(binPath);

    MessageInfo m = EmptyMessageInfo();
    m.FromUserNo = readerNo;
    m.ToUserNo = recipient;
    m.FromHandle = reader.Handle;
    m.ToHandle = to.Handle;
    m.FromNetNode = systemId;
    m.ToNetNode = systemId;
    m.FromNetId = 1;
    m.ToNetId = 1;
    Result<std::int32_t> now = GetTimeStamp(0);
    if (!now) return now.error();
    m.TimeStamp = *now;
    // As for mail: an unreadable sequence file gives serial 0, a number held back no notice.
    Result<std::int32_t> serial = GetSeqNum(b);
    if (!serial && serial.error().code == ErrorCode::Locked) return serial.error();
    m.SysMsgNo = serial.value_or(0);
    m.Subject = notice.substr(0, 64);
    m.Creation = CreationNow().substr(0, 40);
    m.Filename = "ONELINE";
    m.MsgPos = binLength ? static_cast<std::int32_t>(*binLength + 1) : 1;
    m.MsgLength = 2;
    return FileRecordAndText(datPath, binPath, m, "\r\n");
}

// The read mark, stored under a lock on the record: of two copies of Kesto opening the
// same unread message, only the first announces it. Only the mark's bytes are written,
// the board may have changed the rest of the record meanwhile. True when this call
// stored it; `announce` runs just before, while the lock is held.
template <class Announce>
Result<bool> StoreReadMark(const Board& b, std::string_view mailbox, RecordNo number, Announce announce) {
    if (number < 1) return Error(ErrorCode::BadRecordNumber);
    const std::string path = platform::NativePath(MailboxFile(b, mailbox, ".DAT"), b.startDir);
    const std::int64_t offset = (static_cast<std::int64_t>(number) - 1) * std::int64_t{kMessageInfoSize};
    Result<platform::LockedFile> file = platform::LockedFile::Open(path, offset, kMessageInfoSize, false);
    if (!file) return file.error();
    Result<Bytes> rec = file->ReadAt(offset, kMessageInfoSize);
    if (!rec) return rec.error();
    if (rec->size() < kMessageInfoSize) return Error(ErrorCode::BadRecordNumber);
    if (ReadField<&MessageInfo::Offline>(*rec) != 0) return false;
    announce(DecodeMessageInfo(*rec));
    constexpr FieldPlace offline = PlaceOf<&MessageInfo::Offline>();
    Bytes mark(offline.width, '\0');
    PutI32(mark, 0, 1);
    if (auto w = file->WriteAt(offset + static_cast<std::int64_t>(offline.offset), mark); !w)
        return w.error();
    if (auto c = file->Close(); !c) return c.error();
    return true;
}

} // namespace

std::string ReadNoticeText(const UserRecord& reader, std::int32_t readerNo, std::string_view subject) {
    return Trim(reader.Handle) + " #" + std::to_string(readerNo) + " Read Email: " + Trim(subject);
}

std::string ReaderBodyText(std::string_view body) {
    return RTrim(StripTrailingCrLf(body));
}

std::string MessageDisplayText(std::string_view body, const MessageInfo& m) {
    std::string text(body);
    MakeDisplayText(text, m.AttFileName, m.AttFileSize);
    return text;
}

void MakeDisplayText(std::string& text, std::string_view attFileName, std::int32_t attFileSize) {
    // As StripTrailingCrLf and RTrim, without a copy for each.
    if (text.find_first_not_of(' ') != std::string::npos)
        while (text.ends_with(kCrLf)) text.resize(text.size() - 2);
    text.resize(text.find_last_not_of(' ') + 1);
    const std::string_view att = TrimView(attFileName);
    if (!att.empty()) {
        text += "\r\n\r\n---\r\nAttached File: ";
        text += att;
        text += " (" + std::to_string(attFileSize) + " bytes)";
    }
}

bool SendOneLiner(const Board& b, std::int32_t readerNo, const UserRecord& reader, std::int32_t recipient,
                  std::string_view text) {
    std::string notice = Trim(text);
    if (notice.empty() || recipient < 1) return false;
    const Result<UserRecord> to = GetUser(b, recipient);
    if (!to) return false;
    return Logged(b.log, kModule, "SendOneLiner", WriteNotice(b, readerNo, reader, recipient, *to, notice))
        .has_value();
}

void FillShownTexts(const Board& b, ShownMessage& s, std::string_view body) {
    MessageInfo& m = s.info;
    const std::string rawId = GetNetEntry(b, 1, "SYSTEMID").value_or("");
    std::string systemId = Trim(rawId).empty() ? std::string("0") : Trim(rawId);
    // A local recipient stored without a node shows this board's own id.
    if (m.ToNetId == 1 && NumericValue(Trim(m.ToNetNode)) == 0) m.ToNetNode = systemId;
    s.fromLine = AddressLine(m.FromHandle, m.FromNetNode, NetworkName(b, m.FromNetId));
    s.toLine = AddressLine(m.ToHandle, m.ToNetNode, NetworkName(b, m.ToNetId));
    s.subject = Trim(m.Subject);
    s.date = Trim(m.Creation);
    s.deleted = m.Deleted != 0;
    s.text = MessageDisplayText(body, m);
}

ShownMessage ShowMessage(const Board& b, Mailbox box, RecordNo number, std::int32_t readerNo,
                         const UserRecord& reader) {
    ShownMessage s;
    const std::string_view mailbox = MailboxName(box);
    const Result<MessageInfo> info = GetMessageInfo(b, mailbox, number);
    s.info = info.value_or(EmptyMessageInfo());
    s.ok = info && number >= 1 && number <= MessageCount(b, mailbox);
    const std::string body =
        GetMessage(b, mailbox, s.info.MsgPos, s.info.MsgLength, true, false).value_or(std::string());

    // Only a record that really is in the index gets its mark: writing one
    // read past the end would grow the index by a blank record.
    if (s.ok && s.info.Offline == 0) {
        // A termination request waits until notice and mark are both written.
        const platform::DeferTermination whole;
        const Result<bool> marked =
            Logged(b.log, "modHALK", "PutMessageInfo",
                   StoreReadMark(b, mailbox, number, [&](const MessageInfo& current) {
                       if (current.FromNetId == 1)
                           s.noticeSent = SendOneLiner(b, readerNo, reader, current.FromUserNo,
                                                       ReadNoticeText(reader, readerNo, current.Subject));
                   }));
        s.markedRead = marked.value_or(false);
        s.info.Offline = 1;
    }
    FillShownTexts(b, s, body);
    return s;
}

} // namespace kesto
