// GetNetEntry (and OwnSystemId) on any NET.1 and any key: the value comes back
// trimmed, and an empty key finds nothing.
#include "TextHelpers.h"
#include "FuzzBoard.h"
#include "FuzzInput.h"
#include "SystemFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using kesto::fuzz::Check;
    const kesto::Board& b = kesto::fuzz::FuzzBoard();
    kesto::fuzz::Input in(data, size);
    std::string key = in.Text();
    kesto::fuzz::WriteBoardFile("DATA/NET.1", in.Rest());

    const kesto::Result<std::string> entry = kesto::GetNetEntry(b, 1, key);
    Check(entry.has_value());
    const std::string& value = *entry;
    Check(value == kesto::Trim(value));
    if (kesto::Trim(key).empty()) Check(value.empty());

    std::string own = kesto::OwnSystemId(b);
    Check(!own.empty() && own == kesto::Trim(own));
    return 0;
}
