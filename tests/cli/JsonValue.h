// A strict little JSON reader for checking the CLI's output: any syntax error fails the parse.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
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
    const std::vector<std::string>& Keys() const { return keys; }
};

class JsonReader {
  public:
    static std::optional<JsonValue> Parse(std::string_view text) {
        JsonReader r(text);
        JsonValue v;
        if (!r.Value(v)) return std::nullopt;
        r.Space();
        if (r.pos_ != text.size()) return std::nullopt;
        return v;
    }

  private:
    explicit JsonReader(std::string_view t) : t_(t) {}

    void Space() {
        while (pos_ < t_.size() &&
               (t_[pos_] == ' ' || t_[pos_] == '\n' || t_[pos_] == '\r' || t_[pos_] == '\t'))
            ++pos_;
    }
    bool Eat(char c) {
        Space();
        if (pos_ < t_.size() && t_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }
    bool Word(std::string_view w) {
        if (t_.substr(pos_, w.size()) != w) return false;
        pos_ += w.size();
        return true;
    }
    bool String(std::string& out) {
        if (!Eat('"')) return false;
        while (pos_ < t_.size()) {
            char c = t_[pos_++];
            if (c == '"') return true;
            if (static_cast<unsigned char>(c) < 0x20) return false;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (pos_ >= t_.size()) return false;
            char e = t_[pos_++];
            switch (e) {
            case '"':
                out += '"';
                break;
            case '\\':
                out += '\\';
                break;
            case '/':
                out += '/';
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'u': {
                if (pos_ + 4 > t_.size()) return false;
                unsigned v = 0;
                for (int i = 0; i < 4; ++i) {
                    char h = t_[pos_++];
                    v = v * 16 + static_cast<unsigned>(h >= '0' && h <= '9'   ? h - '0'
                                                       : h >= 'a' && h <= 'f' ? h - 'a' + 10
                                                       : h >= 'A' && h <= 'F' ? h - 'A' + 10
                                                                              : 99);
                    if (v > 0xFFFF) return false;
                }
                if (v >= 0x80) return false; // the writer escapes only control characters
                out += static_cast<char>(v);
                break;
            }
            default:
                return false;
            }
        }
        return false;
    }
    bool Value(JsonValue& v) {
        Space();
        if (pos_ >= t_.size()) return false;
        char c = t_[pos_];
        if (c == '{') {
            ++pos_;
            v.type = JsonValue::Type::Object;
            if (Eat('}')) return true;
            do {
                std::string key;
                JsonValue item;
                if (!String(key) || !Eat(':') || !Value(item)) return false;
                v.keys.push_back(std::move(key));
                v.items.push_back(std::move(item));
            } while (Eat(','));
            return Eat('}');
        }
        if (c == '[') {
            ++pos_;
            v.type = JsonValue::Type::Array;
            if (Eat(']')) return true;
            do {
                JsonValue item;
                if (!Value(item)) return false;
                v.items.push_back(std::move(item));
            } while (Eat(','));
            return Eat(']');
        }
        if (c == '"') {
            v.type = JsonValue::Type::String;
            return String(v.text);
        }
        if (Word("true") || Word("false")) {
            v.type = JsonValue::Type::Bool;
            v.boolean = t_[pos_ - 1] == 'e' && t_[pos_ - 2] == 'u';
            return true;
        }
        if (Word("null")) return true;
        std::size_t start = pos_;
        if (pos_ < t_.size() && t_[pos_] == '-') ++pos_;
        std::size_t digits = pos_;
        while (pos_ < t_.size() && t_[pos_] >= '0' && t_[pos_] <= '9')
            ++pos_;
        if (pos_ == digits || (t_[digits] == '0' && pos_ - digits > 1)) return false;
        v.type = JsonValue::Type::Number;
        v.number = std::stod(std::string(t_.substr(start, pos_ - start)));
        return true;
    }

    std::string_view t_;
    std::size_t pos_ = 0;
};

} // namespace kesto::test
