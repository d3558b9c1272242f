#include "Delivery.h"

#include "DateFunctions.h"
#include "FileHelpers.h"
#include "MailAddress.h"
#include "MailBase.h"
#include "SystemFiles.h"
#include "TextHelpers.h"
#include "UserFile.h"
#include "WordWrap.h"
#include "platform/BoardPath.h"
#include "platform/File.h"
#include "platform/Termination.h"

#include <cmath>
#include <filesystem>
#include <limits>
#include <optional>

namespace kesto {
namespace {

constexpr std::string_view kModule = "frmNewMessage";

std::string Native(const Board& b, std::string_view boardPath) {
    return platform::NativePath(boardPath, b.startDir);
}

std::int32_t ToI32(double v) {
    if (!(v == v)) return 0;
    double r = std::nearbyint(v);
    if (r > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    if (r < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(r);
}

std::int16_t ToI16(double v) {
    std::int32_t r = ToI32(v);
    if (r > 32767) return 32767;
    if (r < -32768) return -32768;
    return static_cast<std::int16_t>(r);
}

std::string DropTrailingLineBreaks(std::string s) {
    while (!s.empty() && (s.back() == '\r' || s.back() == '\n')) s.pop_back();
    return s;
}

struct AttachmentCopy {
    std::string path; // board path of the copy
    std::string name; // its 8.3 name
    std::int32_t size = 0;
};

// Copies the attachment to AttachPath\<from>\<8.3 name>, replacing a file of that name.
// `source` is the file itself; its 8.3 name is only what the record carries.
Result<AttachmentCopy> CopyAttachment(const Board& b, std::string_view from, const std::string& source) {
    AttachmentCopy out;
    const std::string folder = BoardFile(b.paths.AttachPath(), from);
    // One level only: a missing attachment directory is the board's problem, not ours to build.
    if (auto made = platform::MakeDirectory(Native(b, folder)); !made) return made.error();
    const std::filesystem::path real(source);
    const std::string dir = real.parent_path().string();
    out.name = platform::ShortAlias(dir.empty() ? "." : dir, real.filename().string());
    if (out.name.empty()) return Error(ErrorCode::BadFileName);
    out.path = folder + "\\" + out.name;

    const std::string target = Native(b, out.path);
    if (auto copied = platform::CopyFile(source, target); !copied) return copied.error();
    Result<std::int64_t> size = platform::FileLength(target);
    if (!size) return size.error();
    out.size = *size > std::numeric_limits<std::int32_t>::max() ? std::numeric_limits<std::int32_t>::max()
                                                                : static_cast<std::int32_t>(*size);
    return out;
}

// 1-based position a text appended to `nativePath` will start at.
Result<std::int32_t> NextTextPosition(const std::string& nativePath) {
    const std::optional<std::int64_t> len = platform::FileLengthIfAny(nativePath);
    if (!len) return 1;
    if (*len >= std::numeric_limits<std::int32_t>::max()) return Error(ErrorCode::Overflow);
    return static_cast<std::int32_t>(*len + 1);
}

// The steps of SendEmail in their fixed order. A refusal the user must see comes back
// as a result; a failure ends the delivery with what was done so far kept.
Result<SendResult> Deliver(const Board& b, std::int32_t fromNo, std::string_view addressText,
                           std::string_view subjectText, std::string_view textIn, std::string_view attach,
                           bool saveSentCopy) {
    const std::string from = std::to_string(fromNo);
    const std::string subject = RTrim(subjectText).substr(0, 64);

    std::string text = RTrim(WordWrap(textIn, 79, true)) + std::string(kCrLf);
    const std::string tagPath = BoardFile(b.paths.TextPath(), "EMAIL.TAG");
    // A tag that cannot be read is logged by the reader and the message goes without it.
    if (FileExists(b, tagPath))
        text += "\r\n\r\n" + DropTrailingLineBreaks(ReadFileContents(b, tagPath, true).value_or(""));

    const std::string ownId = OwnSystemId(b);

    AttachmentCopy att;
    if (!TrimView(attach).empty()) {
        const std::string source(attach);
        // Never a message without the file the sender meant to send.
        if (!platform::IsReadableFile(source))
            return SendResult{false, std::string(kMsgAttachmentUnreadable)};
        Result<AttachmentCopy> copied = CopyAttachment(b, from, source);
        if (!copied) return copied.error();
        att = std::move(*copied);
    }

    auto [user, system, network] = ParseMailAddress(addressText);
    if (system == ownId && NumericValue(network) == 1) {
        system = "0";
        network = "0";
    }

    // A recipient record that cannot be read is logged where it is read and counts as empty.
    const UserRecord noUser = DecodeUserRecord({});
    UserRecord recipient;
    if (NumericValue(network) == 0) {
        if (IsNumeric(user)) {
            recipient = GetUser(b, ToI32(NumericValue(user))).value_or(noUser);
        } else {
            RecordNo found = FindHandle(b, user).value_or(0);
            if (found == 0) found = FindRealName(b, user).value_or(0);
            if (found == 0) return SendResult{false, std::string(kMsgInvalidUser)};
            user = std::to_string(found);
            recipient = GetUser(b, found).value_or(noUser);
        }
        if (recipient.ForwardMail == 1) {
            if (Trim(recipient.ForwardNetNode) == ownId && recipient.ForwardNetId == 1) {
                user = std::to_string(recipient.ForwardUserNo);
                recipient = GetUser(b, recipient.ForwardUserNo).value_or(noUser);
            } else {
                user = recipient.ForwardUserNo != 0 ? std::to_string(recipient.ForwardUserNo)
                                                    : Trim(recipient.ForwardHandle);
                system = Trim(recipient.ForwardNetNode);
                network = std::to_string(recipient.ForwardNetId);
            }
        }
    }
    const std::int16_t networkNo = ToI16(NumericValue(network));
    const bool local = NumericValue(network) == 0;
    std::string recipientName;
    if (local) {
        recipientName = Trim(recipient.Handle);
    } else {
        recipientName = user;
        user = "0";
    }

    // Only an existing user may send: a blank record must never be written back.
    if (fromNo < 1 || fromNo > GetUserCount(b).value_or(0)) return Error(ErrorCode::BadRecordNumber);
    Result<UserRecord> sender = AddSentMail(b, fromNo);
    if (!sender) {
        const ErrorCode code = sender.error().code;
        if (code != ErrorCode::Locked && code != ErrorCode::Overflow)
            return Error(ErrorCode::BadRecordNumber);
        return sender.error();
    }

    const std::optional<NetworkFields> netFields = GetNetworkInfo(b, networkNo).value_or(std::nullopt);
    std::string senderName = Trim(sender->Handle);
    if (NumericValue(network) > 0 && netFields && NumericValue((*netFields)[1]) == 4 &&
        NumericValue((*netFields)[3]) == 1) {
        senderName = Trim(sender->RealName);
    }

    if (auto counted = AddToStatHbrdDat(b); !counted) return counted.error();

    const std::string emailBin = BoardNativePath(b, b.paths.MailPath(), "EMAIL.BIN");
    MessageInfo m = EmptyMessageInfo();
    m.FromUserNo = fromNo;
    m.ToUserNo = ToI32(NumericValue(user));
    m.FromHandle = senderName;
    m.ToHandle = recipientName;
    m.FromNetNode = ownId;
    m.ToNetNode = system;
    m.FromNetId = 1;
    m.ToNetId = networkNo == 0 ? std::int16_t{1} : networkNo;
    Result<std::int32_t> now = GetTimeStamp(0);
    if (!now) return now.error();
    m.TimeStamp = *now;
    // An unreadable sequence file is logged there and the message goes with serial 0, as
    // the board's own sending would; only a number another copy holds back stops it.
    Result<std::int32_t> serial = GetSeqNum(b);
    if (!serial && serial.error().code == ErrorCode::Locked) return serial.error();
    m.SysMsgNo = serial.value_or(0);
    m.Subject = subject;
    m.Creation = CreationNow();
    m.AttFileSize = att.size;
    m.AttFileName = att.name;
    m.AttFilePath = att.path;
    m.Filename = "EMAIL";
    if (local) {
        Result<std::int32_t> pos = NextTextPosition(emailBin);
        if (!pos) return pos.error();
        m.MsgPos = *pos;
    } else {
        m.MsgPos = 0;
    }
    m.MsgLength = static_cast<std::int32_t>(text.size());

    if (local) {
        Result<void> filed =
            FileRecordAndText(BoardNativePath(b, b.paths.MailPath(), "EMAIL.DAT"), emailBin, m, text);
        if (!filed) return filed.error();
        SendOneLine(b, senderName + " just sent you some email!", m.ToUserNo, -1);
    } else {
        // Record and text in one write, so entries of different writers never interleave.
        Bytes entry = EncodeMessageInfo(m);
        entry += text;
        if (auto spooled = platform::Append(BoardNativePath(b, b.paths.DataPath(), "SPOOL.NET"), entry);
            !spooled)
            return spooled.error();
    }

    if (saveSentCopy) {
        const std::string sentBin = BoardNativePath(b, b.paths.MailPath(), "SNTEMAIL.BIN");
        Result<std::int32_t> pos = NextTextPosition(sentBin);
        if (!pos) return pos.error();
        m.MsgPos = *pos;
        m.Filename = "SNTEMAIL";
        m.Offline = 1;
        m.AttFileSize = 0;
        m.AttFileName.clear();
        m.AttFilePath.clear();
        Result<void> filed =
            FileRecordAndText(BoardNativePath(b, b.paths.MailPath(), "SNTEMAIL.DAT"), sentBin, m, text);
        if (!filed) return filed.error();
    }
    return SendResult{true, std::string()};
}

// Appends the notice line to the queue of `node`, or of every node where the user is on line.
Result<void> QueueNotice(const Board& b, std::string_view text, std::int32_t userNo, std::int16_t node) {
    std::string line = "\x03"
                       "6*** \x03"
                       "1";
    line += text.substr(0, 75);
    line += kCrLf;
    auto queue = [&](std::int32_t n) {
        return platform::Append(BoardNativePath(b, b.paths.NodePath(), "IN" + std::to_string(n) + ".QUE"),
                                line);
    };
    if (userNo == 0 && node >= 0) return queue(node);

    // One read of CONTROL.DAT for all nodes; nodes past its end have nobody on line.
    const std::int64_t nodes = static_cast<std::int64_t>(b.mainCfg.MaxNode) + 1;
    // Unreadable: each node's own read fails and is logged as GetNode's, and nobody
    // is taken to be on line; the notice itself has not failed.
    const Result<Bytes> control = platform::ReadAt(BoardNativePath(b, b.paths.NodePath(), "CONTROL.DAT"), 0,
                                                   nodes * static_cast<std::int64_t>(kNodeRecordSize));
    for (std::int32_t n = 0; n < nodes; ++n) {
        const std::size_t off = static_cast<std::size_t>(n) * kNodeRecordSize;
        std::int32_t onLine = 0;
        if (!control) {
            onLine = GetNode(b, static_cast<std::int16_t>(n)).value_or(DecodeNodeRecord({})).NodeUserNo;
        } else if (off < control->size()) {
            onLine = DecodeNodeRecord(std::string_view(*control).substr(off, kNodeRecordSize)).NodeUserNo;
        }
        if ((userNo > 0 && onLine == userNo) || (userNo <= 0 && onLine > 0)) {
            if (auto queued = queue(n); !queued) return queued;
        }
    }
    return {};
}

} // namespace

SendResult SendEmail(const Board& b, std::int32_t from, std::string_view address, std::string_view subject,
                     std::string_view text, std::string_view attach, bool saveSentCopy) {
    // A termination request waits for the message to be filed whole.
    const platform::DeferTermination whole;
    return Logged(b.log, kModule, "SendEmail", Deliver(b, from, address, subject, text, attach, saveSentCopy))
        .value_or(SendResult{});
}

std::string AttachmentSource(const Board& b, std::string_view typed) {
    const std::string path = Trim(typed);
    return path.empty() ? std::string() : platform::NativePath(path, b.startDir);
}

bool SendOneLine(const Board& b, std::string_view text, std::int32_t userNo, std::int16_t node) {
    if (Trim(text).empty()) return false;
    return Logged(b.log, kModule, "SendOneLine", QueueNotice(b, text, userNo, node)).has_value();
}

} // namespace kesto
