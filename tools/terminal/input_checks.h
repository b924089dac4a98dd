// Checks of what a command is given, made before any work starts, so that a
// wrong file or an unwritable output is told at once and in plain words.
#ifndef ORBE_TOOLS_TERMINAL_INPUT_CHECKS_H_
#define ORBE_TOOLS_TERMINAL_INPUT_CHECKS_H_

#include <string>

namespace orbe::terminal {

// A report INI: an existing, non-empty GBK text file with a section. A UTF-8
// file is named as such (the module reads GBK). False with *error.
bool CheckReportIni(const std::string& path, std::string* error);

// `path` can be written by `option`: not a folder, in a folder that exists and
// may be written. False with *error naming the option and the path.
bool CheckOutputPath(const std::string& option, const std::string& path, std::string* error);

}  // namespace orbe::terminal

#endif  // ORBE_TOOLS_TERMINAL_INPUT_CHECKS_H_
