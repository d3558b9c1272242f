// A small JSON value for the CLI's --json output: objects keep their keys in
// insertion order, numbers are integers, and board texts are converted from
// Windows-1252 to UTF-8 on the way in.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace kesto::cli {

class Json {
  public:
    static Json Object() { return Json(Kind::Object); }
    static Json Array() { return Json(Kind::Array); }
    static Json Null() { return Json(Kind::Null); }
    static Json Bool(bool v);
    static Json Number(std::int64_t v);
    // A board text (single-byte Windows-1252); the caller trims it as the window shows it.
    static Json BoardText(std::string_view bytes);
    // A text that already is UTF-8 (keys, fixed words such as "EMAIL").
    static Json Utf8(std::string_view text);

    // Adds a member to an object (keys are ASCII field names).
    Json& Set(std::string_view key, Json value);
    // Appends an element to an array.
    Json& Push(Json value);

    // Writes the value with two-blank indentation and a final line end.
    void Write(std::ostream& out) const;

  private:
    enum class Kind { Null, Bool, Number, String, Array, Object };
    explicit Json(Kind k) : kind_(k) {}
    void WriteAt(std::ostream& out, int depth) const;

    Kind kind_;
    bool bool_ = false;
    std::int64_t number_ = 0;
    std::string text_;              // UTF-8
    std::vector<std::string> keys_; // an object's keys, beside its values in elements_
    std::vector<Json> elements_;
};

// A UTF-8 text as a quoted JSON string (control characters escaped).
std::string JsonQuote(std::string_view utf8);

} // namespace kesto::cli
