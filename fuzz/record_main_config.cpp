// DecodeMainConfig/EncodeMainConfig round trip on arbitrary bytes.
#include "RecordRoundTrip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kesto;
    fuzz::RecordRoundTrip<MainConfig>(
        data, size, kMainConfigSize, [](std::string_view b) { return DecodeMainConfig(b); },
        [](const MainConfig& r) { return EncodeMainConfig(r); },
        [](MainConfig& a, const MainConfig& b) {
            a.MaxNode = b.MaxNode;
            a.SysopAttachLevel = b.SysopAttachLevel;
            a.EmailAttachLevel = b.EmailAttachLevel;
        },
        [](const MainConfig& a, const MainConfig& b) {
            return a.MaxNode == b.MaxNode && a.SysopAttachLevel == b.SysopAttachLevel &&
                   a.EmailAttachLevel == b.EmailAttachLevel;
        });
    return 0;
}
