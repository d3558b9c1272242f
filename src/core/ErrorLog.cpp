#include "ErrorLog.h"

#include "Bytes.h"
#include "DateFunctions.h"
#include "platform/File.h"

#include <cstdio>
#include <ctime>

namespace kesto {

void LogError(const ErrorLog& log, std::string_view routine, std::string_view version,
              std::string_view module, std::string_view description) noexcept {
    if (log.path.empty()) return;
    try {
        std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        // The weekday comes from our own English names: strftime's %a follows the
        // locale, which the windows switch to the user's.
        char stamp[80];
        std::snprintf(stamp, sizeof stamp, " %04d-%02d-%02d %02d:%02d:%02d", local.tm_year + 1900,
                      local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);

        std::string line = FormatCreation(local).substr(0, 3) + stamp;
        line += ' ';
        line += log.exeName;
        line += " v";
        line += version;
        line += "  ";
        line += TrimView(module);
        line += ' ';
        line += TrimView(routine);
        line += " - ";
        line += TrimView(description);
        line += "\r\n";

        // Opened, appended with one write and closed per line: the log is never held
        // open, and lines of several copies of Kesto never run into each other.
        (void)platform::Append(log.path, line);
    } catch (...) {
        // A log that cannot be written is dropped; the caller goes on.
    }
}

void LogFailure(const ErrorLog& log, std::string_view module, std::string_view routine,
                const Error& error) noexcept {
    LogError(log, routine, AppVersion, module, error.description);
}

} // namespace kesto
