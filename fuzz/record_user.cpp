// DecodeUserRecord/EncodeUserRecord round trip on arbitrary bytes.
#include "RecordRoundTrip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kesto;
    fuzz::RecordRoundTrip<UserRecord>(
        data, size, kUserRecordSize, [](std::string_view b) { return DecodeUserRecord(b); },
        [](const UserRecord& r) { return EncodeUserRecord(r); },
        [](UserRecord& a, const UserRecord& b) {
            a.Handle = b.Handle;
            a.RealName = b.RealName;
            a.ForwardMail = b.ForwardMail;
            a.ForwardHandle = b.ForwardHandle;
            a.ForwardUserNo = b.ForwardUserNo;
            a.ForwardNetNode = b.ForwardNetNode;
            a.ForwardNetId = b.ForwardNetId;
            a.UserFlags = b.UserFlags;
            a.AccessFlags = b.AccessFlags;
            a.SecurityLevel = b.SecurityLevel;
            a.MailCount = b.MailCount;
        },
        [](const UserRecord& a, const UserRecord& b) {
            return a.Handle == b.Handle && a.RealName == b.RealName && a.ForwardMail == b.ForwardMail &&
                   a.ForwardHandle == b.ForwardHandle && a.ForwardUserNo == b.ForwardUserNo &&
                   a.ForwardNetNode == b.ForwardNetNode && a.ForwardNetId == b.ForwardNetId &&
                   a.UserFlags == b.UserFlags && a.AccessFlags == b.AccessFlags &&
                   a.SecurityLevel == b.SecurityLevel && a.MailCount == b.MailCount;
        });
    return 0;
}
