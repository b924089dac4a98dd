// The logic evaluator: generated file, evaluation, clean-up and the check
// that keeps a shared scheme's expression from running arbitrary code.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "indicators/logic_script_helpers.h"
#include "orbe/indicators/index_calc.h"
#include "orbe/script/script_env.h"
#include "orbe/script/script_ref.h"

// CPython does not free everything of a finalised interpreter; what a restart
// leaves behind is its own, not ours.
extern "C" const char* __lsan_default_suppressions() { return "leak:libpython3"; }

namespace {

std::string MakeTempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "orbe-logic-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) return std::string();
  return pattern;
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Repeat(const std::string& text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

// Scheme expressions write conditions as "#n".
std::string FromMarkers(std::string expression) {
  for (std::size_t at = expression.find('#'); at != std::string::npos; at = expression.find('#', at)) {
    expression.replace(at, 1, "param");
  }
  return expression;
}

class LogicCalcTest : public testing::Test {
 protected:
  void SetUp() override {
    InitScriptEvn();
    dir_ = MakeTempFolder();
    ASSERT_FALSE(dir_.empty());
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  bool DirIsEmpty() const { return std::filesystem::is_empty(dir_); }
  bool Compiles(const std::string& expression, int count) {
    CPyLogicCalc calc(dir_);
    return calc.Compile(expression, count);
  }

  std::string dir_;
};

TEST_F(LogicCalcTest, ThreeConditionsCompileToAThreeLineFileAndEvaluate) {
  CPyLogicCalc calc(dir_);
  ASSERT_TRUE(calc.Compile(FromMarkers("#1 and (#2 or #3)"), 3));
  const std::string file = calc.ScriptFile();
  const std::string name = std::filesystem::path(file).stem().string();
  EXPECT_EQ(name.rfind("FunLogicCalc", 0), 0u);
  EXPECT_EQ(name.find('-'), std::string::npos);
  EXPECT_EQ(ReadText(file), "import time,math\ndef " + name +
                                "(param1,param2,param3):\n\treturn param1 and (param2 or param3)");
  EXPECT_TRUE(calc.Calc({true, false, true}));
  EXPECT_FALSE(calc.Calc({true, false, false}));
  EXPECT_FALSE(calc.Calc({false, true, true}));
  EXPECT_FALSE(calc.Calc({}));
  EXPECT_FALSE(calc.Calc({true, true}));  // a wrong count fails, nothing is thrown
  // Held: another compile fails until Release.
  EXPECT_FALSE(calc.Compile("param1", 1));
  calc.Release();
  EXPECT_TRUE(DirIsEmpty());  // neither the .py nor its compiled file remain
  ASSERT_TRUE(calc.Compile("param1 or param2", 2));
  EXPECT_NE(calc.ScriptFile(), file);
  EXPECT_TRUE(calc.Calc({false, true}));
}

TEST_F(LogicCalcTest, GeneratedFilesGoWithTheEvaluator) {
  {
    CPyLogicCalc calc(dir_ + "/");
    ASSERT_TRUE(calc.Compile("param1", 1));
    EXPECT_TRUE(std::filesystem::exists(calc.ScriptFile()));
    EXPECT_TRUE(calc.Calc({true}));
  }
  EXPECT_TRUE(DirIsEmpty());
}

TEST_F(LogicCalcTest, ThePermittedFormulasCompile) {
  EXPECT_TRUE(Compiles(FromMarkers("#1 and not (#2 or #3)"), 3));
  EXPECT_TRUE(Compiles(FromMarkers("math.fabs(1) > 0 and #1"), 1));
  EXPECT_TRUE(Compiles("math.floor(1.5) == 1 and param1 or False", 1));
  EXPECT_TRUE(Compiles("(param1 + param2) * 2 - 1 >= 1.5 != False", 2));
  EXPECT_TRUE(Compiles("-1 < 0 and True", 0));
  CPyLogicCalc calc(dir_);
  ASSERT_TRUE(calc.Compile("param1 + param2 + param3 >= 2", 3));
  EXPECT_TRUE(calc.Calc({true, false, true}));
  EXPECT_FALSE(calc.Calc({true, false, false}));
  EXPECT_TRUE(std::filesystem::exists(calc.ScriptFile()));
}

TEST_F(LogicCalcTest, EverythingElseIsRefusedLikeASyntaxError) {
  const std::string marker = dir_ + "/pwned";
  const std::vector<std::string> refused = {
      "__import__('os').system('touch " + marker + "')",
      "open('" + marker + "','w')",
      "param1.real",
      "param1.__class__",
      "math.__dict__",
      "math._private(1)",
      "os.system('x')",
      "getattr(math, 'pi')",
      "math.fabs(x=1)",
      "math.fabs(*param1)",
      "param4",
      "'text'",
      "[param1]",
      "lambda: 1",
      "param1 if param2 else param3",
      "param1 in param2",
      "param1 is param2",
      "(x for x in param1)",
      "param1\nimport os",
      "param1 # trailing",
      "param1; param2",
      "param1 and",
      "None",
      "",
      "time.sleep(0)",  // returns None: refused by the call with all True
      std::string(200, '(') + "param1" + std::string(200, ')') + std::string(100000, '+'),
  };
  for (const std::string& expression : refused) {
    EXPECT_FALSE(Compiles(expression, 3)) << expression;
  }
  EXPECT_FALSE(std::filesystem::exists(marker));
  EXPECT_TRUE(DirIsEmpty());
  // A broken call fails at compile time too, and leaves nothing behind.
  EXPECT_FALSE(Compiles("math.fabs('a') > 0", 1));
  EXPECT_TRUE(DirIsEmpty());
}

// The expression runs on the window thread: what could block it or grow
// without end is refused before anything runs, and every form the condition
// window writes still passes.
TEST_F(LogicCalcTest, ExpressionsThatCouldBlockOrExplodeAreRefused) {
  struct Case {
    std::string expression;  // with "#n" markers
    int count;
    bool allowed;
  };
  const std::vector<Case> cases = {
      {"#1 and #2", 2, true},
      {"#1 or #2 or #3", 3, true},
      {"#1 or (#2 and #3)", 3, true},
      {"not #1", 1, true},
      {"#1 and not (#2 or #3)", 3, true},
      {"#1 + #2 + #3 >= 2", 3, true},
      {"math.sqrt(4) == 2 and #1", 1, true},
      {"time.sleep(1e6) or #1", 1, false},
      {"time.time() > 0 and #1", 1, false},
      {"9**9**9", 0, false},
      {"#1 ** 2", 1, false},
      {"math.factorial(10**8)", 0, false},
      {"math.factorial(20) > 0", 0, false},
      {"math.pow(9, 9) > 0", 0, false},
      {"math.comb(10, 5) > 0", 0, false},
      {Repeat("not ", 150) + "#1", 1, false},  // operators nested deeper than 100 levels
      {Repeat("not ", 99) + "#1", 1, true},
      {Repeat("(", 150) + "#1" + Repeat(")", 150), 1, true},  // parentheses nest nothing
      {"#1" + std::string(9000, ' '), 1, false},  // longer than a formula needs
  };
  std::vector<std::string> wrong;
  {
    const orbe::ScriptLock lock;
    ASSERT_TRUE(lock.running());
    for (const Case& c : cases) {
      if (orbe::IsAllowedLogicExpression(FromMarkers(c.expression), c.count) != c.allowed) {
        wrong.push_back(c.expression.substr(0, 40));
      }
    }
  }
  // Only a check that refuses what it must makes compiling these safe to try.
  ASSERT_TRUE(wrong.empty()) << testing::PrintToString(wrong);
  for (const Case& c : cases) {
    EXPECT_EQ(Compiles(FromMarkers(c.expression), c.count), c.allowed) << c.expression.substr(0, 40);
  }
  EXPECT_TRUE(DirIsEmpty());
}

TEST_F(LogicCalcTest, NothingCompilesWhileTheInterpreterIsStopped) {
  CPyLogicCalc calc(dir_);
  ASSERT_TRUE(calc.Compile("param1", 1));
  UnInitScriptEvn();
  EXPECT_FALSE(calc.Calc({true}));
  calc.Release();
  EXPECT_FALSE(calc.Compile("param1", 1));
  InitScriptEvn();
  EXPECT_TRUE(DirIsEmpty());
  ASSERT_TRUE(calc.Compile("param1", 1));
  EXPECT_TRUE(calc.Calc({true}));
}

}  // namespace
