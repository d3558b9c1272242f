// The board's fixed-length record layouts and their codecs.
//
// Text fields are kept exactly as stored: the full field width, blank padding
// included (callers trim with Trim() where a layout says "trimmed"). Numbers
// are decoded little-endian. Every record also keeps its raw bytes, so fields
// this program does not interpret are written back byte for byte.
//
// Decode*() accepts a buffer of any length: bytes past its end read as an
// empty field (blanks for texts, 0 for numbers), which is how a record past the
// end of a file reads. Encode*() always returns exactly the record's size.
#pragma once

#include "Bytes.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace kesto {

// ---- SYSPATHS.CFG: record 1 of 400 bytes, ten 40-byte path fields ----
inline constexpr std::size_t kSysPathsSize = 400;
struct SysPaths {
    std::array<Bytes, 10> field; // raw 40-byte fields, 0-based (field[0] is MainPath)
    const Bytes& MainPath() const { return field[0]; }
    const Bytes& DataPath() const { return field[2]; }
    const Bytes& TextPath() const { return field[4]; }
    const Bytes& NodePath() const { return field[5]; }
    const Bytes& MailPath() const { return field[7]; }
    const Bytes& AttachPath() const { return field[8]; }
};
SysPaths DecodeSysPaths(std::string_view buf);
Bytes EncodeSysPaths(const SysPaths& p);

// ---- MAIN.CFG: record 1 of 372 bytes ----
inline constexpr std::size_t kMainConfigSize = 372;
struct MainConfig {
    Bytes raw;                         // all 372 bytes as read
    std::int16_t MaxNode = 0;          // offset 210
    std::int16_t SysopAttachLevel = 0; // offset 242
    std::int16_t EmailAttachLevel = 0; // offset 244
};
MainConfig DecodeMainConfig(std::string_view buf);
Bytes EncodeMainConfig(const MainConfig& c);

// ---- USERFILE.DAT: 1048-byte records, record n is user n ----
inline constexpr std::size_t kUserRecordSize = 1048;
struct UserRecord {
    Bytes raw;                      // all 1048 bytes as read
    Bytes Handle;                   // 0, 40
    Bytes RealName;                 // 40, 40
    std::int16_t ForwardMail = 0;   // 197
    Bytes ForwardHandle;            // 199, 40
    std::int32_t ForwardUserNo = 0; // 239
    Bytes ForwardNetNode;           // 243, 80
    std::int16_t ForwardNetId = 0;  // 323
    Bytes UserFlags;                // 343, 26
    std::int32_t AccessFlags = 0;   // 369
    std::int16_t SecurityLevel = 0; // 373
    std::int32_t MailCount = 0;     // 842
};
UserRecord DecodeUserRecord(std::string_view buf);
Bytes EncodeUserRecord(const UserRecord& u);

// ---- EMAIL.DAT / SNTEMAIL.DAT / ONELINE.DAT / spool entries: 582-byte records ----
inline constexpr std::size_t kMessageInfoSize = 582;
struct MessageInfo {
    Bytes raw;                     // all 582 bytes as read
    std::int32_t FromUserNo = 0;   // 0
    std::int32_t ToUserNo = 0;     // 4
    Bytes FromHandle;              // 8, 40
    Bytes ToHandle;                // 48, 40
    Bytes FromNetNode;             // 88, 80
    Bytes ToNetNode;               // 168, 80
    std::int16_t FromNetId = 0;    // 248
    std::int16_t ToNetId = 0;      // 250
    std::int32_t TimeStamp = 0;    // 252
    std::int32_t SysMsgNo = 0;     // 256
    std::int32_t ThreadBk = 0;     // 260
    std::int32_t ThreadBkN = 0;    // 264
    Bytes Subject;                 // 268, 64
    std::int16_t Deleted = 0;      // 332
    Bytes Creation;                // 334, 40
    std::int32_t Offline = 0;      // 374
    std::int32_t AttFileSize = 0;  // 378
    Bytes AttFileName;             // 382, 12
    Bytes AttFilePath;             // 394, 64
    std::int32_t Reserved1 = 0;    // 458, not interpreted
    std::int32_t Reserved2 = 0;    // 462, not interpreted
    std::int32_t DbId = 0;         // 466
    Bytes Filename;                // 470, 8
    std::int32_t MsgPos = 0;       // 478
    std::int32_t MsgLength = 0;    // 482
    std::int16_t OriginNet = 0;    // 486
    std::int16_t FidoFlags = 0;    // 488
    std::int32_t OriginNode = 0;   // 490
    Bytes Reserved3;               // 494, 24, not interpreted
    Bytes Reserved4;               // 518, 64, not interpreted
};
MessageInfo DecodeMessageInfo(std::string_view buf);
Bytes EncodeMessageInfo(const MessageInfo& m);
// A record as this program creates it: every text blank, every number 0.
MessageInfo EmptyMessageInfo();

// ---- CONTROL.DAT: 106-byte records, node n is record n + 1 ----
inline constexpr std::size_t kNodeRecordSize = 106;
struct NodeRecord {
    Bytes raw;
    std::int32_t NodeUserNo = 0; // 28
};
NodeRecord DecodeNodeRecord(std::string_view buf);
Bytes EncodeNodeRecord(const NodeRecord& n);

// ---- STATHBRD.DAT: one 88-byte record of the board's statistics ----
inline constexpr std::size_t kStatHbrdSize = 88;
struct StatHbrdRecord {
    Bytes raw; // all 88 bytes
    // Board-wide totals; every message this program sends adds one to both.
    std::int32_t MessageCount = 0; // at 68: all messages the board has taken, mail included
    std::int32_t MailCount = 0;    // at 72: mail alone
};
StatHbrdRecord DecodeStatHbrd(std::string_view buf);
Bytes EncodeStatHbrd(const StatHbrdRecord& s);

// ---- HMRDATA.DAT: 96-byte records; this program owns only the field at 66 ----
inline constexpr std::size_t kHmrDataSize = 96;
struct HmrDataRecord {
    Bytes raw;     // all 96 bytes
    Bytes Version; // 66, 15
};
HmrDataRecord DecodeHmrData(std::string_view buf);
Bytes EncodeHmrData(const HmrDataRecord& h);

// ---- KESTO.DAT: the program's own 48-byte settings record ----
inline constexpr std::size_t kViewSettingsSize = 48;
struct ViewSettings {
    std::int32_t Top = 0;                       // 0
    std::int32_t Left = 0;                      // 4
    std::int32_t Width = 10215;                 // 8
    std::int32_t Height = 5865;                 // 12
    std::int32_t WindowState = 0;               // 16: 0 normal, 1 minimized, 2 maximized
    std::int16_t SortedColumn = 2;              // 20
    std::int16_t SortOrder = 1;                 // 22
    std::array<std::int32_t, 6> ColumnWidths{360, 800, 2000, 3500, 2500, 1000}; // 24..44
};
ViewSettings DecodeViewSettings(std::string_view buf);
Bytes EncodeViewSettings(const ViewSettings& v);

} // namespace kesto
