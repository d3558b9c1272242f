#include "Search.h"

#include "CaseFold.h"
#include "ReadMark.h"
#include "platform/BoardPath.h"
#include "platform/File.h"

#include <algorithm>

namespace kesto {
namespace {

// Bodies close together in the text file are read with one read of at most kChunk
// bytes; a gap of more than kGap bytes between them starts a new read, so the
// messages of one user among thousands of others do not cost the whole file.
constexpr std::int64_t kChunk = 1 << 20;
constexpr std::int64_t kGap = 64 << 10;

bool Cancelled(const std::atomic<bool>* cancel) {
    return cancel && cancel->load(std::memory_order_relaxed);
}

// Matches one body against the open words, with the reader's clean-up. Most bodies
// hold no colour code, and there the words (which hold no line end) can only occur in
// the shown text where they occur in the bytes: a look at the bytes, folded once per
// read, rejects most bodies without the clean-up's copies.
class BodyMatcher {
  public:
    explicit BodyMatcher(const Query& q) : q_(q) {
        for (std::size_t i = 0; i < q.words.size(); ++i)
            if (q.words[i].text.find_first_of("\r\n") != std::string::npos)
                lineEndWords_ |= std::uint64_t{1} << i;
    }

    // The bytes that the bodies of the next calls are cut from.
    void Fold(std::string_view chunk) {
        folded_.assign(chunk);
        FoldCaseInPlace(folded_);
    }

    // `from` and `bytes` locate the body in the chunk last folded.
    bool Matches(std::size_t from, std::string_view bytes, std::int32_t length, std::uint64_t open) {
        if ((open & ~lineEndWords_) != 0 && bytes.find('\x03') == std::string_view::npos &&
            !MatchFoldedText(q_, open & ~lineEndWords_, std::string_view(folded_).substr(from, bytes.size())))
            return false;
        scratch_ = ReaderBodyText(CleanMessageText(bytes, length, true, false));
        return MatchText(q_, open, scratch_);
    }

  private:
    const Query& q_;
    std::uint64_t lineEndWords_ = 0;
    std::string folded_;
    std::string scratch_;
};

struct Body {
    std::size_t check; // index into the checks
    BodySpan span;
};

} // namespace

Result<std::vector<std::size_t>> MatchTexts(const Board& b, Mailbox box, const Query& q,
                                            std::vector<TextCheck> checks, const std::atomic<bool>* cancel) {
    std::vector<std::size_t> keys;
    const std::string path = platform::NativePath(MailboxFile(b, MailboxName(box), ".BIN"), b.startDir);
    // No text file, like a damaged position, shows no text, and no word is found in none.
    if (checks.empty() || !platform::IsFile(path)) return keys;

    std::vector<Body> bodies;
    bodies.reserve(checks.size());
    for (std::size_t i = 0; i < checks.size(); ++i) {
        Result<BodySpan> span = GetBodySpan(checks[i].position, checks[i].length);
        if (span && span->length > 0 && checks[i].open != 0) bodies.push_back({i, *span});
    }
    std::sort(bodies.begin(), bodies.end(),
              [](const Body& x, const Body& y) { return x.span.offset < y.span.offset; });

    BodyMatcher matcher(q);
    Bytes chunkBuffer; // reused, like the folded copy: fresh pages cost more than the search
    for (std::size_t first = 0; first < bodies.size();) {
        const std::int64_t start = bodies[first].span.offset;
        std::int64_t end = start + bodies[first].span.length;
        std::size_t last = first + 1;
        for (; last < bodies.size(); ++last) {
            const BodySpan& s = bodies[last].span;
            const std::int64_t newEnd = std::max(end, s.offset + s.length);
            if (s.offset > end + kGap || newEnd - start > kChunk) break;
            end = newEnd;
        }
        if (Cancelled(cancel)) return Error(ErrorCode::Refused, "Cancelled");
        // The file may end before `end`: each body gets what there is of it, as GetMessage does.
        if (auto read = platform::ReadAt(path, start, static_cast<std::size_t>(end - start), chunkBuffer);
            !read)
            return read.error();
        const std::string_view chunk = chunkBuffer;
        matcher.Fold(chunk);
        for (std::size_t k = first; k < last; ++k) {
            const Body& body = bodies[k];
            const auto from = static_cast<std::size_t>(body.span.offset - start);
            if (from >= chunk.size()) continue;
            const TextCheck& check = checks[body.check];
            if (matcher.Matches(from, chunk.substr(from, static_cast<std::size_t>(body.span.length)),
                                check.length, check.open))
                keys.push_back(check.key);
        }
        first = last;
    }
    std::sort(keys.begin(), keys.end());
    return keys;
}

Result<std::vector<std::size_t>> MatchRows(const Board& b, Mailbox box, const Query& q,
                                           const std::vector<MailRow>& rows,
                                           const std::atomic<bool>* cancel) {
    std::vector<std::size_t> matched;
    std::vector<TextCheck> checks;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const HeaderVerdict v = MatchHeader(q, rows[i], box);
        if (v.rejected) continue;
        if (v.open == 0)
            matched.push_back(i);
        else
            checks.push_back({i, rows[i].position, rows[i].size, v.open});
    }
    if (checks.empty()) return matched;
    Result<std::vector<std::size_t>> byText = MatchTexts(b, box, q, std::move(checks), cancel);
    if (!byText) return byText.error();
    std::vector<std::size_t> all(matched.size() + byText->size());
    std::merge(matched.begin(), matched.end(), byText->begin(), byText->end(), all.begin());
    return all;
}

Result<std::vector<MailRow>> FilterRows(const Board& b, Mailbox box, const Query& q,
                                        std::vector<MailRow> rows) {
    if (q.IsEmpty()) return rows;
    Result<std::vector<std::size_t>> matched = MatchRows(b, box, q, rows);
    if (!matched) return matched.error();
    std::vector<MailRow> out;
    out.reserve(matched->size());
    for (std::size_t i : *matched) out.push_back(rows[i]);
    return out;
}

} // namespace kesto
