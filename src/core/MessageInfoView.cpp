#include "MessageInfoView.h"

#include "TextHelpers.h"
#include "DateFunctions.h"
#include "MailBase.h"

namespace kesto {
namespace {

void Number(std::vector<MessageInfoField>& out, const char* name, const char* caption, std::int64_t v) {
    out.push_back({name, caption, std::to_string(v), true});
}

void Text(std::vector<MessageInfoField>& out, const char* name, const char* caption, const Bytes& v) {
    out.push_back({name, caption, Trim(v), false});
}

} // namespace

std::optional<std::int16_t> DaysOld(std::int32_t timeStamp, std::int32_t now) {
    // The difference is a 32-bit value in the dialog: one that overflows leaves the label empty.
    const std::int64_t diff = static_cast<std::int64_t>(now) - timeStamp;
    if (diff < INT32_MIN || diff > INT32_MAX) return std::nullopt;
    const std::int64_t days = diff / 86400; // toward zero
    if (days < INT16_MIN || days > INT16_MAX) return std::nullopt;
    return ClampToInteger(std::to_string(days));
}

std::vector<MessageInfoField> MessageInfoFields(const MessageInfo& m, std::optional<std::int32_t> now) {
    std::vector<MessageInfoField> f;
    f.reserve(27);
    Number(f, "FromUserNo", "From User No.:", m.FromUserNo);
    Number(f, "ToUserNo", "To User No.:", m.ToUserNo);
    Text(f, "FromHandle", "From User Handle:", m.FromHandle);
    Text(f, "ToHandle", "To User Handle:", m.ToHandle);
    Text(f, "FromNetNode", "From Net Node:", m.FromNetNode);
    Text(f, "ToNetNode", "To Net Node:", m.ToNetNode);
    Number(f, "FromNetId", "From Net Id:", m.FromNetId);
    Number(f, "ToNetId", "To Net Id:", m.ToNetId);
    Number(f, "TimeStamp", "TimeStamp:", m.TimeStamp);
    std::optional<std::int16_t> age = now ? DaysOld(m.TimeStamp, *now) : std::nullopt;
    f.push_back({"DaysOld", "Days Old:", age ? std::to_string(*age) : std::string(), true});
    Number(f, "SysMsgNo", "System Msg No.:", m.SysMsgNo);
    Number(f, "ThreadBk", "Thread Back:", m.ThreadBk);
    Number(f, "ThreadBkN", "Thread Back Node:", m.ThreadBkN);
    Text(f, "Subject", "Subject:", m.Subject);
    Number(f, "Deleted", "Deleted:", m.Deleted);
    Text(f, "Creation", "Creation:", m.Creation);
    Number(f, "Offline", "Offline:", m.Offline);
    Number(f, "AttFileSize", "Attached Filesize:", m.AttFileSize);
    Text(f, "AttFileName", "Attached Filename:", m.AttFileName);
    Text(f, "AttFilePath", "Attached Filepath:", m.AttFilePath);
    Number(f, "DbId", "DB Id:", m.DbId);
    Text(f, "Filename", "DB Filename:", m.Filename);
    Number(f, "MsgPos", "Message Position:", m.MsgPos);
    Number(f, "MsgLength", "Message Length:", m.MsgLength);
    Number(f, "OriginNet", "Origin Network:", m.OriginNet);
    Number(f, "FidoFlags", "Fido Flags:", m.FidoFlags);
    Number(f, "OriginNode", "Origin Node:", m.OriginNode);
    return f;
}

std::vector<MessageInfoField> ReadMessageInfoView(const Board& b, Mailbox box, RecordNo messageNumber) {
    const MessageInfo m = GetMessageInfo(b, MailboxName(box), messageNumber).value_or(EmptyMessageInfo());
    // Past the 32-bit clock the dialog leaves the age empty and fills the rest.
    const Result<std::int32_t> now = GetTimeStamp(0);
    return MessageInfoFields(m, now ? std::optional<std::int32_t>(*now) : std::nullopt);
}

} // namespace kesto
