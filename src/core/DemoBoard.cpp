#include "DemoBoard.h"

#include "ErrorLog.h"
#include "platform/BoardPath.h"
#include "platform/File.h"

#include <cstdio>
#include <filesystem>
#include <system_error>
#include <utility>

namespace kesto::demo {
namespace {

// A blank-padded text field of exactly `width` bytes (longer text is cut).
Bytes Field(std::string_view text, std::size_t width) {
    Bytes out(width, ' ');
    out.replace(0, text.size() < width ? text.size() : width, text.substr(0, width));
    return out;
}

// A record of `size` zero bytes whose text fields {offset, width} are blank, as the
// board leaves the fields it has not filled.
Bytes BlankRecord(std::size_t size, std::initializer_list<std::pair<std::size_t, std::size_t>> texts) {
    Bytes raw(size, '\0');
    for (auto [off, width] : texts) raw.replace(off, width, width, ' ');
    return raw;
}

std::string Native(const Board& b, std::string_view field, std::string_view name) {
    return platform::NativePath(BoardFile(field, name), b.startDir);
}

void MakeDirectory(const std::string& nativePath) {
    std::error_code ec;
    std::filesystem::create_directories(nativePath, ec);
    if (ec || !platform::IsDirectory(nativePath)) throw KestoError("Path not found");
}

std::string UpperTrim(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

Bytes EmptyNodeRecord() {
    return BlankRecord(kNodeRecordSize, {{4, 24}, {32, 32}, {74, 8}, {82, 6}, {94, 8}, {102, 4}});
}

// The Creation text of a time stamp ("Tue Jul 11, 2006 14:03:22 +0000"). Time stamps are
// wall-clock seconds, so the fields come straight from the count; fixed English names and
// a fixed zone keep fixture boards identical on every machine and locale.
std::string CreationText(std::int32_t timeStamp) {
    static const char* const kDays[] = {"Thu", "Fri", "Sat", "Sun", "Mon", "Tue", "Wed"};
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::int64_t t = timeStamp;
    std::int64_t days = t >= 0 ? t / 86400 : (t - 86399) / 86400;
    std::int64_t secs = t - days * 86400;
    // Civil date from a day count (proleptic Gregorian, day 0 = 1970-01-01).
    std::int64_t z = days + 719468;
    std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    std::int64_t doe = z - era * 146097;
    std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    std::int64_t mp = (5 * doy + 2) / 153;
    std::int64_t day = doy - (153 * mp + 2) / 5 + 1;
    std::int64_t month = mp < 10 ? mp + 3 : mp - 9;
    std::int64_t year = yoe + era * 400 + (month <= 2 ? 1 : 0);
    int weekday = static_cast<int>(((days % 7) + 7) % 7);

    char buf[48];
    std::snprintf(buf, sizeof buf, "%s %s %02d, %04d %02d:%02d:%02d +0000", kDays[weekday],
                  kMonths[month - 1], static_cast<int>(day), static_cast<int>(year),
                  static_cast<int>(secs / 3600), static_cast<int>(secs / 60 % 60), static_cast<int>(secs % 60));
    return buf;
}

} // namespace

Board CreateBoard(const std::string& dir, const BoardOptions& opt) {
    MakeDirectory(dir);
    Board b;
    b.startDir = std::filesystem::absolute(dir).lexically_normal().string();
    while (b.startDir.size() > 1 && b.startDir.back() == '/') b.startDir.pop_back();
    b.log.path = b.startDir + "/HMRERROR.LOG";

    SysPaths p;
    const char* fields[10] = {".", "", "DATA", "", "TEXT", "NODE", "", "MAIL", "ATTACH", ""};
    for (std::size_t i = 0; i < p.field.size(); ++i) p.field[i] = Field(fields[i], 40);
    Bytes sysPaths = EncodeSysPaths(p);
    platform::ReplaceContents(b.startDir + "/SYSPATHS.CFG", sysPaths);
    b.paths = DecodeSysPaths(sysPaths);
    for (const char* sub : {"DATA", "TEXT", "NODE", "MAIL", "ATTACH"}) MakeDirectory(b.startDir + "/" + sub);

    MainConfig cfg;
    cfg.raw = BlankRecord(kMainConfigSize, {{0, 40}, {40, 40}, {84, 24}, {110, 12}, {122, 5}, {127, 6},
                                            {135, 6}, {143, 12}, {161, 8}, {169, 16}, {185, 16}, {205, 5},
                                            {212, 5}, {217, 5}, {226, 12}, {254, 34}, {302, 12}, {318, 6}});
    PutText(cfg.raw, 0, 40, "Halkmoor Demo Board");
    PutText(cfg.raw, 40, 40, "SysOp");
    PutText(cfg.raw, 212, 5, "00:00");
    PutText(cfg.raw, 217, 5, "23:59");
    cfg.MaxNode = opt.maxNode;
    cfg.SysopAttachLevel = opt.sysopAttachLevel;
    cfg.EmailAttachLevel = opt.emailAttachLevel;
    Bytes mainCfg = EncodeMainConfig(cfg);
    platform::ReplaceContents(Native(b, b.paths.MainPath(), "MAIN.CFG"), mainCfg);
    b.mainCfg = DecodeMainConfig(mainCfg);

    if (!opt.systemId.empty()) WriteDataFile(b, "NET.1", "SYSTEMID=" + opt.systemId + "\r\n");
    platform::Truncate(Native(b, b.paths.DataPath(), "USERFILE.DAT"));
    return b;
}

UserRecord MakeUser(std::string_view handle, std::string_view realName, std::int16_t securityLevel) {
    UserRecord u;
    u.raw = BlankRecord(kUserRecordSize,
                        {{0, 40},    {40, 40},   {80, 40},   {120, 32},  {152, 3},   {155, 10},  {165, 12},
                         {177, 12},  {189, 8},   {199, 40},  {243, 80},  {343, 26},  {375, 6},   {399, 7},
                         {406, 96},  {502, 160}, {662, 160}, {856, 16},  {872, 1},   {873, 3},   {876, 4},
                         {880, 22},  {902, 6},   {908, 6},   {920, 128}});
    u = DecodeUserRecord(u.raw);
    u.Handle = Field(handle, 40);
    u.RealName = Field(realName, 40);
    u.SecurityLevel = securityLevel;
    return u;
}

std::int32_t AppendUser(const Board& b, const UserRecord& u) {
    std::string path = Native(b, b.paths.DataPath(), "USERFILE.DAT");
    std::int64_t len = platform::FileLengthOr(path);
    std::int64_t count = len < 0 ? 0 : len / static_cast<std::int64_t>(kUserRecordSize);
    // A partial trailing record is not a user: the new one takes its place.
    platform::WriteAt(path, count * static_cast<std::int64_t>(kUserRecordSize), EncodeUserRecord(u));
    return static_cast<std::int32_t>(count + 1);
}

MessageInfo MakeMessage(std::int32_t fromUserNo, std::int32_t toUserNo, std::string_view fromHandle,
                        std::string_view toHandle, std::string_view subject, std::int32_t timeStamp) {
    MessageInfo m = EmptyMessageInfo();
    m.FromUserNo = fromUserNo;
    m.ToUserNo = toUserNo;
    m.FromHandle = Field(fromHandle, 40);
    m.ToHandle = Field(toHandle, 40);
    m.FromNetNode = Field("1/1", 80);
    m.ToNetNode = Field("0", 80);
    m.FromNetId = 1;
    m.ToNetId = 1;
    m.TimeStamp = timeStamp;
    m.Subject = Field(subject, 64);
    m.Creation = Field(CreationText(timeStamp), 40);
    return m;
}

std::int32_t AppendMessage(const Board& b, std::string_view mailbox, MessageInfo m, std::string_view body) {
    std::string name = UpperTrim(mailbox);
    std::string bin = Native(b, b.paths.MailPath(), name + ".BIN");
    std::string dat = Native(b, b.paths.MailPath(), name + ".DAT");

    std::int64_t binLen = platform::FileLengthOr(bin);
    m.MsgPos = static_cast<std::int32_t>(binLen < 0 ? 1 : binLen + 1);
    m.MsgLength = static_cast<std::int32_t>(body.size());
    m.Filename = Field(name, 8);
    platform::Append(bin, body);

    std::int64_t datLen = platform::FileLengthOr(dat);
    std::int64_t count = datLen < 0 ? 0 : datLen / static_cast<std::int64_t>(kMessageInfoSize);
    platform::WriteAt(dat, count * static_cast<std::int64_t>(kMessageInfoSize), EncodeMessageInfo(m));
    return static_cast<std::int32_t>(count + 1);
}

void WriteDataFile(const Board& b, std::string_view name, std::string_view contents) {
    platform::ReplaceContents(Native(b, b.paths.DataPath(), name), contents);
}

void SetNodeUser(const Board& b, std::int16_t node, std::int32_t userNo) {
    if (node < 0) throw KestoError("Bad record number");
    std::string path = Native(b, b.paths.NodePath(), "CONTROL.DAT");
    const auto size = static_cast<std::int64_t>(kNodeRecordSize);
    std::int64_t len = platform::FileLengthOr(path);
    std::int64_t count = len < 0 ? 0 : len / size;

    // Nodes the board has not used yet are empty records (nobody on line).
    Bytes grow;
    for (std::int64_t n = count; n < node; ++n) grow += EmptyNodeRecord();
    if (!grow.empty()) platform::WriteAt(path, count * size, grow);

    Bytes raw;
    if (node < count) platform::ReadAt(path, node * size, size, raw);
    if (raw.size() != kNodeRecordSize) raw = EmptyNodeRecord();
    NodeRecord rec = DecodeNodeRecord(raw);
    rec.NodeUserNo = userNo;
    platform::WriteAt(path, node * size, EncodeNodeRecord(rec));
}

} // namespace kesto::demo
