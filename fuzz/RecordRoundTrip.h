// Shared checks of the record codec fuzz targets, driven by the record's layout table.
#pragma once

#include "FuzzInput.h"
#include "Records.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

namespace kesto::fuzz {

// A whole record must come back byte for byte (the board's fields we do not
// interpret included); a short one must still encode to a full, stable record.
// Then every bound field of a second record, copied onto the first, must survive
// Encode/Decode while the first record's unbound bytes stay as they were: this
// catches a field that Encode drops or writes over another.
template <class Rec>
void RecordRoundTrip(const std::uint8_t* data, std::size_t size, Rec (*decode)(std::string_view),
                     Bytes (*encode)(const Rec&)) {
    using Layout = typename Rec::Layout;
    std::string_view in(reinterpret_cast<const char*>(data), size);
    const Bytes once = encode(decode(in));
    Check(once.size() == Layout::kSize);
    if (in.size() >= Layout::kSize) Check(once == in.substr(0, Layout::kSize));
    Check(encode(decode(once)) == once);

    std::string reversed(in.rbegin(), in.rend());
    Rec base = decode(in);
    const Rec donor = decode(reversed);
    ForEachField<Layout>([&](const auto& e) {
        if constexpr (kIsBound<std::remove_cvref_t<decltype(e)>>) base.*e.member = donor.*e.member;
    });
    const Bytes out = encode(base);
    const Rec back = decode(out);
    ForEachField<Layout>([&](const auto& e) {
        if constexpr (kIsBound<std::remove_cvref_t<decltype(e)>>) {
            Check(back.*e.member == donor.*e.member);
        } else {
            const FieldPlace p = EntryPlace(e);
            Check(out.compare(p.offset, p.End() - p.offset, once, p.offset, p.End() - p.offset) == 0);
        }
    });
}

} // namespace kesto::fuzz
