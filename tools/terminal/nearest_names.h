// The names a user most likely meant, for an error about one that is unknown.
#ifndef ORBE_TOOLS_TERMINAL_NEAREST_NAMES_H_
#define ORBE_TOOLS_TERMINAL_NEAREST_NAMES_H_

#include <cstddef>
#include <string>
#include <vector>

namespace orbe::terminal {

// At most `most` of `names` (UTF-8) closest to `name` by edit distance over
// characters, nearest first; names that share nothing with it are left out.
std::vector<std::string> NearestNames(const std::string& name, const std::vector<std::string>& names,
                                      std::size_t most = 3);

// ASCII letters and digits as their full-width forms ("上证A股" -> "上证Ａ股"),
// as the module's board names write them.
std::string FullWidthAscii(const std::string& utf8);

}  // namespace orbe::terminal

#endif  // ORBE_TOOLS_TERMINAL_NEAREST_NAMES_H_
