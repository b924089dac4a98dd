#include "orbe/widgets/switch_ex.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "orbe/widgets/html_writer.h"

namespace {

class Parent : public CWnd {
 public:
  std::vector<std::pair<int, int>> switches;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override {
    const auto* header = reinterpret_cast<const NMHDR*>(lparam);
    if (message == WM_NOTIFY && header->code == SWN_SELCHANGED) {
      const auto* note = reinterpret_cast<const NM_SWITCH*>(lparam);
      switches.emplace_back(note->iOldLabel, note->iNewLabel);
      return 0;
    }
    return CWnd::WindowProc(message, wparam, lparam);
  }
};

TEST(SwitchEx, LabelsKeepTheCurrentOneThroughInsertAndDelete) {
  CSwitchEx tabs;
  EXPECT_EQ(tabs.InsertSwitchLabel(-1, "b"), 0);
  EXPECT_EQ(tabs.InsertSwitchLabel(0, "a"), 0);
  EXPECT_EQ(tabs.InsertSwitchLabel(99, "c"), 2);
  ASSERT_EQ(tabs.GetTabNum(), 3);
  EXPECT_EQ(tabs.GetLabel(1)->text, "b");
  EXPECT_TRUE(tabs.SetCurLabel(1));
  tabs.InsertSwitchLabel(0, "z");
  EXPECT_EQ(tabs.GetCurLabel(), 2);  // still "b"
  EXPECT_TRUE(tabs.DeleteSwitchLabel(0));
  EXPECT_EQ(tabs.GetCurLabel(), 1);
  EXPECT_TRUE(tabs.DeleteSwitchLabel(1));
  EXPECT_EQ(tabs.GetCurLabel(), -1);
  EXPECT_TRUE(tabs.ModifySwitchLabel(1, "C", "tip"));
  EXPECT_EQ(tabs.GetLabel(1)->tip, "tip");
  EXPECT_FALSE(tabs.ModifySwitchLabel(2, "x"));
  EXPECT_FALSE(tabs.SetCurLabel(2));
  tabs.ClearAllLabel();
  EXPECT_EQ(tabs.GetTabNum(), 0);
  EXPECT_EQ(tabs.GetNeedWidth(), 0);
}

TEST(SwitchEx, NeedWidthFollowsTextsAndFont) {
  CSwitchEx tabs;
  tabs.InsertSwitchLabel(-1, "\xb8\xdb\xb9\xc9");  // 港股: 4 bytes
  tabs.InsertSwitchLabel(-1, "ab");
  EXPECT_EQ(tabs.GetNeedWidth(), (4 * 7 + 16) + (2 * 7 + 16));
  SwitchColorSchema big;
  big.font_size = 18;
  tabs.SetFontColorSchema(big);
  EXPECT_EQ(tabs.LabelExtent(1), 2 * 14 + 16);
  tabs.SetStyle(CSwitchEx::kVertical);
  EXPECT_EQ(tabs.GetNeedWidth(), 2 * 40);
}

TEST(SwitchEx, ClickNotifiesParentOnChangeOnlyAndWhenEnabled) {
  Parent parent;
  parent.Create(nullptr, RECT{0, 0, 200, 100}, 1);
  CSwitchEx tabs;
  tabs.Create(&parent, RECT{0, 0, 200, 18}, 7, WS_CHILD | WS_VISIBLE);
  tabs.InsertSwitchLabel(-1, "one");
  tabs.InsertSwitchLabel(-1, "two");
  EXPECT_TRUE(tabs.ClickLabel(1));
  EXPECT_TRUE(tabs.ClickLabel(1));
  EXPECT_FALSE(tabs.ClickLabel(2));
  tabs.EnableMsg(false);
  EXPECT_TRUE(tabs.ClickLabel(0));
  EXPECT_EQ(tabs.GetCurLabel(), 0);
  EXPECT_EQ(parent.switches, (std::vector<std::pair<int, int>>{{-1, 1}}));

  tabs.SetSpecialTextColor(1, RGB(255, 0, 0));
  orbe::HtmlWriter out;
  tabs.RenderHtml(out);
  EXPECT_NE(out.str().find("tab cur"), std::string::npos);
  EXPECT_NE(out.str().find("color:#ff0000"), std::string::npos);
}

}  // namespace
