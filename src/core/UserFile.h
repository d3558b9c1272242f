// modHALK: USERFILE.DAT (DataPath\USERFILE.DAT).
//
// Every failure is written to the error log under the routine's name before it is
// returned, so callers only decide what to do next.
#pragma once

#include "Board.h"
#include "Result.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kesto {

// A record past the end of the file reads as the empty record (its SecurityLevel 0).
Result<UserRecord> GetUser(const Board& b, std::int32_t userNo);
Result<void> PutUser(const Board& b, std::int32_t userNo, const UserRecord& rec);
// One more on the user's MailCount, read and written back under a lock other copies
// of Kesto respect; returns the record as counted. A user file we may not write, and
// a write failure, are logged as PutUser's and leave the count as it was (the record
// is then read as GetUser reads it); other read failures are logged as GetUser's and
// fail; a lock not had in time is logged as PutUser's and fails. A user past the end
// of the file and a count at its limit (ErrorCode::Overflow) fail unlogged. Nothing
// is written when it fails.
Result<UserRecord> AddSentMail(const Board& b, std::int32_t userNo);
// Whole records in the user file; 0 when there is none.
Result<std::int32_t> GetUserCount(const Board& b);
// The lowest user whose handle (real name) equals the trimmed name, letter case
// ignored; 0 when nobody's does.
Result<RecordNo> FindHandle(const Board& b, std::string_view name);
Result<RecordNo> FindRealName(const Board& b, std::string_view name);
// The letters A to Z of the flags set in an AccessFlags mask, in alphabetical order.
std::string GetAccFlags(std::int32_t mask);

} // namespace kesto
