// The script grid loader through its exports and its window messages: the
// window and its pieces, the layout with and without histogram, loading a
// script, the script's grid through the "pygrid" module, the histogram of a
// selected column, a user's double click and return key, errors, and a data
// request against the real orbe-dataserver (refused while one is out).
#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "dataservice/transfer_server.h"
#include "orbe/env.h"
#include "orbe/platform/message_box.h"
#include "orbe/platform/profile.h"
#include "orbe/platform/text.h"
#include "orbe/platform/window.h"
#include "orbe/platform/window_class.h"
#include "orbe/script/py_grid.h"
#include "orbe/script/script_dialogs.h"
#include "orbe/widgets/histogram.h"
#include "orbe/widgets/hq_grid_ctrl.h"
#include "orbe/widgets/scroll_bar.h"
#include "script/py_grid_loader.h"
#include "script/script_server_environment.h"

extern "C" const char* __lsan_default_suppressions() { return "leak:libpython3"; }

namespace {

namespace fs = std::filesystem;
using orbe::script::CPyGridLoader;

constexpr int kWait = 20000;

const bool kWithRealComponents = orbe_test::RunWithRealComponents("orbe_pygrid_components");

// One server and one data environment for the program.
struct GridEnvironment : orbe_test::ScriptServerEnvironment {
  using ScriptServerEnvironment::ScriptServerEnvironment;
  static const std::string& DatabasePath() { return Server().Database(); }
};
const auto* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new GridEnvironment("pygrid", kWithRealComponents));

// What the host was asked to show (switch 12).
std::vector<std::string> g_switched;
int RecordSwitch(const void* target, int market, const void*, int length, int kind, int sub_kind, int) {
  g_switched.push_back(std::string(static_cast<const char*>(target)) + " " + std::to_string(market) + " " +
                       std::to_string(length) + " " + std::to_string(kind) + " " + std::to_string(sub_kind));
  return 1;
}

// A loader in a host window, and scripts written next to each other.
class PyGridLoaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host_.Create(nullptr, RECT{0, 0, 800, 600}, 1, WS_VISIBLE);
    grid_ = CreatePyGridWnd(&host_, WS_VISIBLE, 77, 0);
    ASSERT_NE(grid_, nullptr);
    loader_ = dynamic_cast<CPyGridLoader*>(grid_);
    ASSERT_NE(loader_, nullptr);
    scripts_ = GridEnvironment::Folder() + "scripts" + std::to_string(++number_);
    fs::create_directories(scripts_);
  }
  void TearDown() override { DestroyPyGridWnd(grid_); }

  // Writes `source` as module `name` (unique per test) and gives its path.
  std::string Script(const std::string& name, const std::string& source) {
    const std::string path = scripts_ + "/" + name + ".py";
    std::ofstream(path, std::ios::binary) << source;
    return path;
  }
  std::string Eval(const std::string& expression) {
    const orbe::ScriptLock lock;
    PyObject* main = PyImport_AddModule("__main__");
    PyObject* globals = PyModule_GetDict(main);
    PyObject* value = PyRun_String(expression.c_str(), Py_eval_input, globals, globals);
    PyObject* text = value != nullptr ? PyObject_Str(value) : nullptr;
    const char* utf8 = text != nullptr ? PyUnicode_AsUTF8(text) : nullptr;
    std::string result = utf8 != nullptr ? utf8 : "<error>";
    Py_XDECREF(text);
    Py_XDECREF(value);
    PyErr_Clear();
    return result;
  }

  CWnd host_;
  VCFGFunc* grid_ = nullptr;
  CPyGridLoader* loader_ = nullptr;
  std::string scripts_;
  static inline int number_ = 0;
};

