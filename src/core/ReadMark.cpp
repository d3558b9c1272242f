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
    m.SysMsgNo = GetSeqNum(b).value_or(0);
    m.Subject = notice.substr(0, 64);
    m.Creation = CreationNow().substr(0, 40);
    m.Filename = "ONELINE";
    m.MsgPos = binLength ? static_cast<std::int32_t>(*binLength + 1) : 1;
    m.MsgLength = 2;

    // After the last whole record: a torn tail left by a crash is overwritten.
    const std::int64_t slot =
        platform::FileLengthIfAny(datPath).value_or(0) / static_cast<std::int64_t>(kMessageInfoSize);
    if (auto w = platform::WriteAt(datPath, slot * static_cast<std::int64_t>(kMessageInfoSize),
                                   EncodeMessageInfo(m));
        !w)
        return w;
    return platform::Append(binPath, "\r\n");
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
        if (s.info.FromNetId == 1) {
            s.noticeSent = SendOneLiner(b, readerNo, reader, s.info.FromUserNo,
                                        ReadNoticeText(reader, readerNo, s.info.Subject));
        }
        s.info.Offline = 1;
        s.markedRead = PutMessageInfo(b, mailbox, number, s.info).has_value();
    }
    FillShownTexts(b, s, body);
    return s;
}

} // namespace kesto
