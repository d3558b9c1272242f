#include "SearchQuery.h"

#include "CaseFold.h"
#include "Cp1252.h"
#include "TextHelpers.h"

#include <optional>

namespace kesto {
namespace {

// Enough raw bytes for kMaxQueryWordBytes characters of up to four UTF-8 bytes each.
constexpr std::size_t kMaxRawWordBytes = 4 * kMaxQueryWordBytes + 4;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

struct Prefix {
    std::string_view name;
    QueryField field;
};
constexpr Prefix kFieldPrefixes[] = {
    {"from", QueryField::From},
    {"to", QueryField::To},
    {"subject", QueryField::Subject},
    {"text", QueryField::Text},
};

struct StateWord {
    std::string_view prefix;
    std::string_view value;
    QueryField field;
};
constexpr StateWord kStateWords[] = {
    {"is", "unread", QueryField::Unread},
    {"is", "deleted", QueryField::Deleted},
    {"has", "attachment", QueryField::Attachment},
};

// One word as typed, its quotes removed. `quoteAt` is where in `raw` the first quote
// stood: a prefix counts only before it, so "from:x" in quotes is a plain word.
struct RawWord {
    std::string raw;
    std::size_t quoteAt = std::string::npos;
    bool overlong = false;
};

// The word's field, and the part of it that is matched.
std::pair<QueryField, std::string_view> Classify(const RawWord& w) {
    const std::string_view raw = w.raw;
    const std::size_t colon = raw.find(':');
    if (colon == std::string_view::npos || colon >= w.quoteAt) return {QueryField::Any, raw};
    const std::string name = LowerAscii(raw.substr(0, colon));
    const std::string_view value = raw.substr(colon + 1);
    for (const Prefix& p : kFieldPrefixes)
        if (name == p.name) return {p.field, value};
    const std::string lowerValue = LowerAscii(value);
    for (const StateWord& s : kStateWords)
        if (name == s.prefix && lowerValue == s.value) return {s.field, {}};
    return {QueryField::Any, raw};
}

// Adds the word unless it matches everything; false when it was cut.
bool AddWord(Query& q, const RawWord& w) {
    const auto [field, value] = Classify(w);
    QueryWord word;
    word.field = field;
    bool cut = w.overlong;
    if (field == QueryField::Unread || field == QueryField::Deleted || field == QueryField::Attachment) {
        q.words.push_back(std::move(word));
        return !cut;
    }
    std::optional<std::string> text = TypedToCp1252(value);
    if (!text) {
        word.impossible = true;
    } else {
        if (text->size() > kMaxQueryWordBytes) {
            text->resize(kMaxQueryWordBytes);
            cut = true;
        }
        if (text->empty()) return !cut;
        FoldCaseInPlace(*text);
        word.text = std::move(*text);
    }
    q.words.push_back(std::move(word));
    return !cut;
}

} // namespace

Query ParseQuery(std::string_view typed) {
    Query q;
    std::size_t i = 0;
    while (i < typed.size()) {
        while (i < typed.size() && IsBlank(typed[i])) ++i;
        if (i == typed.size()) break;
        if (q.words.size() == kMaxQueryWords) {
            q.cut = true;
            break;
        }
        RawWord w;
        bool quoted = false;
        for (; i < typed.size(); ++i) {
            const char c = typed[i];
            if (c == '"') {
                quoted = !quoted;
                if (w.quoteAt == std::string::npos) w.quoteAt = w.raw.size();
            } else if (!quoted && IsBlank(c)) {
                break;
            } else if (w.raw.size() < kMaxRawWordBytes) {
                w.raw += c;
            } else {
                w.overlong = true;
            }
        }
        if (!AddWord(q, w)) q.cut = true;
    }
    return q;
}

HeaderVerdict MatchHeader(const Query& q, const MailRow& row, Mailbox box) {
    const bool received = box == Mailbox::Received;
    const std::string_view from = received ? row.name : row.ownerName;
    const std::string_view to = received ? row.ownerName : row.name;
    HeaderVerdict v;
    auto has = [](std::string_view field, const QueryWord& w) {
        return FindFolded(field, w.text) != std::string_view::npos;
    };
    for (std::size_t i = 0; i < q.words.size() && !v.rejected; ++i) {
        const QueryWord& w = q.words[i];
        bool ok = !w.impossible;
        switch (w.field) {
        case QueryField::Any:
            if (ok && !has(row.name, w) && !has(row.subject, w)) v.open |= std::uint64_t{1} << i;
            break;
        case QueryField::Text:
            if (ok) v.open |= std::uint64_t{1} << i;
            break;
        case QueryField::From:
            ok = ok && has(from, w);
            break;
        case QueryField::To:
            ok = ok && has(to, w);
            break;
        case QueryField::Subject:
            ok = ok && has(row.subject, w);
            break;
        case QueryField::Unread:
            ok = row.unread;
            break;
        case QueryField::Deleted:
            ok = row.state == RowState::Deleted;
            break;
        case QueryField::Attachment:
            ok = row.attachment;
            break;
        }
        v.rejected = !ok;
    }
    if (v.rejected) v.open = 0;
    return v;
}

bool MatchText(const Query& q, std::uint64_t open, std::string& text) {
    FoldCaseInPlace(text);
    return MatchFoldedText(q, open, text);
}

bool MatchFoldedText(const Query& q, std::uint64_t open, std::string_view folded) {
    for (std::size_t i = 0; i < q.words.size(); ++i)
        if ((open >> i & 1) && folded.find(q.words[i].text) == std::string_view::npos) return false;
    return true;
}

} // namespace kesto
