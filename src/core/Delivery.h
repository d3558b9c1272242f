// frmNewMessage: delivery of one message into the board's files.
//
// SendEmail files a message for a local user (EMAIL.DAT/.BIN plus a node notice)
// or for another board (SPOOL.NET), and optionally the sender's copy
// (SNTEMAIL.DAT/.BIN). It shows nothing itself: a refusal the user must see comes
// back in SendResult::message; run-time failures are logged under "SendEmail".
#pragma once

#include "Board.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kesto {

inline constexpr std::string_view kMsgInvalidUser = "The user specified is invalid.";

struct SendResult {
    bool success = false;
    std::string message; // for the caller to show ("Kesto - Send Message"); empty when only logged
};

// from: the sender's user number; address: user@system*network (see MailAddress.h);
// attach: a full path or empty; saveSentCopy: false for mail to all users.
SendResult SendEmail(const Board& b, std::int32_t from, std::string_view address, std::string_view subject,
                     std::string_view text, std::string_view attach, bool saveSentCopy);

// Appends the coloured notice line to IN<n>.QUE: of `node` alone when userNo is 0 and
// node >= 0, else of every node where userNo is on line (userNo <= 0: every busy node).
bool SendOneLine(const Board& b, std::string_view text, std::int32_t userNo, std::int16_t node);

} // namespace kesto
