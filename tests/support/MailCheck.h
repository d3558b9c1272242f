// Checks of a board that several writers filled at once, for messages whose text is
// BodyFor(their subject): each record must lead to its own text.
#pragma once

#include "Board.h"

#include <string>
#include <string_view>
#include <vector>

namespace kesto::test {

// The text a message with this subject carries once filed (delivery ends it with CR LF).
std::string BodyFor(std::string_view subject);

struct FiledMessage {
    MessageInfo info;
    bool textMatches = false; // the text at MsgPos, MsgLength is BodyFor(Subject)
};
// Every whole record of a mailbox index (EMAIL, SNTEMAIL, ONELINE) with its text checked.
std::vector<FiledMessage> FiledMessages(const Board& b, std::string_view mailbox);
// The entries of SPOOL.NET, walked record and text; false in `whole` when the walk
// ends inside an entry.
std::vector<FiledMessage> SpoolEntries(const Board& b, bool& whole);

} // namespace kesto::test
