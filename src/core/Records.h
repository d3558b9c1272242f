// The board's fixed-length record layouts and their codecs.
//
// Each record is described once, by the table of its layout (RecordLayout.h):
// every field in order with its offset, width and kind, the board's fields this
// program does not interpret included. Decoding, encoding, the empty record and
// single-field reads all come from that table.
//
// Text fields are kept exactly as stored: the full field width, blank padding
// included (callers trim with Trim() where a layout says "trimmed"). Numbers
// are decoded little-endian. Every board record also keeps its raw bytes, so
// fields this program does not interpret are written back byte for byte.
//
// Decode*() accepts a buffer of any length: bytes past its end read as an
// empty field (blanks for texts, 0 for numbers), which is how a record past the
// end of a file reads. Encode*() always returns exactly the record's size.
#pragma once

#include "Bytes.h"
#include "RecordLayout.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace kesto {

// ---- SYSPATHS.CFG: record 1 of 400 bytes, ten 40-byte path fields ----
inline constexpr std::size_t kSysPathsSize = 400;
struct SysPathsLayout;
struct SysPaths {
    using Layout = SysPathsLayout;
    std::array<Bytes, 10> field; // raw 40-byte fields, 0-based (field[0] is MainPath)
    const Bytes& MainPath() const { return field[0]; }
    const Bytes& DataPath() const { return field[2]; }
    const Bytes& TextPath() const { return field[4]; }
    const Bytes& NodePath() const { return field[5]; }
    const Bytes& MailPath() const { return field[7]; }
    const Bytes& AttachPath() const { return field[8]; }
};
struct SysPathsLayout : RecordLayout {
    static constexpr std::size_t kSize = kSysPathsSize;
    // clang-format off
    static constexpr auto kFields = std::tuple{
        Texts(0, 40, &SysPaths::field),
    };
    // clang-format on
};
SysPaths DecodeSysPaths(std::string_view buf);
Bytes EncodeSysPaths(const SysPaths& p);

// ---- MAIN.CFG: record 1 of 372 bytes ----
inline constexpr std::size_t kMainConfigSize = 372;
struct MainConfigLayout;
struct MainConfig {
    using Layout = MainConfigLayout;
    Bytes raw; // all 372 bytes as read
    std::int16_t MaxNode = 0;
    std::int16_t SysopAttachLevel = 0;
    std::int16_t EmailAttachLevel = 0;
};
struct MainConfigLayout : RecordLayout {
    static constexpr std::size_t kSize = kMainConfigSize;
    // The board's own fields, which this program never reads; named for what the
    // demo board keeps there.
    // NOLINTBEGIN(readability-identifier-naming): field names, like the record's members
    static constexpr FieldPlace BoardName = Text(0, 40);
    static constexpr FieldPlace SysopName = Text(40, 40);
    static constexpr FieldPlace TimeFrom = Text(212, 5); // "hh:nn"
    static constexpr FieldPlace TimeTo = Text(217, 5);
    // NOLINTEND(readability-identifier-naming)

    // clang-format off
    static constexpr auto kFields = std::tuple{
        BoardName,
        SysopName,
        I32(80),
        Text(84, 24),
        I16(108),
        Text(110, 12),
        Text(122, 5),
        Text(127, 6),
        I16(133),
        Text(135, 6),
        I16(141),
        Text(143, 12),
        I16s(155, 3),
        Text(161, 8),
        Text(169, 16),
        Text(185, 16),
        I16s(201, 2),
        Text(205, 5),
        I16(210, &MainConfig::MaxNode),
        TimeFrom,
        TimeTo,
        I16s(222, 2),
        Text(226, 12),
        I16(238),
        I16(240),
        I16(242, &MainConfig::SysopAttachLevel),
        I16(244, &MainConfig::EmailAttachLevel),
        I16(246),
        I16(248),
        I32(250),
        Text(254, 34),
        I16s(288, 7),
        Text(302, 12),
        I16s(314, 2),
        Text(318, 6),
        I16s(324, 24),
    };
    // clang-format on
};
MainConfig DecodeMainConfig(std::string_view buf);
Bytes EncodeMainConfig(const MainConfig& c);

