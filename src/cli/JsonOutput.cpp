#include "JsonOutput.h"

#include "Cp1252.h"
#include "Utf8.h"

#include <array>
#include <charconv>
#include <ostream>
#include <string>

namespace kesto::cli {
namespace {

// What one board byte becomes inside a JSON string.
struct Form {
    std::uint8_t size = 0;
    char bytes[6] = {};
};

// C0, DEL and C1: C1 too, as a terminal may act on it in UTF-8 (U+009D starts
// an OSC); the five bytes Windows-1252 leaves unassigned decode to C1.
bool IsControl(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c < 0xA0);
}

void SetText(Form& f, std::string_view text) {
    f.size = static_cast<std::uint8_t>(text.size());
    text.copy(f.bytes, text.size());
}

void SetUnicodeEscape(Form& f, char32_t c) {
    static constexpr char kHex[] = "0123456789abcdef";
    const char escape[] = {'\\', 'u', '0', '0', kHex[(c >> 4) & 0xF], kHex[c & 0xF]};
    SetText(f, std::string_view(escape, sizeof escape));
}

std::array<Form, 256> MakeForms() {
    std::array<Form, 256> forms{};
    for (int b = 0; b < 256; ++b) {
        const char byte = static_cast<char>(b);
        Form& f = forms[static_cast<std::size_t>(b)];
        switch (byte) {
        case '"':
            SetText(f, "\\\"");
            break;
        case '\\':
            SetText(f, "\\\\");
            break;
        case '\n':
            SetText(f, "\\n");
            break;
        case '\r':
            SetText(f, "\\r");
            break;
        case '\t':
            SetText(f, "\\t");
            break;
        default:
            const char32_t c = DecodeCp1252(std::string_view(&byte, 1))[0];
            if (IsControl(c))
                SetUnicodeEscape(f, c);
            else
                SetText(f, Cp1252ToUtf8(std::string_view(&byte, 1)));
        }
    }
    return forms;
}

const std::array<Form, 256> kForms = MakeForms();

// Printable ASCII but the quote and the backslash stands as it is: one look-up a byte.
std::array<bool, 256> MakePlain() {
    std::array<bool, 256> plain{};
    for (int c = 0x20; c < 0x7F; ++c) plain[static_cast<std::size_t>(c)] = c != '"' && c != '\\';
    return plain;
}

const std::array<bool, 256> kPlain = MakePlain();

const char* AppendPlain(std::string& out, const char* p, const char* end) {
    const char* run = p;
    while (p != end && kPlain[static_cast<unsigned char>(*p)]) ++p;
    out.append(run, static_cast<std::size_t>(p - run));
    return p;
}

void AppendForm(std::string& out, unsigned char byte) {
    const Form& f = kForms[byte];
    out.append(f.bytes, f.size);
}

void AppendBoardString(std::string& out, std::string_view board) {
    out += '"';
    const char* p = board.data();
    const char* end = p + board.size();
    while (p != end) {
        p = AppendPlain(out, p, end);
        if (p != end) AppendForm(out, static_cast<unsigned char>(*p++));
    }
    out += '"';
}

// A string that is UTF-8 already; a byte that is not part of UTF-8 becomes U+FFFD.
void AppendUtf8String(std::string& out, std::string_view text) {
    out += '"';
    const char* p = text.data();
    const char* end = p + text.size();
    while (p != end) {
        p = AppendPlain(out, p, end);
        if (p == end) break;
        const auto* u = reinterpret_cast<const unsigned char*>(p);
        if (*u < 0x80) {
            AppendForm(out, *u);
            ++p;
            continue;
        }
        char32_t c = 0;
        const std::size_t n = Utf8Length(u, reinterpret_cast<const unsigned char*>(end), c);
        if (n == 0) {
            out += "\xEF\xBF\xBD";
            ++p;
        } else if (IsControl(c)) {
            Form f;
            SetUnicodeEscape(f, c);
            out.append(f.bytes, f.size);
            p += n;
        } else {
            out.append(p, n);
            p += n;
        }
    }
    out += '"';
}

void AppendInteger(std::string& out, std::int64_t n) {
    char digits[24];
    const auto done = std::to_chars(digits, digits + sizeof digits, n);
    out.append(digits, done.ptr);
}

void AppendIndent(std::string& out, std::size_t indent) {
    static constexpr std::string_view kBlanks = "                                ";
    if (indent <= kBlanks.size())
        out.append(kBlanks.data(), indent);
    else
        out.append(indent, ' ');
}

// `value` as it stands at `indent`: members one per line, two blanks deeper.
void AppendValue(std::string& out, const Json& value, std::size_t indent) {
    switch (value.type()) {
    case Json::value_t::object:
    case Json::value_t::array: {
        const bool object = value.is_object();
        if (value.empty()) {
            out += object ? "{}" : "[]";
            return;
        }
        out += object ? "{\n" : "[\n";
        bool first = true;
        for (auto it = value.begin(); it != value.end(); ++it) {
            if (!first) out += ",\n";
            first = false;
            AppendIndent(out, indent + 2);
            if (object) {
                AppendUtf8String(out, it.key());
                out += ": ";
            }
            AppendValue(out, it.value(), indent + 2);
        }
        out += '\n';
        AppendIndent(out, indent);
        out += object ? '}' : ']';
        return;
    }
    case Json::value_t::string:
        AppendUtf8String(out, value.get_ref<const std::string&>());
        return;
    case Json::value_t::boolean:
        out += value.get<bool>() ? "true" : "false";
        return;
    case Json::value_t::number_integer:
        AppendInteger(out, value.get<std::int64_t>());
        return;
    case Json::value_t::null:
        out += "null";
        return;
    default: // unsigned and floating-point numbers, in the library's own notation
        out += value.dump();
        return;
    }
}

} // namespace

