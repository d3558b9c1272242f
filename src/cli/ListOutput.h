// The rows of `kesto-cli list`, as text lines or as JSON, written one at a time
// as the walk over the index hands them over.
#pragma once

#include "MailList.h"
#include "OutBuffer.h"

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>

namespace kesto::cli {

// The icon column's key, as the window names its images.
const char* IconKey(RowState state);

// The text list's first line (mailbox, user, count) and, when there are rows,
// the column captions.
std::string ListHead(Mailbox mailbox, std::int32_t user, std::size_t count);
// One row of the text list, its columns padded to line up on a terminal.
void AppendListLine(std::string& out, const MailRowView& row);

// The JSON list: {"mailbox": ..., "user": ..., "rows": [...]}, laid out as
// JsonWriter lays out a document, each row written straight into the output
// rather than member by member. Nothing is written before the first row or
// Finish(), so a list that fails at once leaves no output.
class ListJson {
  public:
    ListJson(std::ostream& out, Mailbox mailbox, std::int32_t user);
    void Row(const MailRowView& row);
    void Finish();

  private:
    void Begin();

    std::ostream& stream_;
    Mailbox mailbox_;
    std::int32_t user_;
    std::optional<OutBuffer> out_;
    bool rows_ = false;
};

} // namespace kesto::cli
