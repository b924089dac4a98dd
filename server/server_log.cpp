#include "server_log.h"

#include <unistd.h>

#include <array>
#include <atomic>
#include <cstdarg>
#include <ctime>
#include <string>

#include "orbe/platform/text.h"

namespace orbe::server {
namespace {

std::atomic<LogLevel> g_level{LogLevel::kInfo};

constexpr std::array<std::string_view, 5> kLevelNames = {"debug", "info", "warn", "error", "off"};

}  // namespace

std::optional<LogLevel> ParseLogLevel(std::string_view text) {
  for (std::size_t i = 0; i < kLevelNames.size(); ++i) {
    if (EqualsIgnoreAsciiCase(text, kLevelNames[i])) return static_cast<LogLevel>(i);
  }
  return std::nullopt;
}

void SetLogLevel(LogLevel level) { g_level.store(level); }

bool LogEnabled(LogLevel level) { return level != LogLevel::kOff && level >= g_level.load(); }

void LogLine(LogLevel level, const char* format, ...) {
  if (!LogEnabled(level)) return;
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  tm local{};
  localtime_r(&now.tv_sec, &local);
  char stamp[32];
  strftime(stamp, sizeof(stamp), "%Y-%m-%d %H:%M:%S", &local);
  std::va_list args;
  va_start(args, format);
  std::string line = Format("%s.%03ld %-5s ", stamp, now.tv_nsec / 1000000,
                            kLevelNames[static_cast<int>(level)].data()) + FormatV(format, args);
  va_end(args);
  line.push_back('\n');
  // A log line lost to a full pipe is not worth failing a request over.
  [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, line.data(), line.size());
}

}  // namespace orbe::server
