#include "Delivery.h"

#include "FileHelpers.h"
#include "TextHelpers.h"
#include "DateFunctions.h"
#include "MailAddress.h"
#include "SystemFiles.h"
#include "UserFile.h"
#include "WordWrap.h"
#include "platform/BoardPath.h"
#include "platform/File.h"

#include <cerrno>
#include <cmath>
#include <filesystem>
#include <limits>
#include <system_error>
#include <vector>

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

// The file system's own failures in the board's wording.
[[noreturn]] void FailFs(const std::error_code& ec) {
    switch (ec.value()) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        throw KestoError("Disk full");
    case EACCES:
    case EPERM:
    case EROFS:
        throw KestoError("Permission denied");
    case ENOENT:
    case ENOTDIR:
        throw KestoError("Path not found");
    default:
        throw KestoError("Path/File access error");
    }
}

// One more on a board counter; a counter already at its limit is a failure, as the board treats it.
std::int32_t PlusOne(std::int32_t v) {
    if (v == std::numeric_limits<std::int32_t>::max()) throw KestoError("Overflow");
    return v + 1;
}

std::string LastComponent(std::string_view path) {
    auto cut = path.find_last_of("\\/");
    return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

std::string DropTrailingLineBreaks(std::string s) {
    while (!s.empty() && (s.back() == '\r' || s.back() == '\n'))
        s.pop_back();
    return s;
}

// Copies the attachment under AttachPath\<from>\ and returns (board path, name, size).
struct AttachmentCopy {
    std::string path;
    std::string name;
    std::int32_t size = 0;
};

AttachmentCopy CopyAttachment(const Board& b, std::string_view from, std::string_view attach) {
    AttachmentCopy out;
    std::string folder = BoardFile(b.paths.AttachPath(), from);
    std::string nativeFolder = Native(b, folder);
    if (!platform::IsDirectory(nativeFolder)) {
        // One level only: a missing attachment directory is the board's problem, not ours to build.
        std::error_code ec;
        if (!std::filesystem::create_directory(nativeFolder, ec) && ec) FailFs(ec);
    }
    out.name = LastComponent(GetShortFilename(b, attach));
    if (out.name.empty()) throw KestoError("Bad file name or number");
    out.path = folder + "\\" + out.name;

    std::string source = Native(b, attach);
    std::string target = Native(b, out.path);
    std::error_code ec;
    if (!std::filesystem::equivalent(source, target, ec)) {
        ec.clear();
        std::filesystem::copy_file(source, target, std::filesystem::copy_options::overwrite_existing, ec);
        if (ec) FailFs(ec);
    }
    std::int64_t size = platform::FileLength(target);
    out.size = size > std::numeric_limits<std::int32_t>::max() ? std::numeric_limits<std::int32_t>::max()
                                                               : static_cast<std::int32_t>(size);
    return out;
}

// 1-based position a text appended to `nativePath` will start at.
std::int32_t NextTextPosition(const std::string& nativePath) {
    std::int64_t len = platform::FileLengthOr(nativePath);
    if (len < 0) return 1;
    if (len >= std::numeric_limits<std::int32_t>::max()) throw KestoError("Overflow");
    return static_cast<std::int32_t>(len + 1);
}

// Writes `record` as record n + 1 of an index and appends `text` to its text file.
void FileMessage(const std::string& nativeDat, const std::string& nativeBin, const MessageInfo& record,
                 std::string_view text) {
    std::int64_t len = platform::FileLengthOr(nativeDat);
    std::int64_t n = len < 0 ? 0 : len / static_cast<std::int64_t>(kMessageInfoSize);
    platform::WriteAt(nativeDat, n * static_cast<std::int64_t>(kMessageInfoSize), EncodeMessageInfo(record));
    platform::Append(nativeBin, text);
}

} // namespace

