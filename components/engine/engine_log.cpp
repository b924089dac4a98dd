#include "engine_log.h"

#include <cstdarg>
#include <cstdio>
#include <string>

#include "orbe/platform/text.h"

namespace orbe::engine {

void LogLine(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  const std::string text = FormatV(format, args);
  va_end(args);
  // One write per line, so lines of several threads never interleave.
  const std::string line = "FinDataComm: " + GbkToUtf8(text) + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
}

}  // namespace orbe::engine
