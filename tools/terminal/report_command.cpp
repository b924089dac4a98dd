// report --ini FILE --code CODE [--term TERM] [--unit N] [--rotate] [--split]
// [--click CELL,ROW,COL]... [--html OUT] [--xlsx OUT] [connection]: creates
// the report window for the security through the module's exports, waits for
// the page, acts on it as a user would (in the order given), prints every
// cell as UTF-8 text and writes the page as HTML and its lists as .xlsx.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "commands.h"
#include "connection_options.h"
#include "input_checks.h"
#include "orbe/dictionary/cw_file_util.h"
#include "orbe/platform/file.h"
#include "orbe/platform/dialog.h"
#include "orbe/platform/file_dialog.h"
#include "orbe/platform/text.h"
#include "orbe/widgets/html_render.h"
#include "host/report_driver.h"
#include "report_window.h"
#include "terminal_output.h"

namespace orbe::terminal {
namespace {

namespace ids = report_wnd;

constexpr const char* kUsage =
    "usage: orbe-terminal report --ini FILE --code CODE [--term TERM] [--unit N] [--rotate] [--split] "
    "[--click CELL,ROW,COL]... [--html OUT] [--xlsx OUT] ";

struct Action {
  enum Kind { kTerm, kUnit, kRotate, kSplit, kClick } kind;
  std::string value;  // UTF-8 term, unit number
  int cell = 0, row = 0, col = 0;
};

struct ReportOptions {
  std::string ini;
  std::string code;
  std::vector<Action> actions;
  std::string html;
  std::string xlsx;
};

bool ParseClick(const std::string& text, Action& action) {
  char tail = 0;
  return std::sscanf(text.c_str(), "%d,%d,%d%c", &action.cell, &action.row, &action.col, &tail) == 3;
}

bool TakeReportOptions(const CommandArgs& args, ReportOptions& options, std::string* error) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& name = args[i];
    if (name == "--rotate" || name == "--split") {
      options.actions.push_back({name == "--rotate" ? Action::kRotate : Action::kSplit, ""});
      continue;
    }
    if (i + 1 >= args.size()) {
      *error = name.rfind("--", 0) == 0 ? "missing value of " + name : "unexpected argument " + name;
      return false;
    }
    const std::string& value = args[++i];
    if (name == "--ini") {
      options.ini = value;
    } else if (name == "--code") {
      options.code = value;
    } else if (name == "--html") {
      options.html = value;
    } else if (name == "--xlsx") {
      options.xlsx = value;
    } else if (name == "--term") {
      options.actions.push_back({Action::kTerm, value});
    } else if (name == "--unit") {
      if (value.empty() || value.find_first_not_of("0123456789") != std::string::npos) {
        *error = "--unit takes the number of a money unit (0 元 to 6 亿元)";
        return false;
      }
      options.actions.push_back({Action::kUnit, value});
    } else if (name == "--click") {
      Action click{Action::kClick, value};
      if (!ParseClick(value, click)) {
        *error = "--click takes CELL,ROW,COL (numbers from 1 as the page is printed)";
        return false;
      }
      options.actions.push_back(click);
    } else {
      *error = "unknown option " + name;
      return false;
    }
  }
  if (options.ini.empty() || options.code.empty()) {
    *error = "--ini and --code are required";
    return false;
  }
  return true;
}

std::string PopupHtmlPath(const std::string& html, int number) {
  const std::filesystem::path path(html);
  return (path.parent_path() / (path.stem().string() + Format("-popup%d", number) + path.extension().string()))
      .string();
}

// Clicks a list cell. A pop-up it opens reaches the dialog handler as its
// modal loop starts: its page is read once complete, written as HTML beside
// the page when asked, and the dialog closed.
class PopupReader {
 public:
  explicit PopupReader(const std::string& html) : html_(html) {}

  std::string Click(ReportDriver& driver, const Action& click) {
    const DialogHandler previous = SetDialogHandler([this](CDialog& dialog) { Read(dialog); });
    const std::string error = driver.ClickCell(click.cell, click.row, click.col);
    SetDialogHandler(previous);
    return !error.empty() ? error : failed_ ? "the pop-up did not complete in time" : "";
  }

