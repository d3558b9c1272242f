// One buffer in front of an output stream: a command that writes many lines
// appends them here, and the stream gets them in large pieces instead of one
// formatted insertion per field.
#pragma once

#include <ostream>
#include <string>

namespace kesto::cli {

class OutBuffer {
  public:
    explicit OutBuffer(std::ostream& out) : out_(out) { text_.reserve(kFlushAt + 4096); }
    ~OutBuffer() { Flush(); }
    OutBuffer(const OutBuffer&) = delete;
    OutBuffer& operator=(const OutBuffer&) = delete;

    // Where output is appended; call Written() after appending a piece.
    std::string& Text() { return text_; }
    void Written() {
        if (text_.size() >= kFlushAt) Flush();
    }
    void Flush() {
        out_.write(text_.data(), static_cast<std::streamsize>(text_.size()));
        text_.clear();
    }

  private:
    static constexpr std::size_t kFlushAt = std::size_t{64} * 1024;
    std::ostream& out_;
    std::string text_;
};

} // namespace kesto::cli
