// Every fixed-name function of a container window, raised as a user, a timer,
// a resize, a sender or a transfer would raise it, reaches the script with
// the arguments of its letters. The window is made through CreateF10Wnd, its
// widgets are added through the widget container it is, and the script tells
// the host (its message target) what it was called with.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "orbe/platform/text.h"
#include "orbe/platform/window.h"
#include "orbe/script/container_events.h"
#include "orbe/script/f10_fun.h"
#include "orbe/script/subscriptions.h"
#include "orbe/widgets/buttons.h"
#include "orbe/widgets/chart_ctrl.h"
#include "orbe/widgets/color_edit.h"
#include "orbe/widgets/combo_tree.h"
#include "orbe/widgets/combos.h"
#include "orbe/widgets/date_controls.h"
#include "orbe/widgets/grid_ctrl.h"
#include "orbe/widgets/kvx_container.h"
#include "orbe/widgets/list_tree.h"
#include "orbe/widgets/pager.h"
#include "orbe/widgets/pie.h"
#include "orbe/widgets/plugin_wnd.h"
#include "orbe/widgets/spin.h"
#include "orbe/widgets/switch_ex.h"
#include "orbe/widgets/up_down_stream.h"
#include "orbe/widgets/web_pane.h"

extern "C" const char* __lsan_default_suppressions() { return "leak:libpython3"; }

namespace {

namespace fs = std::filesystem;

using Args = std::vector<std::string>;

// What the script sent: one entry per call, the function's name and its texts.
struct Heard {
  std::string name;
  Args args;
};

class Host : public IF10MessageNotify {
 public:
  std::vector<Heard> heard;
  void OnContainerMessage(const std::string& first, const std::string&, const std::string& name,
                          const std::string& value) override {
    if (name != "event") return;
    Args args;
    if (!value.empty()) {
      for (std::size_t start = 0;;) {
        const std::size_t tab = value.find('\t', start);
        args.push_back(value.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) break;
        start = tab + 1;
      }
    }
    heard.push_back({first, args});
  }
  std::string OnContainerQuery(const std::string&, const std::string&, const std::string&,
                               const std::string&) override {
    return "";
  }
};

// A handler for every function of the table: it tells the host its name and
// texts. The script also subscribes, enables keys, a timer and unloading.
std::string EventScript() {
  std::string script = "def tell(c, name, args):\n    c.SendMessage(name, '', 'event', '\\t'.join(args))\n";
  for (const orbe::ContainerEvent& event : orbe::kContainerEvents) {
    const std::string name(event.name);
    script += "def " + name + "(c, *args):\n    tell(c, '" + name + "', args)\n";
  }
  script += R"(
def InitContainer(c, arg):
    tell(c, 'InitContainer', (arg,))
    c.EnableUnInitContainer(1)
    c.EnableKeyDownMsg(1)
    c.SubscribeMessage(77)
    c.SubscribeMessage(2000000001)
def send(c):
    c.SendSubscribeMessage(77, 'first', 'second text')
def timer(c, on):
    if int(on):
        c.RegisterTimer(0)
    else:
        c.UnRegisterTimer()
)";
  return script;
}

bool IsNumber(const std::string& text) {
  if (text.empty()) return false;
  std::size_t at = text[0] == '-' ? 1 : 0;
  if (at == text.size()) return false;
  for (; at < text.size(); ++at) {
    if (text[at] < '0' || text[at] > '9') return false;
  }
  return true;
}

class ContainerEventsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("orbe_events_" + std::to_string(::getpid()));
    fs::create_directories(folder_);
    std::ofstream(folder_ / "event_page.py") << EventScript();
    ASSERT_TRUE(parent_.Create(nullptr, RECT{0, 0, 1000, 800}, 1, WS_VISIBLE));
    window_ = CreateF10Wnd(&parent_, 0, 100, 0);
    ASSERT_NE(window_, nullptr);
    window_->SetMessageNotify(&host_);
    widgets_ = dynamic_cast<CKVXContainer*>(window_->GetF10Wnd());
    ASSERT_NE(widgets_, nullptr);
  }
  void TearDown() override {
    DestroyF10Wnd(window_);
    orbe::RunUntilIdle();
    fs::remove_all(folder_);
  }
  bool Load() { return window_->LoadScript((folder_ / "event_page.py").string(), "the argument", "InitContainer"); }
  int Add(int kind, const std::string& text = "") {
    int id = 0;
    widgets_->AddWnd(10, 10, 200, 100, id, kind, text);
    return id;
  }
  template <typename T>
  T* Widget(int id) {
    return widgets_->GetWidget<T>(id);
  }
  // The widget of that kind added last.
  int LastOf(orbe::WidgetKind kind) const {
    int found = 0;
    for (const int id : widgets_->GetAllWndID()) {
      if (widgets_->GetWndType(id) == static_cast<int>(kind)) found = id;
    }
    return found;
  }
  bool Told(const std::string& name) const {
    return std::any_of(host_.heard.begin(), host_.heard.end(), [&](const Heard& h) { return h.name == name; });
  }

  fs::path folder_;
  CWnd parent_;
  Host host_;
  IF10Fun* window_ = nullptr;
  CKVXContainer* widgets_ = nullptr;
};

