// What each terminal command accepts on its command line, for the option
// parser and its --help. One table per command, beside the connection rows
// every command that reaches a data service shares.
#ifndef ORBE_TOOLS_TERMINAL_COMMAND_ROWS_H_
#define ORBE_TOOLS_TERMINAL_COMMAND_ROWS_H_

#include <optional>
#include <string>

#include "command_line.h"
#include "commands.h"

namespace orbe::terminal {

// Reads a command's arguments against its rows into `args` (the canonical
// "--name VALUE" form its own reader takes). Nothing: go on; otherwise the
// exit status (0 after --help).
std::optional<int> ReadCommandArgs(const std::string& command, const CommandArgs& arguments, CommandArgs* args);

}  // namespace orbe::terminal

#endif  // ORBE_TOOLS_TERMINAL_COMMAND_ROWS_H_
