// WriteMbox over damaged records: whatever a handle, subject, date, length or
// attachment field holds, every message is one "From " line, header lines that are
// our own fields or their folded continuations, and a body none of whose lines can
// be taken for the start of another message.
#include "DemoBoard.h"
#include "FuzzBoard.h"
#include "FuzzInput.h"
#include "Mbox.h"

#include <set>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using kesto::fuzz::Check;
    const kesto::Board& b = kesto::fuzz::FuzzBoard();
    kesto::fuzz::Input in(data, size);
    const int count = in.U8() % 4 + 1;
    std::string index;
    for (int i = 0; i < count; ++i) {
        kesto::MessageInfo m = kesto::demo::MakeMessage(2, 1, in.Text(), in.Text(), in.Text(), in.I32());
        if (const std::string creation = in.Text(); !creation.empty()) m.Creation = creation;
        m.AttFileName = in.Text();
        m.AttFilePath = in.Text();
        m.FromNetNode = in.Text();
        m.ToNetId = in.I16();
        m.MsgPos = in.I32();
        m.MsgLength = in.I32() % 100000;
        m.Offline = in.U8() & 1;
        m.Deleted = in.I16();
        index += kesto::EncodeMessageInfo(m);
    }
    kesto::fuzz::WriteBoardFile("MAIL/EMAIL.DAT", index);
    kesto::fuzz::WriteBoardFile("MAIL/EMAIL.BIN", in.Rest());

    std::string out;
    const auto summary =
        kesto::WriteMbox(b, kesto::Mailbox::Received, {1, 2, 3, 4}, [&](std::string_view bytes) {
            out += bytes;
            return kesto::Result<void>();
        });
    Check(summary.has_value() && summary->messages == static_cast<std::size_t>(count));

    static const std::set<std::string_view> kFields = {"From",
                                                       "To",
                                                       "Subject",
                                                       "Date",
                                                       "Message-ID",
                                                       "MIME-Version",
                                                       "Status",
                                                       "X-Kesto-Deleted",
                                                       "Content-Type",
                                                       "Content-Transfer-Encoding",
                                                       "Content-Disposition"};
    std::size_t messages = 0;
    bool inHeader = false;
    std::string_view rest = out;
    Check(rest.ends_with("\n\n"));
    while (!rest.empty()) {
        const std::string_view line = rest.substr(0, rest.find('\n'));
        rest.remove_prefix(line.size() + 1);
        Check(line.size() <= 998 && line.find('\r') == std::string_view::npos);
        if (line.starts_with("From ")) {
            ++messages;
            inHeader = true;
        } else if (inHeader && line.empty()) {
            inHeader = false;
        } else if (inHeader && !line.starts_with(' ')) {
            Check(kFields.count(line.substr(0, line.find(": "))) == 1);
        }
    }
    Check(messages == static_cast<std::size_t>(count));
    return 0;
}
