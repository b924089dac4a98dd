// The script object's method table walked from Python: every method is an
// attribute with its format, a wrong count or type raises before anything is
// done, and an object kept past its call answers the empty result of its
// shape.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "orbe/script/script_methods.h"
#include "support/script_harness.h"

extern "C" const char* __lsan_default_suppressions() { return "leak:libpython3"; }

namespace {

using orbe::ScriptMethodFamily;
using orbe::ScriptMethodInfo;

// A Python literal that the letter accepts, and one that it refuses.
std::string GoodValue(char letter) {
  switch (letter) {
    case 'i': case 'L': return "7";
    case 'd': case 'f': return "1.5";
    case 's': return "'x'";
    case 'c': return "'x'";
    default: return "None";
  }
}
std::string BadValue(char letter) {
  switch (letter) {
    case 'i': case 'L': return "'7'";
    case 'd': case 'f': case 'c': return "[]";
    case 's': return "7";
    default: return "";  // 'O' refuses nothing
  }
}

// repr() of the empty result of a shape, as the interpreter writes it.
std::string EmptyRepr(std::string_view shape) {
  if (shape == "i" || shape == "L") return "0";
  if (shape == "d" || shape == "f") return "0.0";
  if (shape == "s") return "''";
  if (shape == "list") return "[]";
  if (shape == "None" || shape == "object" || shape == "object or None") return "None";
  std::string out = "(";
  std::string_view rest = shape.substr(1, shape.size() - 2);
  bool first = true;
  while (!rest.empty()) {
    const std::size_t comma = rest.find(',');
    out += (first ? "" : ", ") + EmptyRepr(rest.substr(0, comma));
    first = false;
    rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
  }
  return out + ")";
}

std::string Letters(std::string_view format) {
  std::string letters;
  for (char c : format) {
    if (c != '|') letters += c;
  }
  return letters;
}

// One Python row per method: name, good arguments, wrong counts, one wrong
// type per position, the expected empty result.
std::string WalkScript() {
  std::string rows;
  for (const ScriptMethodInfo& m : orbe::ScriptMethods()) {
    const std::string letters = Letters(m.format);
    const orbe::ScriptArity arity = orbe::ArityOfFormat(m.format);
    std::string good;
    for (char c : letters) good += GoodValue(c) + ",";
    std::string counts = "[(" + good + "7,)";
    if (arity.minimum > 0) {
      std::string fewer;
      for (int i = 0; i + 1 < arity.minimum; ++i) fewer += GoodValue(letters[static_cast<std::size_t>(i)]) + ",";
      counts += ", (" + fewer + ")";
    }
    counts += "]";
    std::string types = "[";
    for (std::size_t i = 0; i < letters.size(); ++i) {
      if (BadValue(letters[i]).empty()) continue;
      std::string args;
      for (std::size_t j = 0; j < letters.size(); ++j) args += (i == j ? BadValue(letters[j]) : GoodValue(letters[j])) + ",";
      types += "(" + args + "),";
    }
    types += "]";
    rows += "    ('" + std::string(m.name) + "', (" + good + "), " + counts + ", " + types + ", \"" + EmptyRepr(m.result) +
            "\"),\n";
  }
  return "ROWS = [\n" + rows + "]\n" + R"(
problems = []
kept = None
checked = 0

def keep(c):
    global kept
    kept = c

def raises(method, args, kind):
    try:
        method(*args)
    except kind:
        return True
    except Exception as error:
        problems.append('%s%r raised %r' % (method.__name__, args, error))
        return True
    return False

def walk(c):
    global checked
    for name, good, counts, types, empty in ROWS:
        if not hasattr(c, name) or not callable(getattr(c, name)):
            problems.append(name + ' is not a method')
            continue
        for args in counts:
            if not raises(getattr(c, name), args, TypeError):
                problems.append('%s%r did not raise' % (name, args))
        for args in types:
            if not raises(getattr(kept, name), args, TypeError):
                problems.append('%s%r accepted a wrong type' % (name, args))
        got = repr(getattr(kept, name)(*good))
        if got != empty:
            problems.append('%s on a kept object gave %s, not %s' % (name, got, empty))
        checked += 1
    if hasattr(c, 'NoSuchMethod'):
        problems.append('an unknown name is an attribute')
)";
}

