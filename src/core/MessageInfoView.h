// The values of the message information dialog, in the dialog's order.
#pragma once

#include "Board.h"
#include "MailBase.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kesto {

struct MessageInfoField {
    std::string name;    // record field name, e.g. "FromUserNo"; "DaysOld" for the age
    std::string caption; // the caption label, e.g. "From User No.:"
    std::string value;   // the value label's text (board bytes); empty when it cannot be computed
    bool numeric = false;
};

// Every shown field of `m`. `now` is the present time stamp; without one (the clock
// cannot be read as a 32-bit time stamp) the age is left empty, like any value the
// dialog cannot compute.
std::vector<MessageInfoField> MessageInfoFields(const MessageInfo& m, std::optional<std::int32_t> now);

// The age in whole days as the dialog shows it, or nothing when it cannot be computed.
std::optional<std::int16_t> DaysOld(std::int32_t timeStamp, std::int32_t now);

// Reads record `messageNumber` of the mailbox as the dialog does at load (a record
// that cannot be read shows as the empty one) and takes the present time from the clock.
std::vector<MessageInfoField> ReadMessageInfoView(const Board& b, Mailbox box, RecordNo messageNumber);

} // namespace kesto
