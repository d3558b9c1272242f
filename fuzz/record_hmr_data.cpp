// DecodeHmrData/EncodeHmrData round trip on arbitrary bytes.
#include "RecordRoundTrip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kesto;
    fuzz::RecordRoundTrip<HmrDataRecord>(
        data, size, kHmrDataSize, [](std::string_view b) { return DecodeHmrData(b); },
        [](const HmrDataRecord& r) { return EncodeHmrData(r); },
        [](HmrDataRecord& a, const HmrDataRecord& b) { a.Version = b.Version; },
        [](const HmrDataRecord& a, const HmrDataRecord& b) { return a.Version == b.Version; });
    return 0;
}
