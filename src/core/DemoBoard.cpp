// Every writer stops at the first file that cannot be written and returns why: fixture
// and demo boards are made whole or not at all.
#include "DemoBoard.h"

#include "DateFunctions.h"
#include "ErrorLog.h"
#include "platform/BoardPath.h"
#include "platform/File.h"

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

std::string UpperTrim(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

// A node the board has not used yet: nobody on line.
Bytes EmptyNodeRecord() {
    return DecodeNodeRecord({}).raw;
}

// The Creation text of a time stamp ("Tue Jul 11, 2006 14:03:22 +0000"). Time stamps are
// wall-clock seconds, so the fields come straight from the count; fixed English names and
// a fixed zone keep fixture boards identical on every machine and locale.
std::string CreationText(std::int32_t timeStamp) {
    const CreationTime t = CreationTimeOf(timeStamp);
    std::tm local{};
    local.tm_year = t.year - 1900;
    local.tm_mon = t.month - 1;
    local.tm_mday = t.day;
    local.tm_hour = t.hour;
    local.tm_min = t.minute;
    local.tm_sec = t.second;
    return FormatCreation(local) + " +0000";
}

} // namespace

Result<Board> CreateBoard(const std::string& dir, const BoardOptions& opt) {
    if (auto made = platform::MakeDirectories(dir); !made) return made.error();
    Board b;
    b.startDir = std::filesystem::absolute(dir).lexically_normal().string();
    while (b.startDir.size() > 1 && b.startDir.back() == '/') b.startDir.pop_back();
    b.log.path = b.startDir + "/HMRERROR.LOG";

    SysPaths p;
    const char* fields[10] = {".", "", "DATA", "", "TEXT", "NODE", "", "MAIL", "ATTACH", ""};
    for (std::size_t i = 0; i < p.field.size(); ++i) p.field[i] = Field(fields[i], 40);
    const Bytes sysPaths = EncodeSysPaths(p);
    if (auto w = platform::ReplaceContents(b.startDir + "/SYSPATHS.CFG", sysPaths); !w) return w.error();
    b.paths = DecodeSysPaths(sysPaths);
    for (const char* sub : {"DATA", "TEXT", "NODE", "MAIL", "ATTACH"})
        if (auto made = platform::MakeDirectory(b.startDir + "/" + sub); !made) return made.error();

    MainConfig cfg;
    cfg.raw = DecodeMainConfig({}).raw;
    PutField<MainConfigLayout::BoardName>(cfg.raw, "Halkmoor Demo Board");
    PutField<MainConfigLayout::SysopName>(cfg.raw, "SysOp");
    PutField<MainConfigLayout::TimeFrom>(cfg.raw, "00:00");
    PutField<MainConfigLayout::TimeTo>(cfg.raw, "23:59");
    cfg.MaxNode = opt.maxNode;
    cfg.SysopAttachLevel = opt.sysopAttachLevel;
    cfg.EmailAttachLevel = opt.emailAttachLevel;
    const Bytes mainCfg = EncodeMainConfig(cfg);
    if (auto w = platform::ReplaceContents(BoardNativePath(b, b.paths.MainPath(), "MAIN.CFG"), mainCfg); !w)
        return w.error();
    b.mainCfg = DecodeMainConfig(mainCfg);

    if (!opt.systemId.empty()) {
        if (auto w = WriteDataFile(b, "NET.1", "SYSTEMID=" + opt.systemId + "\r\n"); !w) return w.error();
    }
    if (auto w = platform::Truncate(BoardNativePath(b, b.paths.DataPath(), "USERFILE.DAT")); !w)
        return w.error();
    return b;
}

UserRecord MakeUser(std::string_view handle, std::string_view realName, std::int16_t securityLevel) {
    UserRecord u = DecodeUserRecord({});
    u.Handle = Field(handle, 40);
    u.RealName = Field(realName, 40);
    u.SecurityLevel = securityLevel;
    return u;
}

