// screen [--schemes FILE] [--indicators DIR] [--scheme NAME|INDEX] [--board NAME]... [--csv FILE]
// : runs a screening scheme over quote boards against a data service and
// prints the result grid, its headers and the summary line in UTF-8.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "commands.h"
#include "connection_options.h"
#include "data_folder.h"
#include "orbe/indicators/index_mgr.h"
#include "orbe/indicators/index_scheme.h"
#include "orbe/platform/text.h"
#include "orbe/screening/headless_screening.h"
#include "terminal_output.h"

namespace orbe::terminal {
namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage =
    "usage: orbe-terminal screen [--schemes FILE] [--indicators DIR] [--scheme NAME|INDEX] "
    "[--board NAME]... [--csv FILE] ";
constexpr int kBarWidth = 40;

struct ScreenOptions {
  std::string schemes;
  std::string indicators;
  std::string scheme = "1";
  std::vector<std::string> boards;  // UTF-8
  std::string csv;
};

bool TakeScreenOptions(const CommandArgs& args, ScreenOptions& options, std::string* error) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& name = args[i];
    if (i + 1 >= args.size()) {
      *error = "missing value of " + name;
      return false;
    }
    const std::string& value = args[++i];
    if (name == "--schemes") options.schemes = value;
    else if (name == "--indicators") options.indicators = value;
    else if (name == "--scheme") options.scheme = value;
    else if (name == "--board") options.boards.push_back(value);
    else if (name == "--csv") options.csv = value;
    else {
      *error = "unknown option " + name;
      return false;
    }
  }
  return true;
}

const IndexScheme* FindScheme(const std::vector<IndexScheme>& schemes, const std::string& wanted) {
  const std::string gbk = Utf8ToGbk(wanted);
  for (const IndexScheme& scheme : schemes) {
    if (scheme.name == gbk) return &scheme;
  }
  char* end = nullptr;
  const long number = std::strtol(wanted.c_str(), &end, 10);
  if (end != wanted.c_str() && *end == '\0' && number >= 1 && number <= static_cast<long>(schemes.size())) {
    return &schemes[static_cast<std::size_t>(number - 1)];
  }
  return nullptr;
}

void ShowProgress(int percent) {
  const int filled = percent * kBarWidth / 100;
  std::fprintf(stderr, "\r[%s%s] %3d%%", std::string(static_cast<std::size_t>(filled), '#').c_str(),
               std::string(static_cast<std::size_t>(kBarWidth - filled), ' ').c_str(), percent);
  std::fflush(stderr);
}

std::string OneLine(std::string text) {
  for (char& c : text) {
    if (c == '\n') c = ' ';
  }
  return text;
}

std::string CsvField(const std::string& utf8) {
  if (utf8.find_first_of(",\"\n") == std::string::npos) return utf8;
  std::string quoted = "\"";
  for (const char c : utf8) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

std::vector<std::vector<std::string>> GridOf(const ScreeningResult& result) {
  std::vector<std::vector<std::string>> grid;
  std::vector<std::string> header;
  for (const ScreeningColumn& column : result.columns) header.push_back(GbkToUtf8(OneLine(column.title)));
  grid.push_back(header);
  // Data columns are those of the scheme rows found in the catalogue, in order.
  for (const auto& [rowId, row] : result.rows) {
    std::vector<std::string> line;
    for (std::size_t col = 0; col < result.columns.size(); ++col) {
      const auto cell = row.find(static_cast<int>(col));
      line.push_back(cell == row.end() ? "" : GbkToUtf8(cell->second.text));
    }
    grid.push_back(line);
  }
  return grid;
}

// The catalogue is the user's: user indicators are edited and the logic
// evaluator writes its scripts beside them, so it lives in the private folder,
// copied from the shipped one on first use.
bool SeedCatalogue(const std::string& shipped, const std::string& folder, std::string* error) {
  namespace fs = std::filesystem;
  std::error_code failed;
  if (fs::exists(folder, failed)) return true;
  fs::create_directories(fs::path(folder).parent_path(), failed);
  fs::copy(shipped, folder, fs::copy_options::recursive, failed);
  if (failed) *error = "cannot copy the indicator catalogue to " + folder + ": " + failed.message();
  return !failed;
}

bool WriteCsv(const std::string& path, const std::vector<std::vector<std::string>>& grid) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << "\xEF\xBB\xBF";
  for (const std::vector<std::string>& line : grid) {
    for (std::size_t i = 0; i < line.size(); ++i) out << (i == 0 ? "" : ",") << CsvField(line[i]);
    out << "\r\n";
  }
  return static_cast<bool>(out);
}

}  // namespace

