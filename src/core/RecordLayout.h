// Fixed-length records described once, as a table of fields.
//
// A layout is a struct deriving from RecordLayout with the record's size
// `kSize` and a tuple `kFields` of every field in order. The board's records
// have no gaps, and the fields this program does not interpret are listed too,
// so a table tiles its record exactly (Records.cpp checks that at compile time)
// and the empty record, the decoder, the encoder and single-field reads all
// follow from it. A field bound to a member of the in-memory record is decoded
// into that member and encoded from it; an unbound field rides along in the
// record's raw bytes and is written back as it was read.
#pragma once

#include "Bytes.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <tuple>
#include <type_traits>

namespace kesto {

enum class FieldKind : std::uint8_t { I16, I32, Text };

// Where a field lies: `count` values of `width` bytes one after another (a run
// of like fields is one entry, as the board's own tables write them).
struct FieldPlace {
    std::size_t offset = 0;
    std::size_t width = 0;
    std::size_t count = 1;
    FieldKind kind = FieldKind::Text;

    constexpr std::size_t End() const { return offset + width * count; }
};

// A field whose value the in-memory record holds in `member`.
template <class Record, class Member>
struct BoundField {
    FieldPlace place;
    Member Record::*member;
};

// The entries a layout's table is written with. Without a member they make an
// unbound field (or a run of them); with one, the member's type must match.
struct RecordLayout {
    static constexpr FieldPlace I16s(std::size_t offset, std::size_t count) {
        return {offset, 2, count, FieldKind::I16};
    }
    static constexpr FieldPlace I32s(std::size_t offset, std::size_t count) {
        return {offset, 4, count, FieldKind::I32};
    }
    static constexpr FieldPlace Texts(std::size_t offset, std::size_t width, std::size_t count) {
        return {offset, width, count, FieldKind::Text};
    }
    static constexpr FieldPlace I16(std::size_t offset) { return I16s(offset, 1); }
    static constexpr FieldPlace I32(std::size_t offset) { return I32s(offset, 1); }
    static constexpr FieldPlace Text(std::size_t offset, std::size_t width) {
        return Texts(offset, width, 1);
    }

    template <class R>
    static constexpr BoundField<R, std::int16_t> I16(std::size_t offset, std::int16_t R::*m) {
        return {I16(offset), m};
    }
    template <class R>
    static constexpr BoundField<R, std::int32_t> I32(std::size_t offset, std::int32_t R::*m) {
        return {I32(offset), m};
    }
    template <class R>
    static constexpr BoundField<R, Bytes> Text(std::size_t offset, std::size_t width, Bytes R::*m) {
        return {Text(offset, width), m};
    }
    template <class R, std::size_t N>
    static constexpr BoundField<R, std::array<std::int32_t, N>> I32s(std::size_t offset,
                                                                     std::array<std::int32_t, N> R::*m) {
        return {I32s(offset, N), m};
    }
    template <class R, std::size_t N>
    static constexpr BoundField<R, std::array<Bytes, N>> Texts(std::size_t offset, std::size_t width,
                                                               std::array<Bytes, N> R::*m) {
        return {Texts(offset, width, N), m};
    }
};

template <class E>
inline constexpr bool kIsBound = false;
template <class R, class M>
inline constexpr bool kIsBound<BoundField<R, M>> = true;

constexpr FieldPlace EntryPlace(const FieldPlace& p) {
    return p;
}
template <class R, class M>
constexpr FieldPlace EntryPlace(const BoundField<R, M>& f) {
    return f.place;
}

// Calls f with every entry of a layout's table, in order.
template <class Layout, class F>
constexpr void ForEachField(F&& f) {
    std::apply([&](const auto&... e) { (f(e), ...); }, Layout::kFields);
}

template <class Layout>
constexpr auto Places() {
    return std::apply([](const auto&... e) { return std::array<FieldPlace, sizeof...(e)>{EntryPlace(e)...}; },
                      Layout::kFields);
}

inline constexpr std::size_t kLayoutFits = static_cast<std::size_t>(-1);

// kLayoutFits when the table covers its record exactly; otherwise the index of
// the first entry that is empty or does not start where the one before it ended
// (out of order, overlapping or leaving a gap), or the entry count when the
// last one does not end at the record's size.
template <class Layout>
consteval std::size_t FirstMisfit() {
    constexpr auto places = Places<Layout>();
    std::size_t at = 0;
    for (std::size_t i = 0; i < places.size(); ++i) {
        if (places[i].offset != at || places[i].width == 0 || places[i].count == 0) return i;
        at = places[i].End();
    }
    return at == Layout::kSize ? kLayoutFits : places.size();
}

// The record as the board writes an empty one: blanks in every text, zeros elsewhere.
template <class Layout>
consteval std::array<char, Layout::kSize> MakeEmptyImage() {
    std::array<char, Layout::kSize> img{};
    for (const FieldPlace& p : Places<Layout>())
        if (p.kind == FieldKind::Text)
            for (std::size_t i = p.offset; i < p.End(); ++i) img[i] = ' ';
    return img;
}
template <class Layout>
inline constexpr std::array<char, Layout::kSize> kEmptyImage = MakeEmptyImage<Layout>();

template <class Layout>
std::string_view EmptyImage() {
    return {kEmptyImage<Layout>.data(), Layout::kSize};
}

// ---- one field straight from a record's bytes ----

template <class M>
struct MemberPointer;
template <class R, class T>
struct MemberPointer<T R::*> {
    using Record = R;
    using Type = T;
};

// Where the field held in `Member` lies, from its record's layout.
template <auto Member>
consteval FieldPlace PlaceOf() {
    using Pointer = MemberPointer<decltype(Member)>;
    using Entry = BoundField<typename Pointer::Record, typename Pointer::Type>;
    FieldPlace found{};
    int hits = 0;
    ForEachField<typename Pointer::Record::Layout>([&](const auto& e) {
        if constexpr (std::is_same_v<std::remove_cvref_t<decltype(e)>, Entry>) {
            if (e.member == Member) {
                found = e.place;
                ++hits;
            }
        }
    });
    if (hits != 1) throw "a member must be bound to exactly one field of its record's layout";
    return found;
}

// A number, or a text as a view of its bytes (cut short where the buffer ends;
// callers trim). Reads only this field, so it suits a scan over a whole index.
template <auto Member>
auto ReadField(std::string_view rec) {
    constexpr FieldPlace p = PlaceOf<Member>();
    static_assert(p.count == 1, "a run of fields is read whole with the record's decoder");
    if constexpr (p.kind == FieldKind::I16)
        return GetI16(rec, p.offset);
    else if constexpr (p.kind == FieldKind::I32)
        return GetI32(rec, p.offset);
    else
        return TextAt(rec, p.offset, p.width);
}

// Writes one unbound field into a record's raw bytes.
template <FieldPlace P>
void PutField(Bytes& img, std::int32_t value) {
    static_assert(P.kind == FieldKind::I32 && P.count == 1);
    PutI32(img, P.offset, value);
}
template <FieldPlace P>
void PutField(Bytes& img, std::string_view text) {
    static_assert(P.kind == FieldKind::Text && P.count == 1);
    PutText(img, P.offset, P.width, text);
}

} // namespace kesto