// ---- USERFILE.DAT: 1048-byte records, record n is user n ----
inline constexpr std::size_t kUserRecordSize = 1048;
struct UserRecordLayout;
struct UserRecord {
    using Layout = UserRecordLayout;
    Bytes raw; // all 1048 bytes as read
    Bytes Handle;
    Bytes RealName;
    std::int16_t ForwardMail = 0;
    Bytes ForwardHandle;
    std::int32_t ForwardUserNo = 0;
    Bytes ForwardNetNode;
    std::int16_t ForwardNetId = 0;
    Bytes UserFlags;
    std::int32_t AccessFlags = 0;
    std::int16_t SecurityLevel = 0;
    std::int32_t MailCount = 0;
};
struct UserRecordLayout : RecordLayout {
    static constexpr std::size_t kSize = kUserRecordSize;
    // clang-format off
    static constexpr auto kFields = std::tuple{
        Text(0, 40, &UserRecord::Handle),
        Text(40, 40, &UserRecord::RealName),
        Text(80, 40),
        Text(120, 32),
        Text(152, 3),
        Text(155, 10),
        Text(165, 12),
        Text(177, 12),
        Text(189, 8),
        I16(197, &UserRecord::ForwardMail),
        Text(199, 40, &UserRecord::ForwardHandle),
        I32(239, &UserRecord::ForwardUserNo),
        Text(243, 80, &UserRecord::ForwardNetNode),
        I16(323, &UserRecord::ForwardNetId),
        I32(325),
        I32(329),
        I16s(333, 5),
        Text(343, 26, &UserRecord::UserFlags),
        I32(369, &UserRecord::AccessFlags),
        I16(373, &UserRecord::SecurityLevel),
        Text(375, 6),
        I16(381),
        I16(383),
        I32(385),
        I32(389),
        I16s(393, 3),
        Texts(399, 1, 7),
        Texts(406, 12, 8),
        Text(502, 160),
        Text(662, 160),
        I32s(822, 5),
        I32(842, &UserRecord::MailCount),
        I32(846),
        I16(850),
        I32(852),
        Text(856, 16),
        Text(872, 1),
        Text(873, 3),
        Text(876, 4),
        Text(880, 22),
        Text(902, 6),
        Text(908, 6),
        I32(914),
        I16(918),
        Text(920, 128),
    };
    // clang-format on
};
UserRecord DecodeUserRecord(std::string_view buf);
Bytes EncodeUserRecord(const UserRecord& u);

