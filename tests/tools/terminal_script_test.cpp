// orbe-terminal script: pages that load, raise, loop, import what is missing
// or get bad input, each with its exit status and the text it must print;
// and the events file's line format.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "script_events.h"
#include "support/terminal_run.h"

namespace {

namespace fs = std::filesystem;

class TerminalScriptTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("orbe_terminal_script_" + std::to_string(::getpid()));
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }
  std::string Write(const std::string& name, const std::string& text) {
    std::ofstream(folder_ / name) << text;
    return (folder_ / name).string();
  }
  std::string Home() const { return " --home " + (folder_ / "home").string(); }

  fs::path folder_;
};

TEST_F(TerminalScriptTest, PagesEndWithTheirErrorTextAndStatusWithinTheBound) {
  Write("good_page.py", R"(
n = 0
def InitContainer(c, arg):
    c.SendMessage('first', 'second', 'hello', arg)
    c.RegisterTimer(0)
def OnTimer(c):
    global n
    n += 1
    if n == 2:
        c.UnRegisterTimer()
        c.SendMessage('', '', 'ticks', str(n))
def OnContainerRButtonUp(c, id, x, y):
    c.SendMessage('', '', 'right', x + ',' + y)
def OnSize(c, w, h):
    c.SendMessage('', '', 'size', w + 'x' + h)
)");
  Write("raising_page.py", "def InitContainer(c, arg):\n    raise RuntimeError('broken ' + arg)\n");
  Write("looping_page.py", "def InitContainer(c, arg):\n    while True:\n        pass\n");
  Write("importing_page.py", "import no_module_of_that_name\ndef InitContainer(c, arg):\n    pass\n");
  Write("top_loop_page.py", "while True:\n    pass\n");
  Write("poster_page.py", "def InitContainer(c, arg):\n    c.RegisterTimer(0)\ndef OnTimer(c):\n    pass\n");
  Write("text_page.txt", "def InitContainer(c, arg):\n    pass\n");
  const std::string events = Write("good.events", "# user actions\n\ncontainer rclick 12 34\nwait 400\n"
                                                  "container size 320 200\ncontainer call InitContainer again\n");
  Write("bad.events", "container rclick 1 2\n10001 \"open\n");
  Write("unknown.events", "10001 click\n");
  const std::string html = (folder_ / "page.html").string();
  struct Case {
    std::string arguments;
    int status;
    std::vector<std::string> shown;
  };
  const std::vector<Case> cases = {
      {"--file " + (folder_ / "good_page.py").string() + " --arg \xe4\xb8\xad --events " + events + " --html " + html,
       0,
       {"message: first | second | hello | \xe4\xb8\xad\n", "message:  |  | right | 12,34\n",
        "message:  |  | ticks | 2\n", "message:  |  | size | 320x200\n", "message: first | second | hello | again\n",
        "script errors: 0\n", "html: " + html + "\n"}},
      {"--file " + (folder_ / "raising_page.py").string() + " --arg x", 1, {"RuntimeError: broken x", "script errors: 1"}},
      {"--file " + (folder_ / "looping_page.py").string() + " --timeout 800", 1,
       {"TimeoutError", "passed its bound of 800 ms"}},
      {"--file " + (folder_ / "top_loop_page.py").string() + " --timeout 800", 1, {"TimeoutError", "did not load"}},
      {"--file " + (folder_ / "importing_page.py").string(), 1,
       {"ModuleNotFoundError: No module named 'no_module_of_that_name'", "did not load"}},
      {"--file " + (folder_ / "poster_page.py").string() + " --run 200", 0, {"script errors: 0"}},
      {"--file " + (folder_ / "text_page.txt").string(), 1, {"ends neither in .py nor .kvx"}},
      {"--file " + (folder_ / "good_page.py").string() + " --events " + (folder_ / "unknown.events").string(), 1,
       {"event refused: no widget 10001"}},
      {"--file " + (folder_ / "good_page.py").string() + " --events " + (folder_ / "bad.events").string(), 2,
       {"bad.events:2: a quote is not closed"}},
      {"--file " + (folder_ / "missing_page.py").string(), 2, {"no script file"}},
      {"--file " + (folder_ / "good_page.py").string() + " --timeout lots", 2, {"--timeout takes milliseconds"}},
      {"--arg x", 2, {"--file is needed"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments);
    const orbe_test::RunResult result = orbe_test::RunTerminal("script " + c.arguments + Home());
    EXPECT_EQ(result.status, c.status) << result.out;
    for (const std::string& text : c.shown) EXPECT_NE(result.out.find(text), std::string::npos) << text << "\n" << result.out;
  }
  std::ifstream page(html);
  const std::string written((std::istreambuf_iterator<char>(page)), std::istreambuf_iterator<char>());
  EXPECT_NE(written.find("<html"), std::string::npos);
}

TEST(ScriptEventLineTest, LinesParseIntoTargetActionAndArguments) {
  using orbe::terminal::ScriptEventLine;
  struct Case {
    std::string line;
    bool event;          // an event, not a skipped line
    std::string error;   // a part of the error for a refused line
    ScriptEventLine::Target target = ScriptEventLine::Target::kWidget;
    int widget = 0;
    std::string action = {};
    std::vector<std::string> args = {};
  };
  const std::vector<Case> cases = {
      {"", false, ""},
      {"   # a comment", false, ""},
      {"10002 click 3 1", true, "", ScriptEventLine::Target::kWidget, 10002, "click", {"3", "1"}},
      {"\t10002  edit 1 2 \"two words\"  ", true, "", ScriptEventLine::Target::kWidget, 10002, "edit",
       {"1", "2", "two words"}},
      {R"(10002 type "a \"q\" \\ b")", true, "", ScriptEventLine::Target::kWidget, 10002, "type", {R"(a "q" \ b)"}},
      {"container rclick 40 60", true, "", ScriptEventLine::Target::kContainer, 0, "rclick", {"40", "60"}},
      {"wait 250", true, "", ScriptEventLine::Target::kWait, 0, "wait", {"250"}},
      {"wait", false, "wait takes"},
      {"wait -5", false, "wait takes"},
      {"wait 1 2", false, "wait takes"},
      {"0 click", false, "neither a widget id"},
      {"-3 click", false, "neither a widget id"},
      {"button click", false, "neither a widget id"},
      {"99999999999 click", false, "neither a widget id"},
      {"10002", false, "no action"},
      {"10002 type \"open", false, "not closed"},
      {"10002 type \"a\"b", false, "end its word"},
      {"10002 type \"a\\n\"", false, "escapes only"},
      {std::string("10002 type a") + '\0', false, "zero byte"},
      {"10002 type " + std::string(5000, 'x'), false, "longer than"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line.substr(0, 60));
    std::string error;
    const std::optional<ScriptEventLine> event = orbe::terminal::ParseScriptEventLine(c.line, &error);
    ASSERT_EQ(event.has_value(), c.event) << error;
    if (!c.event) {
      if (c.error.empty()) {
        EXPECT_TRUE(error.empty()) << error;
      } else {
        EXPECT_NE(error.find(c.error), std::string::npos) << error;
      }
      continue;
    }
    EXPECT_EQ(event->target, c.target);
    EXPECT_EQ(event->widget, c.widget);
    EXPECT_EQ(event->action, c.action);
    EXPECT_EQ(event->args, c.args);
  }
  EXPECT_EQ(orbe::terminal::EventInt("+12"), 12);
  EXPECT_EQ(orbe::terminal::EventInt("-7"), -7);
  EXPECT_EQ(orbe::terminal::EventInt("1x"), std::nullopt);
  EXPECT_EQ(orbe::terminal::EventInt(""), std::nullopt);
}

}  // namespace
