// orbe-terminal: the command-line host. It links the module as a terminal
// links its import library, registers the host callbacks and drives the module
// headless; each command is one entry of commands.h.
#include <algorithm>
#include <cstdio>
#include <string>

#include "commands.h"

// The embedded interpreter keeps its own allocations until the process ends;
// a sanitizer build of the terminal should not report them as leaks.
extern "C" const char* __lsan_default_suppressions() { return "leak:libpython3"; }

namespace {

using orbe::terminal::kCommands;

void PrintUsage() {
  std::fprintf(stderr, "usage: orbe-terminal <command> [arguments]\n\ncommands:\n");
  for (const auto& command : kCommands) std::fprintf(stderr, "  %-14s %s\n", command.name, command.help);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string name = argc > 1 ? argv[1] : "version";
  if (name == "-h" || name == "--help" || name == "help") {
    PrintUsage();
    return 0;
  }
  for (const auto& command : kCommands) {
    if (name == command.name)
      return command.run(orbe::terminal::CommandArgs(argv + std::min(argc, 2), argv + argc));
  }
  std::fprintf(stderr, "orbe-terminal: unknown command '%s'\n", name.c_str());
  PrintUsage();
  return 2;
}
