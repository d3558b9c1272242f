// modHALK: USERFILE.DAT (DataPath\USERFILE.DAT).
#pragma once

#include "Board.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kesto {

UserRecord GetUser(const Board& b, std::int32_t userNo, std::int16_t& status);
void PutUser(const Board& b, std::int32_t userNo, const UserRecord& rec, std::int16_t& status);
std::int32_t GetUserCount(const Board& b);
RecordNo FindHandle(const Board& b, std::string_view name);
RecordNo FindRealName(const Board& b, std::string_view name);
std::string GetAccFlags(std::int32_t mask, std::int16_t& status);

} // namespace kesto