TEST(ScriptMethodTableTest, RowsInTableOrderWithUniqueNamesAndMatchingMarks) {
  const auto methods = orbe::ScriptMethods();
  ASSERT_EQ(methods.size(), orbe::kScriptMethodCount);
  std::set<std::string_view> names;
  for (std::size_t i = 0; i < methods.size(); ++i) {
    const ScriptMethodInfo& m = methods[i];
    EXPECT_TRUE(names.insert(m.name).second) << m.name;
    EXPECT_EQ(orbe::FindScriptMethod(m.name), &m) << m.name;
    const bool data_row = i < orbe::kScriptDataMethodCount;
    EXPECT_EQ(m.family <= ScriptMethodFamily::kMessage, data_row) << m.name;
    EXPECT_TRUE(m.built) << m.name << " has no operation";
    EXPECT_TRUE(m.display.empty() || m.display.size() == Letters(m.format).size()) << m.name;
    for (char mark : m.display) EXPECT_NE(std::string("-FN").find(mark), std::string::npos) << m.name;
  }
  // The families' boundaries and a few rows the convention singles out.
  EXPECT_EQ(methods.front().name, "Version");
  EXPECT_EQ(methods[orbe::kScriptDataMethodCount - 1].name, "GetTPOriginalResult");
  EXPECT_EQ(methods[orbe::kScriptDataMethodCount].name, "InvalidateWnd");
  EXPECT_EQ(methods.back().name, "Plugin_GetAttrribute");
  EXPECT_EQ(orbe::FindScriptMethod("SaveCFileDialog")->format, "s|s");
  EXPECT_EQ(orbe::FindScriptMethod("Combo_AddWnd")->format, "iiiii");
  EXPECT_EQ(orbe::FindScriptMethod("DateTime_AddWnd")->format, "iiiiii");
  EXPECT_EQ(orbe::FindScriptMethod("Grid_SaveAsExcel")->display, "--F");
  EXPECT_EQ(orbe::FindScriptMethod("Web_Navigate")->display, "");
  EXPECT_EQ(orbe::FindScriptMethod("Grid_SetItemText")->display, "---F");
  EXPECT_EQ(orbe::FindScriptMethod("Edit_AddLink")->display, "-----N---");
  EXPECT_EQ(orbe::FindScriptMethod("no_such_method"), nullptr);
}

TEST(ScriptMethodTableTest, EveryMethodParsesItsFormatAndAKeptObjectAnswersEmpty) {
  orbe_test::HarnessContainer container;
  ASSERT_TRUE(container.Load(WalkScript())) << container.LastError();
  ASSERT_TRUE(container.Call("keep")) << container.LastError();
  ASSERT_TRUE(container.Call("walk")) << container.LastError();
  EXPECT_EQ(container.Global("checked"), std::to_string(orbe::kScriptMethodCount));
  EXPECT_EQ(container.Global("problems"), "[]");
  // Parse failures did nothing: no request, no hook, no message.
  EXPECT_EQ(container.PendingRequestCount(), 0u);
  EXPECT_TRUE(container.hooks.empty());
}

TEST(ScriptMethodTableTest, ArgumentConversionsFollowTheInterpretersParser) {
  orbe_test::HarnessContainer container;
  ASSERT_TRUE(container.Load(R"(
import sys
out = {}
def run(c):
    def error(f, *args, **keywords):
        try:
            f(*args, **keywords)
            return 'none'
        except Exception as e:
            return type(e).__name__
    out['overflow'] = error(c.SetDebugMode, 2**31)
    out['bool'] = error(c.SetDebugMode, True)
    out['float for int'] = error(c.SetDebugMode, 1.0)
    out['int for float'] = error(c.AddRPCCallReqAsDouble, 3)
    out['nul'] = error(c.IsFileExist, 'a\0b')
    out['keywords'] = error(c.IsFileExist, pattern='x')
    out['bytes char'] = error(c.AddRPCCallReqAsChar, b'A')
    out['wide char'] = error(c.AddRPCCallReqAsChar, '\u4e2d')
    out['two texts'] = error(c.SaveCFileDialog, 'txt', 'a.txt')
    out['one text'] = error(c.SaveCFileDialog, 'txt')
    out['echo'] = c._F('\u4e2d\u6587')
    out['too long'] = c._F('x' * 10240)
    out['empty'] = c._J('')
)")) << container.LastError();
  ASSERT_TRUE(container.Call("run")) << container.LastError();
  const std::string out = container.Global("out");
  for (const char* expected :
       {"'overflow': 'OverflowError'", "'bool': 'none'", "'float for int': 'TypeError'", "'int for float': 'none'",
        "'nul': 'ValueError'", "'keywords': 'TypeError'", "'bytes char': 'none'", "'wide char': 'TypeError'",
        "'two texts': 'none'", "'one text': 'none'", "'echo': '\xe4\xb8\xad\xe6\x96\x87'", "'too long': ''", "'empty': ''"}) {
    EXPECT_NE(out.find(expected), std::string::npos) << expected << " in " << out;
  }
}

}  // namespace
