#include "AddressBook.h"

#include "StringHelpers.h"
#include "TextHelpers.h"
#include "ErrorLog.h"
#include "platform/BoardPath.h"
#include "platform/File.h"

#include <string>

namespace kesto {
namespace {

constexpr std::string_view kModule = "modKesto";

std::string NativeBookPath(const Board& b, std::int32_t userNo) {
    return platform::NativePath(AddressBookFile(b, userNo), b.startDir);
}

bool IsBlank(std::string_view s) {
    return s.find_first_not_of(' ') == std::string_view::npos;
}

// Calls f for every line of text. CR LF, a lone CR and a lone LF all end a line,
// so a book edited elsewhere still reads one entry per line.
template <class F>
void ForEachLine(std::string_view text, F&& f) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            f(text.substr(start));
            return;
        }
        if (!f(text.substr(start, end - start))) return;
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
    }
}

// A line end inside an entry would split it into two on the next read.
std::string OneLine(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c == '\r' || c == '\n') c = ' ';
    return out;
}

// Lower case for Windows-1252 text, so accented handles compare as the board's users type them.
std::string LowerCp1252(std::string_view s) {
    std::string out(s);
    for (char& ch : out) {
        auto c = static_cast<unsigned char>(ch);
        if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
            c = static_cast<unsigned char>(c + 0x20);
        else if (c == 0x8A || c == 0x8C || c == 0x8E)
            c = static_cast<unsigned char>(c + 0x10);
        else if (c == 0x9F)
            c = 0xFF;
        ch = static_cast<char>(c);
    }
    return out;
}

} // namespace

std::string AddressBookFile(const Board& b, std::int32_t userNo) {
    return BoardFile(b.paths.DataPath(), "AB" + std::to_string(userNo) + ".DAT");
}

AddressBookEntry SplitAddressBookLine(std::string_view line) {
    const std::vector<std::string> pieces = Explode(",", Trim(line), 3, 3);
    return {Trim(pieces[0]), Trim(pieces[1]), Trim(pieces[2])};
}

AddressBook ParseAddressBook(std::string_view text) {
    AddressBook book;
    book.readText = std::string(text);
    ForEachLine(text, [&](std::string_view line) {
        if (IsBlank(line)) return true;
        if (book.Count() < kAddressBookLoadLimit)
            book.lines.emplace_back(line);
        else
            book.hidden.emplace_back(line);
        return true;
    });
    return book;
}

std::string AddressBookAddition(std::string_view fileEnd, std::string_view line) {
    std::string entry = OneLine(Trim(line));
    if (IsBlank(entry)) return {};
    // A last line without its CR LF would otherwise swallow the new entry.
    if (!fileEnd.empty() && fileEnd.back() != '\n' && fileEnd.back() != '\r') entry.insert(0, kCrLf);
    entry += kCrLf;
    return entry;
}

std::string AddressBookSaveText(const AddressBook& book, std::string_view current) {
    std::string text;
    auto put = [&](std::string_view line) {
        if (IsBlank(line)) return;
        text += OneLine(line);
        text += kCrLf;
    };
    for (const auto& line : book.lines) put(line);
    for (const auto& line : book.hidden) put(line);
    // Entries added to the file since the book was read (another window, kesto-cli)
    // are appended after it: they were never shown, so nobody took them out.
    if (current.size() > book.readText.size() && current.starts_with(book.readText)) {
        ForEachLine(current.substr(book.readText.size()), [&](std::string_view line) {
            put(line);
            return true;
        });
    }
    return text;
}

AddressBook LoadAddressBook(const Board& b, std::int32_t userNo) {
    const std::string path = NativeBookPath(b, userNo);
    // Nothing to read also for a FIFO or device, which would block a read.
    if (!platform::IsFile(path) || platform::FileLengthIfAny(path).value_or(0) <= 0) return AddressBook{};
    const Result<Bytes> text = Logged(b.log, kModule, "LoadAddressBook", platform::ReadAll(path));
    if (!text) {
        AddressBook book;
        book.readOk = false;
        return book;
    }
    return ParseAddressBook(*text);
}

