#include "indicators/script_dir.h"

namespace orbe {
namespace {

constexpr std::string_view kSeparators = "/\\";

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// The position of a parent step "..\" or "../", or npos.
std::size_t FindParentStep(std::string_view path) {
  for (std::size_t at = path.find(".."); at != std::string_view::npos; at = path.find("..", at + 1)) {
    if (at + 2 < path.size() && IsSeparator(path[at + 2])) return at;
  }
  return std::string_view::npos;
}

}  // namespace

std::string NormaliseScriptPath(std::string_view script_path) {
  std::string path(script_path);
  if (path.size() > 1 && IsSeparator(path.back())) path.pop_back();
  if (!path.empty() && path.back() == '.') path.push_back('/');
  return path;
}

std::string ComposeScriptDir(std::string_view usr_file, std::string_view script_path) {
  // A file named without a folder lies in the working directory.
  std::string_view dir = ".";
  const std::size_t file_cut = usr_file.find_last_of(kSeparators);
  if (file_cut != std::string_view::npos) dir = usr_file.substr(0, file_cut);
  const char separator = file_cut != std::string_view::npos ? usr_file[file_cut] : '/';
  std::string_view rest = script_path;
  // Each parent step drops the first three characters, wherever the step
  // itself stands, as the file format has always been read.
  while (FindParentStep(rest) != std::string_view::npos) {
    rest.remove_prefix(rest.size() < 3 ? rest.size() : 3);
    const std::size_t cut = dir.find_last_of(kSeparators);
    if (cut == std::string_view::npos) break;
    dir = dir.substr(0, cut);
  }
  std::string result(dir);
  if (!rest.empty()) result.append(1, separator).append(rest);
  return result;
}

}  // namespace orbe