int RunScreen(const CommandArgs& arguments) {
  CommandArgs args = arguments;
  ConnectionOptions connection;
  std::string error;
  if (!TakeConnectionOptions(args, connection, &error)) return Fail(2, error);
  ScreenOptions options;
  if (!TakeScreenOptions(args, options, &error)) return Fail(2, error + "\n" + kUsage + kConnectionUsage);
  const std::string data = DataFolder("schemes/system_schemes.ini");
  if (options.schemes.empty()) options.schemes = data + "/schemes/system_schemes.ini";
  if (options.indicators.empty()) {
    options.indicators = HomeFolder(connection) + "indicators";
    if (!SeedCatalogue(data + "/indicators", options.indicators, &error)) return Fail(1, error);
  }
  // The catalogue imports user scripts: keep byte-code caches out of the data folder.
  setenv("PYTHONDONTWRITEBYTECODE", "1", 0);

  IndexSchemeMgr store;
  store.LoadSchemes(options.schemes);
  const std::vector<IndexScheme> schemes = store.GetSchemes();
  const IndexScheme* scheme = FindScheme(schemes, options.scheme);
  if (scheme == nullptr) return Fail(2, "no scheme " + options.scheme + " in " + options.schemes);

  const std::unique_ptr<TerminalHost> host = ConnectHost(connection, &error);
  if (!host) return Fail(1, error);
  const std::unique_ptr<IIndexMgr, void (*)(IIndexMgr*)> mgr(CreateIndexMgrInstance(), DeleteIndexMgrInstance);
  const std::string dir = options.indicators + "/";
  if (mgr->LoadIndexes(dir + "hq_index.ini", dir + "sys_index.xml", dir + "usr_index.ini") != 1) {
    return Fail(1, "the indicator catalogue in " + options.indicators + " does not load");
  }
  std::vector<std::string> boards;
  for (const std::string& board : options.boards) boards.push_back(Utf8ToGbk(board));
  if (boards.empty()) boards = {"上证Ａ股", "深证Ａ股"};  // GBK literals
  const std::string codes = BoardCompanyCodes(boards);
  if (codes.empty()) return Fail(1, "the boards hold no known security");
  const bool bar = isatty(STDERR_FILENO) != 0;
  const ScreeningResult result = RunScreening(mgr.get(), *scheme, codes, bar ? ShowProgress : ScreeningProgress());
  if (bar) std::fputs("\n", stderr);
  if (!result.ok) return Fail(1, GbkToUtf8(result.error));

  const std::vector<std::vector<std::string>> grid = GridOf(result);
  PrintLine("方案: " + scheme->name);
  for (const std::vector<std::string>& line : grid) {
    std::string text;
    for (std::size_t i = 0; i < line.size(); ++i) text += (i == 0 ? "" : "\t") + line[i];
    std::printf("%s\n", text.c_str());
  }
  PrintLine(ScreeningSummary(static_cast<int>(result.rows.size()), result.total));
  if (!options.csv.empty() && !WriteCsv(options.csv, grid)) return Fail(1, "cannot write " + options.csv);
  return 0;
}

}  // namespace orbe::terminal
