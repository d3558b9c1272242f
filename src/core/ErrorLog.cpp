#include "ErrorLog.h"

#include <cstdio>
#include <ctime>

namespace kesto {
namespace {

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

} // namespace

void LogError(const ErrorLog& log, std::string_view routine, std::string_view version, std::string_view module,
              std::string_view description) noexcept {
    if (log.path.empty()) return;
    try {
        std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        char stamp[32];
        std::strftime(stamp, sizeof stamp, "%a %Y-%m-%d %H:%M:%S", &local);

        std::string line = stamp;
        line += ' ';
        line += log.exeName;
        line += " v";
        line += version;
        line += "  ";
        line += TrimBlanks(module);
        line += ' ';
        line += TrimBlanks(routine);
        line += " - ";
        line += TrimBlanks(description);
        line += "\r\n";

        // Opened, appended and closed per line: the log is never held open.
        if (std::FILE* f = std::fopen(log.path.c_str(), "ab")) {
            std::fwrite(line.data(), 1, line.size(), f);
            std::fclose(f);
        }
    } catch (...) {
        // A log that cannot be written is dropped; the caller goes on.
    }
}

} // namespace kesto
