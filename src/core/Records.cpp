#include "Records.h"

#include <concepts>
#include <utility>

namespace kesto {
namespace {

// Each table covers its record exactly: in order, no overlap, no gap, no field
// past the end. A failure names the first entry that does not fit.
static_assert(FirstMisfit<SysPathsLayout>() == kLayoutFits);
static_assert(FirstMisfit<MainConfigLayout>() == kLayoutFits);
static_assert(FirstMisfit<UserRecordLayout>() == kLayoutFits);
static_assert(FirstMisfit<MessageInfoLayout>() == kLayoutFits);
static_assert(FirstMisfit<NodeRecordLayout>() == kLayoutFits);
static_assert(FirstMisfit<StatHbrdLayout>() == kLayoutFits);
static_assert(FirstMisfit<HmrDataLayout>() == kLayoutFits);
static_assert(FirstMisfit<ViewSettingsLayout>() == kLayoutFits);

template <class R>
concept HasRawImage = requires(R r) {
    { r.raw } -> std::same_as<Bytes&>;
};

template <class R, class M>
void DecodeField(R& r, std::string_view img, const BoundField<R, M>& f) {
    const FieldPlace& p = f.place;
    M& v = r.*f.member;
    if constexpr (std::is_same_v<M, std::int16_t>) {
        v = GetI16(img, p.offset);
    } else if constexpr (std::is_same_v<M, std::int32_t>) {
        v = GetI32(img, p.offset);
    } else if constexpr (std::is_same_v<M, Bytes>) {
        v = GetText(img, p.offset, p.width);
    } else {
        for (std::size_t i = 0; i < v.size(); ++i) {
            if constexpr (std::is_same_v<typename M::value_type, std::int32_t>)
                v[i] = GetI32(img, p.offset + i * p.width);
            else
                v[i] = GetText(img, p.offset + i * p.width, p.width);
        }
    }
}

template <class R, class M>
void EncodeField(const R& r, Bytes& img, const BoundField<R, M>& f) {
    const FieldPlace& p = f.place;
    const M& v = r.*f.member;
    if constexpr (std::is_same_v<M, std::int16_t>) {
        PutI16(img, p.offset, v);
    } else if constexpr (std::is_same_v<M, std::int32_t>) {
        PutI32(img, p.offset, v);
    } else if constexpr (std::is_same_v<M, Bytes>) {
        PutText(img, p.offset, p.width, v);
    } else {
        for (std::size_t i = 0; i < v.size(); ++i) {
            if constexpr (std::is_same_v<typename M::value_type, std::int32_t>)
                PutI32(img, p.offset + i * p.width, v[i]);
            else
                PutText(img, p.offset + i * p.width, p.width, v[i]);
        }
    }
}

// The record's full image: the bytes present over the empty record.
template <class Layout>
Bytes FullImage(std::string_view buf) {
    if (buf.size() >= Layout::kSize) return Bytes(buf.substr(0, Layout::kSize));
    Bytes img(EmptyImage<Layout>());
    img.replace(0, buf.size(), buf);
    return img;
}

template <class R>
R DecodeRecord(std::string_view buf) {
    using Layout = typename R::Layout;
    Bytes img = FullImage<Layout>(buf);
    R r;
    ForEachField<Layout>([&](const auto& e) {
        if constexpr (kIsBound<std::remove_cvref_t<decltype(e)>>) DecodeField(r, img, e);
    });
    if constexpr (HasRawImage<R>) r.raw = std::move(img);
    return r;
}

// The record's own raw bytes, when they are a whole record, carry the fields
// this program does not interpret; otherwise those come out empty.
template <class R>
Bytes EncodeRecord(const R& r) {
    using Layout = typename R::Layout;
    Bytes img;
    if constexpr (HasRawImage<R>)
        img = r.raw.size() == Layout::kSize ? r.raw : Bytes(EmptyImage<Layout>());
    else
        img = Bytes(EmptyImage<Layout>());
    ForEachField<Layout>([&](const auto& e) {
        if constexpr (kIsBound<std::remove_cvref_t<decltype(e)>>) EncodeField(r, img, e);
    });
    return img;
}

} // namespace

SysPaths DecodeSysPaths(std::string_view buf) {
    return DecodeRecord<SysPaths>(buf);
}
Bytes EncodeSysPaths(const SysPaths& p) {
    return EncodeRecord(p);
}

MainConfig DecodeMainConfig(std::string_view buf) {
    return DecodeRecord<MainConfig>(buf);
}
Bytes EncodeMainConfig(const MainConfig& c) {
    return EncodeRecord(c);
}

UserRecord DecodeUserRecord(std::string_view buf) {
    return DecodeRecord<UserRecord>(buf);
}
Bytes EncodeUserRecord(const UserRecord& u) {
    return EncodeRecord(u);
}

MessageInfo DecodeMessageInfo(std::string_view buf) {
    return DecodeRecord<MessageInfo>(buf);
}
Bytes EncodeMessageInfo(const MessageInfo& m) {
    return EncodeRecord(m);
}
MessageInfo EmptyMessageInfo() {
    return DecodeMessageInfo({});
}

NodeRecord DecodeNodeRecord(std::string_view buf) {
    return DecodeRecord<NodeRecord>(buf);
}
Bytes EncodeNodeRecord(const NodeRecord& n) {
    return EncodeRecord(n);
}

StatHbrdRecord DecodeStatHbrd(std::string_view buf) {
    return DecodeRecord<StatHbrdRecord>(buf);
}
Bytes EncodeStatHbrd(const StatHbrdRecord& s) {
    return EncodeRecord(s);
}

HmrDataRecord DecodeHmrData(std::string_view buf) {
    return DecodeRecord<HmrDataRecord>(buf);
}
Bytes EncodeHmrData(const HmrDataRecord& h) {
    return EncodeRecord(h);
}

// Missing bytes read as 0 like every other number; LoadDat replaces what is out of range.
ViewSettings DecodeViewSettings(std::string_view buf) {
    return DecodeRecord<ViewSettings>(buf);
}
Bytes EncodeViewSettings(const ViewSettings& v) {
    return EncodeRecord(v);
}

} // namespace kesto
