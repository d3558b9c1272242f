// The query language of the window's filter box and `kesto-cli search`.
//
// A query is words separated by blanks, and a message matches when every word does:
//   word              the shown name (From of received mail, To of sent mail), the
//                     subject or the message text as the reader shows it
//   from:W  to:W      the sender's, the recipient's handle
//   subject:W text:W  the subject, the text only
//   is:unread  is:deleted  has:attachment
//                     Offline 0; a deleted mark of 1 or more; an attachment name
// "two words" in double quotes is one word (an unbalanced quote runs to the end), a
// prefix the language does not know is part of a plain word, and letter case is
// ignored for ASCII and the Windows-1252 letters.
#pragma once

#include "MailBase.h"
#include "MailList.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kesto {

// Bounds that keep a pasted novel from costing more than a query should: words past
// the first kMaxQueryWords are dropped, and a word is cut to kMaxQueryWordBytes.
inline constexpr std::size_t kMaxQueryWords = 64;
inline constexpr std::size_t kMaxQueryWordBytes = 256;

enum class QueryField { Any, From, To, Subject, Text, Unread, Deleted, Attachment };

struct QueryWord {
    QueryField field = QueryField::Any;
    std::string text;        // Windows-1252, case folded; empty for the state words
    bool impossible = false; // holds a character no board text can hold: matches nothing
};

struct Query {
    std::vector<QueryWord> words; // at most kMaxQueryWords
    bool cut = false;             // words were dropped or cut to the bounds

    // No words: every row matches.
    bool IsEmpty() const { return words.empty(); }
};

// Never fails. `typed` is UTF-8; bytes that are not are taken as Windows-1252. An
// empty field word ("from:", "") matches everything and is left out.
Query ParseQuery(std::string_view typed);

// What a row's header fields decide. A rejected row does not match; otherwise bit i
// of `open` is set for each word i that only the message text can still match, and
// a row with no open word matches.
struct HeaderVerdict {
    bool rejected = false;
    std::uint64_t open = 0;
};
static_assert(kMaxQueryWords <= 64, "one bit per word");

HeaderVerdict MatchHeader(const Query& q, const MailRow& row, Mailbox box);

// Whether every open word occurs in `text`, a body as the reader shows it (folded in
// place, so the caller's buffer is reused).
bool MatchText(const Query& q, std::uint64_t open, std::string& text);
// The same for a text already folded.
bool MatchFoldedText(const Query& q, std::uint64_t open, std::string_view folded);

} // namespace kesto
