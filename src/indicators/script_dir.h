// Where user-indicator scripts live: the user file's folder, moved by the
// "脚本路径" of the file. Both '/' and '\' separate folders; the case of the
// path is kept, since it reaches the file system.
#ifndef ORBE_INDICATORS_SCRIPT_DIR_H_
#define ORBE_INDICATORS_SCRIPT_DIR_H_

#include <string>
#include <string_view>

namespace orbe {

// As read from the file: one trailing separator dropped (when longer than
// one character), then a separator appended after a trailing '.'.
std::string NormaliseScriptPath(std::string_view script_path);

// The script folder for a user file and its normalised script path: the
// file's folder, one level up for each leading "..\" or "../", then the rest
// of the script path appended with the separator the folder uses.
std::string ComposeScriptDir(std::string_view usr_file, std::string_view script_path);

}  // namespace orbe

#endif  // ORBE_INDICATORS_SCRIPT_DIR_H_
