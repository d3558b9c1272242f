// DecodeSysPaths/EncodeSysPaths round trip on arbitrary bytes.
#include "RecordRoundTrip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kesto;
    fuzz::RecordRoundTrip<SysPaths>(
        data, size, kSysPathsSize, [](std::string_view b) { return DecodeSysPaths(b); },
        [](const SysPaths& r) { return EncodeSysPaths(r); },
        [](SysPaths& a, const SysPaths& b) { a.field = b.field; },
        [](const SysPaths& a, const SysPaths& b) { return a.field == b.field; });
    return 0;
}
