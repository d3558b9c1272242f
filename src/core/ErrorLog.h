// The error log HMRERROR.LOG: one line for every failure a routine reports.
#pragma once

#include "Result.h"

#include <string>
#include <string_view>

namespace kesto {

// NOLINTNEXTLINE(readability-identifier-naming): a design name
inline constexpr std::string_view AppVersion = "1.0.060711";

// Where failures are written. `path` is absolute (the directory that held
// SYSPATHS.CFG at start, whatever the current directory becomes later);
// an empty path drops every line.
struct ErrorLog {
    std::string path;
    std::string exeName = "kesto";
};

// Appends one line "Ddd yyyy-mm-dd hh:nn:ss exe vVERSION  module routine - description"
// followed by CR LF. Never fails the caller: a log that cannot be written is dropped silently.
void LogError(const ErrorLog& log, std::string_view routine, std::string_view version,
              std::string_view module, std::string_view description) noexcept;

// The line of a failure of `routine` in `module`, under this program's version.
void LogFailure(const ErrorLog& log, std::string_view module, std::string_view routine,
                const Error& error) noexcept;

// Passes a routine's result on, writing the line for its failure first.
template <class T>
Result<T> Logged(const ErrorLog& log, std::string_view module, std::string_view routine, Result<T> result) {
    if (!result) LogFailure(log, module, routine, result.error());
    return result;
}

} // namespace kesto
