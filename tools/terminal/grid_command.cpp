// script --grid FILE [--grid-only] [--click ROW,COL]... [--dblclick ROW,COL]...
//        [--update] [--size WxH] [--timeout MS] [--html OUT] [connection options]
// : makes a script grid loader through CreatePyGridWnd, loads the script
// (its "InitGrid" runs), pumps until the grid has settled (its rows have not
// changed for half a second, bounded by --timeout), clicks grid cells as a
// user would (a click on a data cell moves the cross and refills the
// histogram from its column), posts the quote update (1029) when asked, prints
// the grid, the histogram and every script error, and writes the loader as
// HTML. Exit status 0, 1 for a script error or a failed click, 2 for bad input.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "commands.h"
#include "connection_options.h"
#include "grid_command.h"
#include "orbe/platform/message_box.h"
#include "orbe/platform/sync.h"
#include "orbe/platform/text.h"
#include "orbe/platform/window.h"
#include "orbe/script/py_grid.h"
#include "orbe/widgets/grid_ctrl.h"
#include "orbe/widgets/histogram.h"
#include "orbe/widgets/html_render.h"
#include "terminal_output.h"

namespace orbe::terminal {
namespace {

constexpr const char* kUsage =
    "usage: orbe-terminal script --grid FILE [--grid-only] [--click ROW,COL]... [--dblclick ROW,COL]... "
    "[--update] [--size WxH] [--timeout MS] [--html OUT] ";
constexpr char kErrorCaption[] = "\xb4\xed\xce\xf3\xd0\xc5\xcf\xa2";  // "错误信息"
constexpr UINT kLoaderId = 100;
constexpr int kGridId = 23401;
constexpr int kDefaultTimeoutMs = 20000;
constexpr int kMaxTimeoutMs = 3600000;
constexpr DWORD kSettledMs = 500;
constexpr int kPrintedRows = 20;

struct Cell {
  int row = 0;
  int col = 0;
  bool double_click = false;
};

struct GridOptions {
  std::string file;
  bool grid_only = false;
  std::vector<Cell> clicks;
  bool update = false;
  int width = 900;
  int height = 600;
  int timeout_ms = kDefaultTimeoutMs;
  std::string html;
};

bool ParsePair(const std::string& text, char separator, int& first, int& second) {
  const std::size_t at = text.find(separator);
  if (at == std::string::npos) return false;
  char* end = nullptr;
  const long a = std::strtol(text.c_str(), &end, 10);
  if (end != text.c_str() + at) return false;
  const long b = std::strtol(text.c_str() + at + 1, &end, 10);
  if (*end != '\0' || end == text.c_str() + at + 1 || a < 0 || b < 0 || a > 1000000 || b > 1000000) return false;
  first = static_cast<int>(a);
  second = static_cast<int>(b);
  return true;
}

bool TakeGridOptions(const CommandArgs& args, GridOptions& options, std::string* error) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& name = args[i];
    if (name == "--grid-only") {
      options.grid_only = true;
      continue;
    }
    if (name == "--update") {
      options.update = true;
      continue;
    }
    if (i + 1 >= args.size()) {
      *error = "missing value of " + name;
      return false;
    }
    const std::string& value = args[++i];
    if (name == "--grid") {
      options.file = value;
    } else if (name == "--click" || name == "--dblclick") {
      Cell cell;
      cell.double_click = name == "--dblclick";
      if (!ParsePair(value, ',', cell.row, cell.col)) {
        *error = name + " takes ROW,COL (grid row and column from 0), not " + value;
        return false;
      }
      options.clicks.push_back(cell);
    } else if (name == "--size") {
      if (!ParsePair(value, 'x', options.width, options.height) || options.width < 1 || options.height < 1) {
        *error = "--size takes WIDTHxHEIGHT, not " + value;
        return false;
      }
    } else if (name == "--timeout") {
      char* end = nullptr;
      const long ms = std::strtol(value.c_str(), &end, 10);
      if (*end != '\0' || ms < 1 || ms > kMaxTimeoutMs) {
        *error = "--timeout takes milliseconds from 1 to " + std::to_string(kMaxTimeoutMs);
        return false;
      }
      options.timeout_ms = static_cast<int>(ms);
    } else if (name == "--html") {
      options.html = value;
    } else {
      *error = "unknown option " + name;
      return false;
    }
  }
  if (options.file.empty()) {
    *error = "--grid FILE is needed";
    return false;
  }
  if (!std::filesystem::is_regular_file(options.file)) {
    *error = "no script file " + options.file;
    return false;
  }
  return true;
}