// ---- EMAIL.DAT / SNTEMAIL.DAT / ONELINE.DAT / spool entries: 582-byte records ----
inline constexpr std::size_t kMessageInfoSize = 582;
struct MessageInfoLayout;
struct MessageInfo {
    using Layout = MessageInfoLayout;
    Bytes raw; // all 582 bytes as read
    std::int32_t FromUserNo = 0;
    std::int32_t ToUserNo = 0;
    Bytes FromHandle;
    Bytes ToHandle;
    Bytes FromNetNode;
    Bytes ToNetNode;
    std::int16_t FromNetId = 0;
    std::int16_t ToNetId = 0;
    std::int32_t TimeStamp = 0;
    std::int32_t SysMsgNo = 0;
    std::int32_t ThreadBk = 0;
    std::int32_t ThreadBkN = 0;
    Bytes Subject;
    std::int16_t Deleted = 0;
    Bytes Creation;
    std::int32_t Offline = 0;
    std::int32_t AttFileSize = 0;
    Bytes AttFileName;
    Bytes AttFilePath;
    std::int32_t Reserved1 = 0; // not interpreted
    std::int32_t Reserved2 = 0; // not interpreted
    std::int32_t DbId = 0;
    Bytes Filename;
    std::int32_t MsgPos = 0;
    std::int32_t MsgLength = 0;
    std::int16_t OriginNet = 0;
    std::int16_t FidoFlags = 0;
    std::int32_t OriginNode = 0;
    Bytes Reserved3; // not interpreted
    Bytes Reserved4; // not interpreted
};
struct MessageInfoLayout : RecordLayout {
    static constexpr std::size_t kSize = kMessageInfoSize;
    // clang-format off
    static constexpr auto kFields = std::tuple{
        I32(0, &MessageInfo::FromUserNo),
        I32(4, &MessageInfo::ToUserNo),
        Text(8, 40, &MessageInfo::FromHandle),
        Text(48, 40, &MessageInfo::ToHandle),
        Text(88, 80, &MessageInfo::FromNetNode),
        Text(168, 80, &MessageInfo::ToNetNode),
        I16(248, &MessageInfo::FromNetId),
        I16(250, &MessageInfo::ToNetId),
        I32(252, &MessageInfo::TimeStamp),
        I32(256, &MessageInfo::SysMsgNo),
        I32(260, &MessageInfo::ThreadBk),
        I32(264, &MessageInfo::ThreadBkN),
        Text(268, 64, &MessageInfo::Subject),
        I16(332, &MessageInfo::Deleted),
        Text(334, 40, &MessageInfo::Creation),
        I32(374, &MessageInfo::Offline),
        I32(378, &MessageInfo::AttFileSize),
        Text(382, 12, &MessageInfo::AttFileName),
        Text(394, 64, &MessageInfo::AttFilePath),
        I32(458, &MessageInfo::Reserved1),
        I32(462, &MessageInfo::Reserved2),
        I32(466, &MessageInfo::DbId),
        Text(470, 8, &MessageInfo::Filename),
        I32(478, &MessageInfo::MsgPos),
        I32(482, &MessageInfo::MsgLength),
        I16(486, &MessageInfo::OriginNet),
        I16(488, &MessageInfo::FidoFlags),
        I32(490, &MessageInfo::OriginNode),
        Text(494, 24, &MessageInfo::Reserved3),
        Text(518, 64, &MessageInfo::Reserved4),
    };
    // clang-format on
};
MessageInfo DecodeMessageInfo(std::string_view buf);
Bytes EncodeMessageInfo(const MessageInfo& m);
// A record as this program creates it: every text blank, every number 0.
MessageInfo EmptyMessageInfo();

// ---- CONTROL.DAT: 106-byte records, node n is record n + 1 ----
inline constexpr std::size_t kNodeRecordSize = 106;
struct NodeRecordLayout;
struct NodeRecord {
    using Layout = NodeRecordLayout;
    Bytes raw;
    std::int32_t NodeUserNo = 0;
};
struct NodeRecordLayout : RecordLayout {
    static constexpr std::size_t kSize = kNodeRecordSize;
    // clang-format off
    static constexpr auto kFields = std::tuple{
        I32(0),
        Text(4, 24),
        I32(28, &NodeRecord::NodeUserNo),
        Text(32, 32),
        I32(64),
        I16s(68, 3),
        Text(74, 8),
        Text(82, 6),
        I16s(88, 3),
        Text(94, 8),
        Text(102, 4),
    };
    // clang-format on
};
NodeRecord DecodeNodeRecord(std::string_view buf);
Bytes EncodeNodeRecord(const NodeRecord& n);

