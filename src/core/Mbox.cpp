#include "Mbox.h"

#include "Cp1252.h"
#include "DateFunctions.h"
#include "ReadMark.h"
#include "StringHelpers.h"
#include "SystemFiles.h"
#include "TextHelpers.h"
#include "platform/BoardPath.h"
#include "platform/File.h"

#include <algorithm>
#include <array>
#include <optional>

namespace kesto {
namespace {

constexpr std::string_view kDomain = ".board.invalid";
constexpr std::string_view kMissingAttachment = "The attached file was not found on the board.";
// The output goes to the sink in pieces of about this size.
constexpr std::size_t kFlushAt = 1 << 20;
// 57 bytes make one base64 line of 76 characters; attached files are read in whole lines.
constexpr std::size_t kBase64LineBytes = 57;
constexpr std::int64_t kAttachmentChunk = kBase64LineBytes * 1024;
// RFC 2047: an encoded word is at most 75 characters; 45 bytes of UTF-8 make 60 of base64.
constexpr std::size_t kEncodedWordBytes = 45;

constexpr char kHex[] = "0123456789ABCDEF";
constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// The base letters of Windows-1252 0xC0 to 0xFF; "" for the two signs among them.
constexpr std::array<std::string_view, 64> kBaseLetters = {
    "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i",  "i",
    "d", "n", "o", "o", "o", "o", "o",  "",  "o", "u", "u", "u", "u", "y", "th", "ss",
    "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i",  "i",
    "d", "n", "o", "o", "o", "o", "o",  "",  "o", "u", "u", "u", "u", "y", "th", "y",
};

// What a character of a handle (or of a node) becomes in an address; "" drops it.
std::string_view AddressChars(unsigned char c, bool handle, char& one) {
    if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c - 'A' + 'a');
    if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || (handle && (c == '-' || c == '_'))) {
        one = static_cast<char>(c);
        return {&one, 1};
    }
    if (!handle) return {};
    if (c >= 0xC0) return kBaseLetters[c - 0xC0];
    switch (c) {
    case 0x8A:
    case 0x9A:
        return "s";
    case 0x8C:
    case 0x9C:
        return "oe";
    case 0x8E:
    case 0x9E:
        return "z";
    case 0x9F:
        return "y";
    default:
        return {};
    }
}

// The kept characters of a text, every run of others as one separator, none at the ends.
std::string AddressWord(std::string_view text, bool handle, std::size_t limit, std::string_view fallback) {
    const char separator = handle ? '.' : '-';
    std::string out;
    bool pending = false;
    for (char ch : text) {
        char one = 0;
        const std::string_view kept = AddressChars(static_cast<unsigned char>(ch), handle, one);
        if (kept.empty()) {
            pending = true;
            continue;
        }
        if (pending && !out.empty()) out += separator;
        pending = false;
        out += kept;
        if (out.size() >= limit) break;
    }
    if (out.size() > limit) out.resize(limit);
    while (!out.empty() && out.back() == separator) out.pop_back();
    return out.empty() ? std::string(fallback) : out;
}

std::string HostLabel(std::string_view node) {
    return AddressWord(TrimView(node), false, 63, "unknown");
}

void AppendBase64(std::string& out, std::string_view in) {
    std::size_t i = 0;
    for (; i + 3 <= in.size(); i += 3) {
        const std::uint32_t v = static_cast<std::uint32_t>(static_cast<unsigned char>(in[i])) << 16 |
                                static_cast<std::uint32_t>(static_cast<unsigned char>(in[i + 1])) << 8 |
                                static_cast<unsigned char>(in[i + 2]);
        out += kBase64[v >> 18];
        out += kBase64[(v >> 12) & 63];
        out += kBase64[(v >> 6) & 63];
        out += kBase64[v & 63];
    }
    if (i < in.size()) {
        const bool two = i + 1 < in.size();
        const std::uint32_t v =
            static_cast<std::uint32_t>(static_cast<unsigned char>(in[i])) << 16 |
            (two ? static_cast<std::uint32_t>(static_cast<unsigned char>(in[i + 1])) << 8 : 0);
        out += kBase64[v >> 18];
        out += kBase64[(v >> 12) & 63];
        out += two ? kBase64[(v >> 6) & 63] : '=';
        out += '=';
    }
}

// Whether a header text can stand as it is: printable ASCII that a reader would not
// take for an encoded word. Anything else, CR and LF above all, is encoded.
bool IsPlainHeaderText(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E) return false;
    return text.find("=?") == std::string_view::npos;
}

