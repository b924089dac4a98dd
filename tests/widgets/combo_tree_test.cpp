#include "orbe/widgets/combo_tree.h"

#include <gtest/gtest.h>

#include "widgets/event_log.h"

namespace {

using Events = std::vector<std::string>;

TEST(ComboTree, PathsSplitAtBackslashesButNotInsideDoubleByteCharacters) {
  // 0x5C is the second byte of some GBK characters, e.g. "\xd5\x5c".
  EXPECT_EQ(orbe::SplitTreePath("A\\\xd5\x5c\\C"), (std::vector<std::string>{"A", "\xd5\x5c", "C"}));
  EXPECT_EQ(orbe::SplitTreePath("A"), (std::vector<std::string>{"A"}));
}

TEST(ComboTree, ChecksCoverSubtreesAndParentsFollowTheirChildren) {
  TestContainer t;
  int id = 0;
  auto& tree = t.Add<CKvxComboTree>(orbe::WidgetKind::kComboTree, "", &id);
  for (const char* path : {"Ind\\Bank", "Ind\\Steel", "Area\\North"}) ASSERT_TRUE(tree.AddString(path));
  EXPECT_FALSE(tree.AddString("Ind\\\\X")) << "empty label";
  EXPECT_TRUE(tree.SetCheck("Ind", true));
  EXPECT_EQ(tree.IsItemChecked("Ind\\Bank"), 1);
  EXPECT_TRUE(tree.AddString("Ind\\Coal"));
  EXPECT_EQ(tree.IsItemChecked("Ind"), 0) << "an unchecked newcomer unchecks its parent";
  EXPECT_EQ(tree.IsItemChecked("Nope"), -1);

  EXPECT_TRUE(tree.ClickCheck("Ind\\Coal"));
  EXPECT_EQ(tree.IsItemChecked("Ind"), 1);
  EXPECT_TRUE(tree.DoubleClickItem("Area\\North"));
  EXPECT_FALSE(tree.DoubleClickItem("Area\\South"));
  EXPECT_EQ(tree.GetCurrentTreePath(), "Area\\North");
  const std::string sid = std::to_string(id);
  EXPECT_EQ(t.log.Take(), (Events{"OnComboTreeCheck " + sid + " Ind\\Coal 1",
                                  "OnComboTreeDblClk " + sid + " Area\\North"}));
  EXPECT_EQ(tree.GetCheckedPaths(),
            (std::vector<std::string>{"Ind", "Ind\\Bank", "Ind\\Steel", "Ind\\Coal"}));

  EXPECT_TRUE(tree.DeleteString("Area"));
  EXPECT_EQ(tree.GetCurrentTreePath(), "") << "the selection went with its subtree";
  EXPECT_FALSE(tree.HasItem("Area\\North"));
  EXPECT_FALSE(tree.DeleteString("Area"));
}

}  // namespace
