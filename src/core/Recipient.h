// frmNewMessage: the composer's recipient rules, kept free of widgets so the
// window and kesto-cli send normalise, check and refuse addresses alike.
#pragma once

#include "Board.h"
#include "MailAddress.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kesto {

inline constexpr std::string_view kComposerTitle = "Kesto - Send Message";
inline constexpr std::string_view kMsgNoRecipient = "You must enter a recipient for this message.";
inline constexpr std::string_view kMsgNoSubject = "You must enter a subject for this message.";
inline constexpr std::string_view kMsgAllUsersLocalOnly =
    "You may only send email to \"all users\" if the chosen network is Local.";
inline constexpr std::string_view kMsgInvalidTo = "Invalid TO: Format";
inline constexpr std::string_view kMsgInvalidNetwork = "The network you specified is invalid.";
inline constexpr std::string_view kMsgSysopOnly = "Only a user with SysOp access may use this option.";

// A number as the board writes it: no blanks, no ".0" for whole values.
std::string WrittenNumber(double value);

// The network list: entry 0 is always "0,0,Local", then "number,type,name" for every
// NETWORKS.LST line of type 1, 3, 4 or 9 whose NET.<n> holds a SYSTEMID. A file that
// cannot be read is logged under FillNetList and leaves the Local entry alone.
std::vector<std::string> FillNetList(const Board& b);
// The same from the text of NETWORKS.LST, with each network's SYSTEMID from systemIdOf.
std::vector<std::string> NetListFromText(std::string_view networksLst,
                                         const std::function<std::string(std::int16_t)>& systemIdOf);
// "Local (0)": the trimmed name, then the numeric value of the number in parentheses.
std::string NetListLabel(std::string_view entry);
// Field 1 of an entry, trimmed ("0" for the Local line).
std::string NetListNumber(std::string_view entry);
// The first line whose number has the numeric value `network`, -1 when none.
int FindNetListLine(const std::vector<std::string>& netList, double network);

// True when the trimmed, lower-cased recipient begins with "all users".
bool IsAllUsersForm(std::string_view mailTo);

// The recipient in the user@system*network form, using the selected line's network
// number when the text names none. Nothing when a "*" comes without or before the "@".
std::optional<std::string> NormaliseRecipient(std::string_view mailTo, std::string_view selectedNetwork);

// False when the address names a network above 1 whose NET.<n> has no SYSTEMID.
bool NetworkIsKnown(const Board& b, std::string_view address);

// Whether the attach command is offered: mail to user number 1 on the local line
// needs SysopAttachLevel, everything else EmailAttachLevel.
bool AttachAllowed(std::int16_t securityLevel, const MainConfig& cfg, std::string_view mailTo,
                   int networkLine);

// The Send command's checks in their order.
struct SendCheck {
    enum class Outcome { Refused, AllUsers, Single };
    enum class Focus { Unchanged, MailTo, MailSubject };
    Outcome outcome = Outcome::Refused;
    std::string message; // set when refused
    Focus focus = Focus::Unchanged;
    std::string address; // the normalised address for Outcome::Single
};
SendCheck CheckSend(const Board& b, std::string_view mailTo, std::string_view subject,
                    const std::vector<std::string>& netList, int networkLine);

// What goes into the recipient box and which network line is selected.
struct RecipientFill {
    std::string mailTo;
    int networkLine = 0;
};
// An address as the recipient box shows it: the user alone when it is on this board
// (own system id, network 1), else user@system and the network's line, or with
// "*network" appended and line 0 when the network is not offered.
RecipientFill RecipientFor(const MailAddress& a, std::string_view ownSystemId,
                           const std::vector<std::string>& netList);
// The reply's recipient: the replied message's sender.
RecipientFill ReplyRecipient(const MessageInfo& replied, std::string_view ownSystemId,
                             const std::vector<std::string>& netList);
// An address book choice "handle@system*network".
RecipientFill AddressBookRecipient(std::string_view choice, std::string_view ownSystemId,
                                   const std::vector<std::string>& netList);

} // namespace kesto
