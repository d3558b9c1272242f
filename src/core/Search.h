// Finding mail: a query (SearchQuery.h) applied to a mailbox's rows. The header fields of
// each row decide first; the text file is read only for the rows they leave open,
// and then in a few large reads in file order, not one open per message.
//
//   std::string buffer;
//   auto rows = ReadMailboxRows(board, box, user, buffer);
//   auto found = FilterRows(board, box, ParseQuery(typed), std::move(*rows));
#pragma once

#include "Board.h"
#include "MailBase.h"
#include "MailList.h"
#include "SearchQuery.h"
#include "Result.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kesto {

// A row whose text must still be searched: the caller's key for it (a row index, a
// record number), where its body lies (MsgPos, MsgLength) and its open words.
struct TextCheck {
    std::size_t key = 0;
    std::int32_t position = 0;
    std::int32_t length = 0;
    std::uint64_t open = 0;
};

// The keys of the checks whose text, as the reader shows it, holds every open word,
// in ascending order. A damaged position or length is searched as the reader shows
// it (a position below 1 or a negative length as no text). A missing text file holds
// no text. Fails when the text file cannot be read, and with ErrorCode::Refused when
// `cancel` is set while it runs. Nothing is written, not even to the error log.
Result<std::vector<std::size_t>> MatchTexts(const Board& b, Mailbox box, const Query& q,
                                            std::vector<TextCheck> checks,
                                            const std::atomic<bool>* cancel = nullptr);

// The indexes of the rows that match, in the rows' order.
Result<std::vector<std::size_t>> MatchRows(const Board& b, Mailbox box, const Query& q,
                                           const std::vector<MailRow>& rows,
                                           const std::atomic<bool>* cancel = nullptr);

// The rows that match, in their order (for a mailbox list: newest first).
Result<std::vector<MailRow>> FilterRows(const Board& b, Mailbox box, const Query& q,
                                        std::vector<MailRow> rows);

} // namespace kesto
