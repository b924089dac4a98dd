#include "orbe/widgets/html_tree.h"

#include <gtest/gtest.h>

#include <vector>

#include "orbe/widgets/grid_notify.h"
#include "orbe/widgets/html_writer.h"

namespace {

struct Click {
  HTREEITEM item;
  UINT id;
  LPARAM checked;
};

class Parent : public CWnd {
 public:
  std::vector<Click> clicks;
  std::vector<UINT> notify_codes;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (message == RegisterWindowMessageA(kTreeCheckBoxClickedMessage)) {
      const auto* data = reinterpret_cast<const XHTMLTREEMSGDATA*>(wparam);
      clicks.push_back({data->hItem, data->nCtrlId, lparam});
      return 0;
    }
    if (message == WM_NOTIFY) notify_codes.push_back(reinterpret_cast<const NMHDR*>(lparam)->code);
    return CWnd::WindowProc(message, wparam, lparam);
  }
};

// 股票市场类 { 上证, 深证 }, 概念板块 { 新能源 { 光伏 } }
struct Boards {
  Parent parent;
  CXHtmlTree tree;
  HTREEITEM market, sh, sz, themes, energy, solar;
  Boards() {
    parent.Create(nullptr, RECT{0, 0, 300, 300}, 1);
    tree.Create(WS_CHILD | WS_VISIBLE, RECT{0, 0, 200, 200}, &parent, 1888);
    market = tree.InsertItem("market");
    sh = tree.InsertItem("sh", market);
    sz = tree.InsertItem("sz", market);
    themes = tree.InsertItem("concept");
    energy = tree.InsertItem("energy", themes);
    solar = tree.InsertItem("solar", energy);
  }
};

TEST(HtmlTree, SmartCheckBoxesPropagateDownAndSummariseUp) {
  Boards b;
  b.tree.SetCheck(b.market, true);
  EXPECT_TRUE(b.tree.GetCheck(b.sh));
  EXPECT_TRUE(b.tree.GetCheck(b.sz));
  b.tree.SetCheck(b.sz, false);
  EXPECT_EQ(b.tree.GetCheckState(b.market), TreeCheck::kMixed);
  EXPECT_FALSE(b.tree.GetCheck(b.market));
  b.tree.SetCheck(b.sh, false);
  EXPECT_EQ(b.tree.GetCheckState(b.market), TreeCheck::kUnchecked);
  // Up through two levels.
  b.tree.SetCheck(b.solar, true);
  EXPECT_EQ(b.tree.GetCheckState(b.energy), TreeCheck::kChecked);
  EXPECT_EQ(b.tree.GetCheckState(b.themes), TreeCheck::kChecked);
  // A new unchecked child makes its checked parents mixed; deleting it restores them.
  const HTREEITEM wind = b.tree.InsertItem("wind", b.energy);
  EXPECT_EQ(b.tree.GetCheckState(b.themes), TreeCheck::kMixed);
  b.tree.DeleteItem(wind);
  EXPECT_EQ(b.tree.GetCheckState(b.themes), TreeCheck::kChecked);
  EXPECT_EQ(b.tree.GetCheckedItems(), (std::vector<HTREEITEM>{b.themes, b.energy, b.solar}));
  // Without smart boxes a check stays on its own item.
  b.tree.SetSmartCheckBox(false);
  b.tree.SetCheck(b.market, true);
  EXPECT_FALSE(b.tree.GetCheck(b.sh));
}

