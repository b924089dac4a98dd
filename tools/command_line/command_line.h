// The command lines of the tools, read by one maintained option parser
// (CLI11) from a table per command: every option takes "--name VALUE" and
// "--name=VALUE", --help prints the table with its ranges, and the messages
// have one wording. What it hands back is the command line in one form, for
// the command's own table of what each option does.
#ifndef ORBE_TOOLS_COMMAND_LINE_COMMAND_LINE_H_
#define ORBE_TOOLS_COMMAND_LINE_COMMAND_LINE_H_

#include <optional>
#include <string>
#include <vector>

namespace orbe::tools {

// Exit statuses of every tool (docs/usage.md).
inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

struct OptionRow {
  const char* name;   // "--scheme"
  const char* value;  // "NAME" for the help; nullptr: a flag without a value
  const char* help;   // what it does, with the values it takes
};

struct CommandLineSpec {
  std::string program;                // "orbe-terminal screen"
  std::string about;                  // one line for the help
  std::vector<OptionRow> options;
  std::vector<OptionRow> extra;       // more rows (the connection options)
  int most_positional = 0;            // arguments that are not options
  const char* positional = nullptr;   // their names for the help, e.g. "FILE [SECURITY [TERM]]"
};

// Reads args against the command's table of options. Nothing: *canonical holds every option as
// "--name VALUE" (a flag alone), in the order given, then the positional
// arguments. Otherwise the exit status: kExitDone after --help or --version
// (printed on stdout), kExitUsage with the message on stderr.
std::optional<int> ReadCommandLine(const CommandLineSpec& spec, const std::vector<std::string>& args,
                                   std::vector<std::string>* canonical, const char* version = nullptr);

}  // namespace orbe::tools

#endif  // ORBE_TOOLS_COMMAND_LINE_COMMAND_LINE_H_
