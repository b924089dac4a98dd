// The data folder of the source tree the terminal was built in.
#ifndef ORBE_TOOLS_TERMINAL_DATA_FOLDER_H_
#define ORBE_TOOLS_TERMINAL_DATA_FOLDER_H_

#include <string>

namespace orbe::terminal {

// The "data" folder beside the program's build folder that holds `probe` (a
// path inside it), or "data" when none does.
std::string DataFolder(const std::string& probe);

}  // namespace orbe::terminal

#endif  // ORBE_TOOLS_TERMINAL_DATA_FOLDER_H_