Result<std::int32_t> AppendUser(const Board& b, const UserRecord& u) {
    const std::string path = BoardNativePath(b, b.paths.DataPath(), "USERFILE.DAT");
    const std::int64_t count =
        platform::FileLengthIfAny(path).value_or(0) / static_cast<std::int64_t>(kUserRecordSize);
    // A partial trailing record is not a user: the new one takes its place.
    if (auto w =
            platform::WriteAt(path, count * static_cast<std::int64_t>(kUserRecordSize), EncodeUserRecord(u));
        !w)
        return w.error();
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

Result<std::int32_t> AppendMessage(const Board& b, std::string_view mailbox, MessageInfo m,
                                   std::string_view body) {
    const std::string name = UpperTrim(mailbox);
    const std::string bin = BoardNativePath(b, b.paths.MailPath(), name + ".BIN");
    const std::string dat = BoardNativePath(b, b.paths.MailPath(), name + ".DAT");

    // As the board files mail while others write: the text first, with one write, then
    // its record pointing at where the text landed, so no lock is needed.
    m.MsgLength = static_cast<std::int32_t>(body.size());
    m.Filename = Field(name, 8);
    Result<std::int64_t> landed = platform::AppendAt(bin, body);
    if (!landed) return landed.error();
    m.MsgPos = static_cast<std::int32_t>(*landed + 1);
    Result<std::int64_t> filedAt = platform::AppendRecord(dat, EncodeMessageInfo(m));
    if (!filedAt) return filedAt.error();
    return static_cast<std::int32_t>(*filedAt / static_cast<std::int64_t>(kMessageInfoSize) + 1);
}

Result<void> WriteDataFile(const Board& b, std::string_view name, std::string_view contents) {
    return platform::ReplaceContents(BoardNativePath(b, b.paths.DataPath(), name), contents);
}

Result<void> SetNodeUser(const Board& b, std::int16_t node, std::int32_t userNo) {
    if (node < 0) return Error(ErrorCode::BadRecordNumber);
    const std::string path = BoardNativePath(b, b.paths.NodePath(), "CONTROL.DAT");
    const auto size = static_cast<std::int64_t>(kNodeRecordSize);
    const std::int64_t count = platform::FileLengthIfAny(path).value_or(0) / size;

    Bytes grow;
    for (std::int64_t n = count; n < node; ++n) grow += EmptyNodeRecord();
    if (!grow.empty()) {
        if (auto w = platform::WriteAt(path, count * size, grow); !w) return w;
    }

    Bytes raw;
    if (node < count) {
        Result<Bytes> read = platform::ReadAt(path, node * size, size);
        if (!read) return read.error();
        raw = std::move(*read);
    }
    if (raw.size() != kNodeRecordSize) raw = EmptyNodeRecord();
    NodeRecord rec = DecodeNodeRecord(raw);
    rec.NodeUserNo = userNo;
    return platform::WriteAt(path, node * size, EncodeNodeRecord(rec));
}

namespace {

// Fixed wall-clock time stamps so the demo board reads the same every time it is made.
constexpr std::int32_t kJun20 = 1150794900; // Tue Jun 20, 2006 09:15:00
constexpr std::int32_t kHour = 3600;
constexpr std::int32_t kDay = 86400;

struct Mail {
    const char* mailbox;
    std::int32_t from;
    std::int32_t to;
    const char* fromHandle;
    const char* toHandle;
    const char* subject;
    std::int32_t timeStamp;
    bool read;
    bool deleted;
    const char* body;
};

UserRecord WithFlags(UserRecord u, std::string_view userFlags, std::int32_t accessFlags,
                     std::int32_t mailCount) {
    u.UserFlags = Field(userFlags, 26);
    u.AccessFlags = accessFlags;
    u.MailCount = mailCount;
    return u;
}

Result<void> WriteNative(const Board& b, std::string_view field, std::string_view name,
                         std::string_view bytes) {
    return platform::ReplaceContents(BoardNativePath(b, field, name), bytes);
}

// An attached file as delivery leaves it: AttachPath\<sender>\<8.3 name>.
Result<void> Attach(const Board& b, MessageInfo& m, std::string_view name, std::string_view contents) {
    const std::string sub = std::to_string(m.FromUserNo);
    if (auto made = platform::MakeDirectory(BoardNativePath(b, b.paths.AttachPath(), sub)); !made)
        return made;
    const std::string boardPath = BoardFile(b.paths.AttachPath(), sub + "\\" + std::string(name));
    if (auto w = platform::ReplaceContents(platform::NativePath(boardPath, b.startDir), contents); !w)
        return w;
    m.AttFileName = Field(name, 12);
    m.AttFilePath = Field(boardPath, 64);
    m.AttFileSize = static_cast<std::int32_t>(contents.size());
    return {};
}

// Notes the first failure among the demo board's writes. The board goes into a new
// or empty directory, so the writes after a failure are simply tried as well.
class Steps {
  public:
    template <class T>
    Steps& operator<<(const Result<T>& step) {
        if (!failed_ && !step) failed_ = step.error();
        return *this;
    }
    const std::optional<Error>& GetFailure() const { return failed_; }

  private:
    std::optional<Error> failed_;
};

} // namespace

Result<Board> CreateDemoBoard(const std::string& dir) {
    BoardOptions opt;
    opt.maxNode = 3;
    opt.sysopAttachLevel = 100;
    opt.emailAttachLevel = 50;
    opt.systemId = "1/1";
    Result<Board> made = CreateBoard(dir, opt);
    if (!made) return made.error();
    const Board& b = *made;
    Steps steps;

    // ---- users: a SysOp, users of levels 10 to 100, forwarding, a retired slot ----
    steps << AppendUser(b, WithFlags(MakeUser("SysOp", "Martin Hale", 255), "ABCDSZ", 0x3FFFFFF, 42)); // 1
    steps << AppendUser(b, WithFlags(MakeUser("Bob", "Robert Smith", 50), "BD", 0x5, 7));              // 2
    steps << AppendUser(b, WithFlags(MakeUser("Ann Walker", "Ann Walker", 100), "CM", 0xB, 12));       // 3
    steps << AppendUser(b, WithFlags(MakeUser("Old Timer", "Retired Account", 0), "", 0, 3));          // 4
    UserRecord lucky = WithFlags(MakeUser("Lucky Strike", "Lukas Meyer", 10), "", 0, 0);               // 5
    lucky.ForwardMail = 1; // forwarded on this board, to Bob
    lucky.ForwardHandle = Field("Bob", 40);
    lucky.ForwardUserNo = 2;
    lucky.ForwardNetNode = Field("1/1", 80);
    lucky.ForwardNetId = 1;
    steps << AppendUser(b, lucky);
    UserRecord greta = WithFlags(MakeUser("Wanderer", "Greta Lind", 20), "T", 0x80000, 1); // 6
    greta.ForwardMail = 1; // forwarded to her home board on the relay network
    greta.ForwardHandle = Field("Greta Lind", 40);
    greta.ForwardUserNo = 0;
    greta.ForwardNetNode = Field("77/12", 80);
    greta.ForwardNetId = 2;
    steps << AppendUser(b, greta);
    steps << AppendUser(
        b, WithFlags(MakeUser("NightOwlWithAVeryLongHandle", "Karl Oberg", 30), "N", 0x2000, 5)); // 7
    steps << AppendUser(b, WithFlags(MakeUser("J\xF6rg", "J\xF6rg Str\xF6m", 40), "G", 0x40, 2)); // 8

    // ---- networks ----
    steps << WriteDataFile(b, "NETWORKS.LST", "1,1,Halkmoor Home,0\r\n2,4,Relay Net,1,relay,0,0,0\r\n");
    steps << WriteDataFile(b, "NET.1", "SYSTEMID=1/1\r\nNAME=Halkmoor Home\r\n");
    steps << WriteDataFile(b, "NET.2",
                           "; our address on the relay network\r\nSystemId = 77/1\r\nHUB=77/0\r\n");

    // ---- mail: received and sent, in every state the list shows ----
    const Mail mails[] = {
        {"EMAIL", 2, 1, "Bob", "SysOp", "Welcome to the board", kJun20, true, false,
         "Hi Martin,\r\n\r\nthanks for setting up my account. Everything works.\r\n\r\nBob\r\n"},
        {"EMAIL", 3, 1, "Ann Walker", "SysOp", "Meeting on Friday", kJun20 + 2 * kDay + 5 * kHour, false,
         false, "Are we still meeting on Friday at eight?\r\nI can bring the new modem.\r\n"},
        {"EMAIL", 1, 2, "SysOp", "Bob", "Re: Welcome to the board", kJun20 + 3 * kDay, true, false,
         "Glad to hear it. Have a look at the file areas too.\r\n"},
        {"SNTEMAIL", 1, 2, "SysOp", "Bob", "Re: Welcome to the board", kJun20 + 3 * kDay, true, false,
         "Glad to hear it. Have a look at the file areas too.\r\n"},
        {"EMAIL", 3, 1, "Ann Walker", "SysOp", "Old news", kJun20 + 4 * kDay, true, true,
         "This one can go.\r\n"},
        {"EMAIL", 2, 1, "Bob", "SysOp", "Free modems!!!", kJun20 + 5 * kDay + 3 * kHour, false, true,
         "Click here.\r\n"},
        {"EMAIL", 5, 1, "Lucky Strike", "SysOp", "Colours", kJun20 + 8 * kDay + kHour, false, false,
         "\x03"
         "1This line is in colour 1,\r\n\x03"
         "4this one in colour 4.\r\n\x03"
         "7Back to normal.\r\n"},
        {"EMAIL", 1, 1, "SysOp", "SysOp", "Note to self", kJun20 + 9 * kDay, false, false,
         "Back up the user file before the upgrade.\r\n"},
        {"SNTEMAIL", 1, 1, "SysOp", "SysOp", "Note to self", kJun20 + 9 * kDay, true, false,
         "Back up the user file before the upgrade.\r\n"},
        {"EMAIL", 1, 3, "SysOp", "Ann Walker", "Re: Meeting on Friday", kJun20 + 10 * kDay, false, false,
         "Yes, eight o'clock. Bring the modem.\r\n"},
        {"SNTEMAIL", 1, 3, "SysOp", "Ann Walker", "Re: Meeting on Friday", kJun20 + 10 * kDay, true, false,
         "Yes, eight o'clock. Bring the modem.\r\n"},
        {"SNTEMAIL", 1, 8, "SysOp", "J\xF6rg",
         "Gr\xFC\xDF"
         "e aus dem Norden",
         kJun20 + 11 * kDay, true, true, "Hallo J\xF6rg,\r\nbis bald!\r\n"},
        {"SNTEMAIL", 2, 1, "Bob", "SysOp", "Welcome to the board", kJun20, true, false,
         "Hi Martin,\r\n\r\nthanks for setting up my account. Everything works.\r\n\r\nBob\r\n"},
    };

    std::int32_t serial = 1;
    for (const auto& mail : mails) {
        MessageInfo m =
            MakeMessage(mail.from, mail.to, mail.fromHandle, mail.toHandle, mail.subject, mail.timeStamp);
        m.SysMsgNo = ++serial;
        m.Offline = mail.read ? 1 : 0;
        m.Deleted = mail.deleted ? 1 : 0;
        steps << AppendMessage(b, mail.mailbox, m, mail.body);
    }

    // Attachments: one unread ("email_attach"), one already read ("open").
    MessageInfo photos =
        MakeMessage(2, 1, "Bob", "SysOp", "Photos from the trip", kJun20 + 12 * kDay + 2 * kHour);
    photos.SysMsgNo = ++serial;
    steps << Attach(b, photos, "TRIP.ZIP", std::string("PK\x03\x04", 4) + std::string(1020, 'x'));
    steps << AppendMessage(b, "EMAIL", photos, "The photos are attached.\r\n\r\nBob\r\n");

    MessageInfo minutes =
        MakeMessage(3, 1, "Ann Walker", "SysOp", "Minutes of the meeting", kJun20 + 13 * kDay);
    minutes.SysMsgNo = ++serial;
    minutes.Offline = 1;
    steps << Attach(b, minutes, "MINUTES.TXT",
                    "Present: Martin, Ann, Bob.\r\nAgreed: new modem on node 2.\r\n");
    steps << AppendMessage(b, "EMAIL", minutes, "Minutes attached.\r\n");

    // From the relay network, which addresses users by real name; with colour codes.
    MessageInfo relay = MakeMessage(0, 1, "Greta Lind", "Martin Hale", "Greetings from the relay",
                                    kJun20 + 14 * kDay + 7 * kHour);
    relay.FromNetNode = Field("77/12", 80);
    relay.FromNetId = 2;
    relay.ToNetNode = Field("77/1", 80);
    relay.ToNetId = 1;
    relay.SysMsgNo = ++serial;
    steps << AppendMessage(b, "EMAIL", relay,
                           "\x03"
                           "3Hello from board 77/12!\r\n\x03"
                           "1The relay is running again.\r\n\r\nGreta\r\n");

    // The SysOp's reply to the relay, filed as delivery files network mail: sender by real name.
    MessageInfo reply =
        MakeMessage(1, 0, "Martin Hale", "Greta Lind", "Re: Greetings from the relay", kJun20 + 15 * kDay);
    reply.ToNetNode = Field("77/12", 80);
    reply.ToNetId = 2;
    reply.SysMsgNo = ++serial;
    reply.Offline = 1;
    steps << AppendMessage(b, "SNTEMAIL", reply, "Good to hear from you, Greta.\r\n");

    // ---- system files ----
    steps << SetNodeUser(b, opt.maxNode, 0); // nodes 0 to MaxNode exist, nobody on line
    steps << SetNodeUser(b, 1, 1);           // the SysOp is on line at node 1

    Bytes seq(4, '\0');
    PutI32(seq, 0, serial);
    steps << WriteNative(b, b.paths.DataPath(), "DBSEQ.DAT", seq);

    StatHbrdRecord stats = DecodeStatHbrd({});
    PutField<StatHbrdLayout::Calls>(stats.raw, 4711);
    PutField<StatHbrdLayout::CallsToday>(stats.raw, 98);
    stats.MessageCount = 1234;
    stats.MailCount = 1234;
    steps << WriteNative(b, b.paths.DataPath(), "STATHBRD.DAT", EncodeStatHbrd(stats));

    HmrDataRecord hmr = DecodeHmrData({});
    PutField<HmrDataLayout::Tag>(hmr.raw, "HMR230");
    PutField<HmrDataLayout::BoardVersion>(hmr.raw, "Halkmoor 2.30");
    PutField<HmrDataLayout::NetVersion>(hmr.raw, "HMRNET 1.12");
    PutField<HmrDataLayout::MailVersion>(hmr.raw, "HMRMAIL 1.04");
    PutField<HmrDataLayout::UtilVersion>(hmr.raw, "HMRUTIL 0.90");
    hmr = DecodeHmrData(hmr.raw);
    steps << WriteNative(b, b.paths.MainPath(), "HMRDATA.DAT", EncodeHmrData(hmr));

    steps << WriteNative(b, b.paths.TextPath(), "EMAIL.TAG", "--- Halkmoor Demo Board (1/1)\r\n");
    steps << WriteDataFile(
        b, "AB1.DAT",
        "Bob,Bob@1/1,1\r\nAnn Walker,Ann Walker@1/1,1\r\nGreta on the relay,Greta Lind@77/12,2\r\n");
    if (steps.GetFailure()) return *steps.GetFailure();
    return made;
}

} // namespace kesto::demo
