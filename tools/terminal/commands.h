// The terminal's commands: one line each in ORBE_TERMINAL_COMMANDS (name,
// entry function, help); the entry is defined in <name>_command.cpp.
#ifndef ORBE_TOOLS_TERMINAL_COMMANDS_H_
#define ORBE_TOOLS_TERMINAL_COMMANDS_H_

#include <string>
#include <vector>

namespace orbe::terminal {

// Arguments after the command name (UTF-8); the result is the exit status.
using CommandArgs = std::vector<std::string>;

// Every row ends with a backslash, so a new command is one inserted line.
#define ORBE_TERMINAL_COMMANDS(COMMAND)                                                           \
  COMMAND("version", RunVersion, "print the module's version and build stamp")                    \
  COMMAND("report-config", RunReportConfig, "print a report INI's cells and expanded statements") \
  COMMAND("report", RunReport, "show a report for a security; print it, write HTML and .xlsx")    \
  COMMAND("lookup", RunLookup, "look securities, companies, industries and boards up")            \
  COMMAND("screen", RunScreen, "drive the screening window: boards, scheme, run, statistics, export") \
  COMMAND("topics", RunTopics, "build a topic selection tree, check and click items, print the selection") \
  COMMAND("script", RunScript, "run a script container page, play user events, write it as HTML")           \
  COMMAND("script-grid", RunScriptGrid, "load a script into a grid loader (script --grid), click, write it as HTML") \
  COMMAND("serve", RunServe, "serve the module's windows to a browser on this machine")                    \
  /* end of the commands */

#define ORBE_DECLARE_COMMAND(name, entry, help) int entry(const CommandArgs& args);
ORBE_TERMINAL_COMMANDS(ORBE_DECLARE_COMMAND)
#undef ORBE_DECLARE_COMMAND

struct Command {
  const char* name;
  int (*run)(const CommandArgs& args);
  const char* help;
};

#define ORBE_COMMAND_ROW(name, entry, help) Command{name, entry, help},
inline constexpr Command kCommands[] = {ORBE_TERMINAL_COMMANDS(ORBE_COMMAND_ROW)};
#undef ORBE_COMMAND_ROW

}  // namespace orbe::terminal

#endif  // ORBE_TOOLS_TERMINAL_COMMANDS_H_