// A rectangle as "left,top,right,bottom".
std::string Text(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

RECT PlaceOf(const CWnd& window) {
  RECT screen{}, parent{};
  window.GetWindowRect(&screen);
  window.GetParent()->GetWindowRect(&parent);
  return RECT{screen.left - parent.left, screen.top - parent.top, screen.right - parent.left,
              screen.bottom - parent.top};
}

TEST_F(PyGridLoaderTest, TheWindowItsPiecesAndTheirLayout) {
  char name[32] = {};
  EXPECT_GT(GetClassNameA(loader_->GetSafeHwnd(), name, sizeof name), 0);
  EXPECT_STREQ(name, "PyGridLoader");
  orbe::WindowClassLook look;
  ASSERT_TRUE(orbe::GetWindowClassLook(loader_->GetSafeHwnd(), &look));
  EXPECT_EQ(look.style, 16384u);
  EXPECT_FALSE(look.has_background);
  EXPECT_EQ(loader_->Grid()->GetDlgCtrlID(), 23401);
  EXPECT_EQ(loader_->Corner()->GetDlgCtrlID(), 65535);
  EXPECT_EQ(loader_->Corner()->GetBkColor(), RGB(0, 0, 0));
  EXPECT_EQ(loader_->Histogram()->GetType(), 1);
  EXPECT_EQ(loader_->Grid()->GetFixedTextColor(), 0xFFFF52u);
  EXPECT_EQ(loader_->Grid()->GetGridLineColor(), 192u);
  EXPECT_EQ(loader_->Grid()->GetSelColor(), 0x800000u);
  EXPECT_TRUE(loader_->Grid()->IsCrossSelection());
  EXPECT_EQ(loader_->Grid()->GetCrossMessage(), 1025u);
  EXPECT_EQ(grid_->GetRowCount(), 1) << "the heading row";
  EXPECT_EQ(grid_->GetColumnCount(), 0);

  // The four pieces fill the height (3/4 of it with the histogram below).
  struct Case {
    int width, height;
    bool grid_only;
    RECT grid, vbar, hbar, corner, histogram;
  };
  const Case cases[] = {
      {400, 300, false, {0, 0, 383, 208}, {383, 0, 400, 208}, {0, 208, 383, 225}, {383, 208, 400, 225},
       {0, 225, 400, 300}},
      {400, 300, true, {0, 0, 383, 283}, {383, 0, 400, 283}, {0, 283, 383, 300}, {383, 283, 400, 300},
       {0, 0, 0, 0}},
      {401, 303, false, {0, 0, 384, 210}, {384, 0, 401, 210}, {0, 210, 384, 227}, {384, 210, 401, 227},
       {0, 227, 401, 303}},
  };
  const std::string path = Script("layout_script", "def InitGrid():\n    pass\n");
  for (const Case& c : cases) {
    ASSERT_TRUE(grid_->LoadScriptEx(path, c.grid_only));
    grid_->MoveWindow(10, 20, 10 + c.width, 20 + c.height, 1);
    EXPECT_EQ(Text(PlaceOf(*loader_->Grid())), Text(c.grid)) << c.width << "x" << c.height << " " << c.grid_only;
    EXPECT_EQ(Text(PlaceOf(*loader_->VerticalBar())), Text(c.vbar));
    EXPECT_EQ(Text(PlaceOf(*loader_->HorizontalBar())), Text(c.hbar));
    EXPECT_EQ(Text(PlaceOf(*loader_->Corner())), Text(c.corner));
    if (c.grid_only) {
      EXPECT_FALSE(loader_->Histogram()->IsWindowVisible());
    } else {
      EXPECT_EQ(Text(PlaceOf(*loader_->Histogram())), Text(c.histogram));
      EXPECT_TRUE(loader_->Histogram()->IsWindowVisible());
    }
  }
  RECT place{};
  loader_->GetWindowRect(&place);
  EXPECT_EQ(place.left, 10);
  EXPECT_EQ(place.right - place.left, 401);
  // 1028 lays out again only with a client area.
  grid_->MoveWindow(0, 0, 0, 0, 1);
  grid_->PostLayout();
  orbe::RunUntilIdle();
  EXPECT_EQ(PlaceOf(*loader_->Grid()).right, 0);
}

TEST_F(PyGridLoaderTest, AScriptFillsItsGridAndTheHistogramFollowsTheSelectedColumn) {
  const std::string path = Script("fill_script", R"(
import pygrid
calls = []
def InitGrid():
    calls.append('InitGrid')
    pygrid.InsertHead('\u4ee3\u7801', 60, 0, 0, 1.0, 0, 0, 2, 1.0, 1, 1, -1)
    pygrid.InsertHead('\u540d\u79f0', 80, 0, 0, 1.0, 0, 0, 2, 1.0, 1, 0, -1)
    pygrid.InsertHead('\u6da8\u5e45%', 60, 1, 2, 1.0, 1, 0, 1, 1.0, 1, 0, -1)
    for row, (code, name, change) in enumerate([('600000', '\u6d66\u53d1\u94f6\u884c', 1.25), ('000001', '\u5e73\u5b89\u94f6\u884c', -0.5),
                                                 ('600519', '\u8d35\u5dde\u8305\u53f0', 2.0)]):
        pygrid.SetCellText(row, 0, code)
        pygrid.SetCellText(row, 1, name)
        pygrid.SetCellDoubleColor(row, 2, change, 255 if change > 0 else 0x008000)
    calls.append(pygrid.SetCellText(100000, 0, 'too far'))
    calls.append(pygrid.GetDataRowCount())
    calls.append(pygrid.FindRow(0, '600519'))
def OnUpdataHQ():
    calls.append('OnUpdataHQ')
    pygrid.UpdateCellDouble(0, 2, 1.5)
)");
  ASSERT_TRUE(grid_->LoadScript(path)) << loader_->LastError();
  grid_->MoveWindow(0, 0, 400, 300, 1);
  HQGridCtrl& grid = *loader_->Grid();
  EXPECT_EQ(grid.GetDataRowCount(), 3);
  EXPECT_EQ(grid.GetItemText(1, 1), "\xc6\xd6\xb7\xa2\xd2\xf8\xd0\xd0");  // 浦发银行 in GBK
  EXPECT_EQ(grid.GetItemText(2, 2), "-0.50");
  EXPECT_EQ(loader_->GetCodeColumn(), 0);
  {
    const orbe::ScriptLock lock;
    PyRun_SimpleString("import fill_script\nimport builtins\nbuiltins.fill_calls = fill_script.calls\n");
  }
  EXPECT_EQ(Eval("fill_calls"), "['InitGrid', 0, 3, 2]");

  // A user's click on the change column: the grid posts 1025, the histogram refills.
  ASSERT_TRUE(grid.ClickCell(2, 2));
  orbe::RunUntilIdle();
  KVXHistogram& histogram = *loader_->Histogram();
  ASSERT_EQ(histogram.GetItemCount(), 3);
  EXPECT_EQ(histogram.GetItem(0)->value, 1.25);
  EXPECT_EQ(histogram.GetItem(1)->label, "000001");
  EXPECT_EQ(histogram.GetDecimals(), 1) << "the head's histogram decimals";
  EXPECT_EQ(histogram.GetSelectedItem(), 1);
  // A click on a bar (1026) selects its row in the grid.
  ASSERT_TRUE(histogram.ClickItem(2));
  orbe::RunUntilIdle();
  EXPECT_EQ(grid.GetCrossCell().row, 3);
  EXPECT_TRUE(grid.IsCellSelected(3, 1));
  // 1029 calls OnUpdataHQ, a live update colours the rise.
  grid_->PostUpdateHQ();
  orbe::RunUntilIdle();
  EXPECT_EQ(grid.GetItemText(1, 2), "1.50");
  EXPECT_TRUE(grid.IsCellChanged(0, 2));
  // The focus row for the host.
  grid_->FocusGrid();
  EXPECT_EQ(grid_->GetFocusRowText().substr(0, 7), "600519\t");

  // The grid destroyed: the module's functions answer empty, still checking their arguments.
  DestroyPyGridWnd(grid_);
  grid_ = CreatePyGridWnd(&host_, WS_VISIBLE, 78, 0);
  DestroyPyGridWnd(grid_);
  grid_ = nullptr;
  {
    const orbe::ScriptLock lock;
    PyRun_SimpleString("import pygrid\nimport builtins\nbuiltins.after = (pygrid.GetRowCount(), pygrid.GetCellText(0, 0))\n"
                       "try:\n    pygrid.SetCellText(0)\n    builtins.arity = 'none'\nexcept TypeError:\n    builtins.arity = 'TypeError'\n");
  }
  EXPECT_EQ(Eval("after"), "(0, '')");
  EXPECT_EQ(Eval("arity"), "TypeError");
  grid_ = CreatePyGridWnd(&host_, WS_VISIBLE, 79, 0);  // for TearDown
}

TEST_F(PyGridLoaderTest, LoadingRulesUserActionsAndErrors) {
  // A name without ".py" is the module's own name; the folder joins the search path.
  std::ofstream(scripts_ + "/plainname", std::ios::binary) << "";
  const std::string plain = Script("plain_module", "def InitGrid():\n    import pygrid\n    pygrid.InsertHeadSimple('a', 40, 0)\n");
  fs::rename(plain, scripts_ + "/plain_module.py");
  EXPECT_TRUE(grid_->LoadScript(scripts_ + "/plain_module"));
  EXPECT_EQ(grid_->GetColumnCount(), 1);
  EXPECT_EQ(loader_->GetCodeColumn(), -1) << "each load starts without a code column";

  // A double click (or the return key) on a data row shows its security in the host.
  RegisterCallBack(nullptr, &RecordSwitch, nullptr);
  const std::string path = Script("actions_script", R"(
import pygrid
def InitGrid():
    pygrid.ClearGrid()  # the previous script's column stays until a script clears it
    pygrid.InsertHead('code', 60, 0, 0, 1.0, 0, 0, 2, 1.0, 1, 1, -1)
    pygrid.InsertHead('pic', 60, 0, 0, 1.0, 0, 27, 2, 1.0, 1, 0, -1)
    pygrid.SetCellText(0, 0, '600000')
    pygrid.SetCellText(0, 1, 'summary text')
    pygrid.SetCellText(1, 0, '12345')
)");
  ASSERT_TRUE(grid_->LoadScript(path));
  std::vector<std::string> dialogs;
  const auto previous = orbe::SetScriptDialogHandler([&](const orbe::ScriptDialogRequest& r) {
    dialogs.push_back(r.title + ":" + r.text);
    return std::string();
  });
  HQGridCtrl& grid = *loader_->Grid();
  g_switched.clear();
  ASSERT_TRUE(grid.DoubleClickCell(1, 0));
  EXPECT_EQ(g_switched, std::vector<std::string>{"600000 -1 -1 12 0"});
  grid.DoubleClickCell(2, 0);  // not six characters: nothing
  EXPECT_EQ(g_switched.size(), 1u);
  ASSERT_TRUE(grid.DoubleClickCell(1, 1));
  EXPECT_EQ(dialogs, std::vector<std::string>{"pic:summary text"}) << "a picture-summary head opens its dialog";
  grid.SetFocusCell(1, 0);
  orbe::PressKey(grid.GetSafeHwnd(), VK_RETURN);
  orbe::RunUntilIdle();
  EXPECT_EQ(g_switched.size(), 2u) << "the return key acts as a double click";
  orbe::SetScriptDialogHandler(previous);
  RegisterCallBack(nullptr, nullptr, nullptr);

  // Errors: shown with "错误信息" only while debugging.
  std::vector<std::string> boxes;
  const auto previous_box =
      orbe::SetMessageBoxHandler([&](HWND, const std::string&, const std::string& caption, UINT) {
        boxes.push_back(orbe::GbkToUtf8(caption));
        return IDOK;
      });
  const std::string broken = Script("broken_script", "def InitGrid():\n    raise ValueError('nope')\n");
  EXPECT_TRUE(grid_->LoadScript(broken)) << "the module loads; its InitGrid fails";
  EXPECT_NE(loader_->LastError().find("nope"), std::string::npos) << "the error: " << loader_->LastError();
  EXPECT_TRUE(boxes.empty());
  grid_->SetOption(1, 1001);
  EXPECT_TRUE(loader_->IsDebug());
  EXPECT_TRUE(grid_->LoadScript(broken));
  EXPECT_EQ(boxes, std::vector<std::string>{"\xe9\x94\x99\xe8\xaf\xaf\xe4\xbf\xa1\xe6\x81\xaf"});
  EXPECT_FALSE(grid_->LoadScript(scripts_ + "/missing_module.py"));
  grid_->SetOption(5, 7);
  EXPECT_EQ(loader_->GetOptionValue(), 5);
  grid_->SetOption(0, 1001);
  orbe::SetMessageBoxHandler(previous_box);
}

TEST_F(PyGridLoaderTest, ADataRequestIsRefusedWhileOneIsOutAndItsReplyFillsTheGrid) {
  const orbe_test::SqliteReader db(GridEnvironment::DatabasePath());
  const std::vector<std::string> counted = db.Row("SELECT count(*), min(T002) FROM t100000002");
  ASSERT_EQ(counted.size(), 2u);
  const int companies = std::atoi(counted[0].c_str());
  const std::string first_code = counted[1];

  const std::string path = Script("fetch_script", R"(
import pygrid
state = {}
def InitGrid():
    pygrid.InsertHead('code', 60, 0, 0, 1.0, 0, 0, 2, 1.0, 1, 1, -1)
    pygrid.InsertHead('staff', 60, 1, 0, 1.0, 1, 0, 0, 1.0, 1, 0, -1)
    state['first'] = pygrid.FetchData('Got', 'SELECT T002,T009 FROM 100000002 ORDER BY T002', 0, '')
    state['second'] = pygrid.FetchData('Got', 'SELECT T002 FROM 100000002', 0, '')
def Got():
    n = pygrid.GetRecordCount()
    for i in range(n):
        pygrid.SetCellText(i, 0, pygrid.GetFieldAsString(i, 'T002'))
        pygrid.SetCellInt(i, 1, pygrid.GetFieldAsInt(i, 'T009'))
    state['count'] = n
    state['absent'] = pygrid.GetFieldAsInt(n, 'T009')
    state['missing field'] = pygrid.GetFieldAsInt(0, 'T099')
)");
  ASSERT_TRUE(grid_->LoadScript(path)) << loader_->LastError();
  EXPECT_TRUE(loader_->IsBusy());
  EXPECT_FALSE(grid_->LoadScript(path)) << "no load while a request is out";
  {
    const orbe::ScriptLock lock;
    PyRun_SimpleString("import fetch_script\nimport builtins\nbuiltins.fetch_state = fetch_script.state\n");
  }
  ASSERT_TRUE(orbe::PumpUntil([&] { return !loader_->IsBusy(); }, kWait));
  orbe::RunUntilIdle();
  EXPECT_EQ(Eval("fetch_state['first']"), "1");
  EXPECT_EQ(Eval("fetch_state['second']"), "0");
  EXPECT_EQ(Eval("fetch_state['count']"), std::to_string(companies));
  EXPECT_EQ(Eval("fetch_state['absent']"), "87654321");
  EXPECT_EQ(Eval("fetch_state['missing field']"), "87654321");
  EXPECT_EQ(loader_->Grid()->GetItemText(1, 0), first_code);
  EXPECT_EQ(grid_->GetRowCount(), companies + 1);
}

}  // namespace
