// screen: drives the screening window headless, as a user would: checks
// boards, opens a scheme or builds one from --cond rows, runs it, and then
// optionally computes the statistics, exports the grid, saves the result as
// a board or the conditions as a scheme, and writes a snapshot of the window.
// Prints the result grid, the summary line and the statistics in UTF-8.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "commands.h"
#include "connection_options.h"
#include "data_folder.h"
#include "orbe/indicators/index_mgr.h"
#include "orbe/indicators/index_scheme.h"
#include "orbe/platform/text.h"
#include "screen_options.h"
#include "screen_window.h"
#include "terminal_output.h"

namespace orbe::terminal {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kBoardNameBytes = 19;  // the host's 20-byte board-name field

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

void PrintTable(const std::vector<std::vector<std::string>>& table) {
  for (const std::vector<std::string>& line : table) {
    std::string text;
    for (std::size_t i = 0; i < line.size(); ++i) text += (i == 0 ? "" : "\t") + line[i];
    std::printf("%s\n", text.c_str());
  }
}

struct CatalogueCloser {
  void operator()(IIndexMgr* mgr) const { DeleteIndexMgrInstance(mgr); }
};

// The scheme and its rows, as the window will screen them.
bool SetUpScheme(ScreenWindow& window, const ScreenOptions& options, std::string* error) {
  if (!options.scheme.empty() && !window.OpenScheme(Utf8ToGbk(options.scheme))) {
    *error = window.Error();
    return false;
  }
  if (!options.scheme_file.empty()) {
    IndexScheme scheme;
    if (!LoadSchemeXml(options.scheme_file, scheme)) {
      *error = "cannot read the scheme file " + options.scheme_file;
      return false;
    }
    window.ShowScheme(scheme);
  }
  for (const ConditionRow& row : options.conditions) {
    if (!window.AddCondition(Utf8ToGbk(row.indicator), row.op, Utf8ToGbk(row.value), Utf8ToGbk(row.unit))) {
      *error = window.Error();
      return false;
    }
  }
  if (!options.conditions.empty()) window.JoinConditions(options.join_and);
  return true;
}

// What is asked after the run, in the order a user would do it.
int AfterRun(ScreenWindow& window, const ScreenOptions& options, TerminalHost& host) {
  if (options.stats) {
    if (!window.ComputeStatistics()) return Fail(1, window.Error());
    PrintTable(window.StatisticsTable());
  }
  if (!options.xlsx.empty() && !window.Export(options.xlsx)) return Fail(1, window.Error());
  if (!options.csv.empty() && !window.Export(options.csv)) return Fail(1, window.Error());
  if (!options.save_board.empty()) {
    if (host.market) host.market->SetSavedBoardName(Utf8ToGbk(options.save_board));
    if (!window.SaveBoard()) return Fail(1, window.Error());
  }
  if (!options.save_scheme.empty() && !window.SaveScheme(Utf8ToGbk(options.save_scheme))) {
    return Fail(1, window.Error());
  }
  if (!options.html.empty() && !window.SaveHtml(options.html)) return Fail(1, "cannot write " + options.html);
  return 0;
}

}  // namespace

int RunScreen(const CommandArgs& arguments) {
  CommandArgs args = arguments;
  ConnectionOptions connection;
  std::string error;
  if (!TakeConnectionOptions(args, connection, &error)) return Fail(2, error);
  ScreenOptions options;
  if (!TakeScreenOptions(args, options, &error)) return Fail(2, error + "\n" + kScreenUsage + kConnectionUsage);
  if (Utf8ToGbk(options.save_board).size() > kBoardNameBytes) {
    return Fail(2, "--save-board: a board name has at most 19 bytes (9 Chinese characters)");
  }
  const std::string data = DataFolder("schemes/system_schemes.ini");
  const std::string home = HomeFolder(connection);
  if (options.schemes.empty()) options.schemes = data + "/schemes/system_schemes.ini";
  if (options.user_schemes.empty()) options.user_schemes = home + "schemes/user_schemes.ini";
  if (options.indicators.empty()) {
    options.indicators = home + "indicators";
    if (!SeedCatalogue(data + "/indicators", options.indicators, &error)) return Fail(1, error);
  }
  std::error_code ignored;
  fs::create_directories(fs::path(options.user_schemes).parent_path(), ignored);
  // The catalogue imports user scripts: keep byte-code caches out of the data folder.
  setenv("PYTHONDONTWRITEBYTECODE", "1", 0);

  const std::unique_ptr<TerminalHost> host = ConnectHost(connection, &error);
  if (!host) return Fail(1, error);
  std::unique_ptr<IIndexMgr, CatalogueCloser> mgr(CreateIndexMgrInstance());
  const std::string dir = options.indicators + "/";
  if (mgr->LoadIndexes(dir + "hq_index.ini", dir + "sys_index.xml", dir + "usr_index.ini") != 1) {
    return Fail(1, "the indicator catalogue in " + options.indicators + " does not load");
  }
  int status = 0;
  {
    ScreenWindow window(mgr.get(), options.schemes, options.user_schemes,
                        static_cast<DWORD>(options.timeout_seconds) * 1000);
    if (!window.ok()) return Fail(1, window.Error());
    std::vector<std::string> boards;
    for (const std::string& board : options.boards) boards.push_back(Utf8ToGbk(board));
    if (!boards.empty() && !window.CheckBoards(boards)) return Fail(2, window.Error());
    if (!SetUpScheme(window, options, &error)) return Fail(2, error);
    if (!window.Run()) return Fail(1, window.Error());
    PrintTable(window.ResultTable());
    PrintLine(window.Summary());
    status = AfterRun(window, options, *host);
  }
  return status;
}

}  // namespace orbe::terminal
