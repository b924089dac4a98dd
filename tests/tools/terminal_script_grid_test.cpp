// orbe-terminal script-grid (script --grid) end to end: the sample quote list
// of data/scripts loaded into a grid loader against a real orbe-dataserver,
// a click on the change column, the printed grid and histogram and the page;
// a script error and bad input.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "dataservice/transfer_server.h"
#include "support/terminal_run.h"

namespace {

using orbe_test::RunResult;
using orbe_test::RunTerminal;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(TerminalScriptGridTest, TheQuoteListFillsItsGridAndHistogram) {
  const std::string folder = orbe_test::ScratchFolder("terminal_grid");
  orbe_test::TransferServer server;
  ASSERT_TRUE(server.Start(folder));
  const std::string connection = "--server 127.0.0.1:" + std::to_string(server.DataPort()) + " --files 127.0.0.1:" +
                                 std::to_string(server.FilePort()) + " --home " + folder + "home --market " +
                                 server.Database();
  const std::string page = folder + "grid.html";
  const RunResult result = RunTerminal("script-grid --grid " + std::string(ORBE_SOURCE_DIR) +
                                       "/data/scripts/quote_list.py --click 1,4 --update --html " + page + " " +
                                       connection);
  EXPECT_EQ(result.status, 0) << result.out;
  for (const char* piece : {"click: 1,4\n", "update: OnUpdataHQ\n", " columns\n", "histogram: ", "html: "}) {
    EXPECT_NE(result.out.find(piece), std::string::npos) << piece << "\n" << result.out;
  }
  // The heading row, then rows of a six-digit code and its name.
  EXPECT_NE(result.out.find("\xe4\xbb\xa3\xe7\xa0\x81\t\xe5\x90\x8d\xe7\xa7\xb0\t"), std::string::npos) << result.out;
  const std::string html = ReadFile(page);
  EXPECT_NE(html.find("data-id=\"23401\""), std::string::npos);
  EXPECT_NE(html.find("class=\"scrollbar v\""), std::string::npos);
  EXPECT_NE(html.find("<svg"), std::string::npos) << "the histogram";

  // A script that raises: its error is printed and the status is 1.
  const std::string broken = folder + "broken.py";
  std::ofstream(broken) << "def InitGrid():\n    raise RuntimeError('grid broke')\n";
  const RunResult failed = RunTerminal("script-grid --grid " + broken + " " + connection);
  EXPECT_EQ(failed.status, 1) << failed.out;
  EXPECT_NE(failed.out.find("grid broke"), std::string::npos) << failed.out;
  server.Stop(SIGTERM);
  std::filesystem::remove_all(folder);
}

TEST(TerminalScriptGridTest, BadInputIsRefusedWithAMessage) {
  const struct {
    const char* arguments;
    const char* message;
  } cases[] = {
      {"script-grid", "--grid FILE is needed"},
      {"script-grid --grid /nonexistent/x.py", "no script file"},
      {"script-grid --grid /dev/null --click 1", "takes ROW,COL"},
      {"script-grid --grid /dev/null --size 0x5", "--size takes"},
      {"script-grid --grid /dev/null --timeout 0", "--timeout takes"},
      {"script-grid --grid /dev/null --frob 1", "unknown option --frob"},
  };
  for (const auto& c : cases) {
    const RunResult result = RunTerminal(c.arguments);
    EXPECT_EQ(result.status, 2) << c.arguments;
    EXPECT_NE(result.out.find(c.message), std::string::npos) << c.arguments << "\n" << result.out;
  }
}

}  // namespace
