#include "data_folder.h"

#include <filesystem>

namespace orbe::terminal {

std::string DataFolder(const std::string& probe) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path program = fs::read_symlink("/proc/self/exe", error);
  for (fs::path dir = program.parent_path(); !dir.empty() && dir != dir.root_path(); dir = dir.parent_path()) {
    if (fs::exists(dir / "data" / probe)) return (dir / "data").string();
  }
  return "data";
}

}  // namespace orbe::terminal
