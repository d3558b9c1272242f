// modKesto: marking a message deleted or undeleted.
#pragma once

#include "Board.h"

#include <cstdint>

namespace kesto {

// Toggles the Deleted mark of record `number` in the shown mailbox's index
// (1 = EMAIL, otherwise SNTEMAIL): 0 becomes 1, any other value 0. A missing
// index changes nothing; other failures are logged under "DeleteMessage".
void DeleteMessage(const Board& b, std::int16_t currentMailbox, std::int16_t number);

} // namespace kesto
