// ReadMailboxRows on a damaged index: its fast field reads must give the same rows
// as decoding each whole record with the codec, newest first, and a partial
// trailing record is no message.
#include "FuzzBoard.h"
#include "FuzzInput.h"
#include "MailList.h"
#include "Records.h"

#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using kesto::fuzz::Check;
    const kesto::Board& b = kesto::fuzz::FuzzBoard();
    kesto::fuzz::Input in(data, size);
    // Small owner numbers, so that mutated records often belong to the user.
    std::int32_t user = in.U8() % 4;
    const kesto::Mailbox mailbox = (in.U8() & 1) ? kesto::Mailbox::Received : kesto::Mailbox::Sent;
    const bool received = mailbox == kesto::Mailbox::Received;
    std::string index = in.Rest();
    kesto::fuzz::WriteBoardFile(received ? "MAIL/EMAIL.DAT" : "MAIL/SNTEMAIL.DAT", index);

    std::string buffer = "reused";
    const std::vector<kesto::MailRow> rows = kesto::ReadMailboxRows(b, mailbox, user, buffer).value();

    std::vector<kesto::MailRow> expected;
    for (std::size_t n = index.size() / kesto::kMessageInfoSize; n >= 1; --n) {
        kesto::MessageInfo m = kesto::DecodeMessageInfo(
            std::string_view(index).substr((n - 1) * kesto::kMessageInfoSize, kesto::kMessageInfoSize));
        if ((received ? m.ToUserNo : m.FromUserNo) == user)
            expected.push_back(kesto::MakeMailRow(static_cast<kesto::RecordNo>(n), m, mailbox));
    }
    Check(rows.size() == expected.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const kesto::MailRow& r = rows[i];
        const kesto::MailRow& e = expected[i];
        Check(r.number == e.number && r.state == e.state && r.name == e.name && r.subject == e.subject &&
              r.date == e.date && r.size == e.size && r.bold == e.bold && r.ownerName == e.ownerName &&
              r.unread == e.unread && r.attachment == e.attachment && r.position == e.position);
    }
    return 0;
}
