// Shared checks of the record codec fuzz targets.
#pragma once

#include "FuzzInput.h"
#include "Records.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kesto::fuzz {

// A whole record must come back byte for byte (the board's fields we do not
// interpret included); a short one must still encode to a full, stable record.
// Then the named fields of a second record, copied onto the first, must survive
// Encode/Decode: this catches a field that Encode forgets or writes over another.
template <class Rec, class Decode, class Encode, class CopyFields, class SameFields>
void RecordRoundTrip(const std::uint8_t* data, std::size_t size, std::size_t recordSize, Decode decode,
                     Encode encode, CopyFields copyFields, SameFields sameFields) {
    std::string_view in(reinterpret_cast<const char*>(data), size);
    Bytes once = encode(decode(in));
    Check(once.size() == recordSize);
    if (in.size() >= recordSize) Check(once == in.substr(0, recordSize));
    Check(encode(decode(once)) == once);

    std::string reversed(in.rbegin(), in.rend());
    Rec base = decode(in);
    Rec donor = decode(reversed);
    copyFields(base, donor);
    Rec back = decode(encode(base));
    Check(sameFields(back, donor));
}

} // namespace kesto::fuzz
