#include "BoardCheck.h"

#include "MailBase.h"
#include "platform/BoardPath.h"
#include "platform/DirEntries.h"
#include "platform/File.h"

#include <algorithm>
#include <limits>
#include <string_view>
#include <vector>

namespace kesto {
namespace {

// Files are read in pieces of this size, so neither a huge file nor a length field
// full of random bytes decides how much memory the check takes.
constexpr std::int64_t kIndexChunkRecords = 2048;
constexpr std::int64_t kTextChunkBytes = std::int64_t{64} * 1024;
// The board's routines number records with 16 bits.
constexpr std::int64_t kReachableRecords = std::numeric_limits<std::int16_t>::max();

struct Folder {
    std::string_view name;
    const Bytes& (SysPaths::*field)() const;
};
constexpr Folder kFolders[] = {
    {"MainPath", &SysPaths::MainPath}, {"DataPath", &SysPaths::DataPath},
    {"TextPath", &SysPaths::TextPath}, {"NodePath", &SysPaths::NodePath},
    {"MailPath", &SysPaths::MailPath}, {"AttachPath", &SysPaths::AttachPath},
};

// A stretch of a text file that a record points to, 0-based and end-exclusive.
struct Span {
    std::uint32_t begin;
    std::uint32_t end;
};

std::string Num(std::int64_t n) {
    return std::to_string(n);
}

// "AB<n>.DAT" in any letter case, n as the program writes it (no leading zero): n, else 0.
std::int32_t AddressBookNumber(std::string_view name) {
    auto upper = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; };
    if (name.size() < 7 || upper(name[0]) != 'A' || upper(name[1]) != 'B') return 0;
    const std::string_view ext = name.substr(name.size() - 4);
    if (ext[0] != '.' || upper(ext[1]) != 'D' || upper(ext[2]) != 'A' || upper(ext[3]) != 'T') return 0;
    const std::string_view digits = name.substr(2, name.size() - 6);
    if (digits.empty() || digits.size() > 9 || digits[0] == '0') return 0;
    std::int32_t n = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return 0;
        n = n * 10 + (c - '0');
    }
    return n;
}

class Checker {
  public:
    Checker(const Board& b, const std::function<void(const CheckFinding&)>& report)
        : b_(b), report_(report) {}

    std::size_t Run() {
        CheckFolders();
        if (!platform::FileLengthIfAny(BoardNativePath(b_, b_.paths.MainPath(), "MAIN.CFG")))
            Report("MAIN.CFG", {}, "does not exist");
        const std::optional<std::int64_t> users =
            WholeRecords(b_.paths.DataPath(), "USERFILE.DAT", kUserRecordSize);
        if (!users) Report("USERFILE.DAT", {}, "does not exist");
        CheckMailbox(Mailbox::Received, users);
        CheckMailbox(Mailbox::Sent, users);
        WholeRecords(b_.paths.MailPath(), "ONELINE.DAT", kMessageInfoSize);
        WholeRecords(b_.paths.NodePath(), "CONTROL.DAT", kNodeRecordSize);
        CheckAddressBooks();
        return count_;
    }

  private:
    void Report(std::string_view file, std::optional<std::int64_t> number, std::string problem,
                bool isLine = false) {
        ++count_;
        report_(CheckFinding{std::string(file), number, isLine, std::move(problem)});
    }

    void CheckFolders() {
        for (const Folder& f : kFolders) {
            const std::string_view dir = TrimView((b_.paths.*f.field)());
            if (dir.empty())
                Report("SYSPATHS.CFG", {}, std::string(f.name) + " is blank");
            else if (!platform::IsDirectory(platform::NativePath(dir, b_.startDir)))
                Report("SYSPATHS.CFG", {},
                       std::string(f.name) + " folder " + std::string(dir) + " does not exist");
        }
    }