void AppendJsonBoardText(std::string& out, std::string_view bytes) {
    AppendBoardString(out, bytes);
}

Json BoardText(std::string_view bytes) {
    return Json(Cp1252ToUtf8(bytes));
}

JsonWriter::JsonWriter(std::ostream& out) : out_(out) {}

void JsonWriter::Write(std::ostream& out, const Json& value) {
    JsonWriter w(out);
    w.Value(value);
}

void JsonWriter::NextItem() {
    if (afterKey_ || levels_.empty()) return;
    Level& level = levels_.back();
    if (level.empty)
        out_.Text() += '\n';
    else
        out_.Text().append(",\n", 2);
    level.empty = false;
    AppendIndent(out_.Text(), levels_.size() * 2);
}

void JsonWriter::Done() {
    afterKey_ = false;
    if (levels_.empty()) out_.Text() += '\n';
    out_.Written();
}

void JsonWriter::Open(char bracket, bool object) {
    NextItem();
    afterKey_ = false;
    out_.Text() += bracket;
    levels_.push_back({object, true});
}

void JsonWriter::BeginObject() {
    Open('{', true);
}

void JsonWriter::BeginArray() {
    Open('[', false);
}

void JsonWriter::Key(std::string_view key) {
    NextItem();
    AppendUtf8String(out_.Text(), key);
    out_.Text() += ": ";
    afterKey_ = true;
}

void JsonWriter::Value(const Json& value) {
    NextItem();
    AppendValue(out_.Text(), value, levels_.size() * 2);
    Done();
}

void JsonWriter::BoardText(std::string_view bytes) {
    NextItem();
    AppendBoardString(out_.Text(), bytes);
    Done();
}

void JsonWriter::String(std::string_view utf8) {
    NextItem();
    AppendUtf8String(out_.Text(), utf8);
    Done();
}

void JsonWriter::Number(std::int64_t n) {
    NextItem();
    AppendInteger(out_.Text(), n);
    Done();
}

void JsonWriter::Boolean(bool b) {
    NextItem();
    out_.Text() += b ? "true" : "false";
    Done();
}

void JsonWriter::End() {
    const Level level = levels_.back();
    levels_.pop_back();
    if (!level.empty) {
        out_.Text() += '\n';
        AppendIndent(out_.Text(), levels_.size() * 2);
    }
    out_.Text() += level.object ? '}' : ']';
    Done();
}

} // namespace kesto::cli
