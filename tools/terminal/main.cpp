// orbe-terminal: the command-line host. It links the module as a terminal
// links its import library, registers the host callbacks and drives the module
// headless; each command is one entry of commands.h.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include "command_rows.h"
#include "commands.h"
#include "connection_options.h"
#include "orbe/env.h"
#include "orbe/platform/echo_text.h"
#include "terminal_output.h"

// The embedded interpreter keeps its own allocations until the process ends;
// a sanitizer build of the terminal should not report them as leaks.
extern "C" const char* __lsan_default_suppressions() { return "leak:libpython3"; }

namespace {

using orbe::terminal::kCommands;

void PrintUsage(std::FILE* out) {
  std::fprintf(out,
               "usage: orbe-terminal <command> [arguments]\n"
               "       orbe-terminal <command> --help\n"
               "       orbe-terminal --version\n\ncommands:\n");
  for (const auto& command : kCommands) std::fprintf(out, "  %-14s %s\n", command.name, command.help);
  std::fprintf(out, "\nexit status: 0 done, 1 failed, 2 bad command line (docs/usage.md)\n");
}

// The module's error log and what a command writes go to the home folder
// from the start, never the current folder.
void UseHomeFolder(const orbe::terminal::CommandArgs& args) {
  const std::string home = orbe::terminal::HomeFolderOf(args);
  std::error_code ignored;
  std::filesystem::create_directories(home, ignored);
  SetPrivPath(home);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string name = argc > 1 ? argv[1] : "version";
  if (name == "-h" || name == "--help" || name == "help") {
    PrintUsage(stdout);
    return 0;
  }
  if (name == "--version") return orbe::terminal::RunVersion({});
  for (const auto& command : kCommands) {
    if (name != command.name) continue;
    const orbe::terminal::CommandArgs given(argv + std::min(argc, 2), argv + argc);
    orbe::terminal::CommandArgs args;
    if (const std::optional<int> status = orbe::terminal::ReadCommandArgs(name, given, &args)) return *status;
    UseHomeFolder(args);
    return command.run(args);
  }
  orbe::terminal::Fail(2, "unknown command " + orbe::EchoText(name));
  PrintUsage(stderr);
  return 2;
}
