// DecodeNodeRecord/EncodeNodeRecord round trip on arbitrary bytes.
#include "RecordRoundTrip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kesto;
    fuzz::RecordRoundTrip<NodeRecord>(
        data, size, kNodeRecordSize, [](std::string_view b) { return DecodeNodeRecord(b); },
        [](const NodeRecord& r) { return EncodeNodeRecord(r); },
        [](NodeRecord& a, const NodeRecord& b) { a.NodeUserNo = b.NodeUserNo; },
        [](const NodeRecord& a, const NodeRecord& b) { return a.NodeUserNo == b.NodeUserNo; });
    return 0;
}