SendResult SendEmail(const Board& b, std::int32_t fromNo, std::string_view addressText,
                     std::string_view subjectText, std::string_view textIn, std::string_view attach,
                     bool saveSentCopy) {
    SendResult result;
    Guard(b.log, kModule, "SendEmail", [&] {
        const std::string from = std::to_string(fromNo);
        std::string subject = RTrim(subjectText).substr(0, 64);

        std::string text = RTrim(WordWrap(textIn, 79, true)) + std::string(kCrLf);
        std::string tagPath = BoardFile(b.paths.TextPath(), "EMAIL.TAG");
        // A tag that cannot be read is logged by the reader and the message goes without it.
        if (FileExists(b, tagPath))
            text += "\r\n\r\n" + DropTrailingLineBreaks(ReadFileContents(b, tagPath, true));

        std::string ownId = OwnSystemId(b);

        AttachmentCopy att;
        if (!Trim(attach).empty() && FileExists(b, Trim(attach))) att = CopyAttachment(b, from, Trim(attach));

        auto [user, system, network] = ParseMailAddress(addressText);
        if (system == ownId && NumericValue(network) == 1) {
            system = "0";
            network = "0";
        }

        UserRecord recipient;
        std::string recipientName;
        if (NumericValue(network) == 0) {
            std::int16_t status = 0;
            if (IsNumeric(user)) {
                recipient = GetUser(b, ToI32(NumericValue(user)), status);
            } else {
                std::int32_t found = FindHandle(b, user);
                if (found == 0) found = FindRealName(b, user);
                if (found == 0) {
                    result.message = std::string(kMsgInvalidUser);
                    return;
                }
                user = std::to_string(found);
                recipient = GetUser(b, found, status);
            }
            if (recipient.ForwardMail == 1) {
                if (Trim(recipient.ForwardNetNode) == ownId && recipient.ForwardNetId == 1) {
                    user = std::to_string(recipient.ForwardUserNo);
                    recipient = GetUser(b, recipient.ForwardUserNo, status);
                } else {
                    user = recipient.ForwardUserNo != 0 ? std::to_string(recipient.ForwardUserNo)
                                                        : Trim(recipient.ForwardHandle);
                    system = Trim(recipient.ForwardNetNode);
                    network = std::to_string(recipient.ForwardNetId);
                }
            }
        }
        std::int16_t networkNo = ToI16(NumericValue(network));
        bool local = NumericValue(network) == 0;
        if (local) {
            recipientName = Trim(recipient.Handle);
        } else {
            recipientName = user;
            user = "0";
        }

        // Only an existing user may send: a blank record must never be written back.
        if (fromNo < 1 || fromNo > GetUserCount(b)) throw KestoError("Bad record number");
        std::int16_t status = 0;
        UserRecord sender = GetUser(b, fromNo, status);
        if (status != 0) throw KestoError("Bad record number");
        sender.MailCount = PlusOne(sender.MailCount);
        PutUser(b, fromNo, sender, status);

        std::vector<std::string> netFields;
        GetNetworkInfo(b, networkNo, netFields, status);
        std::string senderName = Trim(sender.Handle);
        if (NumericValue(network) > 0 && NumericValue(netFields[1]) == 4 && NumericValue(netFields[3]) == 1) {
            senderName = Trim(sender.RealName);
        }

        // A statistics file we could not read is not rewritten with invented counters; a missing
        // one is started afresh, as the board's own update would.
        StatHbrdRecord stats = GetStatHbrdDat(b, status);
        if (status == 0 ||
            platform::FileLengthOr(BoardNativePath(b, b.paths.DataPath(), "STATHBRD.DAT")) < 0) {
            stats.Counter72 = PlusOne(stats.Counter72);
            stats.Counter68 = PlusOne(stats.Counter68);
            PutStatHbrdDat(b, stats, status);
        }

        std::string emailBin = BoardNativePath(b, b.paths.MailPath(), "EMAIL.BIN");
        MessageInfo m = EmptyMessageInfo();
        m.FromUserNo = fromNo;
        m.ToUserNo = ToI32(NumericValue(user));
        m.FromHandle = senderName;
        m.ToHandle = recipientName;
        m.FromNetNode = ownId;
        m.ToNetNode = system;
        m.FromNetId = 1;
        m.ToNetId = networkNo == 0 ? 1 : networkNo;
        m.TimeStamp = GetTimeStamp(0);
        m.SysMsgNo = GetSeqNum(b, status);
        m.Subject = subject;
        m.Creation = CreationNow();
        m.AttFileSize = att.size;
        m.AttFileName = att.name;
        m.AttFilePath = att.path;
        m.Filename = "EMAIL";
        m.MsgPos = local ? NextTextPosition(emailBin) : 0;
        m.MsgLength = static_cast<std::int32_t>(text.size());

        if (local) {
            FileMessage(BoardNativePath(b, b.paths.MailPath(), "EMAIL.DAT"), emailBin, m, text);
            SendOneLine(b, senderName + " just sent you some email!", m.ToUserNo, -1);
        } else {
            Bytes entry = EncodeMessageInfo(m);
            entry += text;
            platform::Append(BoardNativePath(b, b.paths.DataPath(), "SPOOL.NET"), entry);
        }

        if (saveSentCopy) {
            std::string sentBin = BoardNativePath(b, b.paths.MailPath(), "SNTEMAIL.BIN");
            m.MsgPos = NextTextPosition(sentBin);
            m.Filename = "SNTEMAIL";
            m.Offline = 1;
            m.AttFileSize = 0;
            m.AttFileName.clear();
            m.AttFilePath.clear();
            FileMessage(BoardNativePath(b, b.paths.MailPath(), "SNTEMAIL.DAT"), sentBin, m, text);
        }
        result.success = true;
    });
    return result;
}

