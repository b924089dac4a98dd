#include "script_replay.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "orbe/platform/text.h"
#include "orbe/platform/window.h"
#include "orbe/script/f10_fun.h"
#include "orbe/widgets/buttons.h"
#include "orbe/widgets/chart_ctrl.h"
#include "orbe/widgets/color_edit.h"
#include "orbe/widgets/combo_tree.h"
#include "orbe/widgets/combos.h"
#include "orbe/widgets/date_controls.h"
#include "orbe/widgets/grid_ctrl.h"
#include "orbe/widgets/html_tree.h"
#include "orbe/widgets/kvx_container.h"
#include "orbe/widgets/pager.h"
#include "orbe/widgets/pie.h"
#include "orbe/widgets/plugin_wnd.h"
#include "orbe/widgets/spin.h"
#include "orbe/widgets/switch_ex.h"
#include "orbe/widgets/up_down_stream.h"
#include "orbe/widgets/web_pane.h"

namespace orbe::terminal {
namespace {

using Args = std::vector<std::string>;

// What an action works on: the widget (null for the container's actions),
// the container and the window, and its arguments (UTF-8).
struct Target {
  orbe::KvxWidget* widget;
  CKVXContainer& container;
  IF10Fun& window;
  const Args& args;

  int Int(std::size_t i) const { return EventInt(args[i]).value_or(0); }
  std::string Text(std::size_t i) const { return Utf8ToGbk(args[i]); }
  template <typename T>
  T& As() const {
    return static_cast<T&>(*widget);
  }
};

// A key by its code or, for one letter or digit, by itself.
UINT KeyOf(const std::string& text) {
  if (text.size() == 1 && ((text[0] >= 'A' && text[0] <= 'Z') || (text[0] >= '0' && text[0] <= '9'))) {
    return static_cast<UINT>(text[0]);
  }
  if (text.size() == 1 && text[0] >= 'a' && text[0] <= 'z') return static_cast<UINT>(text[0] - 'a' + 'A');
  return static_cast<UINT>(EventInt(text).value_or(0));
}

constexpr int kContainer = -1;  // the kind column of the container's own actions
constexpr int kAnyCount = -1;

struct Action {
  int kind;            // orbe::WidgetKind, or kContainer
  const char* name;
  const char* usage;   // the arguments
  int count;           // how many, or kAnyCount
  const char* ints;    // 'i' at the places that must be numbers
  bool (*play)(const Target& t);
};

constexpr int K(orbe::WidgetKind kind) { return static_cast<int>(kind); }
using orbe::WidgetKind;

const Action kActions[] = {
    {K(WidgetKind::kButton), "click", "", 0, "", [](const Target& t) { return t.As<CKvxButton>().Click(); }},
    {K(WidgetKind::kCheck), "click", "", 0, "", [](const Target& t) { return t.As<CKvxCheckBox>().Click(); }},
    {K(WidgetKind::kRadio), "click", "", 0, "", [](const Target& t) { return t.As<CKvxRadio>().Click(); }},
    {K(WidgetKind::kPictureButton), "click", "", 0, "",
     [](const Target& t) { return t.As<CKvxPictureButton>().Click(); }},
    {K(WidgetKind::kGrid), "click", "ROW COL", 2, "ii",
     [](const Target& t) { return t.As<CGridCtrl>().ClickCell(t.Int(0), t.Int(1)); }},
    {K(WidgetKind::kGrid), "dblclick", "ROW COL", 2, "ii",
     [](const Target& t) { return t.As<CGridCtrl>().DoubleClickCell(t.Int(0), t.Int(1)); }},
    {K(WidgetKind::kGrid), "edit", "ROW COL TEXT", 3, "ii",
     [](const Target& t) { return t.As<CGridCtrl>().EditCell(t.Int(0), t.Int(1), t.Text(2)); }},
    {K(WidgetKind::kGrid), "pick", "ROW COL ENTRY", 3, "iii",
     [](const Target& t) { return t.As<CGridCtrl>().PickComboEntry(t.Int(0), t.Int(1), t.Int(2)); }},
    {K(WidgetKind::kGrid), "resize", "COL WIDTH", 2, "ii",
     [](const Target& t) { return t.As<CGridCtrl>().ResizeColumn(t.Int(0), t.Int(1)); }},
    {K(WidgetKind::kList), "click", "ROW COL", 2, "ii",
     [](const Target& t) { return t.As<CGridCtrl>().ClickCell(t.Int(0), t.Int(1)); }},
    {K(WidgetKind::kList), "dblclick", "ROW COL", 2, "ii",
     [](const Target& t) { return t.As<CGridCtrl>().DoubleClickCell(t.Int(0), t.Int(1)); }},
    {K(WidgetKind::kSwitch), "click", "LABEL", 1, "i",
     [](const Target& t) { return t.As<CSwitchEx>().ClickLabel(t.Int(0)); }},
    {K(WidgetKind::kCombo), "pick", "ENTRY", 1, "i",
     [](const Target& t) { return t.As<CKvxComboBox>().PickItem(t.Int(0)); }},
    {K(WidgetKind::kCombo), "focus", "1|0", 1, "i",
     [](const Target& t) {
       t.As<CKvxComboBox>().SetFocusState(t.Int(0) != 0);
       return true;
     }},
    {K(WidgetKind::kCheckCombo), "check", "ENTRY", 1, "i",
     [](const Target& t) { return t.As<CKvxCheckCombo>().ClickItemCheck(t.Int(0)); }},
    {K(WidgetKind::kPie), "click", "ELEMENT", 1, "i",
     [](const Target& t) { return t.As<CKvxPieChart>().ClickElement(t.Int(0)); }},
    {K(WidgetKind::kSpin), "step", "STEPS", 1, "i", [](const Target& t) { return t.As<CKvxSpin>().Step(t.Int(0)); }},
    {K(WidgetKind::kSpin), "type", "VALUE", 1, "i",
     [](const Target& t) { return t.As<CKvxSpin>().TypeValue(t.Int(0)); }},
    {K(WidgetKind::kDateTime), "pick", "YYYY-MM-DD HH:MM:SS", 2, "",
     [](const Target& t) { return t.As<CKvxDateTimePicker>().PickDateTime(t.args[0], t.args[1]); }},
    {K(WidgetKind::kMonthCal), "click", "YYYY-MM-DD", 1, "",
     [](const Target& t) { return t.As<CKvxMonthCalendar>().ClickDay(t.args[0]); }},
    {K(WidgetKind::kPaging), "click", "PAGE", 1, "i",
     [](const Target& t) { return t.As<CKvxPager>().ClickPage(t.Int(0)); }},
    {K(WidgetKind::kXPaging), "click", "PAGE", 1, "i",
     [](const Target& t) { return t.As<CKvxPager>().ClickPage(t.Int(0)); }},
    {K(WidgetKind::kUpDownStream), "click", "up|down ITEM", 2, "-i",
     [](const Target& t) {
       if (t.args[0] != "up" && t.args[0] != "down") return false;
       return t.As<CKvxUpDownStream>().ClickItem(t.args[0] == "up", t.Int(1));
     }},
    {K(WidgetKind::kComboTree), "dblclick", "PATH", 1, "",
     [](const Target& t) { return t.As<CKvxComboTree>().DoubleClickItem(t.Text(0)); }},
    {K(WidgetKind::kComboTree), "check", "PATH", 1, "",
     [](const Target& t) { return t.As<CKvxComboTree>().ClickCheck(t.Text(0)); }},
    {K(WidgetKind::kListTree), "click", "ITEM", 1, "i",
     [](const Target& t) { return t.As<CXHtmlTree>().ClickItem(static_cast<HTREEITEM>(t.Int(0))); }},
    {K(WidgetKind::kListTree), "dblclick", "ITEM", 1, "i",
     [](const Target& t) { return t.As<CXHtmlTree>().DoubleClickItem(static_cast<HTREEITEM>(t.Int(0))); }},
    {K(WidgetKind::kTree), "click", "ITEM", 1, "i",
     [](const Target& t) { return t.As<CXHtmlTree>().ClickItem(static_cast<HTREEITEM>(t.Int(0))); }},
    {K(WidgetKind::kTree), "check", "ITEM", 1, "i",
     [](const Target& t) { return t.As<CXHtmlTree>().ClickCheckBox(static_cast<HTREEITEM>(t.Int(0))); }},
    {K(WidgetKind::kChart), "click", "SERIES POINT", 2, "ii",
     [](const Target& t) { return t.As<CChartCtrl>().ClickPoint(t.Int(0), t.Int(1)); }},
    {K(WidgetKind::kChart), "dblclick", "SERIES POINT", 2, "ii",
     [](const Target& t) {
       return t.As<CChartCtrl>().ClickPoint(t.Int(0), t.Int(1), ChartMouseEvent::kDoubleClick);
     }},
    {K(WidgetKind::kChart), "key", "KEY", 1, "", [](const Target& t) { return t.As<CChartCtrl>().PressKey(KeyOf(t.args[0])); }},
    {K(WidgetKind::kEdit), "type", "TEXT", 1, "", [](const Target& t) { return t.As<CColorEdit>().TypeText(t.Text(0)); }},
    {K(WidgetKind::kEdit), "enter", "", 0, "", [](const Target& t) { return t.As<CColorEdit>().PressEnter(); }},
    {K(WidgetKind::kEdit), "focus", "", 0, "",
     [](const Target& t) {
       t.widget->SetFocus();
       return true;
     }},
    {K(WidgetKind::kWeb), "navigate", "URL", 1, "",
     [](const Target& t) { return t.As<CWebBrowser2>().FollowLink(t.Text(0)); }},
    {K(WidgetKind::kWeb), "newwindow", "URL", 1, "",
     [](const Target& t) { return t.As<CWebBrowser2>().OpenNewWindow(t.Text(0)); }},
    {K(WidgetKind::kWeb), "close", "1|0", 1, "i",
     [](const Target& t) { return t.As<CWebBrowser2>().ClosePage(t.Int(0) != 0); }},
    {K(WidgetKind::kPlugin), "send", "NAME VALUE", 2, "",
     [](const Target& t) {
       t.As<CKvxPluginWnd>().SendToHost(t.Text(0), t.Text(1));
       return true;
     }},
    {kContainer, "rclick", "X Y", 2, "ii",
     [](const Target& t) {
       return orbe::ClickMouse(t.container.GetSafeHwnd(), t.Int(0), t.Int(1), orbe::MouseButton::kRight) != FALSE;
     }},
    {kContainer, "key", "KEY", 1, "",
     [](const Target& t) { return orbe::PressKey(t.container.GetSafeHwnd(), KeyOf(t.args[0])) != FALSE; }},
    {kContainer, "size", "WIDTH HEIGHT", 2, "ii",
     [](const Target& t) {
       if (t.Int(0) < 0 || t.Int(1) < 0) return false;
       t.window.MoveF10Wnd(0, 0, t.Int(0), t.Int(1), 0);
       return true;
     }},
    {kContainer, "menu", "ITEM", 1, "i", [](const Target& t) { return t.container.GetMenu().Pick(t.Int(0)); }},
    {kContainer, "focus", "", 0, "",
     [](const Target& t) {
       t.container.SetFocus();
       return true;
     }},
    {kContainer, "call", "FUNCTION [TEXT]...", kAnyCount, "",
     [](const Target& t) {
       if (t.args.empty()) return false;
       std::vector<std::string> texts;
       for (std::size_t i = 1; i < t.args.size(); ++i) texts.push_back(t.Text(i));
       return t.window.CallPyFunction(t.args[0], texts);
     }},
};

const char* KindName(int kind) {
  static constexpr std::pair<WidgetKind, const char*> kNames[] = {
      {WidgetKind::kButton, "button"},     {WidgetKind::kCheck, "check"},
      {WidgetKind::kRadio, "radio"},       {WidgetKind::kPictureButton, "picture button"},
      {WidgetKind::kGrid, "grid"},         {WidgetKind::kList, "list"},
      {WidgetKind::kSwitch, "switch"},     {WidgetKind::kCombo, "combo"},
      {WidgetKind::kCheckCombo, "check combo"}, {WidgetKind::kPie, "pie"},
      {WidgetKind::kSpin, "spin"},         {WidgetKind::kDateTime, "date picker"},
      {WidgetKind::kMonthCal, "calendar"}, {WidgetKind::kPaging, "pager"},
      {WidgetKind::kXPaging, "extended pager"}, {WidgetKind::kUpDownStream, "up-down stream"},
      {WidgetKind::kComboTree, "combo tree"}, {WidgetKind::kListTree, "list tree"},
      {WidgetKind::kTree, "tree"},         {WidgetKind::kChart, "chart"},
      {WidgetKind::kEdit, "edit"},         {WidgetKind::kWeb, "web pane"},
      {WidgetKind::kPlugin, "plug-in"}};
  if (kind == kContainer) return "container";
  for (const auto& [k, name] : kNames) {
    if (static_cast<int>(k) == kind) return name;
  }
  return "widget";
}

bool ArgumentsFit(const Action& action, const Args& args, std::string* error) {
  const bool count_ok = action.count == kAnyCount ? !args.empty() : static_cast<int>(args.size()) == action.count;
  bool ints_ok = true;
  for (std::size_t i = 0; action.ints[i] != '\0' && i < args.size(); ++i) {
    if (action.ints[i] == 'i' && !EventInt(args[i])) ints_ok = false;
  }
  if (count_ok && ints_ok) return true;
  *error = std::string(KindName(action.kind)) + " " + action.name + " takes " +
           (*action.usage != '\0' ? action.usage : "no arguments");
  return false;
}

}  // namespace

bool PlayScriptEvent(IF10Fun& window, const ScriptEventLine& event, std::string* error) {
  auto* container = dynamic_cast<CKVXContainer*>(window.GetF10Wnd());
  if (container == nullptr) {
    *error = "the window is no widget container";
    return false;
  }
  orbe::KvxWidget* widget = nullptr;
  int kind = kContainer;
  if (event.target == ScriptEventLine::Target::kWidget) {
    widget = container->GetWnd(event.widget);
    if (widget == nullptr) {
      *error = "no widget " + std::to_string(event.widget);
      return false;
    }
    kind = static_cast<int>(widget->Kind());
  }
  const auto action = std::find_if(std::begin(kActions), std::end(kActions),
                                   [&](const Action& a) { return a.kind == kind && event.action == a.name; });
  if (action == std::end(kActions)) {
    *error = std::string("a ") + KindName(kind) + " has no action '" + event.action + "'";
    return false;
  }
  if (!ArgumentsFit(*action, event.args, error)) return false;
  if (!action->play(Target{widget, *container, window, event.args})) {
    *error = std::string("the ") + KindName(kind) + " refused " + event.action;
    return false;
  }
  return true;
}

std::string ScriptEventActions() {
  std::string text;
  for (const Action& action : kActions) {
    text += std::string("  ") + (action.kind == kContainer ? "container" : "ID") + " " + action.name;
    if (*action.usage != '\0') text += std::string(" ") + action.usage;
    text += std::string("    (") + KindName(action.kind) + ")\n";
  }
  return text + "  wait MS\n";
}

}  // namespace orbe::terminal
