#include "JsonOutput.h"

#include "Cp1252.h"

#include <ostream>
#include <string>

namespace kesto::cli {

Json BoardText(std::string_view bytes) {
    return Json(Cp1252ToUtf8(bytes));
}

// Collects the serializer's output and hands it to the stream in large pieces.
// The serializer writes \b and \f for backspace and form feed and DEL as it is;
// the sink turns them into \u0008, \u000c and \u007f like every other control
// character. A backslash only ever starts an escape in the output, and DEL can
// only stand inside a string, so looking at the bytes is enough.
class JsonWriter::Sink final : public nlohmann::detail::output_adapter_protocol<char> {
  public:
    explicit Sink(std::ostream& out) : out_(out) { buffer_.reserve(kFlushAt + 64); }
    ~Sink() override { Flush(); }

    void write_character(char c) override { write_characters(&c, 1); }

    void write_characters(const char* s, std::size_t length) override {
        const char* end = s + length;
        while (s != end) {
            if (escape_) {
                escape_ = false;
                if (*s == 'b')
                    buffer_ += "\\u0008";
                else if (*s == 'f')
                    buffer_ += "\\u000c";
                else {
                    buffer_ += '\\';
                    buffer_ += *s;
                }
                ++s;
                continue;
            }
            const char* plain = s;
            while (s != end && *s != '\\' && *s != '\x7f') ++s;
            buffer_.append(plain, static_cast<std::size_t>(s - plain));
            if (s == end) break;
            if (*s == '\\')
                escape_ = true;
            else
                buffer_ += "\\u007f";
            ++s;
        }
        if (buffer_.size() >= kFlushAt) Flush();
    }

    void Flush() {
        out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
        buffer_.clear();
    }

  private:
    static constexpr std::size_t kFlushAt = 64 * 1024;
    std::ostream& out_;
    std::string buffer_;
    bool escape_ = false;
};

JsonWriter::JsonWriter(std::ostream& out)
    : sink_(std::make_shared<Sink>(out)),
      // Board texts are valid UTF-8 once converted; anything else would still be written, never thrown.
      serializer_(std::make_unique<nlohmann::detail::serializer<Json>>(
          sink_, ' ', nlohmann::detail::error_handler_t::replace)) {}

JsonWriter::~JsonWriter() {
    sink_->Flush();
}

void JsonWriter::Write(std::ostream& out, const Json& value) {
    JsonWriter w(out);
    w.Value(value);
}

void JsonWriter::NextItem() {
    if (afterKey_ || levels_.empty()) return;
    Level& level = levels_.back();
    sink_->write_characters(level.empty ? "\n" : ",\n", level.empty ? 1 : 2);
    level.empty = false;
    const std::string indent(levels_.size() * 2, ' ');
    sink_->write_characters(indent.data(), indent.size());
}

void JsonWriter::Open(char bracket, bool object) {
    NextItem();
    afterKey_ = false;
    sink_->write_character(bracket);
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
    serializer_->dump(Json(key), false, false, 0);
    sink_->write_characters(": ", 2);
    afterKey_ = true;
}

void JsonWriter::Value(const Json& value) {
    NextItem();
    afterKey_ = false;
    serializer_->dump(value, true, false, 2, static_cast<unsigned>(levels_.size() * 2));
    if (levels_.empty()) sink_->write_character('\n');
}

void JsonWriter::End() {
    const Level level = levels_.back();
    levels_.pop_back();
    if (!level.empty) {
        sink_->write_character('\n');
        const std::string indent(levels_.size() * 2, ' ');
        sink_->write_characters(indent.data(), indent.size());
    }
    sink_->write_character(level.object ? '}' : ']');
    if (levels_.empty()) sink_->write_character('\n');
}

} // namespace kesto::cli
