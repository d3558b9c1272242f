#include "ListOutput.h"

#include "JsonOutput.h"
#include "TerminalText.h"

#include <charconv>

namespace kesto::cli {
namespace {

// Blanks after a text of `columns` columns up to `width`; a longer text is not cut.
void AppendPadded(std::string& out, std::size_t columns, std::size_t width) {
    if (columns < width) out.append(width - columns, ' ');
}

void AppendNumber(std::string& out, std::int64_t n, std::size_t width = 0) {
    char digits[24];
    const auto done = std::to_chars(digits, digits + sizeof digits, n);
    const auto size = static_cast<std::size_t>(done.ptr - digits);
    AppendPadded(out, size, width);
    out.append(digits, size);
}

} // namespace

const char* IconKey(RowState state) {
    switch (state) {
    case RowState::Unread:
        return "new";
    case RowState::UnreadWithAttachment:
        return "email_attach";
    case RowState::Read:
        return "open";
    case RowState::Deleted:
        return "delete";
    }
    return "";
}

std::string ListHead(Mailbox mailbox, std::int32_t user, std::size_t count) {
    std::string head(MailboxName(mailbox));
    head += " of user ";
    AppendNumber(head, user);
    head += ": ";
    AppendNumber(head, static_cast<std::int64_t>(count));
    head += count == 1 ? " message" : " messages";
    head += " (* unread, shown bold)\n";
    if (count > 0) {
        head += "    #   icon         ";
        head += mailbox == Mailbox::Received ? "From                 " : "To                   ";
        head += "Subject                                  Date                            Size\n";
    }
    return head;
}

void AppendListLine(std::string& out, const MailRowView& row) {
    AppendNumber(out, row.number, 5);
    out += row.bold ? " * " : "   ";
    const std::string_view icon = IconKey(row.state);
    out += icon;
    AppendPadded(out, icon.size(), 13);
    AppendPadded(out, AppendTerminalText(out, row.name), 21);
    AppendPadded(out, AppendTerminalText(out, row.subject), 41);
    AppendPadded(out, AppendTerminalText(out, row.date), 32);
    AppendNumber(out, row.size);
    out += '\n';
}

ListJson::ListJson(std::ostream& out, Mailbox mailbox, std::int32_t user)
    : stream_(out), mailbox_(mailbox), user_(user) {}

void ListJson::Begin() {
    if (out_) return;
    std::string& out = out_.emplace(stream_).Text();
    out += "{\n  \"mailbox\": \"";
    out += MailboxName(mailbox_);
    out += "\",\n  \"user\": ";
    AppendNumber(out, user_);
    out += ",\n  \"rows\": [";
}

void ListJson::Row(const MailRowView& row) {
    Begin();
    std::string& out = out_->Text();
    out += rows_ ? ",\n    {\n      \"number\": " : "\n    {\n      \"number\": ";
    rows_ = true;
    AppendNumber(out, row.number);
    out += ",\n      \"icon\": \"";
    out += IconKey(row.state);
    out += mailbox_ == Mailbox::Received ? "\",\n      \"from\": " : "\",\n      \"to\": ";
    AppendJsonBoardText(out, row.name);
    out += ",\n      \"subject\": ";
    AppendJsonBoardText(out, row.subject);
    out += ",\n      \"date\": ";
    AppendJsonBoardText(out, row.date);
    out += ",\n      \"size\": ";
    AppendNumber(out, row.size);
    out += row.bold ? ",\n      \"bold\": true\n    }" : ",\n      \"bold\": false\n    }";
    out_->Written();
}

void ListJson::Finish() {
    Begin();
    out_->Text() += rows_ ? "\n  ]\n}\n" : "]\n}\n";
    out_.reset();
}

} // namespace kesto::cli