    // Whole records of a record file, reporting a partial last one; nothing when there is no file.
    std::optional<std::int64_t> WholeRecords(const Bytes& folder, std::string_view name, std::size_t size) {
        const std::optional<std::int64_t> length =
            platform::FileLengthIfAny(BoardNativePath(b_, folder, name));
        if (!length) return std::nullopt;
        const auto recordSize = static_cast<std::int64_t>(size);
        const std::int64_t whole = *length / recordSize;
        if (const std::int64_t rest = *length % recordSize; rest != 0)
            Report(name, whole + 1, "partial record: " + Num(rest) + " of " + Num(recordSize) + " bytes");
        return whole;
    }

    void CheckUser(std::string_view file, std::int64_t record, std::int32_t userNo, std::string_view role,
                   std::int32_t lowest, std::int64_t users) {
        if (userNo > users)
            Report(file, record,
                   std::string(role) + " user " + Num(userNo) + ", past the end of USERFILE.DAT (" +
                       Num(users) + " users)");
        else if (userNo < lowest)
            Report(file, record, std::string(role) + " user " + Num(userNo) + ", which is no user number");
    }

    void CheckMailbox(Mailbox box, std::optional<std::int64_t> users) {
        const bool received = box == Mailbox::Received;
        const std::string dat = std::string(MailboxName(box)) + ".DAT";
        const std::string bin = std::string(MailboxName(box)) + ".BIN";
        const std::string datPath = BoardNativePath(b_, b_.paths.MailPath(), dat);
        const std::optional<std::int64_t> binLength =
            platform::FileLengthIfAny(BoardNativePath(b_, b_.paths.MailPath(), bin));
        const std::optional<std::int64_t> records = WholeRecords(b_.paths.MailPath(), dat, kMessageInfoSize);
        if (records && *records > kReachableRecords)
            Report(dat, {},
                   Num(*records) + " records; the board's 16-bit record numbers stop at " +
                       Num(kReachableRecords) + ", so it cannot reach records " + Num(kReachableRecords + 1) +
                       " to " + Num(*records));

        std::vector<Span> texts;
        const auto recordSize = static_cast<std::int64_t>(kMessageInfoSize);
        for (std::int64_t first = 0; records && first < *records; first += kIndexChunkRecords) {
            const std::int64_t n = std::min(kIndexChunkRecords, *records - first);
            const Result<Bytes> chunk = platform::ReadAt(datPath, first * recordSize, n * recordSize);
            if (!chunk) {
                Report(dat, {}, "cannot be read: " + chunk.error().description);
                break;
            }
            const std::string_view all(*chunk);
            for (std::int64_t i = 0; (i + 1) * recordSize <= static_cast<std::int64_t>(all.size()); ++i) {
                const std::string_view rec =
                    all.substr(static_cast<std::size_t>(i * recordSize), kMessageInfoSize);
                const std::int64_t number = first + i + 1;
                CheckText(dat, bin, number, rec, binLength, texts);
                if (!users) continue;
                const std::int32_t fromNo = ReadField<&MessageInfo::FromUserNo>(rec);
                const std::int32_t toNo = ReadField<&MessageInfo::ToUserNo>(rec);
                // The owner must be a user of this board; the correspondent only when local
                // (mail to another board carries user 0, mail from one a number of its own).
                if (received) {
                    CheckUser(dat, number, toNo, "addressed to", 1, *users);
                    if (ReadField<&MessageInfo::FromNetId>(rec) == 1)
                        CheckUser(dat, number, fromNo, "sent by", 0, *users);
                } else {
                    CheckUser(dat, number, fromNo, "sent by", 1, *users);
                    if (ReadField<&MessageInfo::ToNetId>(rec) == 1)
                        CheckUser(dat, number, toNo, "addressed to", 0, *users);
                }
            }
            if (static_cast<std::int64_t>(all.size()) < n * recordSize) break; // the file shrank meanwhile
        }
        if (binLength && *binLength > 0) {
            if (const std::int64_t loose = *binLength - Covered(texts); loose > 0)
                Report(bin, {}, Num(loose) + " bytes of text that no record points to");
        }
    }

