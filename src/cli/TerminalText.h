// Board text on a terminal. Mail comes from other boards and may hold any byte;
// written raw, an escape sequence in a subject would retitle or clear the terminal,
// or worse. Every piece of board text the tool prints goes through here:
// Windows-1252 becomes UTF-8, and control characters are shown as `cat -v` shows
// them: ^[ for ESC, ^@ for NUL, ^? for DEL, and M-^] and the like for the five bytes
// Windows-1252 leaves unassigned (0x81 0x8D 0x8F 0x90 0x9D), which decode to C1
// controls a terminal could act on. The board's bytes themselves never change.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kesto::cli {

// A one-line field (handle, subject, date, a record field): every control is shown.
std::string TerminalText(std::string_view board);
// The same appended to `out`; returns the characters added, which is also the
// number of terminal columns they take.
std::size_t AppendTerminalText(std::string& out, std::string_view board);

// A message text: its line ends (CR LF or LF) become LF and tabs stay; a lone CR
// is a control like any other.
std::string TerminalLines(std::string_view board);

// Text that is already the system's own rather than the board's: paths, the
// system's error texts, command-line arguments, whole messages for stderr.
// UTF-8 stays as it is, a byte that is not part of UTF-8 is read as
// Windows-1252, and controls, C1 ones too, are shown as above.
std::string TerminalNative(std::string_view text);

} // namespace kesto::cli
