#include "Records.h"

#include <initializer_list>

namespace kesto {
namespace {

struct TextRange {
    std::size_t offset;
    std::size_t width;
};

// An empty record of a layout: blanks in every text range, zeros everywhere else.
// The text ranges include the fields this program leaves alone, so a record read
// past the end of a file comes back as the board itself would write an empty one.
Bytes EmptyImage(std::size_t size, std::initializer_list<TextRange> texts) {
    Bytes img(size, '\0');
    for (const auto& t : texts)
        img.replace(t.offset, t.width, t.width, ' ');
    return img;
}

// The record's full image: the bytes present over the empty record of the layout.
Bytes FullImage(std::string_view buf, const Bytes& empty) {
    if (buf.size() >= empty.size()) return Bytes(buf.substr(0, empty.size()));
    Bytes img = empty;
    img.replace(0, buf.size(), buf);
    return img;
}

// Where an encoder starts: the record's own raw bytes when they are a whole record.
Bytes StartImage(const Bytes& raw, const Bytes& empty) {
    return raw.size() == empty.size() ? raw : empty;
}

const Bytes& EmptyMainConfig() {
    static const Bytes img = EmptyImage(kMainConfigSize, {{0, 40},
                                                          {40, 40},
                                                          {84, 24},
                                                          {110, 12},
                                                          {122, 5},
                                                          {127, 6},
                                                          {135, 6},
                                                          {143, 12},
                                                          {161, 8},
                                                          {169, 16},
                                                          {185, 16},
                                                          {205, 5},
                                                          {212, 5},
                                                          {217, 5},
                                                          {226, 12},
                                                          {254, 34},
                                                          {302, 12},
                                                          {318, 6}});
    return img;
}

const Bytes& EmptyUser() {
    static const Bytes img = EmptyImage(
        kUserRecordSize,
        {{0, 40},   {40, 40},  {80, 40},  {120, 32}, {152, 3}, {155, 10}, {165, 12},  {177, 12},  {189, 8},
         {199, 40}, {243, 80}, {343, 26}, {375, 6},  {399, 7}, {406, 96}, {502, 160}, {662, 160}, {856, 16},
         {872, 1},  {873, 3},  {876, 4},  {880, 22}, {902, 6}, {908, 6},  {920, 128}});
    return img;
}

const Bytes& EmptyMessage() {
    static const Bytes img = EmptyImage(kMessageInfoSize, {{8, 40},
                                                           {48, 40},
                                                           {88, 80},
                                                           {168, 80},
                                                           {268, 64},
                                                           {334, 40},
                                                           {382, 12},
                                                           {394, 64},
                                                           {470, 8},
                                                           {494, 24},
                                                           {518, 64}});
    return img;
}

const Bytes& EmptyNode() {
    static const Bytes img =
        EmptyImage(kNodeRecordSize, {{4, 24}, {32, 32}, {74, 8}, {82, 6}, {94, 8}, {102, 4}});
    return img;
}

const Bytes& EmptyStatHbrd() {
    static const Bytes img = EmptyImage(kStatHbrdSize, {});
    return img;
}

const Bytes& EmptyHmrData() {
    static const Bytes img = EmptyImage(kHmrDataSize, {{0, kHmrDataSize}});
    return img;
}

} // namespace

// ---- SYSPATHS.CFG ----

SysPaths DecodeSysPaths(std::string_view buf) {
    SysPaths p;
    for (std::size_t i = 0; i < p.field.size(); ++i)
        p.field[i] = GetText(buf, i * 40, 40);
    return p;
}

Bytes EncodeSysPaths(const SysPaths& p) {
    Bytes out(kSysPathsSize, ' ');
    for (std::size_t i = 0; i < p.field.size(); ++i)
        PutText(out, i * 40, 40, p.field[i]);
    return out;
}

// ---- MAIN.CFG ----

MainConfig DecodeMainConfig(std::string_view buf) {
    MainConfig c;
    c.raw = FullImage(buf, EmptyMainConfig());
    c.MaxNode = GetI16(c.raw, 210);
    c.SysopAttachLevel = GetI16(c.raw, 242);
    c.EmailAttachLevel = GetI16(c.raw, 244);
    return c;
}

Bytes EncodeMainConfig(const MainConfig& c) {
    Bytes out = StartImage(c.raw, EmptyMainConfig());
    PutI16(out, 210, c.MaxNode);
    PutI16(out, 242, c.SysopAttachLevel);
    PutI16(out, 244, c.EmailAttachLevel);
    return out;
}

// ---- USERFILE.DAT ----

UserRecord DecodeUserRecord(std::string_view buf) {
    UserRecord u;
    u.raw = FullImage(buf, EmptyUser());
    const Bytes& r = u.raw;
    u.Handle = GetText(r, 0, 40);
    u.RealName = GetText(r, 40, 40);
    u.ForwardMail = GetI16(r, 197);
    u.ForwardHandle = GetText(r, 199, 40);
    u.ForwardUserNo = GetI32(r, 239);
    u.ForwardNetNode = GetText(r, 243, 80);
    u.ForwardNetId = GetI16(r, 323);
    u.UserFlags = GetText(r, 343, 26);
    u.AccessFlags = GetI32(r, 369);
    u.SecurityLevel = GetI16(r, 373);
    u.MailCount = GetI32(r, 842);
    return u;
}

Bytes EncodeUserRecord(const UserRecord& u) {
    Bytes out = StartImage(u.raw, EmptyUser());
    PutText(out, 0, 40, u.Handle);
    PutText(out, 40, 40, u.RealName);
    PutI16(out, 197, u.ForwardMail);
    PutText(out, 199, 40, u.ForwardHandle);
    PutI32(out, 239, u.ForwardUserNo);
    PutText(out, 243, 80, u.ForwardNetNode);
    PutI16(out, 323, u.ForwardNetId);
    PutText(out, 343, 26, u.UserFlags);
    PutI32(out, 369, u.AccessFlags);
    PutI16(out, 373, u.SecurityLevel);
    PutI32(out, 842, u.MailCount);
    return out;
}

// ---- MessageInfo ----

MessageInfo DecodeMessageInfo(std::string_view buf) {
    MessageInfo m;
    m.raw = FullImage(buf, EmptyMessage());
    const Bytes& r = m.raw;
    m.FromUserNo = GetI32(r, 0);
    m.ToUserNo = GetI32(r, 4);
    m.FromHandle = GetText(r, 8, 40);
    m.ToHandle = GetText(r, 48, 40);
    m.FromNetNode = GetText(r, 88, 80);
    m.ToNetNode = GetText(r, 168, 80);
    m.FromNetId = GetI16(r, 248);
    m.ToNetId = GetI16(r, 250);
    m.TimeStamp = GetI32(r, 252);
    m.SysMsgNo = GetI32(r, 256);
    m.ThreadBk = GetI32(r, 260);
    m.ThreadBkN = GetI32(r, 264);
    m.Subject = GetText(r, 268, 64);
    m.Deleted = GetI16(r, 332);
    m.Creation = GetText(r, 334, 40);
    m.Offline = GetI32(r, 374);
    m.AttFileSize = GetI32(r, 378);
    m.AttFileName = GetText(r, 382, 12);
    m.AttFilePath = GetText(r, 394, 64);
    m.Reserved1 = GetI32(r, 458);
    m.Reserved2 = GetI32(r, 462);
    m.DbId = GetI32(r, 466);
    m.Filename = GetText(r, 470, 8);
    m.MsgPos = GetI32(r, 478);
    m.MsgLength = GetI32(r, 482);
    m.OriginNet = GetI16(r, 486);
    m.FidoFlags = GetI16(r, 488);
    m.OriginNode = GetI32(r, 490);
    m.Reserved3 = GetText(r, 494, 24);
    m.Reserved4 = GetText(r, 518, 64);
    return m;
}

Bytes EncodeMessageInfo(const MessageInfo& m) {
    Bytes out = StartImage(m.raw, EmptyMessage());
    PutI32(out, 0, m.FromUserNo);
    PutI32(out, 4, m.ToUserNo);
    PutText(out, 8, 40, m.FromHandle);
    PutText(out, 48, 40, m.ToHandle);
    PutText(out, 88, 80, m.FromNetNode);
    PutText(out, 168, 80, m.ToNetNode);
    PutI16(out, 248, m.FromNetId);
    PutI16(out, 250, m.ToNetId);
    PutI32(out, 252, m.TimeStamp);
    PutI32(out, 256, m.SysMsgNo);
    PutI32(out, 260, m.ThreadBk);
    PutI32(out, 264, m.ThreadBkN);
    PutText(out, 268, 64, m.Subject);
    PutI16(out, 332, m.Deleted);
    PutText(out, 334, 40, m.Creation);
    PutI32(out, 374, m.Offline);
    PutI32(out, 378, m.AttFileSize);
    PutText(out, 382, 12, m.AttFileName);
    PutText(out, 394, 64, m.AttFilePath);
    PutI32(out, 458, m.Reserved1);
    PutI32(out, 462, m.Reserved2);
    PutI32(out, 466, m.DbId);
    PutText(out, 470, 8, m.Filename);
    PutI32(out, 478, m.MsgPos);
    PutI32(out, 482, m.MsgLength);
    PutI16(out, 486, m.OriginNet);
    PutI16(out, 488, m.FidoFlags);
    PutI32(out, 490, m.OriginNode);
    PutText(out, 494, 24, m.Reserved3);
    PutText(out, 518, 64, m.Reserved4);
    return out;
}

MessageInfo EmptyMessageInfo() {
    return DecodeMessageInfo({});
}

// ---- CONTROL.DAT ----

NodeRecord DecodeNodeRecord(std::string_view buf) {
    NodeRecord n;
    n.raw = FullImage(buf, EmptyNode());
    n.NodeUserNo = GetI32(n.raw, 28);
    return n;
}

Bytes EncodeNodeRecord(const NodeRecord& n) {
    Bytes out = StartImage(n.raw, EmptyNode());
    PutI32(out, 28, n.NodeUserNo);
    return out;
}

// ---- STATHBRD.DAT ----

StatHbrdRecord DecodeStatHbrd(std::string_view buf) {
    StatHbrdRecord s;
    s.raw = FullImage(buf, EmptyStatHbrd());
    s.MessageCount = GetI32(s.raw, 68);
    s.MailCount = GetI32(s.raw, 72);
    return s;
}

Bytes EncodeStatHbrd(const StatHbrdRecord& s) {
    Bytes out = StartImage(s.raw, EmptyStatHbrd());
    PutI32(out, 68, s.MessageCount);
    PutI32(out, 72, s.MailCount);
    return out;
}

// ---- HMRDATA.DAT ----

HmrDataRecord DecodeHmrData(std::string_view buf) {
    HmrDataRecord h;
    h.raw = FullImage(buf, EmptyHmrData());
    h.Version = GetText(h.raw, 66, 15);
    return h;
}

Bytes EncodeHmrData(const HmrDataRecord& h) {
    Bytes out = StartImage(h.raw, EmptyHmrData());
    PutText(out, 66, 15, h.Version);
    return out;
}

// ---- KESTO.DAT ----

ViewSettings DecodeViewSettings(std::string_view buf) {
    // Missing bytes read as 0 like every other number; LoadDat replaces what is out of range.
    ViewSettings v;
    v.Top = GetI32(buf, 0);
    v.Left = GetI32(buf, 4);
    v.Width = GetI32(buf, 8);
    v.Height = GetI32(buf, 12);
    v.WindowState = GetI32(buf, 16);
    v.SortedColumn = GetI16(buf, 20);
    v.SortOrder = GetI16(buf, 22);
    for (std::size_t i = 0; i < v.ColumnWidths.size(); ++i)
        v.ColumnWidths[i] = GetI32(buf, 24 + 4 * i);
    return v;
}

Bytes EncodeViewSettings(const ViewSettings& v) {
    Bytes out(kViewSettingsSize, '\0');
    PutI32(out, 0, v.Top);
    PutI32(out, 4, v.Left);
    PutI32(out, 8, v.Width);
    PutI32(out, 12, v.Height);
    PutI32(out, 16, v.WindowState);
    PutI16(out, 20, v.SortedColumn);
    PutI16(out, 22, v.SortOrder);
    for (std::size_t i = 0; i < v.ColumnWidths.size(); ++i)
        PutI32(out, 24 + 4 * i, v.ColumnWidths[i]);
    return out;
}

} // namespace kesto
