// GetMessage on a damaged EMAIL.BIN with any position and length: it must never
// return more than the file holds (twice that once lone line ends become CR LF),
// and MessageTexts, which reads the file in large pieces, gives the same.
#include "FuzzBoard.h"
#include "FuzzInput.h"
#include "MailBase.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using kesto::fuzz::Check;
    const kesto::Board& b = kesto::fuzz::FuzzBoard();
    kesto::fuzz::Input in(data, size);
    std::int32_t position = in.I32();
    std::int32_t length = in.I32();
    std::uint8_t flags = in.U8();
    std::string contents = in.Rest();
    kesto::fuzz::WriteBoardFile("MAIL/EMAIL.BIN", contents);

    bool strip = flags & 1;
    bool raw = flags & 2;
    const kesto::Result<std::string> read = kesto::GetMessage(b, "EMAIL", position, length, strip, raw);
    // The text after it as well, mostly from the piece read for the first.
    kesto::MessageTexts texts(b, kesto::Mailbox::Received);
    for (std::int32_t at :
         {position, static_cast<std::int32_t>(static_cast<std::uint32_t>(position) + length)}) {
        const kesto::Result<std::string> piece = texts.Get(at, length, strip, raw);
        const kesto::Result<std::string> whole = kesto::GetMessage(b, "EMAIL", at, length, strip, raw);
        Check(piece.has_value() == whole.has_value() && (!whole || *piece == *whole));
    }
    // Only a position or length no record could hold is refused.
    if (!read) {
        Check(position < 1 || length < 0);
        return 0;
    }
    const std::string& text = *read;
    Check(text.size() <= 2 * contents.size());
    if (raw) {
        Check(text.size() <= contents.size());
        if (!strip && position >= 1 && length >= 0 && static_cast<std::size_t>(position) <= contents.size()) {
            // Whatever the file holds at that place comes back first.
            std::string_view there = std::string_view(contents).substr(position - 1, length);
            Check(std::string_view(text).substr(0, there.size()) == there);
        }
    }
    if (strip) Check(text.find('\x03') == std::string::npos);
    return 0;
}
