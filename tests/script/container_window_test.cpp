// The script container window through its exports, as a host drives it:
// loading by path and ending, unloading, errors by debug mode, the pop-up
// dialogs and their names, subscriptions between windows and pushed messages,
// the window behind a script object, and windows taken away or reloaded from
// inside their own events.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "orbe/env.h"
#include "orbe/platform/dialog.h"
#include "orbe/platform/message_box.h"
#include "orbe/platform/text.h"
#include "orbe/platform/window.h"
#include "orbe/script/f10_fun.h"
#include "orbe/script/freeze_store.h"
#include "orbe/script/subscriptions.h"
#include "orbe/widgets/buttons.h"
#include "orbe/widgets/grid_ctrl.h"
#include "orbe/widgets/kvx_container.h"

extern "C" const char* __lsan_default_suppressions() { return "leak:libpython3"; }

namespace {

namespace fs = std::filesystem;

// A script's report to its host: SendMessage(first, second, "tell", value).
struct Told {
  std::string what;
  std::string value;
  bool operator==(const Told&) const = default;
};

class Host : public IF10MessageNotify {
 public:
  std::vector<Told> told;
  std::function<void(const std::string&)> on_message;
  void OnContainerMessage(const std::string& first, const std::string&, const std::string& name,
                          const std::string& value) override {
    if (name == "tell") told.push_back({orbe::GbkToUtf8(first), orbe::GbkToUtf8(value)});
    if (on_message) on_message(first);
  }
  std::string OnContainerQuery(const std::string&, const std::string&, const std::string& name,
                               const std::string&) override {
    return name == "ask" ? "answered" : "";
  }
  std::string Last(const std::string& what) const {
    for (auto it = told.rbegin(); it != told.rend(); ++it) {
      if (it->what == what) return it->value;
    }
    return "<none>";
  }
  int Count(const std::string& what) const {
    return static_cast<int>(std::count_if(told.begin(), told.end(), [&](const Told& t) { return t.what == what; }));
  }
};

std::string Text(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

constexpr char kTell[] = "def tell(c, what, value=''):\n    c.SendMessage(what, '', 'tell', str(value))\n";

class ContainerWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("orbe_window_" + std::to_string(::getpid()) + "_" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(folder_);
    ASSERT_TRUE(parent_.Create(nullptr, RECT{0, 0, 1000, 800}, 1, WS_VISIBLE));
    window_ = Make(host_);
    boxes_handler_ = orbe::SetMessageBoxHandler([this](HWND, const std::string& text, const std::string& caption, UINT) {
      boxes_.push_back(caption + ": " + text);  // GBK, as the literals here
      return IDOK;
    });
  }
  void TearDown() override {
    orbe::SetMessageBoxHandler(boxes_handler_);
    orbe::SetDialogHandler({});
    for (IF10Fun* window : windows_) DestroyF10Wnd(window);
    orbe::RunUntilIdle();
    orbe::DestroyGlobalDlg();
    fs::remove_all(folder_);
  }
  IF10Fun* Make(Host& host) {
    IF10Fun* window = CreateF10Wnd(&parent_, 0, 100 + static_cast<UINT>(windows_.size()), 0);
    EXPECT_NE(window, nullptr);
    window->SetMessageNotify(&host);
    window->MoveF10Wnd(0, 0, 600, 400, 0);
    windows_.push_back(window);
    return window;
  }
  // Writes a script file (UTF-8) under the folder; returns its path.
  std::string Write(const std::string& name, const std::string& source) {
    const fs::path path = folder_ / name;
    fs::create_directories(path.parent_path());
    std::ofstream(path) << kTell << source;
    return path.string();
  }
  CKVXContainer& Widgets(IF10Fun* window) { return *dynamic_cast<CKVXContainer*>(window->GetF10Wnd()); }

  fs::path folder_;
  CWnd parent_;
  Host host_;
  IF10Fun* window_ = nullptr;
  std::vector<IF10Fun*> windows_;
  std::vector<std::string> boxes_;
  orbe::MessageBoxHandler boxes_handler_;
};

// The file name decides the module: ".py" anywhere drops the last three
// characters, else ".kvx" the last four, else the load fails and the old
// script stays. A folder part other than "." goes onto the search paths.
TEST_F(ContainerWindowTest, TheFileNameRuleAndTheSearchPaths) {
  const std::string body = "def InitContainer(c, arg):\n    import sys\n    tell(c, 'init', __name__ + ' ' + arg)\n"
                           "    tell(c, 'paths', '|'.join(sys.path))\n";
  const std::string old_page = Write("rules/old_page.py", body);
  Write("rules/kvx_page.kvx", body);
  Write("rules/text_page.txt", body);
  Write("rules/bak_page.py.bak", body);
  Write("rules/bak_page.py", body);
  const std::string rules = (folder_ / "rules").string();
  struct Case {
    std::string path;
    bool loads;
    std::string init;  // what InitContainer told, "<none>" when it was not called
  };
  const std::vector<Case> cases = {
      {old_page, true, "old_page one"},
      {rules + "/kvx_page.kvx", true, "kvx_page one"},
      {rules + "/text_page.txt", false, "<none>"},
      // ".py" then more: only three characters go, and "bak_page.py." is no module.
      {rules + "/bak_page.py.bak", false, "<none>"},
      {rules + "/missing_page.py", false, "<none>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    host_.told.clear();
    window_->LoadScript(old_page, "zero", "InitContainer");
    host_.told.clear();
    EXPECT_EQ(window_->LoadScript(c.path, "one", "InitContainer"), c.loads);
    EXPECT_EQ(host_.Last("init"), c.init);
  }
  // A file name with neither ending leaves the old script loaded; an import
  // that fails leaves none.
  window_->LoadScript(old_page, "zero", "InitContainer");
  EXPECT_FALSE(window_->LoadScript(rules + "/text_page.txt", "", "InitContainer"));
  EXPECT_TRUE(window_->IsScriptLoaded());
  EXPECT_TRUE(window_->CallPyFunction("InitContainer", {"again"}));
  EXPECT_FALSE(window_->LoadScript(rules + "/missing_page.py", "", "InitContainer"));
  EXPECT_FALSE(window_->IsScriptLoaded());

  // "." is not added: the folder of the working directory is no search path.
  const fs::path here = fs::current_path();
  fs::create_directories(folder_ / "cwd");
  Write("cwd/dot_page.py", body);
  fs::current_path(folder_ / "cwd");
  EXPECT_FALSE(window_->LoadScript("./dot_page.py", "", "InitContainer"));
  fs::current_path(here);
  ASSERT_TRUE(window_->LoadScript(old_page, "x", "InitContainer"));
  const std::string paths = "|" + host_.Last("paths") + "|";
  EXPECT_NE(paths.find("|" + rules + "|"), std::string::npos) << paths;
  EXPECT_EQ(paths.find("|.|"), std::string::npos) << paths;
  EXPECT_EQ(paths.find((folder_ / "cwd").string()), std::string::npos) << paths;
}

TEST_F(ContainerWindowTest, UnInitContainerOnlyWhenTheScriptEnabledIt) {
  const std::string enabling = Write("enabling.py", R"(
def InitContainer(c, arg):
    c.EnableUnInitContainer(1)
def UnInitContainer(c):
    tell(c, 'uninit', 'enabling')
)");
  const std::string silent = Write("silent.py", R"(
def InitContainer(c, arg):
    pass
def UnInitContainer(c):
    tell(c, 'uninit', 'silent')
)");
  struct Step {
    std::string path;
    int uninit_calls;  // after this load
  };
  const std::vector<Step> steps = {{silent, 0}, {enabling, 0}, {silent, 1}, {enabling, 1}, {enabling, 2},
                                   {enabling, 3}, {silent, 4}, {silent, 4}};
  for (std::size_t i = 0; i < steps.size(); ++i) {
    ASSERT_TRUE(window_->LoadScript(steps[i].path, "", "InitContainer")) << i;
    EXPECT_EQ(host_.Count("uninit"), steps[i].uninit_calls) << i;
  }
  EXPECT_EQ(host_.Last("uninit"), "enabling");
}

// Errors reach "错误信息" boxes only in debug mode; with option 2 an event the
// script does not handle is no error, while a missing entry still is.
TEST_F(ContainerWindowTest, ErrorsAreShownOnlyInDebugModeAndQuietEventsAreSkipped) {
  const std::string page = Write("errors.py", R"(
def InitContainer(c, arg):
    if arg == 'raise':
        raise ValueError('bad page ' + arg)
def debug(c):
    c.SetDebugMode(1)
)");
  struct Case {
    int debug;   // option 1001
    int quiet;   // option 2
    std::string entry;
    std::string argument;
    bool size_event;
    std::vector<std::string> shown;  // the start of each box
  };
  const std::vector<Case> cases = {
      {0, 0, "InitContainer", "raise", true, {}},
      {1, 0, "InitContainer", "raise", false, {"错误信息: Traceback"}},
      {1, 0, "InitContainer", "fine", true, {"错误信息: AttributeError"}},  // no OnSize
      {1, 1, "InitContainer", "fine", true, {}},
      {1, 1, "NoSuchEntry", "fine", false, {"错误信息: AttributeError"}},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(i);
    window_->SetOption(kF10OptionDebug, c.debug);
    window_->SetOption(kF10OptionQuietEvents, c.quiet);
    boxes_.clear();
    ASSERT_TRUE(window_->LoadScript(page, c.argument, c.entry));
    if (c.size_event) window_->MoveF10Wnd(0, 0, 500 + static_cast<int>(i), 300, 0);
    ASSERT_EQ(boxes_.size(), c.shown.size()) << (boxes_.empty() ? "" : boxes_.front());
    for (std::size_t b = 0; b < boxes_.size(); ++b) EXPECT_EQ(boxes_[b].rfind(c.shown[b], 0), 0u) << boxes_[b];
  }
  // The text names what went wrong; SetDebugMode turns it on from the script.
  window_->SetOption(kF10OptionDebug, 0);
  ASSERT_TRUE(window_->LoadScript(page, "fine", "InitContainer"));
  ASSERT_TRUE(window_->CallPyFunction("debug", {}));
  boxes_.clear();
  EXPECT_FALSE(window_->CallPyFunction("InitContainer", {"raise"}));
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_NE(boxes_[0].find("ValueError: bad page raise"), std::string::npos) << boxes_[0];
}

// The pop-up's script sets its return value, resizes it (a size with one
// number does nothing), asks whether the password is the default one, hands
// back a result object and closes it.
TEST_F(ContainerWindowTest, PopUpDialogsReturnResizeAnswerAndHandBackTheirResult) {
  static std::string g_login = "user|531531|x";
  RegisterCallBack(
      [](int*, int, int code, void* buffer, short, HostValue7, HostValue7, int, int) -> int {
        if (code != 0x84) return 0;
        if (buffer != nullptr) std::memcpy(buffer, g_login.c_str(), g_login.size() + 1);
        return static_cast<int>(g_login.size() + 1);
      },
      nullptr, nullptr);
  const std::string popup = Write("popup.py", R"(
class Result:
    pass
def InitContainer(c, arg):
    c.FreezeSet('popup test', 'password', c.GetMessage('', '', 'IS_DEFAULT_PASSWORD', ''))
    c.FreezeSet('popup test', 'other', c.GetMessage('', '', 'ANY_OTHER', '') or 'empty')
    c.SendMessage('', '', 'KVXCONTAINER_DLG_RETURN_INT', '7' if arg == 'modal' else '0')
    c.SendMessage('', '', 'KVXCONTAINER_DLG_RESIZE', '300')
    c.SendMessage('', '', 'KVXCONTAINER_DLG_RESIZE', '320,240')
    r = Result()
    r.picked = 'picked ' + arg
    c.SaveObject('KVXCONTAINER_DLG_RESULT', r)
    if arg != 'stay':
        c.SendMessage('', '', 'KVXCONTAINER_DLG_CLOSE', '')
)");
  EXPECT_EQ(PopF10WndAsModalDlg("title", 400, 300, popup, "modal"), 7);
  EXPECT_EQ(orbe::FreezeStore::Module().Get("popup test", "password"), "YES");
  EXPECT_EQ(orbe::FreezeStore::Module().Get("popup test", "other"), "empty");
  g_login = "user|secret";
  EXPECT_EQ(PopF10WndAsModalDlg("title", 400, 300, popup, "modal"), 7);
  EXPECT_EQ(orbe::FreezeStore::Module().Get("popup test", "password"), "NO");

  // A script's own modal pop-up: its result object becomes the caller's.
  const std::string caller = Write("caller.py", R"(
def InitContainer(c, arg):
    c.PopModalDlg('pick', 300, 200, 'popup.py', 'from caller')
    r = c.PickObject('KVXCONTAINER_DLG_RESULT')
    tell(c, 'result', r.picked if r is not None else None)
)");
  ASSERT_TRUE(window_->LoadScript(caller, "", "InitContainer"));
  EXPECT_EQ(host_.Last("result"), "picked from caller");

  // The module-wide pop-up stays, top-most, sized by its script and centred.
  GlobalDlgRunScript("global", popup, "stay");
  CWnd* dialog = orbe::GlobalDlgWindow();
  ASSERT_NE(dialog, nullptr);
  RECT rect;
  dialog->GetWindowRect(&rect);
  EXPECT_EQ(rect.right - rect.left, 320);
  EXPECT_EQ(rect.bottom - rect.top, 240);
  EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - 320) / 2);
  EXPECT_TRUE(dialog->IsWindowVisible());
  EXPECT_NE(dialog->GetExStyle() & WS_EX_TOPMOST, 0u);
  CString caption;
  dialog->GetWindowText(caption);
  EXPECT_EQ(caption, "global");
  HideGlobalDlg();
  EXPECT_FALSE(dialog->IsWindowVisible());
  ShowGlobalDlg(10, 20, 200, 100);
  dialog->GetWindowRect(&rect);
  EXPECT_EQ(Text(rect), "10,20,210,120");
  ShowGlobalDlg(-2, 5, 250, -1);  // keeps its place, takes the width
  dialog->GetWindowRect(&rect);
  EXPECT_EQ(Text(rect), "10,20,260,120");
  // The host cannot delete the pop-up's own container.
  DestroyF10Wnd(orbe::GlobalDlgContainer());
  orbe::RunUntilIdle();
  EXPECT_TRUE(orbe::GlobalDlgContainer()->IsScriptLoaded());
  // The close message hides the module-wide pop-up.
  EXPECT_TRUE(orbe::GlobalDlgContainer()->CallPyFunction("InitContainer", {"close"}));
  EXPECT_FALSE(dialog->IsWindowVisible());
  orbe::DestroyGlobalDlg();
  EXPECT_EQ(orbe::GlobalDlgWindow(), nullptr);
  RegisterCallBack(nullptr, nullptr, nullptr);
}

