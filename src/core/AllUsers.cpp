#include "AllUsers.h"

#include "TextHelpers.h"
#include "Delivery.h"
#include "UserFile.h"
#include "platform/BoardPath.h"
#include "platform/File.h"

namespace kesto {

AllUsersCriterion ParseAllUsersCriterion(std::string_view mailTo) {
    AllUsersCriterion c;
    std::string s;
    for (char ch : Trim(mailTo))
        if (ch != ' ') s += ch;
    if (s.size() <= 9) {
        c.error = AllUsersCriterion::Error::NoParameters;
        return c;
    }
    c.op = s[8];
    switch (c.op) {
    case '>':
    case '<':
    case '=':
        c.level = NumericValue(Trim(std::string_view(s).substr(9)));
        break;
    case '!':
    case '$':
        c.letter = UpperAscii(std::string_view(s).substr(9, 1))[0];
        break;
    default:
        c.error = AllUsersCriterion::Error::ImproperFormat;
        break;
    }
    return c;
}

bool MatchesCriterion(const AllUsersCriterion& c, const UserRecord& u) {
    if (c.error != AllUsersCriterion::Error::None || u.SecurityLevel < 1) return false;
    switch (c.op) {
    case '>':
        return u.SecurityLevel > c.level;
    case '<':
        return u.SecurityLevel < c.level;
    case '=':
        return u.SecurityLevel == c.level;
    case '!':
        return UpperAscii(u.UserFlags).find(c.letter) != std::string::npos;
    case '$':
        return UpperAscii(GetAccFlags(u.AccessFlags)).find(c.letter) != std::string::npos;
    default:
        return false;
    }
}

namespace {

// Sends to every matching user; a user whose delivery fails does not stop the walk.
Result<void> WalkUsers(const Board& b, const AllUsersCriterion& c, std::int32_t from,
                       std::string_view subject, std::string_view text, std::string_view attach,
                       const SendProgress& progress, std::int32_t& sent) {
    const std::int32_t count = GetUserCount(b).value_or(0);
    const std::string userFile = BoardNativePath(b, b.paths.DataPath(), "USERFILE.DAT");
    // The user file is read a block at a time, not opened once per user.
    constexpr std::int32_t kBlock = 256;
    for (std::int32_t first = 1; first <= count; first += kBlock) {
        const std::int32_t n = count - first + 1 < kBlock ? count - first + 1 : kBlock;
        constexpr auto kRecord = static_cast<std::int64_t>(kUserRecordSize);
        const Result<Bytes> block = platform::ReadAt(userFile, (first - 1) * kRecord, n * kRecord);
        if (!block) return block.error();
        for (std::int32_t k = 0; k < n; ++k) {
            const std::size_t off = static_cast<std::size_t>(k) * kUserRecordSize;
            if (off >= block->size()) break; // the file shrank under us
            const UserRecord u = DecodeUserRecord(std::string_view(*block).substr(off, kUserRecordSize));
            if (MatchesCriterion(c, u)) {
                // Local user number first + k on this board.
                const std::string to = std::to_string(first + k) + "@0*0";
                if (SendEmail(b, from, to, subject, text, attach, false).success) ++sent;
            }
            if (progress) progress(first + k, count);
        }
    }
    return {};
}

} // namespace

AllUsersResult SendAllUsers(const Board& b, std::int32_t currentUserNumber, std::string_view mailTo,
                            std::string_view subject, std::string_view text, std::string_view attach,
                            const SendProgress& progress) {
    AllUsersResult r;
    AllUsersCriterion c = ParseAllUsersCriterion(mailTo);
    if (c.error == AllUsersCriterion::Error::NoParameters) {
        r.message = std::string(kMsgAllUsersNoParameters);
        return r;
    }
    if (c.error == AllUsersCriterion::Error::ImproperFormat) {
        r.message = std::string(kMsgAllUsersImproper);
        return r;
    }
    // Refused once here rather than by every delivery of the walk.
    if (!TrimView(attach).empty() && !platform::IsReadableFile(std::string(attach))) {
        r.message = std::string(kMsgAttachmentUnreadable);
        return r;
    }
    const Result<void> walked =
        Logged(b.log, "frmNewMessage", "SendAllUsers",
               WalkUsers(b, c, currentUserNumber, subject, text, attach, progress, r.sent));
    r.success = walked.has_value();
    return r;
}

} // namespace kesto
