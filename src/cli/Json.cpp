#include "Json.h"

#include "Cp1252.h"

#include <cstdio>
#include <ostream>

namespace kesto::cli {

Json Json::Bool(bool v) {
    Json j(Kind::Bool);
    j.bool_ = v;
    return j;
}

Json Json::Number(std::int64_t v) {
    Json j(Kind::Number);
    j.number_ = v;
    return j;
}

Json Json::BoardText(std::string_view bytes) {
    return Utf8(Cp1252ToUtf8(bytes));
}

Json Json::Utf8(std::string_view text) {
    Json j(Kind::String);
    j.text_ = std::string(text);
    return j;
}

Json& Json::Set(std::string_view key, Json value) {
    keys_.emplace_back(key);
    elements_.push_back(std::move(value));
    return *this;
}

Json& Json::Push(Json value) {
    elements_.push_back(std::move(value));
    return *this;
}

std::string JsonQuote(std::string_view utf8) {
    std::string out = "\"";
    for (char c : utf8) {
        auto u = static_cast<unsigned char>(c);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (u < 0x20 || u == 0x7F) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", u);
                out += buf;
            } else {
                out += c;
            }
        }
    }
    out += '"';
    return out;
}

void Json::Write(std::ostream& out) const {
    WriteAt(out, 0);
    out << '\n';
}

void Json::WriteAt(std::ostream& out, int depth) const {
    const std::string pad(static_cast<std::size_t>(depth + 1) * 2, ' ');
    const std::string closePad(static_cast<std::size_t>(depth) * 2, ' ');
    switch (kind_) {
    case Kind::Null:
        out << "null";
        break;
    case Kind::Bool:
        out << (bool_ ? "true" : "false");
        break;
    case Kind::Number:
        out << number_;
        break;
    case Kind::String:
        out << JsonQuote(text_);
        break;
    case Kind::Array:
        if (elements_.empty()) {
            out << "[]";
            break;
        }
        out << "[\n";
        for (std::size_t i = 0; i < elements_.size(); ++i) {
            out << pad;
            elements_[i].WriteAt(out, depth + 1);
            out << (i + 1 < elements_.size() ? ",\n" : "\n");
        }
        out << closePad << ']';
        break;
    case Kind::Object:
        if (elements_.empty()) {
            out << "{}";
            break;
        }
        out << "{\n";
        for (std::size_t i = 0; i < elements_.size(); ++i) {
            out << pad << JsonQuote(keys_[i]) << ": ";
            elements_[i].WriteAt(out, depth + 1);
            out << (i + 1 < elements_.size() ? ",\n" : "\n");
        }
        out << closePad << '}';
        break;
    }
}

} // namespace kesto::cli
