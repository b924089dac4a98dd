#include "screen_catalogue.h"

#include <cstdlib>
#include <filesystem>

#include "data_folder.h"

namespace orbe::terminal {
namespace {

namespace fs = std::filesystem;

// The catalogue is the user's: user indicators are edited and the logic
// evaluator writes its scripts beside them, so it lives in the private folder,
// copied from the shipped one on first use.
bool SeedCatalogue(const std::string& shipped, const std::string& folder, std::string* error) {
  std::error_code failed;
  if (fs::exists(folder, failed)) return true;
  fs::create_directories(fs::path(folder).parent_path(), failed);
  fs::copy(shipped, folder, fs::copy_options::recursive, failed);
  if (failed) *error = "cannot copy the indicator catalogue to " + folder + ": " + failed.message();
  return !failed;
}

}  // namespace

bool ResolveScreenFiles(ScreenOptions& options, const ConnectionOptions& connection, std::string* error) {
  const std::string data = DataFolder("schemes/system_schemes.ini");
  const std::string home = HomeFolder(connection);
  if (options.schemes.empty()) options.schemes = data + "/schemes/system_schemes.ini";
  if (options.user_schemes.empty()) options.user_schemes = home + "schemes/user_schemes.ini";
  if (options.indicators.empty()) {
    options.indicators = home + "indicators";
    if (!SeedCatalogue(data + "/indicators", options.indicators, error)) return false;
  }
  return true;
}

IndexCatalogue LoadScreenCatalogue(ScreenOptions& options, const ConnectionOptions& connection, std::string* error) {
  if (!ResolveScreenFiles(options, connection, error)) return nullptr;
  std::error_code ignored;
  fs::create_directories(fs::path(options.user_schemes).parent_path(), ignored);
  // The catalogue imports user scripts: keep byte-code caches out of the data folder.
  setenv("PYTHONDONTWRITEBYTECODE", "1", 0);
  IndexCatalogue mgr(CreateIndexMgrInstance());
  const std::string dir = options.indicators + "/";
  if (mgr->LoadIndexes(dir + "hq_index.ini", dir + "sys_index.xml", dir + "usr_index.ini") != 1) {
    *error = "the indicator catalogue in " + options.indicators + " does not load";
    return nullptr;
  }
  return mgr;
}

}  // namespace orbe::terminal
