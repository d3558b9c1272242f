// The stand-in for the board software: writes board files the way the board
// would, for the demo board and for the tests' fixture boards. Each writer
// stops at the first file it cannot write and returns why.
#pragma once

#include "Board.h"
#include "Result.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kesto::demo {

struct BoardOptions {
    std::int16_t maxNode = 3;
    std::int16_t sysopAttachLevel = 100;
    std::int16_t emailAttachLevel = 50;
    std::string systemId = "1/1"; // SYSTEMID of network 1 (NET.1); empty writes no NET.1
};

// Creates `dir` and its sub-directories, SYSPATHS.CFG with relative fields
// (MainPath ".", DataPath "DATA", TextPath "TEXT", NodePath "NODE",
// MailPath "MAIL", AttachPath "ATTACH"), MAIN.CFG, NET.1 and an empty user file,
// and returns a Board for it (log in dir/HMRERROR.LOG). No mail, no users.
Result<Board> CreateBoard(const std::string& dir, const BoardOptions& opt = {});

// A user record with every text blank and every number 0 but these.
UserRecord MakeUser(std::string_view handle, std::string_view realName, std::int16_t securityLevel);
// Appends a user at the end of USERFILE.DAT; returns its number.
Result<std::int32_t> AppendUser(const Board& b, const UserRecord& u);

// A message record (blank texts, zero numbers) with the usual fields filled.
MessageInfo MakeMessage(std::int32_t fromUserNo, std::int32_t toUserNo, std::string_view fromHandle,
                        std::string_view toHandle, std::string_view subject, std::int32_t timeStamp);
// Appends body to <mailbox>.BIN and then the record (MsgPos, MsgLength, Filename set
// here) to <mailbox>.DAT, each with one write and without a lock, as the board does
// while Kesto runs; returns the new record number.
Result<std::int32_t> AppendMessage(const Board& b, std::string_view mailbox, MessageInfo m,
                                   std::string_view body);

// Text files of DataPath/NodePath, written whole with CR LF line ends as given.
Result<void> WriteDataFile(const Board& b, std::string_view name, std::string_view contents);
// Puts userNo on line at `node` in CONTROL.DAT (growing the file as needed).
Result<void> SetNodeUser(const Board& b, std::int16_t node, std::int32_t userNo);

// The complete demo board: users of several levels (with flags, forwarding and a
// level-0 slot), received and sent mail in every state, two networks, a user
// on line, DBSEQ.DAT, STATHBRD.DAT, EMAIL.TAG and an address book.
Result<Board> CreateDemoBoard(const std::string& dir);

} // namespace kesto::demo
