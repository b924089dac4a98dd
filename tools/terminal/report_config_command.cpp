// report-config FILE [SECURITY [TERM]] [--company=CODE] [connection]: the
// report's cells, columns and pop-ups with each statement expanded, for
// checking an INI file without a window. TERM is UTF-8 (e.g. "2011 中期").
// With --server the company code and field names come from the data service.
#include <cstdio>
#include <memory>

#include "commands.h"
#include "connection_options.h"
#include "input_checks.h"
#include "orbe/dictionary/cw_file_util.h"
#include "orbe/platform/echo_text.h"
#include "orbe/platform/text.h"
#include "orbe/reports/report_description.h"
#include "terminal_output.h"

namespace orbe::terminal {
namespace {

constexpr const char* kReportConfigUsage = "usage: orbe-terminal report-config FILE [SECURITY [TERM]] [--company CODE] ";
constexpr const char* kReportTimeMacro = "$REPORTTIME$";
constexpr std::string_view kSentLine = "sent as: ";

bool SentWithMacro(const std::string& description, const std::string& macro) {
  for (std::size_t at = description.find(kSentLine); at != std::string::npos; at = description.find(kSentLine, at + 1)) {
    const std::size_t end = description.find('\n', at);
    if (description.substr(at, end - at).find(macro) != std::string::npos) return true;
  }
  return false;
}

}  // namespace

int RunReportConfig(const CommandArgs& arguments) {
  CommandArgs args = arguments;
  const bool connect = HasConnectionOption(args);
  ConnectionOptions connection;
  std::string error;
  if (!TakeConnectionOptions(args, connection, &error)) return Fail(2, error);
  std::vector<std::string> positional;
  std::string company;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.rfind("--company=", 0) == 0) {
      company = arg.substr(10);
    } else if (arg == "--company") {
      if (i + 1 == args.size()) return Fail(2, "--company needs a value");
      company = args[++i];
    } else if (arg.size() > 1 && arg[0] == '-') {
      return Fail(2, "unknown option " + EchoText(arg) + "\n" + kReportConfigUsage + kConnectionUsage);
    } else {
      positional.push_back(arg);
    }
  }
  if (positional.empty() || positional.size() > 3) return Fail(2, std::string(kReportConfigUsage) + kConnectionUsage);
  if (!CheckReportIni(positional[0], &error)) return Fail(2, error);
  std::unique_ptr<TerminalHost> host;
  if (connect && !(host = ConnectHost(connection, &error))) return Fail(1, error);
  positional.resize(3);
  if (host && !positional[1].empty()) {
    char abbreviation[64] = {};
    CwFileUtil::GetSecuAbbrByCode(host->session->Session(), abbreviation, sizeof abbreviation,
                                  positional[1].c_str());
    if (abbreviation[0] == '\0') return Fail(1, "unknown security " + EchoText(positional[1]));
  }
  std::string text;
  if (!DescribeIniReportConfig(positional[0], positional[1], Utf8ToGbk(positional[2]), company, text)) {
    return Fail(1, "cannot read the report " + EchoText(positional[0]));
  }
  // A term the module cannot read leaves its macro as it stands in what is sent.
  if (!positional[2].empty() && SentWithMacro(text, kReportTimeMacro)) {
    return Fail(1, "cannot read the term " + EchoText(positional[2]) + GbkToUtf8(" (e.g. \"2025 年度\", \"2011 中期\")"));
  }
  std::fputs(GbkToUtf8(text).c_str(), stdout);
  return 0;
}

}  // namespace orbe::terminal
