// Where the terminal finds what it ships: installed or in the source tree.
#ifndef ORBE_TOOLS_TERMINAL_DATA_FOLDER_H_
#define ORBE_TOOLS_TERMINAL_DATA_FOLDER_H_

#include <string>

namespace orbe::terminal {

// The folder of what the tools ship that holds `probe` (a path inside it):
// PREFIX/share/orbe of an installed program, else the "data" folder of the
// source tree the program was built in; the installed place when neither has it.
std::string DataFolder(const std::string& probe);

}  // namespace orbe::terminal

#endif  // ORBE_TOOLS_TERMINAL_DATA_FOLDER_H_
