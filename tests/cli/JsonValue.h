// A strict little JSON reader for checking the CLI's output: any syntax error fails the parse.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kesto::test {

struct JsonValue {
    enum class Type { Null, Bool, Number, String, Array, Object } type = Type::Null;
    bool boolean = false;
    double number = 0;
    std::string text;
    std::vector<JsonValue> items;  // array elements, or an object's values
    std::vector<std::string> keys; // an object's keys, beside its values

    const JsonValue* Find(std::string_view key) const {
        for (std::size_t i = 0; i < keys.size(); ++i)
            if (keys[i] == key) return &items[i];
        return nullptr;
    }
};

class JsonReader {
  public:
    static std::optional<JsonValue> Parse(std::string_view text) {
        JsonReader r{text};
        JsonValue v;
        if (!r.Value(v) || (r.Space(), r.p_ != text.size())) return std::nullopt;
        return v;
    }

  private:
    explicit JsonReader(std::string_view t) : t_(t) {}
    std::string_view t_;
    std::size_t p_ = 0;

    void Space() {
        while (p_ < t_.size() && std::string_view(" \n\r\t").find(t_[p_]) != std::string_view::npos) ++p_;
    }
    bool Eat(char c) { return Space(), p_ < t_.size() && t_[p_] == c ? (++p_, true) : false; }
    bool Word(std::string_view w) { return t_.substr(p_, w.size()) == w ? (p_ += w.size(), true) : false; }

    bool String(std::string& out) {
        if (!Eat('"')) return false;
        while (p_ < t_.size()) {
            char c = t_[p_++];
            if (c == '"') return true;
            if (static_cast<unsigned char>(c) < 0x20) return false;
            if (c != '\\') {
                out += c;
            } else if (p_ < t_.size() &&
                       std::string_view("\"\\/nrt").find(t_[p_]) != std::string_view::npos) {
                char e = t_[p_++];
                out += e == 'n' ? '\n' : e == 'r' ? '\r' : e == 't' ? '\t' : e;
            } else if (Word("u00") && p_ + 2 <= t_.size()) { // the writer escapes only control characters
                const int c = std::stoi(std::string(t_.substr(p_, 2)), nullptr, 16);
                if (c >= 0x80) out += static_cast<char>(0xC0 | (c >> 6)); // C1, in UTF-8
                out += static_cast<char>(c < 0x80 ? c : 0x80 | (c & 0x3F));
                p_ += 2;
            } else {
                return false;
            }
        }
        return false;
    }

    bool Value(JsonValue& v) {
        Space();
        if (Eat('{')) {
            v.type = JsonValue::Type::Object;
            if (Eat('}')) return true;
            do {
                v.keys.emplace_back();
                v.items.emplace_back();
                if (!String(v.keys.back()) || !Eat(':') || !Value(v.items.back())) return false;
            } while (Eat(','));
            return Eat('}');
        }
        if (Eat('[')) {
            v.type = JsonValue::Type::Array;
            if (Eat(']')) return true;
            do {
                v.items.emplace_back();
                if (!Value(v.items.back())) return false;
            } while (Eat(','));
            return Eat(']');
        }
        if (p_ < t_.size() && t_[p_] == '"') {
            v.type = JsonValue::Type::String;
            return String(v.text);
        }
        if (Word("true") || Word("false")) {
            v.type = JsonValue::Type::Bool;
            v.boolean = t_[p_ - 1] == 'e' && t_[p_ - 2] == 'u';
            return true;
        }
        if (Word("null")) return true;
        std::size_t start = p_;
        Word("-");
        std::size_t digits = p_;
        while (p_ < t_.size() && t_[p_] >= '0' && t_[p_] <= '9') ++p_;
        if (p_ == digits || (t_[digits] == '0' && p_ - digits > 1)) return false;
        v.type = JsonValue::Type::Number;
        v.number = std::stod(std::string(t_.substr(start, p_ - start)));
        return true;
    }
};

} // namespace kesto::test
