// DecodeStatHbrd/EncodeStatHbrd round trip on arbitrary bytes.
#include "RecordRoundTrip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kesto;
    fuzz::RecordRoundTrip<StatHbrdRecord>(
        data, size, kStatHbrdSize, [](std::string_view b) { return DecodeStatHbrd(b); },
        [](const StatHbrdRecord& r) { return EncodeStatHbrd(r); },
        [](StatHbrdRecord& a, const StatHbrdRecord& b) {
            a.Counter68 = b.Counter68;
            a.Counter72 = b.Counter72;
        },
        [](const StatHbrdRecord& a, const StatHbrdRecord& b) {
            return a.Counter68 == b.Counter68 && a.Counter72 == b.Counter72;
        });
    return 0;
}