// RFC 2047 encoded words of the text (Windows-1252) as UTF-8, folded onto lines of their own.
void AppendEncodedWords(std::string& out, std::string_view text) {
    const std::string utf8 = Cp1252ToUtf8(text);
    std::size_t begin = 0;
    while (begin < utf8.size()) {
        std::size_t end = begin;
        // Whole characters only: a continuation byte never starts a word.
        while (end < utf8.size() && end - begin < kEncodedWordBytes) {
            std::size_t next = end + 1;
            while (next < utf8.size() && (static_cast<unsigned char>(utf8[next]) & 0xC0) == 0x80) ++next;
            if (next - begin > kEncodedWordBytes) break;
            end = next;
        }
        if (begin > 0) out += "\n ";
        out += "=?utf-8?b?";
        AppendBase64(out, std::string_view(utf8).substr(begin, end - begin));
        out += "?=";
        begin = end;
    }
}

void AppendQuoted(std::string& out, std::string_view text) {
    out += '"';
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    out += '"';
}

// "Name: "handle" <address>", the handle as an encoded word where it must be.
void AppendAddressHeader(std::string& out, std::string_view name, std::string_view handle,
                         std::string_view address) {
    out += name;
    const std::string_view shown = TrimView(handle);
    if (!shown.empty()) {
        if (IsPlainHeaderText(shown))
            AppendQuoted(out, shown);
        else
            AppendEncodedWords(out, shown);
        out += ' ';
    }
    out += '<';
    out += address;
    out += ">\n";
}

