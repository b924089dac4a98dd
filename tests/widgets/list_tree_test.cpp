#include "orbe/widgets/list_tree.h"

#include <gtest/gtest.h>

#include "orbe/widgets/html_writer.h"

namespace {

TEST(ListTree, ItemsCarryDataOpenCloseAndSelect) {
  TListTree tree;
  EXPECT_EQ(tree.Kind(), orbe::WidgetKind::kListTree);
  EXPECT_FALSE(tree.HasCheckBoxes());
  const HTREEITEM root = tree.NewRootItem("funds", -1);
  const HTREEITEM child = tree.AddItem("bond", root, 42);
  EXPECT_EQ(tree.AddItem("x", 999, 0), 0);
  EXPECT_EQ(tree.GetItemData(child), 42);
  EXPECT_EQ(tree.GetItemData(root), -1);
  EXPECT_TRUE(tree.ChangeItemName(child, "bonds"));
  EXPECT_EQ(tree.FindItem("bonds"), child);
  EXPECT_TRUE(tree.SetOpenItem(root, true));
  EXPECT_TRUE(tree.IsExpanded(root));
  EXPECT_TRUE(tree.SetSelectItem(child));
  EXPECT_EQ(tree.GetSelectItem(), child);
  // Checking is not a list tree's business: a click on a box does nothing.
  EXPECT_FALSE(tree.ClickCheckBox(child));
  tree.SetCheck(root, true);
  EXPECT_FALSE(tree.GetCheck(child));
  EXPECT_TRUE(tree.DeleteItem(child));
  EXPECT_EQ(tree.GetSelectItem(), 0);
}

TEST(ListTree, ColoursReachTheRenderedPage) {
  TListTree tree;
  const HTREEITEM root = tree.NewRootItem("root", 0);
  tree.AddItem("leaf", root, 1);
  tree.SetOpenItem(root, true);
  tree.SetBkColors(RGB(0, 0, 0), RGB(0, 0, 128), RGB(1, 1, 1));
  tree.SetClrAttr(RGB(255, 255, 255), RGB(255, 255, 0), RGB(0, 255, 255), RGB(9, 9, 9));
  tree.SetSelectItem(root);
  orbe::HtmlWriter out;
  tree.RenderHtml(out);
  const std::string& html = out.str();
  EXPECT_NE(html.find("background:#000000"), std::string::npos);
  EXPECT_NE(html.find("li.sel{background:#000080;color:#ffff00}"), std::string::npos);
  EXPECT_NE(html.find("class=\"sel\" style=\"color:#00ffff\""), std::string::npos);  // the root re-coloured
  EXPECT_NE(html.find("leaf"), std::string::npos);
  EXPECT_EQ(html.find("&#9744;"), std::string::npos);  // no check boxes
}

}  // namespace
