#include "UserFile.h"

#include "platform/BoardPath.h"
#include "platform/File.h"

#include <cstddef>
#include <limits>

namespace kesto {
namespace {

constexpr std::string_view kModule = "modHALK";
// The searches number users with 16 bits, as the board does.
constexpr std::int64_t kMaxSearchRecords = 32767;

std::string UserFilePath(const Board& b) {
    return BoardNativePath(b, b.paths.DataPath(), "USERFILE.DAT");
}

Result<std::int64_t> RecordOffset(std::int32_t userNo) {
    if (userNo < 1) return Error(ErrorCode::BadRecordNumber);
    return (static_cast<std::int64_t>(userNo) - 1) * static_cast<std::int64_t>(kUserRecordSize);
}

// Names are Windows-1252 text: the accented capitals fold as well as A to Z, so "JÖRG"
// finds "Jörg" as on the board's own system (the multiplication sign is no letter).
char Lower(char c) {
    const auto u = static_cast<unsigned char>(c);
    if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7)) return static_cast<char>(u + 0x20);
    switch (u) {
    case 0x8A: // S caron
    case 0x8C: // OE
    case 0x8E: // Z caron
        return static_cast<char>(u + 0x10);
    case 0x9F: // Y diaeresis
        return static_cast<char>(0xFF);
    default:
        return c;
    }
}

// Trimmed, case-insensitive equality without building a string per record.
bool SameName(std::string_view field, std::string_view wantedLower) {
    field = TrimView(field);
    if (field.size() != wantedLower.size()) return false;
    for (std::size_t i = 0; i < field.size(); ++i)
        if (Lower(field[i]) != wantedLower[i]) return false;
    return true;
}

Result<RecordNo> FindByField(const Board& b, FieldPlace field, std::string_view name) {
    std::string wanted(TrimView(name));
    for (char& c : wanted) c = Lower(c);

    const std::string path = UserFilePath(b);
    Result<std::int64_t> length = platform::FileLength(path);
    if (!length) return length.error();
    if (*length / static_cast<std::int64_t>(kUserRecordSize) > kMaxSearchRecords)
        return Error(ErrorCode::Overflow);

    // One read per search; the buffer stays with the thread so repeated searches
    // do not touch fresh pages every time.
    thread_local Bytes buffer;
    if (auto read = platform::ReadAll(path, buffer); !read) return read.error();
    const std::size_t count = buffer.size() / kUserRecordSize;
    if (count > static_cast<std::size_t>(kMaxSearchRecords)) return Error(ErrorCode::Overflow);

    const std::string_view all(buffer);
    for (std::size_t i = 0; i < count; ++i) {
        if (SameName(all.substr(i * kUserRecordSize + field.offset, field.width), wanted))
            return static_cast<RecordNo>(i + 1);
    }
    return RecordNo{0};
}

Result<UserRecord> ReadUser(const Board& b, std::int32_t userNo) {
    Result<std::int64_t> offset = RecordOffset(userNo);
    if (!offset) return offset.error();
    Result<Bytes> buf = platform::ReadAt(UserFilePath(b), *offset, kUserRecordSize);
    if (!buf) return buf.error();
    return DecodeUserRecord(*buf);
}

Result<void> WriteUser(const Board& b, std::int32_t userNo, const UserRecord& rec) {
    Result<std::int64_t> offset = RecordOffset(userNo);
    if (!offset) return offset.error();
    return platform::WriteAt(UserFilePath(b), *offset, EncodeUserRecord(rec));
}

// Read, counted and written back under a lock on the sender's record, so two copies of
// Kesto sending for the same user lose no count. Only the counter's bytes are written:
// the board may change the rest of the record meanwhile.
Result<UserRecord> CountSentMail(const Board& b, std::int32_t userNo) {
    Result<std::int64_t> offset = RecordOffset(userNo);
    if (!offset) return offset.error();
    Result<platform::LockedFile> file =
        platform::LockedFile::Open(UserFilePath(b), *offset, kUserRecordSize, false);
    if (!file) {
        const ErrorCode code = file.error().code;
        const bool readOnly = code == ErrorCode::PermissionDenied;
        LogFailure(b.log, kModule, code == ErrorCode::Locked || readOnly ? "PutUser" : "GetUser",
                   file.error());
        // A user file we may read but not write: the message goes uncounted, as before locks.
        if (readOnly) return Logged(b.log, kModule, "GetUser", ReadUser(b, userNo));
        return file.error();
    }
    Result<Bytes> raw = Logged(b.log, kModule, "GetUser", file->ReadAt(*offset, kUserRecordSize));
    if (!raw) return raw.error();
    // A blank slot past the end of the file must never be written.
    if (raw->size() < kUserRecordSize) return Error(ErrorCode::BadRecordNumber);
    UserRecord user = DecodeUserRecord(*raw);
    if (user.MailCount == std::numeric_limits<std::int32_t>::max()) return Error(ErrorCode::Overflow);
    ++user.MailCount;
    constexpr FieldPlace count = PlaceOf<&UserRecord::MailCount>();
    Bytes counter(count.width, '\0');
    PutI32(counter, 0, user.MailCount);
    // A counter that cannot be written is logged; the message still goes.
    (void)Logged(b.log, kModule, "PutUser",
                 file->WriteAt(*offset + static_cast<std::int64_t>(count.offset), counter));
    return user;
}

Result<std::int32_t> CountUsers(const Board& b) {
    const std::string path = UserFilePath(b);
    if (!platform::IsFile(path)) return 0;
    Result<std::int64_t> length = platform::FileLength(path);
    if (!length) return length.error();
    return static_cast<std::int32_t>(*length / static_cast<std::int64_t>(kUserRecordSize));
}

} // namespace

Result<UserRecord> GetUser(const Board& b, std::int32_t userNo) {
    return Logged(b.log, kModule, "GetUser", ReadUser(b, userNo));
}

Result<void> PutUser(const Board& b, std::int32_t userNo, const UserRecord& rec) {
    return Logged(b.log, kModule, "PutUser", WriteUser(b, userNo, rec));
}

Result<UserRecord> AddSentMail(const Board& b, std::int32_t userNo) {
    return CountSentMail(b, userNo);
}

Result<std::int32_t> GetUserCount(const Board& b) {
    return Logged(b.log, kModule, "GetUserCount", CountUsers(b));
}

Result<RecordNo> FindHandle(const Board& b, std::string_view name) {
    return Logged(b.log, kModule, "FindHandle", FindByField(b, PlaceOf<&UserRecord::Handle>(), name));
}

Result<RecordNo> FindRealName(const Board& b, std::string_view name) {
    return Logged(b.log, kModule, "FindRealName", FindByField(b, PlaceOf<&UserRecord::RealName>(), name));
}

std::string GetAccFlags(std::int32_t mask) {
    std::string letters;
    if (mask <= 0) return letters;
    // Highest flag first, so a mask beyond Z notes every letter it still covers.
    std::int64_t remaining = mask;
    char noted[26];
    int n = 0;
    char letter = 'Z';
    for (std::int64_t weight = std::int64_t{1} << 25; weight >= 1; weight /= 2, --letter) {
        if (remaining / weight >= 1) {
            noted[n++] = letter;
            remaining -= weight;
        }
    }
    for (int i = n - 1; i >= 0; --i) letters += noted[i];
    return letters;
}

} // namespace kesto
