// A mailbox's messages as an mbox file that ordinary mail clients read.
//
// mboxrd: every message starts with a "From " line, and a line of a message that
// begins with "From " or ">From " gets one more ">". Each message is MIME: the text
// as the reader shows it, UTF-8 in quoted-printable (lines stay short whatever the
// board stored); a message with an attached file is multipart/mixed with the file
// in base64. Addresses are "handle" <local@node.board.invalid>, built so they parse
// and can never be delivered (see MboxAddress).
#pragma once

#include "Board.h"
#include "MailBase.h"
#include "Result.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kesto {

struct MboxSummary {
    std::size_t messages = 0;           // messages written
    std::size_t attachments = 0;        // attached files written
    std::size_t missingAttachments = 0; // attached files that were in neither place
    bool cancelled = false;             // the progress callback stopped the export
};

// Told after each message how many are done of how many; returning false stops the export.
using MboxProgress = std::function<bool(std::size_t done, std::size_t total)>;
// Takes the mbox piece by piece.
using MboxSink = std::function<Result<void>(std::string_view bytes)>;

// Writes messages `numbers` of the mailbox to `sink` in record order, the oldest
// first, whatever order they come in; a number past the end of the index is left
// out. An attached file is taken from AttFilePath or else AttachPath\<sender>\<name>,
// and only from under AttachPath; a missing one is noted in the text. Reads only,
// and writes nothing in the board, not even a log line.
Result<MboxSummary> WriteMbox(const Board& b, Mailbox box, std::vector<RecordNo> numbers,
                              const MboxSink& sink, const MboxProgress& progress = {});

// The same into the file at the native path `target`, which is replaced only when
// the export is complete (it is written beside it first): a failure or a cancel
// leaves no file behind. An existing file in one of the board's folders is refused,
// so a board file can never be overwritten by mistake.
Result<MboxSummary> ExportMbox(const Board& b, Mailbox box, std::vector<RecordNo> numbers,
                               const std::string& target, const MboxProgress& progress = {});

// "local@node.board.invalid": the handle lower-cased, accented letters of
// Windows-1252 as their base letters, every other run of characters one "." (a
// dot-atom; "user" when nothing is left); the node the same way with "-", as one
// host name label ("unknown" when empty). ".invalid" can never be delivered.
std::string MboxAddress(std::string_view handle, std::string_view node);

} // namespace kesto
