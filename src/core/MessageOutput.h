// modKesto: what a message turns into when it is quoted, printed or saved.
// The windows draw and write; the texts themselves are built here so the
// command-line tool produces the same bytes.
#pragma once

#include "Board.h"
#include "MailBase.h"
#include "Result.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kesto {

// A reply's opening text: "Re: " + trimmed subject, an empty line, then every
// line of `text` as "> " plus its first 77 characters. A blank text is
// returned unchanged.
std::string QuoteMessage(std::string_view text, std::string_view subject);

// The four header lines (without line ends): From, Date, To, Subject, each
// label padded to 10. ToNetNode is used as stored.
std::array<std::string, 4> HeaderLines(const Board& b, const MessageInfo& m);

// The body as printed and saved: read from the mailbox's text file (colour
// codes removed) and wrapped at 85 columns. Lines are separated by CR LF.
std::string OutputBody(const Board& b, std::string_view mailbox, const MessageInfo& m);

// One message ready to print or save.
struct MessageOutput {
    MessageInfo info;
    std::array<std::string, 4> header; // HeaderLines
    std::string body;                  // OutputBody
};
// Fails when the mailbox's index cannot be read.
Result<MessageOutput> LoadMessageOutput(const Board& b, Mailbox box, RecordNo number);

// The bytes of a saved message file: header lines with CR LF, an empty line,
// the wrapped body and a closing CR LF.
std::string SaveFileContent(const MessageOutput& out);

// Replaces the file at the native path `nativePath` with `content` (emptied
// first, then written). A failure is logged under "SaveMessage".
Result<void> WriteSavedMessage(const Board& b, const std::string& nativePath, std::string_view content);

// A file name made from a subject that stays inside the chosen folder: no path
// separators, "..", control or reserved characters, no leading dots or blanks,
// at most 64 characters, never empty ("message" then). No extension is added.
std::string SafeFileName(std::string_view subject);

} // namespace kesto
