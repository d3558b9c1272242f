// modKesto: the per-user address book AB<n>.DAT in DataPath.
//
// One entry per line, "description,address,network id", lines ended by CR LF.
// The windows hold the book as raw lines and split the fields only when they need them.
#pragma once

#include "Board.h"
#include "MailBase.h"
#include "Result.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kesto {

// The windows never show more than this many entries.
inline constexpr std::size_t kAddressBookLoadLimit = 101;
// Insert is offered only while the book holds fewer entries than this.
inline constexpr std::size_t kAddressBookInsertLimit = 100;

// "DataPath\AB<n>.DAT" (n in decimal, no blanks, no leading zeros).
std::string AddressBookFile(const Board& b, std::int32_t userNo);

struct AddressBookEntry {
    std::string description;
    std::string address;
    std::string networkId;
};
// The line trimmed and split at its first two commas, each field trimmed; missing
// fields are empty and everything after the second comma is the network id.
AddressBookEntry SplitAddressBookLine(std::string_view line);

struct AddressBook {
    // The entries as read (untrimmed), in file order.
    std::vector<std::string> lines;
    // Non-blank lines past the load limit. They are never shown, but a save writes
    // them back after the loaded entries so that an edit does not drop them.
    std::vector<std::string> hidden;
    // False when the file exists but could not be read: saving such a book would
    // overwrite entries we never saw, so SaveAddressBook refuses it.
    bool readOk = true;
    // The file's bytes as read, to tell entries added since from the ones loaded.
    std::string readText;

    std::size_t Count() const { return lines.size(); }
};

// The book a file's text holds: blank lines dropped (CR LF, CR and LF all end a
// line), at most kAddressBookLoadLimit entries, the rest kept in `hidden`.
AddressBook ParseAddressBook(std::string_view text);
// Reads the user's book with ParseAddressBook. A missing file is an empty book; a
// read failure is logged.
AddressBook LoadAddressBook(const Board& b, std::int32_t userNo);

// What a save writes: every non-blank line, then the hidden lines, each followed by
// CR LF; then the entries `current` (the file as it is now) holds beyond what the
// book was read from, when it still begins with that.
std::string AddressBookSaveText(const AddressBook& book, std::string_view current);
// Writes AddressBookSaveText under a lock other copies of Kesto respect; the book
// then holds what was written. The file is replaced as a whole, so a failed write
// keeps the old one; the failure is logged.
Result<void> SaveAddressBook(const Board& b, std::int32_t userNo, AddressBook& book);

// The bytes that add `line` (trimmed, on one line) to a file ending with `fileEnd`
// (its last byte or more; empty for an empty file): the entry and CR LF, after a
// CR LF of its own when the last line lacks one. Empty for a blank line.
std::string AddressBookAddition(std::string_view fileEnd, std::string_view line);
// Appends AddressBookAddition to the user's book under the same lock, creating the
// file when missing; a blank line writes nothing. A failed write is logged.
Result<void> AddToAddressBook(const Board& b, std::int32_t userNo, std::string_view line);

// True when the correspondent of message `messageNumber` of the shown mailbox
// (sender of received mail, recipient of sent mail) is already an address in the
// user's book, compared trimmed and without regard to letter case. A book or
// message that cannot be read is logged and holds nobody.
bool IsInAddressBook(const Board& b, std::int32_t userNo, Mailbox box, RecordNo messageNumber);

// The list row of entry `number` of `count`: the number right-aligned to the width
// of count, ": ", the description padded or cut to 23 characters.
std::string AddressBookRowText(std::size_t number, std::size_t count, std::string_view line);

// What the picker hands back for an entry: address (completed with "@0" when it has
// no "@"), "*", network id.
std::string AddressBookPickText(std::string_view line);

// The entry line the add-entry dialog proposes: "description,handle@node,netId".
std::string AddressBookEntryLine(std::string_view description, std::string_view handle,
                                 std::string_view netNode, std::int16_t netId);

// The correspondent of a message as "handle@node" (both trimmed): the sender of
// received mail, the recipient of sent mail.
std::string CorrespondentAddress(const MessageInfo& m, Mailbox box);

} // namespace kesto
