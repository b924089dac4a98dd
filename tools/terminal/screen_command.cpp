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
#include "input_checks.h"
#include "orbe/indicators/index_mgr.h"
#include "orbe/indicators/index_scheme.h"
#include "orbe/platform/text.h"
#include "screen_catalogue.h"
#include "screen_options.h"
#include "screen_window.h"
#include "terminal_output.h"

namespace orbe::terminal {
namespace {

constexpr std::size_t kBoardNameBytes = 19;  // the host's 20-byte board-name field

void PrintTable(const std::vector<std::vector<std::string>>& table) {
  for (const std::vector<std::string>& line : table) {
    std::string text;
    for (std::size_t i = 0; i < line.size(); ++i) text += (i == 0 ? "" : "\t") + line[i];
    std::printf("%s\n", text.c_str());
  }
}

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

// The system schemes are numbered as --scheme takes them; the user's by name only.
int ListSchemes(const ScreenOptions& options) {
  const std::pair<const char*, const std::string*> stores[] = {{"system", &options.schemes},
                                                               {"user", &options.user_schemes}};
  for (const auto& [kind, path] : stores) {
    IndexSchemeMgr store;
    store.LoadSchemes(*path);
    int number = 0;
    for (const IndexScheme& scheme : store.GetSchemes()) {
      ++number;
      const std::string label = std::string(kind) == "system" ? std::to_string(number) : "-";
      std::printf("%s\t%s\t%s\t%s\n", label.c_str(), kind, GbkToUtf8(scheme.name).c_str(),
                  GbkToUtf8(scheme.descrip).c_str());
    }
  }
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
  for (const auto& [option, path] : {std::pair<const char*, const std::string&>{"--csv", options.csv},
                                     {"--xlsx", options.xlsx},
                                     {"--html", options.html}}) {
    if (!path.empty() && !CheckOutputPath(option, path, &error)) return Fail(2, error);
  }
  if (options.list) {
    if (!ResolveScreenFiles(options, connection, &error)) return Fail(1, error);
    return ListSchemes(options);
  }
  const std::unique_ptr<TerminalHost> host = ConnectHost(connection, &error);
  if (!host) return Fail(1, error);
  const IndexCatalogue mgr = LoadScreenCatalogue(options, connection, &error);
  if (!mgr) return Fail(1, error);
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