// A file name as a MIME parameter: quoted when it is printable ASCII, else RFC 2231.
void AppendFileNameParameter(std::string& out, std::string_view parameter, std::string_view name) {
    out += "; ";
    out += parameter;
    if (IsPlainHeaderText(name)) {
        out += '=';
        AppendQuoted(out, name);
        return;
    }
    out += "*=utf-8''";
    for (char c : Cp1252ToUtf8(name)) {
        const auto u = static_cast<unsigned char>(c);
        if ((u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') || c == '.' ||
            c == '-' || c == '_') {
            out += c;
        } else {
            out += '%';
            out += kHex[u >> 4];
            out += kHex[u & 15];
        }
    }
}

// A line of the mbox after its "From " line: mboxrd quoting, then the line end.
void AppendMboxLine(std::string& out, std::string_view line) {
    const std::size_t quotes = line.find_first_not_of('>');
    if (quotes != std::string_view::npos && line.substr(quotes).starts_with("From ")) out += '>';
    out += line;
    out += '\n';
}

// The text (UTF-8, lines ended by CR LF) in quoted-printable, lines ended by LF.
void AppendQuotedPrintable(std::string& out, std::string_view text) {
    std::string line;
    std::size_t begin = 0;
    while (begin <= text.size()) {
        std::size_t end = text.find("\r\n", begin);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view hard = text.substr(begin, end - begin);
        line.clear();
        for (std::size_t i = 0; i < hard.size(); ++i) {
            const auto c = static_cast<unsigned char>(hard[i]);
            // Blanks stay as they are except where a line ends, which may drop them.
            const bool literal =
                (c >= 33 && c <= 126 && c != '=') || ((c == ' ' || c == '\t') && i + 1 < hard.size());
            if (line.size() + (literal ? 1 : 3) > 75) {
                line += '=';
                AppendMboxLine(out, line);
                line.clear();
            }
            if (literal) {
                line += static_cast<char>(c);
            } else {
                line += '=';
                line += kHex[c >> 4];
                line += kHex[c & 15];
            }
        }
        AppendMboxLine(out, line);
        if (end == text.size()) break;
        begin = end + 2;
    }
}

std::string AttachmentName(std::string_view filed) {
    std::string_view name = TrimView(filed);
    const std::size_t slash = name.find_last_of("\\/");
    if (slash != std::string_view::npos) name.remove_prefix(slash + 1);
    return name.empty() ? std::string("attachment") : std::string(name);
}

class MboxWriter {
  public:
    MboxWriter(const Board& b, Mailbox box, const MboxSink& sink)
        : b_(b), box_(box), sink_(sink), texts_(b, box), systemId_(OwnSystemId(b)) {
        out_.reserve(kFlushAt + (64 << 10));
        const std::string_view attach = TrimView(b.paths.AttachPath());
        if (!attach.empty()) attachRoot_ = platform::CanonicalPath(platform::NativePath(attach, b.startDir));
    }

    Result<void> Message(RecordNo number, const MessageInfo& m, MboxSummary& summary) {
        const std::string fromAddress = MboxAddress(m.FromHandle, NodeOf(m.FromNetNode, m.FromNetId));
        const std::string toAddress = MboxAddress(m.ToHandle, NodeOf(m.ToNetNode, m.ToNetId));
        std::optional<CreationTime> date = ParseCreation(TrimView(m.Creation));
        if (!date) date = CreationTimeOf(m.TimeStamp);

        out_ += "From ";
        out_ += fromAddress;
        out_ += ' ';
        out_ += FormatMboxDate(*date);
        out_ += '\n';
        AppendAddressHeader(out_, "From: ", m.FromHandle, fromAddress);
        AppendAddressHeader(out_, "To: ", m.ToHandle, toAddress);
        // Colour codes are no part of what the subject says.
        const std::string subject = Trim(StripHeartCodes(m.Subject));
        out_ += "Subject: ";
        if (IsPlainHeaderText(subject))
            out_ += subject;
        else
            AppendEncodedWords(out_, subject);
        out_ += "\nDate: " + FormatRfc5322Date(*date);
        out_ += "\nMessage-ID: <" + LowerAscii(MailboxName(box_)) + "." + std::to_string(number) + "@" +
                HostLabel(systemId_) + std::string(kDomain) + ">";
        out_ += "\nMIME-Version: 1.0\nStatus: ";
        out_ += m.Offline != 0 ? "RO\n" : "O\n";
        if (m.Deleted != 0) out_ += "X-Kesto-Deleted: yes\n";

        // The text as the reader shows it; a damaged position or length shows none.
        std::string text = MessageDisplayText(texts_.Get(m.MsgPos, m.MsgLength, true, false).value_or(""), m);
        std::optional<std::string> file;
        std::string first; // the attached file's first piece, read before anything says it is there
        if (!TrimView(m.AttFileName).empty()) {
            file = FindAttachment(m);
            if (file) {
                Result<Bytes> read = platform::ReadAt(*file, 0, kAttachmentChunk);
                if (read)
                    first = std::move(*read);
                else
                    file.reset();
            }
            if (!file) {
                text += "\r\n";
                text += kMissingAttachment;
                ++summary.missingAttachments;
            }
        }
        const std::string boundary = "=_kesto." + std::to_string(number);
        if (file)
            out_ += "Content-Type: multipart/mixed; boundary=\"" + boundary + "\"\n\n--" + boundary + "\n";
        out_ += "Content-Type: text/plain; charset=utf-8\nContent-Transfer-Encoding: quoted-printable\n\n";
        AppendQuotedPrintable(out_, Cp1252ToUtf8(text));
        if (file) {
            const std::string name = AttachmentName(m.AttFileName);
            out_ += "--" + boundary + "\nContent-Type: application/octet-stream";
            AppendFileNameParameter(out_, "name", name);
            out_ += "\nContent-Disposition: attachment";
            AppendFileNameParameter(out_, "filename", name);
            out_ += "\nContent-Transfer-Encoding: base64\n\n";
            if (auto r = AppendFile(*file, std::move(first)); !r) return r;
            out_ += "--" + boundary + "--\n";
            ++summary.attachments;
        }
        out_ += '\n';
        ++summary.messages;
        return out_.size() >= kFlushAt ? Flush() : Result<void>();
    }

    Result<void> Flush() {
        if (out_.empty()) return {};
        Result<void> r = sink_(out_);
        out_.clear();
        return r;
    }

  private:
    // As the reader shows a local node stored as "0": this board's own id.
    std::string NodeOf(std::string_view stored, std::int16_t netId) const {
        std::string node = Trim(stored);
        return netId == 1 && NumericValue(node) == 0 ? systemId_ : node;
    }

    // The attached file, at AttFilePath or AttachPath\<sender>\<name>. A record's paths
    // are not trusted to stay in the attachment folder: a file elsewhere (or a link
    // out of it) is not taken, so an export never carries off another file of the machine.
    std::optional<std::string> FindAttachment(const MessageInfo& m) const {
        if (!attachRoot_) return std::nullopt;
        const std::string filed = Trim(m.AttFilePath);
        const std::string places[] = {
            filed.empty() ? std::string() : platform::NativePath(filed, b_.startDir),
            BoardNativePath(b_, b_.paths.AttachPath(),
                            std::to_string(m.FromUserNo) + "\\" + Trim(m.AttFileName)),
        };
        for (const std::string& place : places) {
            if (place.empty()) continue;
            const std::optional<std::string> real = platform::CanonicalPath(place);
            if (real && real->starts_with(*attachRoot_ + "/") && platform::IsFile(*real)) return real;
        }
        return std::nullopt;
    }

    // The file in base64, piece by piece, so its size never decides the memory used.
    Result<void> AppendFile(const std::string& path, std::string piece) {
        for (std::int64_t offset = 0;;) {
            for (std::size_t i = 0; i < piece.size(); i += kBase64LineBytes) {
                AppendBase64(out_, std::string_view(piece).substr(i, kBase64LineBytes));
                out_ += '\n';
            }
            if (out_.size() >= kFlushAt) {
                if (auto r = Flush(); !r) return r;
            }
            if (piece.size() < static_cast<std::size_t>(kAttachmentChunk)) return {};
            offset += kAttachmentChunk;
            Result<Bytes> next = platform::ReadAt(path, offset, kAttachmentChunk);
            if (!next) return next.error();
            piece = std::move(*next);
        }
    }

    const Board& b_;
    Mailbox box_;
    const MboxSink& sink_;
    MessageTexts texts_;
    std::string systemId_;
    std::optional<std::string> attachRoot_;
    std::string out_;
};

// A file already in one of the board's folders may be a board file.
Result<void> CheckTarget(const Board& b, const std::string& target) {
    const std::optional<std::string> real = platform::CanonicalPath(target);
    if (!real) return {};
    const std::string parent = real->substr(0, real->find_last_of('/'));
    for (const Bytes* field : {&b.paths.MainPath(), &b.paths.DataPath(), &b.paths.TextPath(),
                               &b.paths.NodePath(), &b.paths.MailPath(), &b.paths.AttachPath()}) {
        const std::string_view folder = TrimView(*field);
        if (folder.empty()) continue;
        const std::optional<std::string> dir =
            platform::CanonicalPath(platform::NativePath(folder, b.startDir));
        const bool inAttachments = field == &b.paths.AttachPath() && dir && real->starts_with(*dir + "/");
        if (dir && (parent == *dir || inAttachments))
            return Error(ErrorCode::Refused, target + " is in the board's folder " + std::string(folder) +
                                                 "; an export never replaces a file there");
    }
    return {};
}

} // namespace

