// The grid-loader form of the script command: `script --grid FILE ...`
// loads the script into a grid loader instead of a container. The script
// command hands over its arguments when they hold --grid.
#ifndef ORBE_TOOLS_TERMINAL_GRID_COMMAND_H_
#define ORBE_TOOLS_TERMINAL_GRID_COMMAND_H_

#include <algorithm>

#include "commands.h"

namespace orbe::terminal {

int RunScriptGrid(const CommandArgs& args);

// Whether the script command's arguments ask for a grid loader.
inline bool IsGridScript(const CommandArgs& args) { return std::find(args.begin(), args.end(), "--grid") != args.end(); }

}  // namespace orbe::terminal

#endif  // ORBE_TOOLS_TERMINAL_GRID_COMMAND_H_
