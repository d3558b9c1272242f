// The error log HMRERROR.LOG and the one guard every routine wraps its body in.
#pragma once

#include <exception>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kesto {

inline constexpr std::string_view AppVersion = "1.0.060711";

// A failure inside a routine; what() is the description written to the log
// ("File not found", "Disk full", "Bad record number", ...).
class KestoError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Where failures are written. `path` is absolute (the directory that held
// SYSPATHS.CFG at start, whatever the current directory becomes later);
// an empty path drops every line.
struct ErrorLog {
    std::string path;
    std::string exeName = "kesto";
};

// Appends one line "Ddd yyyy-mm-dd hh:nn:ss exe vVERSION  module routine - description"
// followed by CR LF. Never throws: a log that cannot be written is dropped silently.
void LogError(const ErrorLog& log, std::string_view routine, std::string_view version,
              std::string_view module, std::string_view description) noexcept;

// Runs body; on any failure writes one log line naming routine and module and
// returns false. The caller then sets the result the routine documents for a failure.
template <class Body>
bool Guard(const ErrorLog& log, std::string_view module, std::string_view routine, Body&& body) noexcept {
    try {
        body();
        return true;
    } catch (const std::bad_alloc&) {
        LogError(log, routine, AppVersion, module, "Out of memory");
    } catch (const std::exception& e) {
        LogError(log, routine, AppVersion, module, e.what());
    } catch (...) {
        LogError(log, routine, AppVersion, module, "Unknown error");
    }
    return false;
}

} // namespace kesto