std::string MboxAddress(std::string_view handle, std::string_view node) {
    return AddressWord(TrimView(handle), true, 64, "user") + "@" + HostLabel(node) + std::string(kDomain);
}

Result<MboxSummary> WriteMbox(const Board& board, Mailbox box, std::vector<RecordNo> numbers,
                              const MboxSink& sink, const MboxProgress& progress) {
    Board b = board;
    b.log.path.clear(); // reading for an export leaves no trace, not even a log line
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    numbers.erase(numbers.begin(), std::lower_bound(numbers.begin(), numbers.end(), RecordNo{1}));
    MboxSummary summary;
    if (numbers.empty()) return summary;

    const auto recordSize = static_cast<std::int64_t>(kMessageInfoSize);
    const std::string index = platform::NativePath(MailboxFile(b, MailboxName(box), ".DAT"), b.startDir);
    const Result<Bytes> records =
        platform::ReadAt(index, 0, static_cast<std::int64_t>(numbers.back()) * recordSize);
    if (!records) return records.error();

    MboxWriter writer(b, box, sink);
    const std::string_view all(*records);
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        const std::int64_t offset = (static_cast<std::int64_t>(numbers[i]) - 1) * recordSize;
        if (offset + recordSize > static_cast<std::int64_t>(all.size())) break; // the index ends before it
        const MessageInfo m =
            DecodeMessageInfo(all.substr(static_cast<std::size_t>(offset), kMessageInfoSize));
        if (auto r = writer.Message(numbers[i], m, summary); !r) return r.error();
        if (progress && !progress(i + 1, numbers.size())) {
            summary.cancelled = true;
            return summary;
        }
    }
    if (auto r = writer.Flush(); !r) return r.error();
    return summary;
}

Result<MboxSummary> ExportMbox(const Board& b, Mailbox box, std::vector<RecordNo> numbers,
                               const std::string& target, const MboxProgress& progress) {
    if (auto refused = CheckTarget(b, target); !refused) return refused.error();
    Result<platform::ReplacementFile> file = platform::ReplacementFile::Create(target);
    if (!file) return file.error();
    const Result<MboxSummary> written = WriteMbox(
        b, box, std::move(numbers), [&](std::string_view bytes) { return file->Write(bytes); }, progress);
    // Dropping the file uncommitted removes it: nothing half-written is left.
    if (!written || written->cancelled) return written;
    if (auto committed = file->Commit(); !committed) return committed.error();
    return written;
}

} // namespace kesto
