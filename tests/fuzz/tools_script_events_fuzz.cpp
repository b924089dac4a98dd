// Arbitrary bytes as the lines of an events file of `orbe-terminal script`:
// every line parses or is refused with a reason, and what parses keeps its
// promises (a positive widget id, an action, a wait of one number). ASCII
// literals only: this is built with clang.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "script_events.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  for (std::size_t start = 0; start <= input.size();) {
    const std::size_t end = std::min(input.find('\n', start), input.size());
    const std::string_view line = input.substr(start, end - start);
    std::string error;
    const auto event = orbe::terminal::ParseScriptEventLine(line, &error);
    if (event) {
      if (!error.empty() || event->action.empty()) __builtin_trap();
      using Target = orbe::terminal::ScriptEventLine::Target;
      if (event->target == Target::kWidget && event->widget <= 0) __builtin_trap();
      if (event->target == Target::kWait &&
          (event->args.size() != 1 || !orbe::terminal::EventInt(event->args[0]))) {
        __builtin_trap();
      }
      for (const std::string& arg : event->args) {
        if (arg.size() > line.size()) __builtin_trap();
      }
    } else if (line.size() > orbe::terminal::kMaxEventLineBytes && error.empty()) {
      __builtin_trap();
    }
    start = end + 1;
  }
  return 0;
}
