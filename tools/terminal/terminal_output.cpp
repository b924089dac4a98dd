#include "terminal_output.h"

#include <cstdio>

#include "orbe/platform/text.h"

namespace orbe::terminal {

void PrintLine(const std::string& gbk) { std::printf("%s\n", GbkToUtf8(gbk).c_str()); }

void PrintField(const char* label, const std::string& gbk) {
  std::printf("%s: %s\n", label, GbkToUtf8(gbk).c_str());
}

int Fail(int status, const std::string& message) {
  std::fprintf(stderr, "orbe-terminal: %s\n", message.c_str());
  return status;
}

}  // namespace orbe::terminal
