#include "TerminalText.h"

#include "Cp1252.h"
#include "Utf8.h"

#include <array>
#include <cstdint>

namespace kesto::cli {
namespace {

// What one board byte becomes on the terminal.
struct Form {
    std::uint8_t size = 0;
    std::uint8_t columns = 0; // a caret form takes one per byte, a UTF-8 character one
    char bytes[4] = {};
};

void SetCaret(Form& f, bool meta, unsigned char control) {
    std::size_t n = 0;
    if (meta) {
        f.bytes[n++] = 'M';
        f.bytes[n++] = '-';
    }
    f.bytes[n++] = '^';
    f.bytes[n++] = static_cast<char>((control & 0x7F) ^ 0x40); // ^@ .. ^_, and ^? for DEL
    f.size = static_cast<std::uint8_t>(n);
    f.columns = f.size;
}

std::array<Form, 256> MakeForms() {
    std::array<Form, 256> forms{};
    for (int b = 0; b < 256; ++b) {
        const char byte = static_cast<char>(b);
        const char32_t c = DecodeCp1252(std::string_view(&byte, 1))[0];
        Form& f = forms[static_cast<std::size_t>(b)];
        if (c < 0x20 || c == 0x7F) {
            SetCaret(f, false, static_cast<unsigned char>(c));
        } else if (c >= 0x80 && c < 0xA0) {
            SetCaret(f, true, static_cast<unsigned char>(c));
        } else {
            const std::string utf8 = Cp1252ToUtf8(std::string_view(&byte, 1));
            f.size = static_cast<std::uint8_t>(utf8.size());
            f.columns = 1;
            utf8.copy(f.bytes, utf8.size());
        }
    }
    return forms;
}

const std::array<Form, 256> kForms = MakeForms();

// Printable ASCII, the bulk of every board text, is copied as it stands.
bool IsPlain(char c) {
    return static_cast<unsigned char>(c - 0x20) < 0x5F;
}

void Append(std::string& out, unsigned char byte) {
    const Form& f = kForms[byte];
    out.append(f.bytes, f.size);
}

// Copies the run of plain characters at `p`; returns where it stopped.
const char* AppendPlain(std::string& out, const char* p, const char* end) {
    const char* run = p;
    while (p != end && IsPlain(*p)) ++p;
    out.append(run, static_cast<std::size_t>(p - run));
    return p;
}

} // namespace

std::size_t AppendTerminalText(std::string& out, std::string_view board) {
    std::size_t columns = 0;
    const char* p = board.data();
    const char* end = p + board.size();
    while (p != end) {
        const char* run = p;
        p = AppendPlain(out, p, end);
        columns += static_cast<std::size_t>(p - run);
        if (p == end) break;
        const Form& f = kForms[static_cast<unsigned char>(*p++)];
        out.append(f.bytes, f.size);
        columns += f.columns;
    }
    return columns;
}

std::string TerminalText(std::string_view board) {
    std::string out;
    out.reserve(board.size() + board.size() / 2);
    AppendTerminalText(out, board);
    return out;
}

std::string TerminalLines(std::string_view board) {
    std::string out;
    out.reserve(board.size() + board.size() / 2);
    const char* p = board.data();
    const char* end = p + board.size();
    while (p != end) {
        p = AppendPlain(out, p, end);
        if (p == end) break;
        const char c = *p++;
        if (c == '\n' || c == '\t') {
            out += c;
        } else if (c == '\r' && p != end && *p == '\n') {
            // The LF that follows ends the line.
        } else {
            Append(out, static_cast<unsigned char>(c));
        }
    }
    return out;
}

std::string TerminalNative(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    while (p != end) {
        if (*p < 0x80) {
            Append(out, *p++);
            continue;
        }
        char32_t c = 0;
        const std::size_t n = Utf8Length(p, end, c);
        if (n == 0) {
            Append(out, *p++);
        } else if (c < 0xA0) {
            Form f;
            SetCaret(f, true, static_cast<unsigned char>(c));
            out.append(f.bytes, f.size);
            p += n;
        } else {
            out.append(reinterpret_cast<const char*>(p), n);
            p += n;
        }
    }
    return out;
}

} // namespace kesto::cli