bool SendOneLine(const Board& b, std::string_view text, std::int32_t userNo, std::int16_t node) {
    bool success = false;
    Guard(b.log, kModule, "SendOneLine", [&] {
        if (Trim(text).empty()) return;
        std::string line = "\x03"
                           "6*** \x03"
                           "1";
        line += text.substr(0, 75);
        line += kCrLf;
        auto queue = [&](std::int32_t n) {
            platform::Append(BoardNativePath(b, b.paths.NodePath(), "IN" + std::to_string(n) + ".QUE"), line);
        };
        if (userNo == 0 && node >= 0) {
            queue(node);
        } else {
            // One read of CONTROL.DAT for all nodes; nodes past its end have nobody on line.
            Bytes control;
            std::int64_t nodes = static_cast<std::int64_t>(b.mainCfg.MaxNode) + 1;
            bool haveControl = true;
            try {
                platform::ReadAt(BoardNativePath(b, b.paths.NodePath(), "CONTROL.DAT"), 0,
                                 nodes * static_cast<std::int64_t>(kNodeRecordSize), control);
            } catch (const KestoError&) {
                // Unreadable: each node's own read fails and is logged as GetNode's, and nobody
                // is taken to be on line; the notice itself has not failed.
                haveControl = false;
            }
            for (std::int32_t n = 0; n < nodes; ++n) {
                std::size_t off = static_cast<std::size_t>(n) * kNodeRecordSize;
                std::int32_t onLine = 0;
                if (!haveControl) {
                    std::int16_t status = 0;
                    onLine = GetNode(b, static_cast<std::int16_t>(n), status).NodeUserNo;
                } else if (off < control.size()) {
                    onLine =
                        DecodeNodeRecord(std::string_view(control).substr(off, kNodeRecordSize)).NodeUserNo;
                }
                if ((userNo > 0 && onLine == userNo) || (userNo <= 0 && onLine > 0)) queue(n);
            }
        }
        success = true;
    });
    return success;
}

} // namespace kesto