// Subscribers of an id hear each other at once, inside the sender's call; a
// load drops a window's subscriptions; pushes go to the windows subscribed to
// the push id only.
TEST_F(ContainerWindowTest, SubscriptionsAcrossWindowsAndPushedMessages) {
  Host other_host;
  IF10Fun* other = Make(other_host);
  const std::string page = Write("subscriber.py", R"(
def InitContainer(c, ids):
    for i in ids.split(','):
        if i:
            c.SubscribeMessage(int(i))
def send(c, id, text):
    tell(c, 'sent', c.SendSubscribeMessage(int(id), text, 'second'))
def OnSubscribeMessage(c, id, first, second):
    tell(c, 'heard', id + ' ' + first + ' ' + second)
def OnTPPushMessage(c, length):
    tell(c, 'push', length + ' ' + str(c.PopPushBufAsInt()))
)");
  ASSERT_TRUE(window_->LoadScript(page, "5,2000000001", "InitContainer"));
  ASSERT_TRUE(other->LoadScript(page, "5,6", "InitContainer"));
  struct Case {
    IF10Fun* sender;
    std::string id;
    std::string sent;
    int mine;    // what the first window heard, in total
    int theirs;  // what the other heard, in total
  };
  const std::vector<Case> cases = {
      {window_, "5", "1", 1, 1},  // the sender is a subscriber too
      {other, "6", "1", 1, 2},
      {window_, "7", "0", 1, 2},           // nobody subscribed
      {window_, "2000000000", "0", 1, 2},  // reserved
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    Host& sender = c.sender == window_ ? host_ : other_host;
    ASSERT_TRUE(c.sender->CallPyFunction("send", {c.id, "hello"}));
    EXPECT_EQ(sender.Last("sent"), c.sent);
    EXPECT_EQ(host_.Count("heard"), c.mine);
    EXPECT_EQ(other_host.Count("heard"), c.theirs);
  }
  EXPECT_EQ(other_host.Last("heard"), "6 hello second");

  const unsigned char pushed[] = {0x2A, 0, 0, 0, 9};
  PyConMessageMgr::Instance().OnPushMessage(pushed, sizeof pushed);
  orbe::RunUntilIdle();
  EXPECT_EQ(host_.Last("push"), "5 42");
  EXPECT_EQ(other_host.Count("push"), 0);

  // A new load starts without subscriptions.
  ASSERT_TRUE(window_->LoadScript(page, "", "InitContainer"));
  ASSERT_TRUE(other->CallPyFunction("send", {"5", "again"}));
  EXPECT_EQ(host_.Count("heard"), 1);
  EXPECT_EQ(other_host.Count("heard"), 3);
  PyConMessageMgr::Instance().OnPushMessage(pushed, sizeof pushed);
  orbe::RunUntilIdle();
  EXPECT_EQ(host_.Count("push"), 1);
}