// Pumps until the grid's rows have stayed the same for a while, or the bound passed.
bool Settle(VCFGFunc& grid, DWORD deadline) {
  int rows = grid.GetRowCount();
  DWORD stable_since = GetTickCount();
  while (GetTickCount() < deadline) {
    orbe::PumpFor(50);
    const int now = grid.GetRowCount();
    if (now != rows) {
      rows = now;
      stable_since = GetTickCount();
    } else if (GetTickCount() - stable_since >= kSettledMs) {
      return true;
    }
  }
  return false;
}

void PrintGrid(const CGridCtrl& grid) {
  PrintField("grid", std::to_string(grid.GetRowCount() - grid.GetFixedRowCount()) + " rows, " +
                         std::to_string(grid.GetColumnCount()) + " columns");
  for (int row = 0; row < std::min(grid.GetRowCount(), kPrintedRows + grid.GetFixedRowCount()); ++row) {
    std::string line;
    for (int col = 0; col < grid.GetColumnCount(); ++col) line += (col > 0 ? "\t" : "") + grid.GetItemText(row, col);
    PrintLine(line);
  }
}

void PrintHistogram(const KVXHistogram& histogram) {
  if (histogram.GetItemCount() == 0 || !histogram.IsWindowVisible()) return;
  PrintField("histogram", std::to_string(histogram.GetItemCount()) + " bars, selected " +
                              std::to_string(histogram.GetSelectedItem()));
}

}  // namespace

int RunScriptGrid(const CommandArgs& arguments) {
  CommandArgs args = arguments;
  ConnectionOptions connection;
  std::string error;
  if (!TakeConnectionOptions(args, connection, &error)) return Fail(2, error);
  GridOptions options;
  if (!TakeGridOptions(args, options, &error)) return Fail(2, error + "\n" + kUsage + kConnectionUsage);
  const std::unique_ptr<TerminalHost> host = ConnectHost(connection, &error);
  if (!host) return Fail(1, error);

  // Script errors reach the user as the loader's debug message boxes.
  std::vector<std::string> errors;
  struct HandlerScope {
    orbe::MessageBoxHandler previous;
    ~HandlerScope() { orbe::SetMessageBoxHandler(previous); }
  } boxes{orbe::SetMessageBoxHandler([&](HWND, const std::string& text, const std::string& caption, UINT) {
    if (caption == kErrorCaption) {
      errors.push_back(text);
    } else {
      PrintField("message", text);
    }
    return IDOK;
  })};
  CWnd window;
  if (!window.Create(nullptr, RECT{0, 0, options.width, options.height}, 1, WS_VISIBLE)) {
    return Fail(1, "cannot make a window");
  }
  const std::unique_ptr<VCFGFunc, void (*)(VCFGFunc*)> grid(CreatePyGridWnd(&window, WS_VISIBLE, kLoaderId, 0),
                                                            &DestroyPyGridWnd);
  if (grid == nullptr) return Fail(1, "cannot create the grid loader");
  grid->SetOption(1, 1001);
  grid->MoveWindow(0, 0, options.width, options.height, 1);
  const DWORD deadline = GetTickCount() + static_cast<DWORD>(options.timeout_ms);
  const bool loaded = grid->LoadScriptEx(std::filesystem::absolute(options.file).string(), options.grid_only);
  int status = loaded ? 0 : 1;
  if (!loaded) Fail(0, "the script did not load: " + options.file);
  if (!Settle(*grid, deadline)) {
    Fail(0, "the grid did not settle within " + std::to_string(options.timeout_ms) + " ms");
    status = 1;
  }
  CWnd* loader = window.GetDlgItem(static_cast<int>(kLoaderId));
  auto* cells = loader != nullptr ? dynamic_cast<CGridCtrl*>(loader->GetDlgItem(kGridId)) : nullptr;
  if (cells == nullptr) return Fail(1, "the loader has no grid");
  for (const Cell& cell : options.clicks) {
    const bool done = cell.double_click ? cells->DoubleClickCell(cell.row, cell.col) : cells->ClickCell(cell.row, cell.col);
    orbe::RunUntilIdle();
    PrintField(cell.double_click ? "double-click" : "click",
               std::to_string(cell.row) + "," + std::to_string(cell.col) + (done ? "" : ": no such cell"));
    if (!done) status = 1;
  }
  if (options.update) {
    grid->PostUpdateHQ();
    orbe::RunUntilIdle();
    PrintField("update", "OnUpdataHQ");
  }
  PrintGrid(*cells);
  for (HWND child : loader->GetChildren()) {
    if (const auto* histogram = dynamic_cast<const KVXHistogram*>(CWnd::FromHandle(child))) PrintHistogram(*histogram);
  }
  for (const std::string& text : errors) PrintField("script error", text);
  if (!errors.empty()) status = 1;
  if (!options.html.empty()) {
    if (!SaveWindowHtml(window, options.html)) return Fail(1, "cannot write " + options.html);
    PrintField("html", options.html);
  }
  return status;
}

}  // namespace orbe::terminal
