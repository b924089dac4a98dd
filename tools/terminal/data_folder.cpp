#include "data_folder.h"

#include <filesystem>

namespace orbe::terminal {

std::string DataFolder(const std::string& probe) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path program = fs::read_symlink("/proc/self/exe", error);
  // Installed: PREFIX/bin/orbe-terminal beside PREFIX/share/orbe.
  const fs::path installed = program.parent_path().parent_path() / "share" / "orbe";
  if (fs::exists(installed / probe, error)) return installed.string();
  // A build tree: the source checkout's data folder above the build folder.
  for (fs::path dir = program.parent_path(); !dir.empty() && dir != dir.root_path(); dir = dir.parent_path()) {
    if (fs::exists(dir / "data" / probe, error)) return (dir / "data").string();
  }
  // Where an installed tree would have it, so that a message names that place.
  return installed.string();
}

}  // namespace orbe::terminal
