// The --json output in the tool's one layout: two-blank indentation, keys in the
// order they were added, and every control character (DEL and C1 too) as \u00XX,
// so a board text never reaches a terminal as a control code and the bytes stay
// the same from one version to the next. Small documents are built as nlohmann/json
// values; long lists are written member by member without building a value.
#pragma once

#include "OutBuffer.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace kesto::cli {

using Json = nlohmann::ordered_json;

// A board text (single-byte Windows-1252) as a JSON string; the caller trims it
// as the window shows it.
Json BoardText(std::string_view bytes);

// Appends a board text as a JSON string, quotes included, for writers that lay
// out their own rows.
void AppendJsonBoardText(std::string& out, std::string_view bytes);

// Writes one JSON document. Write() takes a whole value; Begin/Key/Value/End
// build a container member by member, so a long list is written row by row
// instead of being held as one document.
class JsonWriter {
  public:
    explicit JsonWriter(std::ostream& out);
    JsonWriter(const JsonWriter&) = delete;
    JsonWriter& operator=(const JsonWriter&) = delete;

    // The whole output: `value` and a line end.
    static void Write(std::ostream& out, const Json& value);

    void BeginObject();
    void BeginArray();
    void Key(std::string_view key); // the next member of the open object
    void Value(const Json& value);  // the next member's value or array element
    // The same for one plain value, without making a Json of it.
    void BoardText(std::string_view bytes); // a board text, as ::BoardText gives it
    void String(std::string_view utf8);     // a text of the tool's own
    void Number(std::int64_t n);
    void Boolean(bool b);
    void End(); // closes the open container; the outermost one ends the line

  private:
    struct Level {
        bool object = false;
        bool empty = true;
    };
    void NextItem();
    void Open(char bracket, bool object);
    void Done(); // after a value: the line end of a document that is only this value

    OutBuffer out_;
    std::vector<Level> levels_;
    bool afterKey_ = false;
};

} // namespace kesto::cli