    void CheckText(const std::string& dat, const std::string& bin, std::int64_t number, std::string_view rec,
                   std::optional<std::int64_t> binLength, std::vector<Span>& texts) {
        const std::int32_t position = ReadField<&MessageInfo::MsgPos>(rec);
        const std::int32_t length = ReadField<&MessageInfo::MsgLength>(rec);
        if (position < 1) Report(dat, number, "text position " + Num(position) + " is below 1");
        if (length < 0) Report(dat, number, "text length " + Num(length) + " is negative");
        if (position < 1 || length < 0) return;
        const std::int64_t begin = static_cast<std::int64_t>(position) - 1;
        const std::int64_t end = begin + length;
        const std::string where =
            "text (position " + Num(position) + ", length " + Num(length) + ") lies outside ";
        if (!binLength) {
            if (length > 0) Report(dat, number, where + bin + ", which does not exist");
        } else if (end > *binLength) {
            Report(dat, number, where + bin + ", which holds " + Num(*binLength) + " bytes");
        } else if (length > 0) {
            // Texts are appended in record order, so most join the span before them.
            Span s{static_cast<std::uint32_t>(begin), static_cast<std::uint32_t>(end)};
            if (!texts.empty() && s.begin >= texts.back().begin && s.begin <= texts.back().end)
                texts.back().end = std::max(texts.back().end, s.end);
            else
                texts.push_back(s);
        }
    }

    static std::int64_t Covered(std::vector<Span>& texts) {
        std::sort(texts.begin(), texts.end(), [](const Span& a, const Span& b) { return a.begin < b.begin; });
        std::int64_t covered = 0;
        std::int64_t reach = 0; // end of what is counted so far
        for (const Span& s : texts) {
            const std::int64_t begin = std::max<std::int64_t>(s.begin, reach);
            if (s.end > begin) covered += s.end - begin;
            reach = std::max<std::int64_t>(reach, s.end);
        }
        return covered;
    }

    void CheckAddressBooks() {
        if (TrimView(b_.paths.DataPath()).empty()) return;
        std::vector<std::int32_t> numbers;
        for (const std::string& entry :
             platform::ListEntries(platform::NativePath(TrimView(b_.paths.DataPath()), b_.startDir)))
            if (const std::int32_t n = AddressBookNumber(entry); n > 0) numbers.push_back(n);
        std::sort(numbers.begin(), numbers.end());
        numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
        for (std::int32_t n : numbers) CheckAddressBook("AB" + Num(n) + ".DAT");
    }

    // Line by line as the address book reads it (CR LF, a lone CR or a lone LF ends a
    // line; blank lines are skipped), without holding a line: only its commas count.
    void CheckAddressBook(const std::string& name) {
        const std::string path = BoardNativePath(b_, b_.paths.DataPath(), name);
        const std::int64_t length = platform::FileLengthIfAny(path).value_or(0);
        std::int64_t line = 1;
        int commas = 0;
        bool blank = true;
        bool afterCr = false;
        auto endLine = [&] {
            if (!blank && commas < 2)
                Report(name, line, "entry without its three fields (description,address,network id)", true);
            ++line;
            commas = 0;
            blank = true;
        };
        for (std::int64_t offset = 0; offset < length; offset += kTextChunkBytes) {
            const Result<Bytes> chunk = platform::ReadAt(path, offset, kTextChunkBytes);
            if (!chunk) {
                Report(name, {}, "cannot be read: " + chunk.error().description);
                return;
            }
            for (char c : *chunk) {
                const bool lfOfCrLf = afterCr && c == '\n';
                afterCr = c == '\r';
                if (lfOfCrLf) continue;
                if (c == '\r' || c == '\n') {
                    endLine();
                } else {
                    commas += c == ',';
                    blank = blank && c == ' ';
                }
            }
            if (chunk->size() < static_cast<std::size_t>(kTextChunkBytes)) break;
        }
        if (!blank) endLine();
    }

    const Board& b_;
    const std::function<void(const CheckFinding&)>& report_;
    std::size_t count_ = 0;
};

} // namespace

std::size_t CheckBoard(const Board& b, const std::function<void(const CheckFinding&)>& report) {
    return Checker(b, report).Run();
}

} // namespace kesto