namespace {

// The book's file locked against the other copies of Kesto for one step; a save that
// replaced the file meanwhile is followed to the new one.
Result<platform::LockedFile> LockBook(const std::string& path) {
    return platform::LockedFile::Open(path, 0, 0, true);
}

Result<void> SaveBook(const std::string& path, AddressBook& book) {
    Result<platform::LockedFile> lock = LockBook(path);
    if (!lock) return lock.error();
    Result<std::int64_t> length = lock->Length();
    if (!length) return length.error();
    Result<Bytes> current = lock->ReadAt(0, *length);
    if (!current) return current.error();
    // A new file renamed over the old one, so a failed write keeps the old book; an
    // add waiting for the lock then finds the new file and goes there.
    const std::string text = AddressBookSaveText(book, *current);
    if (auto w = platform::ReplaceContents(path, text); !w) return w;
    book = ParseAddressBook(text);
    return {};
}

Result<void> AddLine(const std::string& path, std::string_view line) {
    Result<platform::LockedFile> lock = LockBook(path);
    if (!lock) return lock.error();
    Result<std::int64_t> length = lock->Length();
    if (!length) return length.error();
    Result<Bytes> last = lock->ReadAt(*length - 1, 1);
    if (!last) return last.error();
    const std::string entry = AddressBookAddition(*last, line);
    if (auto w = lock->WriteAt(*length, entry); !w) return w;
    return lock->Close();
}

} // namespace

Result<void> SaveAddressBook(const Board& b, std::int32_t userNo, AddressBook& book) {
    if (!book.readOk)
        return Logged(
            b.log, kModule, "SaveAddressBook",
            Result<void>(Error(ErrorCode::Refused, "Address book was not read; not overwriting it")));
    return Logged(b.log, kModule, "SaveAddressBook", SaveBook(NativeBookPath(b, userNo), book));
}

Result<void> AddToAddressBook(const Board& b, std::int32_t userNo, std::string_view line) {
    if (AddressBookAddition("", line).empty()) return {};
    return Logged(b.log, kModule, "AddToAddressBook", AddLine(NativeBookPath(b, userNo), line));
}

std::string CorrespondentAddress(const MessageInfo& m, Mailbox box) {
    if (box == Mailbox::Received) return Trim(m.FromHandle) + "@" + Trim(m.FromNetNode);
    return Trim(m.ToHandle) + "@" + Trim(m.ToNetNode);
}

namespace {

Result<bool> BookHolds(const Board& b, std::int32_t userNo, Mailbox box, RecordNo messageNumber) {
    const Result<MessageInfo> m = GetMessageInfo(b, MailboxName(box), messageNumber);
    if (!m) return false; // logged where it was read, or no mailbox at all
    const std::string wanted = LowerCp1252(CorrespondentAddress(*m, box));
    const std::string path = NativeBookPath(b, userNo);
    const std::optional<std::int64_t> len = platform::FileLengthIfAny(path);
    if (!len) return Error(ErrorCode::FileNotFound); // a user without a book
    std::string text;
    if (*len > 0) {
        Result<Bytes> read = platform::ReadAll(path);
        if (!read) return read.error();
        text = std::move(*read);
    }
    bool found = false;
    ForEachLine(text, [&](std::string_view line) {
        if (LowerCp1252(Trim(Explode(",", line, 3, 3)[1])) == wanted) found = true;
        return !found;
    });
    return found;
}

} // namespace

bool IsInAddressBook(const Board& b, std::int32_t userNo, Mailbox box, RecordNo messageNumber) {
    if (messageNumber < 1) return false;
    return Logged(b.log, kModule, "IsInAddressBook", BookHolds(b, userNo, box, messageNumber))
        .value_or(false);
}

std::string AddressBookRowText(std::size_t number, std::size_t count, std::string_view line) {
    std::string num = std::to_string(number);
    std::size_t digits = std::to_string(count).size();
    if (num.size() < digits) num.insert(0, digits - num.size(), ' ');
    return num + ": " + StrPad(SplitAddressBookLine(line).description, 23, " ", "PAD_RIGHT");
}

std::string AddressBookPickText(std::string_view line) {
    AddressBookEntry e = SplitAddressBookLine(line);
    if (e.address.find('@') == std::string::npos) e.address += "@0";
    return e.address + "*" + e.networkId;
}

std::string AddressBookEntryLine(std::string_view description, std::string_view handle,
                                 std::string_view netNode, std::int16_t netId) {
    return Trim(description) + "," + Trim(handle) + "@" + Trim(netNode) + "," + std::to_string(netId);
}

} // namespace kesto
