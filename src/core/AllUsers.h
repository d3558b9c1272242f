// frmNewMessage: mail to every user who matches an "all users" criterion.
#pragma once

#include "Board.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace kesto {

inline constexpr std::string_view kMsgAllUsersNoParameters =
    "You are attempting to send a message to all users, but have not provided any parameters.";
// Two lines in one box.
inline constexpr std::string_view kMsgAllUsersImproper =
    "Improper format to send to all users.\nSend to \"all users <>= securitylevel\" or \"all users !$ "
    "flag\".";

struct AllUsersCriterion {
    enum class Error { None, NoParameters, ImproperFormat };
    Error error = Error::None;
    char op = 0;      // '>', '<', '=', '!' or '$'
    double level = 0; // for '>', '<', '='
    char letter = 0;  // upper-case letter for '!' and '$'
};

// Reads "all users > 20", "ALLUSERS!c", ... (blanks anywhere are ignored).
AllUsersCriterion ParseAllUsersCriterion(std::string_view mailTo);

// Whether a user record matches. Slots with a level below 1 never match.
bool MatchesCriterion(const AllUsersCriterion& c, const UserRecord& u);

struct AllUsersResult {
    bool success = false;
    std::string message;   // for the caller to show ("Kesto - Send Message")
    std::int32_t sent = 0; // deliveries that succeeded
};

// Called after each user slot of the walk with the slots done and the slots in all;
// a window lets its pending events run here so that it stays responsive.
using SendProgress = std::function<void(std::int32_t done, std::int32_t total)>;

// Walks the user file and sends one message (no sent copy) per matching user.
// attach is a native path as for SendEmail; one that cannot be read refuses the lot.
AllUsersResult SendAllUsers(const Board& b, std::int32_t currentUserNumber, std::string_view mailTo,
                            std::string_view subject, std::string_view text, std::string_view attach,
                            const SendProgress& progress = {});

} // namespace kesto