TEST_F(ContainerEventsTest, EveryEventOfTheTableReachesItsFunctionWithItsArguments) {
  using orbe::WidgetKind;
  const auto kind = [](WidgetKind k) { return static_cast<int>(k); };
  const std::string id_text = "%ID%";  // the widget's id in an expectation

  struct Case {
    std::string event;
    std::function<int()> act;  // does it; returns the id that %ID% stands for
    Args expected;
  };
  const int container_id = widgets_->GetDlgCtrlID();
  const auto grid_id = [&] { return LastOf(WidgetKind::kGrid); };
  const auto edit_id = [&] { return LastOf(WidgetKind::kEdit); };
  const auto web_id = [&] { return LastOf(WidgetKind::kWeb); };
  const auto chart_id = [&] { return LastOf(WidgetKind::kChart); };
  const auto list_tree_id = [&] { return LastOf(WidgetKind::kListTree); };
  int chart_series = 0;
  int point_x = -1;
  int point_y = -1;
  HTREEITEM list_item = 0;
  const std::vector<Case> cases = {
      {"InitContainer", [&] { return Load() ? 0 : -1; }, {"the argument"}},
      {"OnSize", [&] { window_->MoveF10Wnd(0, 0, 640, 480, 0); return 0; }, {"640", "480"}},
      {"OnKeyDown", [&] { orbe::PressKey(widgets_->GetSafeHwnd(), 'A'); return 0; }, {"65", "1", "0"}},
      {"OnSwitchChanged",
       [&] {
         const int id = Add(kind(WidgetKind::kSwitch), "one");
         Widget<CSwitchEx>(id)->InsertSwitchLabel(-1, "two");
         Widget<CSwitchEx>(id)->ClickLabel(1);
         return id;
       },
       {id_text, "1"}},
      {"OnGridSelChanged",
       [&] {
         const int id = Add(kind(WidgetKind::kGrid));
         CGridCtrl* grid = widgets_->GetGrid(id);
         grid->SetRowCount(5);
         grid->SetColumnCount(4);
         grid->SetFixedRowCount(1);
         grid->ClickCell(1, 2);
         return id;
       },
       {id_text, "1", "2"}},
      {"OnGridLButClick", [&] { widgets_->GetGrid(grid_id())->ClickCell(2, 3); return grid_id(); },
       {id_text, "2", "3"}},
      {"OnGridCheckCellClicked",
       [&] {
         CGridCtrl* grid = widgets_->GetGrid(grid_id());
         grid->SetCellType(3, 1, GridCellType::kCheck);
         grid->ClickCell(3, 1);
         return grid_id();
       },
       {id_text, "3", "1"}},
      {"OnGridLButDblClick", [&] { widgets_->GetGrid(grid_id())->DoubleClickCell(4, 2); return grid_id(); },
       {id_text, "4", "2"}},
      {"OnGridComboCellSelChange",
       [&] {
         CGridCtrl* grid = widgets_->GetGrid(grid_id());
         grid->SetCellType(4, 3, GridCellType::kCombo);
         grid->SetComboItems(4, 3, {"a", "\xd2\xd2"});  // "乙"
         grid->PickComboEntry(4, 3, 1);
         return grid_id();
       },
       {id_text, "4", "3", "\xd2\xd2"}},  // texts reach the host as GBK
      {"OnGridCellEndEdit",
       [&] {
         CGridCtrl* grid = widgets_->GetGrid(grid_id());
         grid->SetItemText(2, 1, "old");
         grid->EditCell(2, 1, "new");
         return grid_id();
       },
       {id_text, "new", "2", "1", "old"}},
      {"OnPieSelChanged",
       [&] {
         const int id = Add(kind(WidgetKind::kPie));
         Widget<CKvxPieChart>(id)->InsertItem("a", "", 1, CLR_NONE);
         Widget<CKvxPieChart>(id)->InsertItem("b", "", 2, CLR_NONE);
         Widget<CKvxPieChart>(id)->ClickElement(1);
         return id;
       },
       {id_text, "1", "b"}},
      {"OnComboSelChanged",
       [&] {
         const int id = Add(kind(WidgetKind::kCombo));
         Widget<CKvxComboBox>(id)->AddString("600000");
         Widget<CKvxComboBox>(id)->AddString("000001");
         Widget<CKvxComboBox>(id)->PickItem(1);
         return id;
       },
       {id_text, "1", "000001"}},
      {"OnComboFocus",
       [&] {
         const int id = Add(kind(WidgetKind::kCombo));
         Widget<CKvxComboBox>(id)->EnableFocusMsg(true);
         Widget<CKvxComboBox>(id)->SetFocusState(true);
         return id;
       },
       {id_text, "1"}},
      {"OnCheckComboItemCheck",
       [&] {
         const int id = Add(kind(WidgetKind::kCheckCombo));
         Widget<CKvxCheckCombo>(id)->AddString("x");
         Widget<CKvxCheckCombo>(id)->ClickItemCheck(0);
         return id;
       },
       {id_text, "0", "x", "1"}},
      {"OnRadioCheckedChanged", [&] { const int id = Add(kind(WidgetKind::kRadio)); Widget<CKvxRadio>(id)->Click(); return id; },
       {id_text, "1"}},
      {"OnCheckBoxCheckedChanged",
       [&] { const int id = Add(kind(WidgetKind::kCheck)); Widget<CKvxCheckBox>(id)->Click(); return id; },
       {id_text, "1"}},
      {"OnSpinPosChanged", [&] { const int id = Add(kind(WidgetKind::kSpin)); Widget<CKvxSpin>(id)->Step(3); return id; },
       {id_text, "3"}},
      {"OnPagingIndexChanged",
       [&] {
         const int id = Add(kind(WidgetKind::kPaging));
         Widget<CKvxPager>(id)->SetTotalPageNum(5);
         Widget<CKvxPager>(id)->ClickPage(4);
         return id;
       },
       {id_text, "4"}},
      {"OnXPagingIndexChanged",
       [&] {
         const int id = Add(kind(WidgetKind::kXPaging));
         Widget<CKvxPager>(id)->SetTotalPageNum(9);
         Widget<CKvxPager>(id)->ClickPage(7);
         return id;
       },
       {id_text, "7"}},
      {"OnButtonClicked", [&] { const int id = Add(kind(WidgetKind::kButton)); Widget<CKvxButton>(id)->Click(); return id; },
       {id_text}},
      {"OnRichEditTextChanged",
       [&] {
         const int id = Add(kind(WidgetKind::kEdit), "ab");
         widgets_->GetEdit(id)->EnableMessageNotify(widgets_, true);
         widgets_->GetEdit(id)->EnableFocusMessageNotify(widgets_, true);
         widgets_->GetEdit(id)->TypeText("c");
         return id;
       },
       {id_text, "abc"}},
      {"OnRichEditEnterKeyDown",
       [&] {
         widgets_->GetEdit(edit_id())->SetSingleLine(true);
         widgets_->GetEdit(edit_id())->PressEnter();
         return edit_id();
       },
       {id_text}},
      {"OnRichEditSetfocus", [&] { widgets_->GetEdit(edit_id())->SetFocus(); return edit_id(); }, {id_text}},
      {"OnRichEditKillfocus", [&] { widgets_->SetFocus(); return edit_id(); }, {id_text}},
      {"OnPictureBtnClick",
       [&] { const int id = Add(kind(WidgetKind::kPictureButton)); Widget<CKvxPictureButton>(id)->Click(); return id; },
       {id_text}},
      {"OnWebNavigate",
       [&] {
         const int id = Add(kind(WidgetKind::kWeb), "http://a/");
         widgets_->GetWeb(id)->FollowLink("http://a/b?c=1");
         return id;
       },
       {id_text, "http://a/b?c=1"}},
      {"OnWebNewWindow2Explorer",
       [&] {
         widgets_->GetWeb(web_id())->EnablePopNoIEWindow(true);
         widgets_->GetWeb(web_id())->OpenNewWindow("http://a/new");
         return web_id();
       },
       {id_text}},
      {"OnWebWindowClosing", [&] { widgets_->GetWeb(web_id())->ClosePage(true); return web_id(); }, {id_text, "1"}},
      {"OnMenuItemClicked",
       [&] {
         widgets_->GetMenu().Init("m", 0);
         widgets_->GetMenu().Append(0, 31, "item", false, false, false, -1);
         widgets_->GetMenu().Track(5, 5, 0);
         widgets_->GetMenu().Pick(31);
         return 31;
       },
       {id_text}},
      {"OnDateTimeChanged",
       [&] {
         const int id = Add(kind(WidgetKind::kDateTime));
         Widget<CKvxDateTimePicker>(id)->PickDateTime("2026-03-04", "09:30:00");
         return id;
       },
       {id_text, "2026-03-04", "09:30:00"}},
      {"OnMonthCalSelChanged",
       [&] {
         const int id = Add(kind(WidgetKind::kMonthCal));
         Widget<CKvxMonthCalendar>(id)->ClickDay("2026-05-06");
         return id;
       },
       {id_text, "2026-05-06"}},
      {"OnUpDownStreamSelChanged",
       [&] {
         const int id = Add(kind(WidgetKind::kUpDownStream));
         Widget<CKvxUpDownStream>(id)->AddUpStreamItem("upper", CLR_DEFAULT);
         Widget<CKvxUpDownStream>(id)->ClickItem(true, 0);
         return id;
       },
       {id_text, "upper"}},
      {"OnComboTreeDblClk",
       [&] {
         const int id = Add(kind(WidgetKind::kComboTree));
         Widget<CKvxComboTree>(id)->AddString("a\\b");
         Widget<CKvxComboTree>(id)->DoubleClickItem("a\\b");
         return id;
       },
       {id_text, "a\\b"}},
      {"OnComboTreeCheck",
       [&] {
         const int id = LastOf(WidgetKind::kComboTree);
         Widget<CKvxComboTree>(id)->ClickCheck("a\\b");
         return id;
       },
       {id_text, "a\\b", "1"}},
      {"OnChartMouseEventSeries",
       [&] {
         const int id = Add(kind(WidgetKind::kChart));
         CChartCtrl* chart = widgets_->GetChart(id);
         chart_series = chart->AddSerie(ChartSeriesKind::kPoints, "s");
         widgets_->Chart_RegisterXYPointMouseListener(id, chart_series);
         chart->AddPoint(chart_series, 0, 0);
         chart->AddPoint(chart_series, 1, 1);
         chart->ClickPoint(chart_series, 1, ChartMouseEvent::kDoubleClick);
         chart->GetPointScreenPos(chart_series, 1, &point_x, &point_y);
         return id;
       },
       {id_text, "%SERIES%", "1", "1", "%X%", "%Y%"}},
      {"OnChartKeyEventPlotArea",
       [&] {
         CChartCtrl* chart = widgets_->GetChart(chart_id());
         chart->EnableKeyDownMsg(true);
         chart->PressKey('K');
         return chart_id();
       },
       {id_text, "75", "K"}},
      {"OnPluginMessage",
       [&] {
         int id = 0;
         widgets_->AddPluginWnd(0, 0, 10, 10, id, 5, 0);
         Widget<CKvxPluginWnd>(id)->SendToHost("name", "value");
         return id;
       },
       {id_text, "name", "value"}},
      {"OnContainerRButtonUp",
       [&] {
         orbe::ClickMouse(widgets_->GetSafeHwnd(), 30, 40, orbe::MouseButton::kRight);
         return container_id;
       },
       {id_text, "30", "40"}},
      {"OnListTreeButtonClk",
       [&] {
         const int id = Add(kind(WidgetKind::kListTree));
         list_item = Widget<TListTree>(id)->NewRootItem("root", 9);
         Widget<TListTree>(id)->ClickItem(list_item);
         return id;
       },
       {id_text, "%ITEM%", "root"}},
      {"OnListTreeButtonDbl",
       [&] {
         Widget<TListTree>(list_tree_id())->DoubleClickItem(list_item);
         return list_tree_id();
       },
       {id_text, "%ITEM%", "root"}},
      {"OnSubscribeMessage", [&] { window_->CallPyFunction("send", {}); return 77; }, {id_text, "first", "second text"}},
      {"OnTPPushMessage",
       [&] {
         const unsigned char pushed[] = {1, 2, 3, 4, 5};
         PyConMessageMgr::Instance().OnPushMessage(pushed, sizeof pushed);
         return 0;
       },
       {"5"}},
      {"OnUDMReplyProcess",
       [&] {
         PostMessage(widgets_->GetSafeHwnd(), kContainerTransferMessage, 12, 100);
         return 0;
       },
       {"12", "100"}},
      {"OnTPOriginal",
       [&] {
         PostMessage(widgets_->GetSafeHwnd(), kContainerPassThroughMessage, 100, 0);
         return 0;
       },
       {"100"}},
      {"OnTimer",
       [&] {
         window_->CallPyFunction("timer", {"1"});
         orbe::PumpUntil([&] { return Told("OnTimer"); }, 5000);
         window_->CallPyFunction("timer", {"0"});
         return 0;
       },
       {}},
      {"UnInitContainer", [&] { return Load() ? 0 : -1; }, {}},
  };

  std::set<std::string> covered;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.event);
    host_.heard.clear();
    const int id = c.act();
    orbe::RunUntilIdle();
    ASSERT_NE(id, -1) << "the script did not load";
    const auto heard = std::find_if(host_.heard.begin(), host_.heard.end(),
                                    [&](const Heard& h) { return h.name == c.event; });
    ASSERT_NE(heard, host_.heard.end()) << "not called";
    Args expected = c.expected;
    for (std::string& text : expected) {
      if (text == id_text) text = std::to_string(id);
      if (text == "%SERIES%") text = std::to_string(chart_series);
      if (text == "%X%") text = std::to_string(point_x);
      if (text == "%Y%") text = std::to_string(point_y);
      if (text == "%ITEM%") text = std::to_string(static_cast<int>(list_item));
    }
    EXPECT_EQ(heard->args, expected);
    // The arguments are of the letters the table gives.
    const orbe::ContainerEvent* row = orbe::FindContainerEvent(c.event);
    ASSERT_NE(row, nullptr);
    ASSERT_EQ(heard->args.size(), row->letters.size());
    for (std::size_t i = 0; i < row->letters.size(); ++i) {
      if (row->letters[i] == 'n') {
        EXPECT_TRUE(IsNumber(heard->args[i])) << i << ": " << heard->args[i];
      }
      if (row->letters[i] == 'c') {
        EXPECT_EQ(heard->args[i].size(), 1u) << i;
      }
    }
    covered.insert(c.event);
  }
  for (const orbe::ContainerEvent& event : orbe::kContainerEvents) {
    EXPECT_EQ(covered.count(std::string(event.name)), 1u) << event.name << " is not raised by this test";
  }
}

}  // namespace