TEST(HtmlTree, CheckBoxClickTogglesAndNotifiesParent) {
  Boards b;
  b.tree.SetCheck(b.sh, true);  // market mixed
  ASSERT_TRUE(b.tree.ClickCheckBox(b.market));
  EXPECT_TRUE(b.tree.GetCheck(b.sz));  // mixed -> checked
  ASSERT_TRUE(b.tree.ClickCheckBox(b.market));
  EXPECT_FALSE(b.tree.GetCheck(b.sh));
  ASSERT_EQ(b.parent.clicks.size(), 2u);
  EXPECT_EQ(b.parent.clicks[0].item, b.market);
  EXPECT_EQ(b.parent.clicks[0].id, 1888u);
  EXPECT_EQ(b.parent.clicks[0].checked, 1);
  EXPECT_EQ(b.parent.clicks[1].checked, 0);
  EXPECT_FALSE(b.tree.ClickCheckBox(999));
  b.tree.EnableWindow(FALSE);
  EXPECT_FALSE(b.tree.ClickCheckBox(b.sh));
  b.tree.EnableWindow(TRUE);
  b.tree.SetCheckBoxes(false);
  EXPECT_FALSE(b.tree.ClickCheckBox(b.sh));
  EXPECT_EQ(b.parent.clicks.size(), 2u);

  EXPECT_TRUE(b.tree.ClickItem(b.sz));
  EXPECT_TRUE(b.tree.ClickItem(b.sz));  // same item: a click, no second selection change
  EXPECT_EQ(b.parent.notify_codes, (std::vector<UINT>{TVN_SELCHANGED, NM_CLICK, NM_CLICK}));
  EXPECT_EQ(b.tree.GetSelectedItem(), b.sz);

  // A double click selects first, as its first press is a click.
  b.parent.notify_codes.clear();
  EXPECT_TRUE(b.tree.DoubleClickItem(b.solar));
  EXPECT_TRUE(b.tree.DoubleClickItem(b.solar));
  EXPECT_EQ(b.parent.notify_codes,
            (std::vector<UINT>{TVN_SELCHANGED, NM_CLICK, NM_DBLCLK, NM_CLICK, NM_DBLCLK}));
  EXPECT_EQ(b.tree.GetSelectedItem(), b.solar);
  EXPECT_FALSE(b.tree.DoubleClickItem(999));
  EXPECT_EQ(b.parent.notify_codes.size(), 5u);
}

TEST(HtmlTree, StructureDataLookupAndStaleHandles) {
  Boards b;
  EXPECT_EQ(b.tree.GetCount(), 6);
  EXPECT_EQ(b.tree.GetRootItem(), b.market);
  EXPECT_EQ(b.tree.GetNextSiblingItem(b.market), b.themes);
  EXPECT_EQ(b.tree.GetParentItem(b.solar), b.energy);
  const HTREEITEM first = b.tree.InsertItem("first", b.market, TVI_FIRST);
  const HTREEITEM middle = b.tree.InsertItem("middle", b.market, b.sh);
  EXPECT_EQ(b.tree.GetChildItem(b.market), first);
  EXPECT_EQ(b.tree.GetNextSiblingItem(b.sh), middle);
  EXPECT_EQ(b.tree.InsertItem("x", b.market, b.solar), 0);  // not a child of market
  EXPECT_EQ(b.tree.InsertItem("x", 12345), 0);

  b.tree.SetItemData(b.sz, -2);
  EXPECT_EQ(b.tree.GetItemData(b.sz), -2);
  const HTREEITEM dup = b.tree.InsertItem("sh", b.themes);
  EXPECT_EQ(b.tree.FindItem("sh"), b.sh);
  EXPECT_EQ(b.tree.FindItem("sh", b.sh), dup);
  EXPECT_EQ(b.tree.FindItem("nothing"), 0);

  EXPECT_FALSE(b.tree.IsExpanded(b.market));
  b.tree.Expand(b.market, TVE_EXPAND);
  EXPECT_TRUE(b.tree.IsExpanded(b.market));
  b.tree.Expand(b.market, TVE_TOGGLE);
  EXPECT_FALSE(b.tree.IsExpanded(b.market));
  EXPECT_FALSE(b.tree.Expand(b.market, 9));

  b.tree.SelectItem(b.solar);
  b.tree.DeleteItem(b.themes);  // with its subtree and the selection
  EXPECT_EQ(b.tree.GetSelectedItem(), 0);
  EXPECT_FALSE(b.tree.IsItem(b.solar));
  EXPECT_EQ(b.tree.GetItemText(b.energy), "");
  b.tree.DeleteAllItems();
  EXPECT_EQ(b.tree.GetCount(), 0);
  const HTREEITEM fresh = b.tree.InsertItem("fresh");
  EXPECT_NE(fresh, b.market);  // an old handle never names a new item
  EXPECT_FALSE(b.tree.IsItem(b.market));
}

TEST(HtmlTree, RendersOnlyExpandedBranchesWithCheckStates) {
  Boards b;
  b.tree.SetItemText(b.sh, "<sh>");
  b.tree.SetCheck(b.sh, true);
  b.tree.Expand(b.market, TVE_EXPAND);
  orbe::HtmlWriter out;
  b.tree.RenderHtml(out);
  const std::string& html = out.str();
  EXPECT_NE(html.find("&lt;sh&gt;"), std::string::npos);
  EXPECT_NE(html.find("data-check=\"2\""), std::string::npos);  // market mixed
  EXPECT_EQ(html.find("solar"), std::string::npos);             // themes collapsed
}

}  // namespace