// GetF10FunFromObject, reached as a host's C code would reach it: the object
// of a running call gives its window, a kept one nothing.
TEST_F(ContainerWindowTest, TheWindowBehindAScriptObjectOnlyDuringItsCall) {
  const std::string page = Write("object.py", R"(
import ctypes
lookup = ctypes.CDLL(None).GetF10FunFromObject
lookup.restype = ctypes.c_void_p
lookup.argtypes = [ctypes.py_object]
kept = []
def InitContainer(c, arg):
    kept.append(c)
    tell(c, 'during', lookup(c) or 0)
def later(c):
    tell(c, 'kept', lookup(kept[0]) or 0)
    tell(c, 'other', lookup('not an object') or 0)
)");
  ASSERT_TRUE(window_->LoadScript(page, "", "InitContainer"));
  ASSERT_TRUE(window_->CallPyFunction("later", {}));
  EXPECT_EQ(host_.Last("during"), std::to_string(reinterpret_cast<std::uintptr_t>(window_)));
  EXPECT_EQ(host_.Last("kept"), "0");
  EXPECT_EQ(host_.Last("other"), "0");
}

// A script that reloads itself from a button's event, one whose grid goes
// with a reload from inside its own click, and a host that destroys the
// window from inside one of its events: no widget or window is freed while
// its code runs (the ASan build checks), and each goes once it has returned.
TEST_F(ContainerWindowTest, ReloadingAndDestroyingFromInsideTheirOwnEvents) {
  const std::string page = Write("reload.py", R"(
loads = []
def InitContainer(c, arg):
    loads.append(arg)
    tell(c, 'loads', len(loads))
def OnButtonClicked(c, id):
    c.RunOtherScript('reload.py', 'from button')
def OnGridLButClick(c, id, row, col):
    c.RunOtherScript('reload.py', 'from grid')
def OnGridLButDblClick(c, id, row, col):
    tell(c, 'double', id)
def close(c):
    c.SendMessage('', '', 'destroy me', '')
)");
  ASSERT_TRUE(window_->LoadScript(page, "first", "InitContainer"));
  CKVXContainer& widgets = Widgets(window_);
  for (int round = 0; round < 3; ++round) {
    int button = 0;
    ASSERT_TRUE(widgets.Button_AddWnd(0, 0, 80, 20, button, "reload"));
    auto* const clicked = widgets.GetWidget<CKvxButton>(button);
    EXPECT_TRUE(clicked->Click());
    EXPECT_EQ(widgets.GetWndCount(), 0);
    EXPECT_EQ(widgets.GetRetiredCount(), 1);
    orbe::RunUntilIdle();
    EXPECT_EQ(widgets.GetRetiredCount(), 0);
  }
  EXPECT_EQ(host_.Last("loads"), "1");  // reloaded: the module starts afresh each time
  int grid = 0;
  ASSERT_TRUE(widgets.Grid_AddWnd(0, 0, 300, 200, grid, ""));
  widgets.GetGrid(grid)->SetRowCount(3);
  widgets.GetGrid(grid)->SetColumnCount(3);
  EXPECT_TRUE(widgets.GetGrid(grid)->DoubleClickCell(1, 1));
  EXPECT_EQ(host_.Count("double"), 0);  // the click took the grid away
  orbe::RunUntilIdle();
  EXPECT_EQ(widgets.GetRetiredCount(), 0);

  // The host destroys the window while the script's call is still running.
  const HWND handle = widgets.GetSafeHwnd();
  host_.on_message = [&](const std::string&) {
    DestroyF10Wnd(window_);
    windows_.erase(std::find(windows_.begin(), windows_.end(), window_));
  };
  EXPECT_TRUE(window_->CallPyFunction("close", {}));
  EXPECT_TRUE(IsWindow(handle));
  EXPECT_FALSE(CWnd::FromHandle(handle)->IsWindowVisible());
  orbe::RunUntilIdle();
  EXPECT_FALSE(IsWindow(handle));
}

}  // namespace
