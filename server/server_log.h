// Line-by-line log on stderr with a threshold. Lines are written whole with
// one write, so lines of concurrent writers never mix.
#ifndef ORBE_SERVER_SERVER_LOG_H_
#define ORBE_SERVER_SERVER_LOG_H_

#include <optional>
#include <string_view>

namespace orbe::server {

enum class LogLevel { kDebug = 0, kInfo = 1, kWarn = 2, kError = 3, kOff = 4 };

// "debug", "info", "warn", "error", "off", any case.
std::optional<LogLevel> ParseLogLevel(std::string_view text);
void SetLogLevel(LogLevel level);
bool LogEnabled(LogLevel level);
void LogLine(LogLevel level, const char* format, ...) __attribute__((format(printf, 2, 3)));

}  // namespace orbe::server

#endif  // ORBE_SERVER_SERVER_LOG_H_
