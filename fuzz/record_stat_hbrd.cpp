// DecodeStatHbrd/EncodeStatHbrd round trip on arbitrary bytes.
#include "RecordRoundTrip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kesto;
    fuzz::RecordRoundTrip<StatHbrdRecord>(
        data, size, kStatHbrdSize, [](std::string_view b) { return DecodeStatHbrd(b); },
        [](const StatHbrdRecord& r) { return EncodeStatHbrd(r); },
        [](StatHbrdRecord& a, const StatHbrdRecord& b) {
            a.MessageCount = b.MessageCount;
            a.MailCount = b.MailCount;
        },
        [](const StatHbrdRecord& a, const StatHbrdRecord& b) {
            return a.MessageCount == b.MessageCount && a.MailCount == b.MailCount;
        });
    return 0;
}
