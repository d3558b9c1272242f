// DecodeMessageInfo/EncodeMessageInfo round trip on arbitrary bytes.
#include "RecordRoundTrip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kesto;
    fuzz::RecordRoundTrip<MessageInfo>(
        data, size, kMessageInfoSize, [](std::string_view b) { return DecodeMessageInfo(b); },
        [](const MessageInfo& r) { return EncodeMessageInfo(r); },
        [](MessageInfo& a, const MessageInfo& b) {
            a.FromUserNo = b.FromUserNo;
            a.ToUserNo = b.ToUserNo;
            a.FromHandle = b.FromHandle;
            a.ToHandle = b.ToHandle;
            a.FromNetNode = b.FromNetNode;
            a.ToNetNode = b.ToNetNode;
            a.FromNetId = b.FromNetId;
            a.ToNetId = b.ToNetId;
            a.TimeStamp = b.TimeStamp;
            a.SysMsgNo = b.SysMsgNo;
            a.ThreadBk = b.ThreadBk;
            a.ThreadBkN = b.ThreadBkN;
            a.Subject = b.Subject;
            a.Deleted = b.Deleted;
            a.Creation = b.Creation;
            a.Offline = b.Offline;
            a.AttFileSize = b.AttFileSize;
            a.AttFileName = b.AttFileName;
            a.AttFilePath = b.AttFilePath;
            a.Reserved1 = b.Reserved1;
            a.Reserved2 = b.Reserved2;
            a.DbId = b.DbId;
            a.Filename = b.Filename;
            a.MsgPos = b.MsgPos;
            a.MsgLength = b.MsgLength;
            a.OriginNet = b.OriginNet;
            a.FidoFlags = b.FidoFlags;
            a.OriginNode = b.OriginNode;
            a.Reserved3 = b.Reserved3;
            a.Reserved4 = b.Reserved4;
        },
        [](const MessageInfo& a, const MessageInfo& b) {
            return a.FromUserNo == b.FromUserNo && a.ToUserNo == b.ToUserNo && a.FromHandle == b.FromHandle &&
                   a.ToHandle == b.ToHandle && a.FromNetNode == b.FromNetNode && a.ToNetNode == b.ToNetNode &&
                   a.FromNetId == b.FromNetId && a.ToNetId == b.ToNetId && a.TimeStamp == b.TimeStamp &&
                   a.SysMsgNo == b.SysMsgNo && a.ThreadBk == b.ThreadBk && a.ThreadBkN == b.ThreadBkN &&
                   a.Subject == b.Subject && a.Deleted == b.Deleted && a.Creation == b.Creation &&
                   a.Offline == b.Offline && a.AttFileSize == b.AttFileSize &&
                   a.AttFileName == b.AttFileName && a.AttFilePath == b.AttFilePath &&
                   a.Reserved1 == b.Reserved1 && a.Reserved2 == b.Reserved2 && a.DbId == b.DbId &&
                   a.Filename == b.Filename && a.MsgPos == b.MsgPos && a.MsgLength == b.MsgLength &&
                   a.OriginNet == b.OriginNet && a.FidoFlags == b.FidoFlags && a.OriginNode == b.OriginNode &&
                   a.Reserved3 == b.Reserved3 && a.Reserved4 == b.Reserved4;
        });
    return 0;
}
