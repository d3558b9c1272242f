// DecodeMessageInfo/EncodeMessageInfo round trip on arbitrary bytes.
#include "RecordRoundTrip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kesto::fuzz::RecordRoundTrip(data, size, kesto::DecodeMessageInfo, kesto::EncodeMessageInfo);
    return 0;
}
