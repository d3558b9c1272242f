#include "MessageOutput.h"

#include "StringHelpers.h"
#include "TextHelpers.h"
#include "ErrorLog.h"
#include "MailBase.h"
#include "SystemFiles.h"
#include "WordWrap.h"
#include "platform/File.h"

#include <vector>

namespace kesto {

namespace {
constexpr std::string_view kModule = "modKesto";
constexpr std::size_t kQuoteWidth = 77;
constexpr std::int16_t kOutputWidth = 85;
constexpr std::size_t kMaxFileName = 64;

std::string AddressLine(std::string_view handle, std::string_view node, std::string_view network) {
    std::string s = Trim(handle);
    s += " @";
    s += Trim(node);
    s += " (";
    s += network;
    s += ")";
    return s;
}
} // namespace

std::string QuoteMessage(std::string_view text, std::string_view subject) {
    if (Trim(text).empty()) return std::string(text);
    const std::vector<std::string> lines = Explode(kCrLf, ConvertCrLf(text), 0, 0);
    std::string joined;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) joined += kCrLf;
        joined += "> ";
        joined.append(lines[i], 0, kQuoteWidth);
    }
    return "Re: " + Trim(subject) + std::string(kCrLf) + std::string(kCrLf) + joined;
}

std::array<std::string, 4> HeaderLines(const Board& b, const MessageInfo& m) {
    auto label = [](std::string_view l) { return StrPad(l, 10, " ", "PAD_RIGHT"); };
    return {
        label("From:") + AddressLine(m.FromHandle, m.FromNetNode, NetworkName(b, m.FromNetId)),
        label("Date:") + Trim(m.Creation),
        label("To:") + AddressLine(m.ToHandle, m.ToNetNode, NetworkName(b, m.ToNetId)),
        label("Subject:") + Trim(m.Subject),
    };
}

std::string OutputBody(const Board& b, std::string_view mailbox, const MessageInfo& m) {
    // A text that cannot be read prints as an empty body under the header.
    const std::string text =
        GetMessage(b, mailbox, m.MsgPos, m.MsgLength, true, false).value_or(std::string());
    return WordWrap(text, kOutputWidth, false);
}

Result<MessageOutput> LoadMessageOutput(const Board& b, Mailbox box, RecordNo number) {
    const std::string_view mailbox = MailboxName(box);
    Result<MessageInfo> info = GetMessageInfo(b, mailbox, number);
    if (!info) return info.error();
    MessageOutput out;
    out.info = std::move(*info);
    out.header = HeaderLines(b, out.info);
    out.body = OutputBody(b, mailbox, out.info);
    return out;
}

std::string SaveFileContent(const MessageOutput& out) {
    std::string content;
    for (const auto& line : out.header) {
        content += line;
        content += kCrLf;
    }
    content += kCrLf;
    content += out.body;
    content += kCrLf;
    return content;
}

Result<void> WriteSavedMessage(const Board& b, const std::string& nativePath, std::string_view content) {
    // Emptied and appended rather than replaced by rename: the chosen path may be
    // a link or a special file that must stay what it is.
    Result<void> written = platform::Truncate(nativePath);
    if (written) written = platform::Append(nativePath, content);
    return Logged(b.log, kModule, "SaveMessage", std::move(written));
}

std::string SafeFileName(std::string_view subject) {
    // Only what could lead out of the chosen folder or cannot stand in a file
    // name is changed: separators and control characters split the subject,
    // pieces made only of dots ("..", ".") are dropped. Everything else a
    // user typed (":", "?", blanks) is a valid name here and stays.
    std::vector<std::string> parts(1);
    for (char c : subject) {
        auto u = static_cast<unsigned char>(c);
        if (u < 32 || u == 127 || c == '/' || c == '\\') {
            parts.emplace_back();
        } else {
            parts.back() += c;
        }
    }
    std::string name;
    for (auto& p : parts) {
        std::string t = Trim(p);
        if (t.find_first_not_of('.') == std::string::npos) continue;
        if (!name.empty()) name += '_';
        name += t;
    }
    // Not hidden: no leading dots.
    std::size_t first = name.find_first_not_of(". ");
    name = first == std::string::npos ? std::string() : name.substr(first);
    if (name.size() > kMaxFileName) name.resize(kMaxFileName);
    name = RTrim(name);
    return name.empty() ? "message" : name;
}

} // namespace kesto
