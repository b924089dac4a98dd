// report-config FILE [SECURITY [TERM]] [--company=CODE] [connection]: the
// report's cells, columns and pop-ups with each statement expanded, for
// checking an INI file without a window. TERM is UTF-8 (e.g. "2011 中期").
// With --server the company code and field names come from the data service.
#include <cstdio>
#include <memory>

#include "commands.h"
#include "connection_options.h"
#include "orbe/platform/text.h"
#include "orbe/reports/report_description.h"
#include "terminal_output.h"

namespace orbe::terminal {

int RunReportConfig(const CommandArgs& arguments) {
  CommandArgs args = arguments;
  const bool connect = HasConnectionOption(args);
  ConnectionOptions connection;
  std::string error;
  if (!TakeConnectionOptions(args, connection, &error)) return Fail(2, error);
  std::vector<std::string> positional;
  std::string company;
  for (const std::string& arg : args) {
    if (arg.rfind("--company=", 0) == 0) {
      company = arg.substr(10);
    } else {
      positional.push_back(arg);
    }
  }
  if (positional.empty() || positional.size() > 3) {
    return Fail(2, std::string("usage: orbe-terminal report-config FILE [SECURITY [TERM]] [--company=CODE] ") +
                       kConnectionUsage);
  }
  std::unique_ptr<TerminalHost> host;
  if (connect && !(host = ConnectHost(connection, &error))) return Fail(1, error);
  positional.resize(3);
  std::string text;
  if (!DescribeIniReportConfig(positional[0], positional[1], Utf8ToGbk(positional[2]), company, text)) {
    return Fail(1, "cannot read the report " + positional[0]);
  }
  std::fputs(GbkToUtf8(text).c_str(), stdout);
  return 0;
}

}  // namespace orbe::terminal
