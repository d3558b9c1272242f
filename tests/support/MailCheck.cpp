#include "MailCheck.h"

#include "Bytes.h"
#include "TestBoard.h"

namespace kesto::test {

std::string BodyFor(std::string_view subject) {
    return "Body of " + std::string(TrimView(subject)) + "\r\n";
}

namespace {

std::string MailFile(const Board& b, std::string_view name) {
    return BoardNativePath(b, b.paths.MailPath(), name);
}

bool TextIs(std::string_view texts, const MessageInfo& m, std::int64_t start) {
    const std::string want = BodyFor(m.Subject);
    return start >= 0 && static_cast<std::size_t>(m.MsgLength) == want.size() &&
           static_cast<std::size_t>(start) + want.size() <= texts.size() &&
           texts.substr(start, want.size()) == want;
}

} // namespace

std::vector<FiledMessage> FiledMessages(const Board& b, std::string_view mailbox) {
    const std::string index = ReadNative(MailFile(b, std::string(mailbox) + ".DAT"));
    const std::string texts = ReadNative(MailFile(b, std::string(mailbox) + ".BIN"));
    std::vector<FiledMessage> out;
    for (std::size_t at = 0; at + kMessageInfoSize <= index.size(); at += kMessageInfoSize) {
        FiledMessage f;
        f.info = DecodeMessageInfo(std::string_view(index).substr(at, kMessageInfoSize));
        f.textMatches = TextIs(texts, f.info, static_cast<std::int64_t>(f.info.MsgPos) - 1);
        out.push_back(std::move(f));
    }
    return out;
}

std::vector<FiledMessage> SpoolEntries(const Board& b, bool& whole) {
    const std::string spool = ReadNative(BoardNativePath(b, b.paths.DataPath(), "SPOOL.NET"));
    std::vector<FiledMessage> out;
    std::size_t at = 0;
    while (at + kMessageInfoSize <= spool.size()) {
        FiledMessage f;
        f.info = DecodeMessageInfo(std::string_view(spool).substr(at, kMessageInfoSize));
        const std::size_t text = at + kMessageInfoSize;
        if (f.info.MsgLength < 0 || text + static_cast<std::size_t>(f.info.MsgLength) > spool.size()) break;
        f.textMatches = f.info.MsgPos == 0 && TextIs(spool, f.info, static_cast<std::int64_t>(text));
        at = text + static_cast<std::size_t>(f.info.MsgLength);
        out.push_back(std::move(f));
    }
    whole = at == spool.size();
    return out;
}

} // namespace kesto::test
