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
#include <unordered_map>

namespace kesto {
namespace {

using namespace std::string_view_literals;

constexpr std::string_view kDomain = ".board.invalid";
constexpr std::string_view kMissingAttachment = "The attached file was not found on the board.";
// The output goes to the sink in pieces of about this size.
constexpr std::size_t kFlushAt = 1 << 20;
// 57 bytes make one base64 line of 76 characters; attached files are read in whole lines.
constexpr std::size_t kBase64LineBytes = 57;
constexpr std::int64_t kAttachmentChunk = kBase64LineBytes * 1024;
// RFC 2047: an encoded word is at most 75 characters; 45 bytes of UTF-8 make 60 of base64.
constexpr std::size_t kEncodedWordBytes = 45;
// The index is read this many records at a time.
constexpr std::int64_t kIndexPiece = 2048;

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

// Appends the kept characters of a text, every run of others as one separator and
// none at the ends, at most `limit` of them; `fallback` when none is kept.
void AppendAddressWord(std::string& out, std::string_view text, bool handle, std::size_t limit,
                       std::string_view fallback) {
    const char separator = handle ? '.' : '-';
    const std::size_t start = out.size();
    bool pending = false;
    for (char ch : text) {
        char one = 0;
        const std::string_view kept = AddressChars(static_cast<unsigned char>(ch), handle, one);
        if (kept.empty()) {
            pending = true;
            continue;
        }
        if (pending && out.size() > start) out += separator;
        pending = false;
        out += kept;
        if (out.size() - start >= limit) break;
    }
    if (out.size() - start > limit) out.resize(start + limit);
    while (out.size() > start && out.back() == separator) out.pop_back();
    if (out.size() == start) out += fallback;
}

std::string HostLabel(std::string_view node) {
    std::string out;
    AppendAddressWord(out, TrimView(node), false, 63, "unknown");
    return out;
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

// ""handle" <address>" and the line end, the handle as encoded words where it must be.
void AppendAddressHeader(std::string& out, std::string_view handle, std::string_view address) {
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

// What a byte of Windows-1252 text becomes in quoted-printable UTF-8: itself when
// it may stand as it is, else its UTF-8 bytes as "=XX" each ("\xF6" is "=C3=B6").
struct QpToken {
    char text[12];
    std::uint8_t size;
};

const std::array<QpToken, 256>& QpTokens() {
    static const std::array<QpToken, 256> kTokens = [] {
        std::array<QpToken, 256> t{};
        for (int c = 0; c < 256; ++c) {
            QpToken& token = t[static_cast<std::size_t>(c)];
            if (c >= 33 && c <= 126 && c != '=') {
                token.text[token.size++] = static_cast<char>(c);
                continue;
            }
            for (unsigned char u : Cp1252ToUtf8(std::string(1, static_cast<char>(c)))) {
                token.text[token.size++] = '=';
                token.text[token.size++] = kHex[u >> 4];
                token.text[token.size++] = kHex[u & 15];
            }
        }
        return t;
    }();
    return kTokens;
}

// Ends the line of `out` that begins at `start` with its mboxrd quoting: one more
// ">" before a line that reads "From " after its ">"s.
void EndMboxLine(std::string& out, std::size_t start) {
    const std::size_t quotes = out.find_first_not_of('>', start);
    if (quotes != std::string::npos && std::string_view(out).substr(quotes).starts_with("From "))
        out.insert(start, 1, '>');
    out += '\n';
}

// Appends bytes through memcpy. Inlined where the length is known to be short, the
// copy becomes a string instruction that is slow to start for a few dozen bytes.
[[gnu::noinline]] void AppendOpaque(std::string& out, std::string_view bytes) {
    out.append(bytes);
}

// One line of text (Windows-1252, no CR LF) as UTF-8 in quoted-printable: lines of
// at most 76 characters, soft breaks ending in "=". Runs of characters that stand
// as they are go over whole; the bytes of one character never split across lines.
void AppendQuotedPrintableLine(std::string& out, std::string_view line) {
    constexpr std::size_t kWidth = 75; // and "=" for a soft line break
    std::size_t start = out.size();
    // Most lines are short printable ASCII: checked without a branch per byte, copied whole.
    if (line.size() <= kWidth) {
        unsigned special = !line.empty() && line.back() == ' '; // a line end may drop a blank
        for (std::size_t i = 0; i < line.size(); ++i) {
            const unsigned b = static_cast<unsigned char>(line[i]);
            special |= (b - 32u > 94u) | (b == '=');
        }
        if (special == 0) {
            AppendOpaque(out, line);
            EndMboxLine(out, start);
            return;
        }
    }
    const std::array<QpToken, 256>& tokens = QpTokens();
    // Blanks stand as they are, except at the end of the line.
    auto standsAsItIs = [&](std::size_t at) {
        const auto b = static_cast<unsigned char>(line[at]);
        return tokens[b].size == 1 || ((b == ' ' || b == '\t') && at + 1 < line.size());
    };
    for (std::size_t i = 0; i < line.size();) {
        if (standsAsItIs(i)) {
            if (out.size() - start >= kWidth) {
                out += '=';
                EndMboxLine(out, start);
                start = out.size();
            }
            const std::size_t room = kWidth - (out.size() - start);
            std::size_t end = i + 1;
            while (end < line.size() && end - i < room && standsAsItIs(end)) ++end;
            out.append(line, i, end - i);
            i = end;
            continue;
        }
        const QpToken& token = tokens[static_cast<unsigned char>(line[i])];
        if (out.size() - start + token.size > kWidth) {
            out += '=';
            EndMboxLine(out, start);
            start = out.size();
        }
        out.append(token.text, token.size);
        ++i;
    }
    EndMboxLine(out, start);
}

// The text (Windows-1252, lines ended by CR LF) as quoted-printable lines ended by LF.
void AppendQuotedPrintable(std::string& out, std::string_view text) {
    for (std::size_t begin = 0;;) {
        std::size_t end = text.find("\r\n", begin);
        if (end == std::string_view::npos) end = text.size();
        AppendQuotedPrintableLine(out, text.substr(begin, end - begin));
        if (end == text.size()) return;
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
        : b_(b), box_(box), sink_(sink), texts_(b, box), systemId_(OwnSystemId(b)),
          systemLabel_(HostLabel(systemId_)) {
        out_.reserve(kFlushAt + (64 << 10));
        const std::string_view attach = TrimView(b.paths.AttachPath());
        if (!attach.empty()) attachRoot_ = platform::CanonicalPath(platform::NativePath(attach, b.startDir));
    }

    // One message from its index record's bytes; only the fields it shows are read.
    Result<void> Message(RecordNo number, std::string_view rec, MboxSummary& summary) {
        const Address& from =
            AddressOf(ReadField<&MessageInfo::FromHandle>(rec), ReadField<&MessageInfo::FromNetNode>(rec),
                      ReadField<&MessageInfo::FromNetId>(rec));
        const Address& to =
            AddressOf(ReadField<&MessageInfo::ToHandle>(rec), ReadField<&MessageInfo::ToNetNode>(rec),
                      ReadField<&MessageInfo::ToNetId>(rec));
        std::optional<CreationTime> date = ParseCreation(TrimView(ReadField<&MessageInfo::Creation>(rec)));
        if (!date) date = CreationTimeOf(ReadField<&MessageInfo::TimeStamp>(rec));

        out_ += "From "sv;
        out_ += from.text;
        out_ += ' ';
        AppendMboxDate(out_, *date);
        out_ += '\n';
        out_ += "From: "sv;
        out_ += from.header;
        out_ += "To: "sv;
        out_ += to.header;
        // Colour codes are no part of what the subject says.
        const std::string_view stored = TrimView(ReadField<&MessageInfo::Subject>(rec));
        const std::string uncoloured =
            stored.find('\x03') == std::string_view::npos ? std::string() : Trim(StripHeartCodes(stored));
        const std::string_view subject = uncoloured.empty() ? stored : std::string_view(uncoloured);
        out_ += "Subject: "sv;
        if (IsPlainHeaderText(subject))
            out_ += subject;
        else
            AppendEncodedWords(out_, subject);
        out_ += "\nDate: "sv;
        AppendRfc5322Date(out_, *date);
        out_ += "\nMessage-ID: <"sv;
        out_ += MailboxName(box_) == "EMAIL" ? "email." : "sntemail.";
        out_ += std::to_string(number);
        out_ += '@';
        out_ += systemLabel_;
        out_ += kDomain;
        out_ += ">\nMIME-Version: 1.0\nStatus: "sv;
        out_ += ReadField<&MessageInfo::Offline>(rec) != 0 ? "RO\n" : "O\n";
        if (ReadField<&MessageInfo::Deleted>(rec) != 0) out_ += "X-Kesto-Deleted: yes\n"sv;

        // The text as the reader shows it; a damaged position or length shows none.
        const std::string_view attName = ReadField<&MessageInfo::AttFileName>(rec);
        (void)texts_.Get(ReadField<&MessageInfo::MsgPos>(rec), ReadField<&MessageInfo::MsgLength>(rec), true,
                         false, text_);
        MakeDisplayText(text_, attName, ReadField<&MessageInfo::AttFileSize>(rec));
        std::optional<std::string> file;
        std::string first; // the attached file's first piece, read before anything says it is there
        if (!TrimView(attName).empty()) {
            file = FindAttachment(ReadField<&MessageInfo::FromUserNo>(rec), attName,
                                  ReadField<&MessageInfo::AttFilePath>(rec));
            if (file) {
                Result<Bytes> read = platform::ReadAt(*file, 0, kAttachmentChunk);
                if (read)
                    first = std::move(*read);
                else
                    file.reset();
            }
            if (!file) {
                text_ += "\r\n";
                text_ += kMissingAttachment;
                ++summary.missingAttachments;
            }
        }
        const std::string boundary = file ? "=_kesto." + std::to_string(number) : std::string();
        if (file)
            out_ += "Content-Type: multipart/mixed; boundary=\"" + boundary + "\"\n\n--" + boundary + "\n";
        out_ += "Content-Type: text/plain; charset=utf-8\nContent-Transfer-Encoding: quoted-printable\n\n"sv;
        AppendQuotedPrintable(out_, text_);
        if (file) {
            const std::string name = AttachmentName(attName);
            out_ += "--" + boundary + "\nContent-Type: application/octet-stream";
            AppendFileNameParameter(out_, "name", name);
            out_ += "\nContent-Disposition: attachment"sv;
            AppendFileNameParameter(out_, "filename", name);
            out_ += "\nContent-Transfer-Encoding: base64\n\n"sv;
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
    // The address of a handle at a node; a local node stored as "0" is this board, as
    // the reader shows it.
    struct Address {
        std::string handle; // the fields it was made from, as stored
        std::string node;
        std::int16_t netId = 0;
        bool made = false;
        std::string text;   // local@node.board.invalid
        std::string header; // what follows "From: " or "To: "
    };

    // A mailbox has few correspondents, so addresses are kept, a few dozen at a time,
    // under a hash of the first bytes of the fields they come from.
    const Address& AddressOf(std::string_view handle, std::string_view stored, std::int16_t netId) {
        std::uint64_t hash = static_cast<std::uint16_t>(netId);
        for (std::size_t i = 0; i < 12 && i < handle.size(); ++i)
            hash = hash * 131 + static_cast<unsigned char>(handle[i]);
        for (std::size_t i = 0; i < 8 && i < stored.size(); ++i)
            hash = hash * 131 + static_cast<unsigned char>(stored[i]);
        hash = (hash ^ (hash >> 31)) * 0xBF58476D1CE4E5B9u; // mixed, so the low bits tell
        Address& a = addresses_[(hash >> 32) % addresses_.size()];
        if (a.made && a.netId == netId && a.handle == handle && a.node == stored) return a;
        a.handle = handle;
        a.node = stored;
        a.netId = netId;
        a.made = true;
        // A local node stored as "0" is this board, as the reader shows it.
        std::string_view node = TrimView(stored);
        if (netId == 1 && NumericValue(node) == 0) node = systemId_;
        a.text.clear();
        AppendAddressWord(a.text, TrimView(handle), true, 64, "user");
        a.text += '@';
        AppendAddressWord(a.text, node, false, 63, "unknown");
        a.text += kDomain;
        a.header.clear();
        AppendAddressHeader(a.header, handle, a.text);
        return a;
    }

    // The attached file, at AttFilePath or AttachPath\<sender>\<name>. A record's paths
    // are not trusted to stay in the attachment folder: a file elsewhere (or a link
    // out of it) is not taken, so an export never carries off another file of the
    // machine. Finding a file costs a dozen system calls, so what was found is kept.
    std::optional<std::string> FindAttachment(std::int32_t sender, std::string_view name,
                                              std::string_view filedPath) {
        if (!attachRoot_) return std::nullopt;
        const std::string_view filed = TrimView(filedPath);
        std::string key = std::to_string(sender) + "\\" + std::string(TrimView(name));
        const std::string fallback = key;
        key += '\n';
        key += filed;
        if (auto known = attachments_.find(key); known != attachments_.end()) return known->second;
        auto inFolder = [&](const std::string& place) -> std::optional<std::string> {
            std::optional<std::string> real = platform::CanonicalPath(place);
            if (real && real->starts_with(*attachRoot_ + "/") && platform::IsFile(*real)) return real;
            return std::nullopt;
        };
        std::optional<std::string> found;
        if (!filed.empty()) found = inFolder(platform::NativePath(filed, b_.startDir));
        if (!found) found = inFolder(BoardNativePath(b_, b_.paths.AttachPath(), fallback));
        if (attachments_.size() >= 4096) attachments_.clear(); // a bound on what is kept
        attachments_.emplace(std::move(key), found);
        return found;
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
    std::string systemLabel_;
    std::optional<std::string> attachRoot_;
    std::string out_;
    // Reused for every message.
    std::array<Address, 256> addresses_;
    std::unordered_map<std::string, std::optional<std::string>> attachments_; // by sender, name and path
    std::string text_;
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
            return Error(ErrorCode::Refused, "it is in the board's folder " + std::string(folder) +
                                                 ", and an export never replaces a file there");
    }
    return {};
}

} // namespace

std::string MboxAddress(std::string_view handle, std::string_view node) {
    std::string address;
    AppendAddressWord(address, TrimView(handle), true, 64, "user");
    address += '@';
    AppendAddressWord(address, TrimView(node), false, 63, "unknown");
    address += kDomain;
    return address;
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
    MboxWriter writer(b, box, sink);
    Bytes records; // the index from record `first` on, read a piece at a time
    std::int64_t first = 1;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        const std::int64_t number = numbers[i];
        if (number >= first + static_cast<std::int64_t>(records.size()) / recordSize) {
            first = number;
            const auto piece = static_cast<std::size_t>(kIndexPiece * recordSize);
            if (auto r = platform::ReadAt(index, (first - 1) * recordSize, piece, records); !r)
                return r.error();
            if (records.size() < static_cast<std::size_t>(recordSize)) break; // the index ends before it
        }
        const std::string_view rec = std::string_view(records).substr(
            static_cast<std::size_t>((number - first) * recordSize), kMessageInfoSize);
        if (auto r = writer.Message(numbers[i], rec, summary); !r) return r.error();
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
    Result<MboxSummary> written = WriteMbox(
        b, box, std::move(numbers), [&](std::string_view bytes) { return file->Write(bytes); }, progress);
    // Dropping the file uncommitted removes it: nothing half-written is left.
    if (!written || written->cancelled) return written;
    // Not synced: waiting for the disk would take longer than the export, and the board
    // still holds everything in it, so an export a power cut loses can be made again.
    if (auto committed = file->Commit(false); !committed) return committed.error();
    return written;
}

} // namespace kesto
