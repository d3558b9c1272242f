// GetNetworkInfo (and NetworkName) on any NETWORKS.LST: never a failure, and
// fields only from a line whose first piece has the wanted number.
#include "TextHelpers.h"
#include "FuzzBoard.h"
#include "FuzzInput.h"
#include "SystemFiles.h"

#include <optional>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using kesto::fuzz::Check;
    const kesto::Board& b = kesto::fuzz::FuzzBoard();
    kesto::fuzz::Input in(data, size);
    std::int16_t network = in.I16();
    kesto::fuzz::WriteBoardFile("DATA/NETWORKS.LST", in.Rest());

    const kesto::Result<std::optional<kesto::NetworkFields>> info = kesto::GetNetworkInfo(b, network);
    Check(info.has_value());
    if (const std::optional<kesto::NetworkFields>& fields = *info) {
        Check(network >= 1);
        Check(kesto::NumericValue((*fields)[0]) == network);
    }
    std::string name = kesto::NetworkName(b, network);
    Check(!name.empty() && name == kesto::Trim(name));
    return 0;
}
