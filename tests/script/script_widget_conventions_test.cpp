// The widget methods' conversion rule at its edges, from Python on a live
// container: add methods with extra ints, the tab-order list, out-parameters
// as values and tuples, text conversions, refusals of unknown ids and kinds,
// tooltips, and the worksheet export with its in-and-out path.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "orbe/platform/file_dialog.h"
#include "orbe/widgets/combos.h"
#include "orbe/widgets/date_controls.h"
#include "orbe/widgets/grid_ctrl.h"
#include "orbe/widgets/web_pane.h"
#include "support/script_harness.h"

extern "C" const char* __lsan_default_suppressions() { return "leak:libpython3"; }

namespace {

// Runs `body` (the statements of a function of the object `o`) and gives
// str() of the dict `out` it fills.
std::string RunScript(orbe_test::HarnessContainer& c, const std::string& body) {
  const std::string source = "out = {}\n"
                             "def error(f, *a):\n"
                             "    try:\n"
                             "        f(*a)\n"
                             "        return 'none'\n"
                             "    except Exception as e:\n"
                             "        return type(e).__name__\n"
                             "def run(o):\n" + body;
  EXPECT_TRUE(c.Load(source)) << c.LastError();
  EXPECT_TRUE(c.Call("run")) << c.LastError();
  return c.Global("out");
}

void ExpectAll(const std::string& out, std::initializer_list<const char*> pieces) {
  for (const char* piece : pieces) EXPECT_NE(out.find(piece), std::string::npos) << piece << " in " << out;
}

TEST(ScriptWidgetConventionsTest, AddMethodsTakeTheirExtraIntsAndAnswerZeroWhenNothingIsMade) {
  orbe_test::HarnessContainer c;
  const std::string out = RunScript(c, R"(
    out['combo'] = o.Combo_AddWnd(0, 0, 80, 20, 150)
    out['combo four'] = error(o.Combo_AddWnd, 0, 0, 80, 20)
    out['combo caption'] = error(o.Combo_AddWnd, 0, 0, 80, 20, 'x')
    out['check combo'] = o.CheckCombo_AddWnd(0, 0, 80, 20, 'caption') > 0
    out['date'] = o.DateTime_AddWnd(0, 30, 80, 20, 1, 1)
    out['date five'] = error(o.DateTime_AddWnd, 0, 30, 80, 20, 1)
    out['bad format'] = o.DateTime_AddWnd(0, 30, 80, 20, 3, 0)
    out['negative'] = o.Grid_AddWnd(0, 0, -1, 10, '')
    out['kind'] = o.AddWnd(0, 0, 10, 10, 999, '')
    out['levels'] = o.Trade_Quote_AddWnd(0, 0, 10, 10, 11)
    out['vchart kind'] = o.AddWnd(0, 0, 10, 10, 34, 'v') > 0
)");
  ExpectAll(out, {"'combo four': 'TypeError'", "'combo caption': 'TypeError'", "'check combo': True",
                  "'date five': 'TypeError'", "'bad format': 0", "'negative': 0", "'kind': 0", "'levels': 0",
                  "'vchart kind': True"});
  const int combo = std::stoi(c.Eval("out['combo']"));
  ASSERT_GT(combo, 0);
  EXPECT_EQ(c.GetWidget<CKvxComboBox>(combo)->GetDroppedHeight(), 150);
  const auto* picker = c.GetWidget<CKvxDateTimePicker>(std::stoi(c.Eval("out['date']")));
  ASSERT_NE(picker, nullptr);
  EXPECT_EQ(picker->GetShowFormat(), 1);
  EXPECT_TRUE(picker->GetShowNone());
}

TEST(ScriptWidgetConventionsTest, TabListOutParametersAndTexts) {
  orbe_test::HarnessContainer c;
  const std::string out = RunScript(c, R"(
    a = o.Edit_AddWnd(10, 20, 100, 30, 'e')
    b = o.Button_AddWnd(10, 60, 100, 30, 'b')
    out['ids'] = (a, b)
    out['empty'] = o.SetWndTabList([])
    out['mixed'] = o.SetWndTabList([b, 99999, b, a])
    out['not ints'] = error(o.SetWndTabList, ['x'])
    out['not a list'] = error(o.SetWndTabList, 5)
    out['rect'] = o.GetWndRect(a, 0)
    out['range'] = o.Spin_GetRange(o.Spin_AddWnd(0, 0, 50, 20))
    c = o.Chart_AddWnd(0, 100, 300, 200, '')
    s = o.Chart_CreateXYPointSeries(c, 0, 0, 0)
    o.Chart_AddXYPoint(c, s, 2.5, -1.0)
    out['point'] = o.Chart_GetXYPoint(c, s, 0)
    out['no point'] = o.Chart_GetXYPoint(c, s, 5)
    out['screen'] = o.Chart_ValueToScreen(c, s, 2.5, -1.0)
    d = o.DateTime_AddWnd(0, 0, 80, 20, 2, 0)
    o.DateTime_SetRange32(d, '2020-01-01', '', '', '')
    out['date range'] = o.DateTime_GetRange32(d)
    g = o.Grid_AddWnd(0, 0, 200, 100, '')
    o.Grid_SetRowCount(g, 2); o.Grid_SetColumnCount(g, 2)
    out['set text'] = o.Grid_SetItemText(g, 1, 1, '\u4e2d\u6587')
    w = o.Web_AddWnd(0, 0, 10, 10, 'http://x/')
    out['navigate'] = o.Web_Navigate(w, 'http://x/\u4e2d')
    out['grid'] = g; out['web'] = w
)");
  ExpectAll(out, {"'empty': 1", "'mixed': 1", "'not ints': 'TypeError'", "'not a list': 'TypeError'",
                  "'rect': (10, 20, 100, 30)", "'range': (0, 100)", "'point': (2.5, -1.0, 1)",
                  "'no point': (0.0, 0.0, 0)", "'date range': ('2020-01-01', '00:00:00', '', '')",
                  "'set text': 1", "'navigate': 1"});
  EXPECT_EQ(c.Eval("type(out['screen']).__name__ + str(len(out['screen']))"), "tuple2");
  // The tab order kept known ids once each, in the script's order.
  const int a = std::stoi(c.Eval("out['ids'][0]")), b = std::stoi(c.Eval("out['ids'][1]"));
  EXPECT_EQ(c.GetWndTabList(), (std::vector<int>{b, a}));
  // Display texts arrive as GBK; the address byte for byte.
  EXPECT_EQ(c.GetGrid(std::stoi(c.Eval("out['grid']")))->GetItemText(1, 1), "\xd6\xd0\xce\xc4");
  EXPECT_EQ(c.GetWeb(std::stoi(c.Eval("out['web']")))->GetLocationURL(), "http://x/\xd6\xd0");
  // An empty list clears the order.
  RunScript(c, "    o.SetWndTabList([])\n");
  EXPECT_TRUE(c.GetWndTabList().empty());
}

TEST(ScriptWidgetConventionsTest, UnknownIdsAndOtherKindsAreRefusedWithEmptyValues) {
  orbe_test::HarnessContainer c;
  const std::string out = RunScript(c, R"(
    g = o.Grid_AddWnd(0, 0, 100, 100, '')
    out['text on unknown'] = o.Grid_SetItemText(424242, 0, 0, 'x')
    out['text on chart'] = o.Chart_SetTitle(g, 'x')
    out['get'] = o.Grid_GetItemText(424242, 0, 0)
    out['rect'] = o.GetWndRect(424242, 0)
    out['focus'] = o.Grid_GetFocusCell(g)
    out['no cell'] = o.Grid_GetCellFromPt(g, 5, 5)
    out['series'] = o.Chart_CreateXYPointSeries(g, 0, 0, 0)
    out['switch'] = o.Switch_GetCurLabel(424242)
    out['frame'] = o.Grid_Frame_SetStaticColor(g, 0)
    out['none'] = o.InvalidateWnd(424242)
)");
  ExpectAll(out, {"'text on unknown': 0", "'text on chart': 0", "'get': ''", "'rect': (0, 0, 0, 0)",
                  "'focus': (-1, -1)", "'no cell': (-1, -1)", "'series': 0", "'switch': -1", "'frame': 0",
                  "'none': None"});
}

TEST(ScriptWidgetConventionsTest, TooltipsAndTheWorksheetExport) {
  orbe_test::HarnessContainer c;
  const std::filesystem::path sheet = std::filesystem::path(c.Folder()) / "chosen.xlsx";
  int dialogs = 0;
  std::string answer = sheet.string();
  const auto previous = orbe::SetFileDialogHandler([&](const orbe::FileDialogRequest& request) {
    ++dialogs;
    EXPECT_EQ(request.kind, orbe::FileDialogKind::kSaveFile);
    return answer;
  });
  const std::string out = RunScript(c, R"(
    t = o.Grid_AddAsTooltip()
    out['tip'] = t
    out['place'] = o.Grid_SetPosTooltip(t, 5, 6, 70, 40, 1)
    out['not a tip'] = o.Grid_SetPosTooltip(o.Grid_AddWnd(0, 0, 10, 10, ''), 5, 6, 70, 40, 1)
    out['chart tip as grid'] = o.Grid_SetPosTooltip(o.Chart_AddAsTooltip(), 5, 6, 70, 40, 1)
    g = o.Grid_AddWnd(0, 0, 200, 100, '')
    o.Grid_SetRowCount(g, 2); o.Grid_SetColumnCount(g, 2); o.Grid_SetItemText(g, 1, 1, '12')
    out['asked'] = o.Grid_SaveAsExcel(str(g), '', '\u8868')
    out['unknown grid'] = o.Grid_SaveAsExcel('%d,424242' % g, 'x.xlsx', '')
)");
  ExpectAll(out, {"'place': 1", "'not a tip': 0", "'chart tip as grid': 0", "'unknown grid': ''"});
  EXPECT_EQ(c.Eval("out['asked']"), sheet.string());
  EXPECT_EQ(dialogs, 1);
  EXPECT_GT(std::filesystem::file_size(sheet), 0u);
  const orbe::KvxWidget* tip = c.GetWnd(std::stoi(c.Eval("out['tip']")));
  ASSERT_NE(tip, nullptr);
  EXPECT_TRUE(tip->IsTooltip());
  EXPECT_TRUE(tip->IsWindowVisible());
  // A cancelled dialog writes nothing and answers "".
  answer.clear();
  EXPECT_NE(RunScript(c, "    g = o.Grid_AddWnd(0, 0, 10, 10, '')\n    out['x'] = o.Grid_SaveAsExcel('', '', '')\n")
                .find("'x': ''"),
            std::string::npos);
  orbe::SetFileDialogHandler(previous);
}

}  // namespace