// ---- STATHBRD.DAT: one 88-byte record of the board's statistics ----
inline constexpr std::size_t kStatHbrdSize = 88;
struct StatHbrdLayout;
struct StatHbrdRecord {
    using Layout = StatHbrdLayout;
    Bytes raw; // all 88 bytes
    // Board-wide totals; every message this program sends adds one to both.
    std::int32_t MessageCount = 0; // at 68: all messages the board has taken, mail included
    std::int32_t MailCount = 0;    // at 72: mail alone
};
struct StatHbrdLayout : RecordLayout {
    static constexpr std::size_t kSize = kStatHbrdSize;
    // The board's own counters, which this program never reads; named for what
    // the demo board keeps there.
    // NOLINTBEGIN(readability-identifier-naming): field names, like the record's members
    static constexpr FieldPlace Calls = I32(0);
    static constexpr FieldPlace CallsToday = I32(4);
    // NOLINTEND(readability-identifier-naming)

    // clang-format off
    static constexpr auto kFields = std::tuple{
        Calls,
        CallsToday,
        I32s(8, 15),
        I32(68, &StatHbrdRecord::MessageCount),
        I32(72, &StatHbrdRecord::MailCount),
        I32s(76, 3),
    };
    // clang-format on
};
StatHbrdRecord DecodeStatHbrd(std::string_view buf);
Bytes EncodeStatHbrd(const StatHbrdRecord& s);

// ---- HMRDATA.DAT: 96-byte records of version stamps; this program owns only its own ----
inline constexpr std::size_t kHmrDataSize = 96;
struct HmrDataLayout;
struct HmrDataRecord {
    using Layout = HmrDataLayout;
    Bytes raw; // all 96 bytes
    Bytes Version;
};
struct HmrDataLayout : RecordLayout {
    static constexpr std::size_t kSize = kHmrDataSize;
    // The board's own stamps, which this program never reads; named for what the
    // demo board keeps there.
    // NOLINTBEGIN(readability-identifier-naming): field names, like the record's members
    static constexpr FieldPlace Tag = Text(0, 6);
    static constexpr FieldPlace BoardVersion = Text(6, 15);
    static constexpr FieldPlace NetVersion = Text(21, 15);
    static constexpr FieldPlace MailVersion = Text(36, 15);
    static constexpr FieldPlace UtilVersion = Text(81, 15);
    // NOLINTEND(readability-identifier-naming)

    // clang-format off
    static constexpr auto kFields = std::tuple{
        Tag,
        BoardVersion,
        NetVersion,
        MailVersion,
        Text(51, 15),
        Text(66, 15, &HmrDataRecord::Version),
        UtilVersion,
    };
    // clang-format on
};
HmrDataRecord DecodeHmrData(std::string_view buf);
Bytes EncodeHmrData(const HmrDataRecord& h);

// ---- KESTO.DAT: the program's own 48-byte settings record ----
inline constexpr std::size_t kViewSettingsSize = 48;
struct ViewSettingsLayout;
struct ViewSettings {
    using Layout = ViewSettingsLayout;
    std::int32_t Top = 0;
    std::int32_t Left = 0;
    std::int32_t Width = 10215;
    std::int32_t Height = 5865;
    std::int32_t WindowState = 0; // 0 normal, 1 minimized, 2 maximized
    std::int16_t SortedColumn = 2;
    std::int16_t SortOrder = 1;
    std::array<std::int32_t, 6> ColumnWidths{360, 800, 2000, 3500, 2500, 1000};
};
struct ViewSettingsLayout : RecordLayout {
    static constexpr std::size_t kSize = kViewSettingsSize;
    // clang-format off
    static constexpr auto kFields = std::tuple{
        I32(0, &ViewSettings::Top),
        I32(4, &ViewSettings::Left),
        I32(8, &ViewSettings::Width),
        I32(12, &ViewSettings::Height),
        I32(16, &ViewSettings::WindowState),
        I16(20, &ViewSettings::SortedColumn),
        I16(22, &ViewSettings::SortOrder),
        I32s(24, &ViewSettings::ColumnWidths),
    };
    // clang-format on
};
ViewSettings DecodeViewSettings(std::string_view buf);
Bytes EncodeViewSettings(const ViewSettings& v);

} // namespace kesto
