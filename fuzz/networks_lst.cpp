// GetNetworkInfo (and NetworkName) on any NETWORKS.LST: always eight fields,
// filled only from a line whose first piece has the wanted number.
#include "TextHelpers.h"
#include "FuzzBoard.h"
#include "FuzzInput.h"
#include "SystemFiles.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using kesto::fuzz::Check;
    const kesto::Board& b = kesto::fuzz::FuzzBoard();
    kesto::fuzz::Input in(data, size);
    std::int16_t network = in.I16();
    kesto::fuzz::WriteBoardFile("DATA/NETWORKS.LST", in.Rest());

    std::vector<std::string> fields(3, "stale");
    std::int16_t status = 1;
    bool found = kesto::GetNetworkInfo(b, network, fields, status);
    Check(status == 0);
    Check(fields.size() == 8);
    if (found) {
        Check(network >= 1);
        Check(kesto::NumericValue(fields[0]) == network);
    } else {
        for (const auto& f : fields)
            Check(f.empty());
    }
    std::string name = kesto::NetworkName(b, network);
    Check(!name.empty() && name == kesto::Trim(name));
    return 0;
}
