// The query parser on any bytes, and the query matched against a record and a body
// made of the same input. Parsing never fails, words stay within their bounds, and
// what the header fields decide agrees with the fields themselves.
#include "CaseFold.h"
#include "FuzzInput.h"
#include "MailList.h"
#include "SearchQuery.h"
#include "Records.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using kesto::fuzz::Check;
    using F = kesto::QueryField;
    kesto::fuzz::Input in(data, size);
    const kesto::Mailbox box = (in.U8() & 1) ? kesto::Mailbox::Received : kesto::Mailbox::Sent;
    std::string record = in.Text() + in.Text() + in.Text(); // a short record reads blank-padded
    std::string body = in.Text();
    const std::string typed = in.Rest();

    const kesto::Query q = kesto::ParseQuery(typed);
    Check(q.words.size() <= kesto::kMaxQueryWords);
    for (const kesto::QueryWord& w : q.words) {
        const bool state = w.field == F::Unread || w.field == F::Deleted || w.field == F::Attachment;
        Check(w.text.size() <= kesto::kMaxQueryWordBytes);
        Check(state ? w.text.empty() : (w.impossible || !w.text.empty()));
        std::string folded = w.text;
        kesto::FoldCaseInPlace(folded);
        Check(folded == w.text);
    }
    Check(kesto::ParseQuery(typed).words.size() == q.words.size());

    const kesto::MailRow row = kesto::MakeMailRow(1, record, box);
    const kesto::HeaderVerdict v = kesto::MatchHeader(q, row, box);
    const bool received = box == kesto::Mailbox::Received;
    for (std::size_t i = 0; i < q.words.size(); ++i) {
        const kesto::QueryWord& w = q.words[i];
        const bool open = v.open >> i & 1;
        Check(!open || w.field == F::Any || w.field == F::Text);
        if (v.rejected) continue;
        Check(!w.impossible);
        auto in = [&](std::string_view field) {
            return kesto::FindFolded(field, w.text) != std::string::npos;
        };
        if (w.field == F::Subject) Check(in(row.subject));
        if (w.field == F::From) Check(in(received ? row.name : row.ownerName));
        if (w.field == F::To) Check(in(received ? row.ownerName : row.name));
        if (w.field == F::Any && !open) Check(in(row.name) || in(row.subject));
        if (w.field == F::Unread) Check(row.unread);
    }
    Check(!v.rejected || v.open == 0);

    std::string text = body;
    const bool matched = kesto::MatchText(q, v.open, text);
    if (v.open == 0) Check(matched);
    for (std::size_t i = 0; i < q.words.size() && matched; ++i)
        if (v.open >> i & 1) Check(kesto::FindFolded(body, q.words[i].text) != std::string::npos);
    return 0;
}
