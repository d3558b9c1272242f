// The user picker's list: one line per listed user and the user numbers beside them.
#pragma once

#include "Board.h"
#include "Result.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kesto {

struct UserListing {
    // "5:     Bob                   Robert Smith": number and ":" in 6 columns, a blank,
    // the handle in 20 columns, two blanks, the real name uncut (board bytes).
    std::vector<std::string> lines;
    // numbers[k] is the user number of lines[k].
    std::vector<std::int32_t> numbers;
};

// Calls `visit` for every whole record of USERFILE.DAT whose SecurityLevel is 1 or more,
// in record order, from one read of the file. A missing user file lists nobody; one
// that cannot be read visits nobody and is logged (frmUserListing FillUserList).
Result<void> ForEachListedUser(const Board& b,
                               const std::function<void(std::int32_t, const UserRecord&)>& visit);

// The picker's line of one user.
std::string UserListingLine(std::int32_t userNo, const UserRecord& u);

// Fills the list as the user picker does.
Result<UserListing> FillUserList(const Board& b);

} // namespace kesto
