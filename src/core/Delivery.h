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
inline constexpr std::string_view kMsgAttachmentUnreadable = "The file to attach cannot be read.";

struct SendResult {
    bool success = false;
    std::string message; // for the caller to show ("Kesto - Send Message"); empty when only logged
};

// from: the sender's user number; address: user@system*network (see MailAddress.h);
// attach: the native path of the file to attach, or empty; saveSentCopy: false for
// mail to all users. A file to attach that cannot be read refuses the message
// (kMsgAttachmentUnreadable) before anything is written.
SendResult SendEmail(const Board& b, std::int32_t from, std::string_view address, std::string_view subject,
                     std::string_view text, std::string_view attach, bool saveSentCopy);

// The file a typed attachment path names (board path rules: "\" separators, letter
// case and 8.3 aliases resolved against the start directory); empty for a blank text.
std::string AttachmentSource(const Board& b, std::string_view typed);

// Appends the coloured notice line to IN<n>.QUE: of `node` alone when userNo is 0 and
// node >= 0, else of every node where userNo is on line (userNo <= 0: every busy node).
bool SendOneLine(const Board& b, std::string_view text, std::int32_t userNo, std::int16_t node);

} // namespace kesto
