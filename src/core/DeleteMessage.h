// modKesto: marking a message deleted or undeleted.
#pragma once

#include "Board.h"
#include "MailBase.h"
#include "Result.h"

#include <cstdint>

namespace kesto {

// Toggles the Deleted mark of record `number` in the mailbox's index: 0 becomes 1,
// any other value 0. A missing index changes nothing; other failures are logged
// under "DeleteMessage".
Result<void> DeleteMessage(const Board& b, Mailbox box, RecordNo number);

} // namespace kesto