  const std::vector<std::string>& Pages() const { return pages_; }

 private:
  void Read(CDialog& dialog) {
    CWnd* inner = dialog.GetDlgItem(ids::kPopupReport);
    if (inner != nullptr) {
      ReportDriver popup(*inner);
      failed_ = !popup.WaitForPage() || failed_;
      pages_.push_back(popup.PageText());
      if (!html_.empty()) SaveWindowHtml(*inner, PopupHtmlPath(html_, static_cast<int>(pages_.size())));
    }
    dialog.EndDialog(IDCANCEL);
  }

  const std::string html_;
  std::vector<std::string> pages_;
  bool failed_ = false;
};

std::string Export(ReportDriver& driver, const std::string& path) {
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
  const FileDialogHandler previous = SetFileDialogHandler([&](const FileDialogRequest&) { return path; });
  std::string error = driver.ClickButton(ids::kExportButton);
  SetFileDialogHandler(previous);
  if (error.empty() && !FileExists(path)) error = "cannot write " + path;
  return error;
}

int RunActions(ReportDriver& driver, PopupReader& popups, const std::vector<Action>& actions) {
  for (const Action& action : actions) {
    std::string error;
    switch (action.kind) {
      case Action::kTerm: error = driver.PickTerm(Utf8ToGbk(action.value)); break;
      case Action::kUnit: error = driver.PickUnit(std::atoi(action.value.c_str())); break;
      case Action::kRotate: error = driver.ClickButton(ids::kRotateButton); break;
      case Action::kSplit: error = driver.ClickButton(ids::kSplitButton); break;
      case Action::kClick: error = popups.Click(driver, action); break;
    }
    if (!error.empty()) return Fail(2, error);
  }
  return 0;
}

}  // namespace

int RunReport(const CommandArgs& arguments) {
  CommandArgs args = arguments;
  ConnectionOptions connection;
  std::string error;
  if (!TakeConnectionOptions(args, connection, &error)) return Fail(2, error);
  ReportOptions options;
  if (!TakeReportOptions(args, options, &error)) return Fail(2, error + "\n" + kUsage + kConnectionUsage);
  if (!CheckReportIni(options.ini, &error)) return Fail(2, error);
  if (!options.html.empty() && !CheckOutputPath("--html", options.html, &error)) return Fail(2, error);
  if (!options.xlsx.empty() && !CheckOutputPath("--xlsx", options.xlsx, &error)) return Fail(2, error);

  const std::unique_ptr<TerminalHost> host = ConnectHost(connection, &error);
  if (!host) return Fail(1, error);
  ReportHost frame([](const std::string& title, const std::string& value) {
    PrintLine(std::string("host: ") + title + " = " + value);
  });
  if (const std::string failed = frame.Open(host->session->Session(), Utf8ToGbk(options.ini), options.code);
      !failed.empty()) {
    return Fail(1, failed);
  }
  CWnd* report = frame.Report();
  ReportDriver driver(*report);
  if (!driver.WaitForPage()) return Fail(1, "the report did not complete within 60 s");
  if (driver.ConfigurationFailed()) return Fail(1, "the report's configuration is unusable: " + options.ini);

  PopupReader popups(options.html);
  if (const int status = RunActions(driver, popups, options.actions); status != 0) return status;
  // A page with cells the service did not answer is not the report: nothing is printed or written.
  if (const int failed = GetIniReportFailedCells(frame.Window()); failed > 0) {
    return Fail(1, "the report is incomplete: " + std::to_string(failed) +
                       " of its cells got no complete reply from the data service; nothing written");
  }
  std::fputs(driver.PageText().c_str(), stdout);
  for (const std::string& page : popups.Pages()) std::printf("== pop-up\n%s", page.c_str());
  if (!options.html.empty() && !SaveWindowHtml(*report, options.html)) return Fail(1, "cannot write " + options.html);
  if (!options.xlsx.empty()) {
    if (const std::string failed = Export(driver, options.xlsx); !failed.empty()) return Fail(1, failed);
  }
  return 0;
}

}  // namespace orbe::terminal
