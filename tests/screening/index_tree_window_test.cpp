// The indicator tree window: the trees it builds from the catalogue and the
// stores, and what a double click, a search and a delete do.
#include <gtest/gtest.h>

#include "orbe/platform/dialog.h"
#include "orbe/platform/menu.h"
#include "orbe/screening/index_condition_wnd.h"
#include "orbe/screening/index_tree_wnd.h"
#include "orbe/screening/scheme_name_dlg.h"
#include "orbe/widgets/buttons.h"
#include "orbe/widgets/color_edit.h"
#include "orbe/widgets/combos.h"
#include "orbe/widgets/grid_ctrl.h"
#include "orbe/widgets/switch_ex.h"
#include "screening/screening_test_util.h"

namespace {

using orbe::testing::TempFolder;

// The texts on the path from the top of the tree to the item.
std::vector<std::string> PathOf(const CXHtmlTree& tree, HTREEITEM item) {
  std::vector<std::string> path;
  for (; item != TVI_ROOT; item = tree.GetParentItem(item)) path.insert(path.begin(), tree.GetItemText(item));
  return path;
}

std::vector<std::string> Children(const CXHtmlTree& tree, HTREEITEM item) {
  std::vector<std::string> texts;
  for (HTREEITEM c = tree.GetChildItem(item); c != 0; c = tree.GetNextSiblingItem(c))
    texts.push_back(tree.GetItemText(c));
  return texts;
}

class IndexTreeWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mgr_ = orbe_test::MakeTestCatalogue(folder_);
    ASSERT_NE(mgr_, nullptr);
    orbe::testing::WriteText(folder_.File("user.ini"), orbe_test::kTestUserSchemesIni);
    system_.LoadSchemes(std::string(ORBE_SOURCE_DIR) + "/data/schemes/system_schemes.ini");
    user_.LoadSchemes(folder_.File("user.ini"));
    ASSERT_TRUE(parent_.Create(nullptr, RECT{0, 0, 1200, 800}, 1, WS_VISIBLE));
    conditions_ = std::make_unique<CIndexConditionWnd>(mgr_.get());
    ASSERT_TRUE(conditions_->Create(&parent_, RECT{300, 0, 1200, 400}, WS_CHILD | WS_VISIBLE, 2));
  }
  std::unique_ptr<CIndexTreeWnd> MakeTree(IndexSchemeMgr* system) {
    auto tree = std::make_unique<CIndexTreeWnd>(mgr_.get(), system, &user_, conditions_.get());
    EXPECT_TRUE(tree->Create(&parent_, RECT{0, 0, 300, 800}, WS_CHILD | WS_VISIBLE, 3));
    return tree;
  }

  TempFolder folder_;
  orbe_test::Catalogue mgr_;
  IndexSchemeMgr system_;
  IndexSchemeMgr user_;
  CWnd parent_;
  std::unique_ptr<CIndexConditionWnd> conditions_;
};

TEST_F(IndexTreeWindowTest, IndicatorsStandByTheirPaths) {
  const auto wnd = MakeTree(&system_);
  const CXHtmlTree& tree = *wnd->GetTree(CIndexTreeWnd::kIndicators);
  struct Case {
    const char* name;
    std::vector<std::string> path;
  };
  const Case cases[] = {
      {"营业总收入", {"财务", "盈利", "营业总收入"}},
      {"市盈率", {"财务", "成长", "市盈率"}},
      {"净资产收益率", {"财务", "盈利", "净资产收益率"}},
      {"最新价", {"即时行情", "最新价"}},
      {"涨幅", {"即时行情", "涨幅"}},
      {"所属行业", {"基本资料", "所属行业"}},
      {"营收股本比", {"我的指标", "营收股本比"}},
      {"市盈动量", {"自编", "动量", "市盈动量"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const HTREEITEM item = wnd->FindIndicatorItem(c.name);
    ASSERT_NE(item, 0);
    EXPECT_EQ(PathOf(tree, item), c.path);
    EXPECT_EQ(reinterpret_cast<IndexBase*>(tree.GetItemData(item)), mgr_->FindIndex(c.name));
  }
  // The two paths share one 财务 node with the children 盈利 and 成长.
  const HTREEITEM finance = tree.FindItem("财务");
  EXPECT_EQ(Children(tree, finance), (std::vector<std::string>{"盈利", "成长"}));
  EXPECT_EQ(tree.FindItem("财务", finance), 0);
}

TEST_F(IndexTreeWindowTest, TabsFollowTheStores) {
  const auto withSystem = MakeTree(&system_);
  const CSwitchEx& tabs = *withSystem->GetTabs();
  ASSERT_EQ(tabs.GetTabNum(), 3);
  EXPECT_EQ(tabs.GetLabel(1)->text, "系统方案");  // the store's 模板名称
  EXPECT_EQ(tabs.GetLabel(2)->text, "我的方案");
  const CXHtmlTree& user = *withSystem->GetTree(CIndexTreeWnd::kUserSchemes);
  EXPECT_EQ(user.GetItemText(user.GetRootItem()), "我的方案");
  EXPECT_EQ(Children(user, user.GetRootItem()), (std::vector<std::string>{"手写方案", "第二方案"}));
  EXPECT_EQ(Children(*withSystem->GetTree(CIndexTreeWnd::kSystemSchemes),
                     withSystem->GetTree(CIndexTreeWnd::kSystemSchemes)->GetRootItem())
                .size(),
            system_.GetSchemes().size());

  const auto without = MakeTree(nullptr);
  ASSERT_EQ(without->GetTabs()->GetTabNum(), 2);
  EXPECT_EQ(without->GetTabs()->GetLabel(0)->text, "待选指标");
  EXPECT_EQ(without->GetTabs()->GetLabel(1)->text, "我的方案");
  // The second tab of this one shows the user's schemes.
  ASSERT_TRUE(without->GetTabs()->ClickLabel(1));
  EXPECT_EQ(without->GetShownTree(), CIndexTreeWnd::kUserSchemes);
  EXPECT_TRUE(without->GetTree(CIndexTreeWnd::kUserSchemes)->IsWindowVisible());
  EXPECT_FALSE(without->GetTree(CIndexTreeWnd::kIndicators)->IsWindowVisible());
}

TEST_F(IndexTreeWindowTest, DoubleClicksAndTheSearchFillTheConditionWindow) {
  const auto wnd = MakeTree(&system_);
  CXHtmlTree& indicators = *wnd->GetTree(CIndexTreeWnd::kIndicators);
  // A folder adds nothing; a leaf adds its indicator.
  ASSERT_TRUE(indicators.DoubleClickItem(indicators.FindItem("财务")));
  EXPECT_EQ(conditions_->GetRows().size(), 0u);
  ASSERT_TRUE(indicators.DoubleClickItem(wnd->FindIndicatorItem("总股本")));
  ASSERT_EQ(conditions_->GetRows().size(), 1u);
  EXPECT_EQ(conditions_->GetRows().at(1)->name, "总股本");

  // Typing initials offers the matches; choosing one adds it and resets the box.
  CColorEdit& search = *wnd->GetSearchEdit();
  EXPECT_EQ(search.GetText(), CIndexTreeWnd::kSearchPrompt);
  ASSERT_TRUE(search.TypeText("SYL"));
  EXPECT_EQ(search.GetText(), "SYL");
  CKvxComboBox& matches = *wnd->GetSearchMatches();
  ASSERT_GE(matches.GetCount(), 1);
  EXPECT_EQ(matches.GetLBText(0), "市盈率");
  EXPECT_TRUE(matches.IsWindowVisible());
  ASSERT_TRUE(matches.PickItem(0));
  ASSERT_EQ(conditions_->GetRows().size(), 2u);
  EXPECT_EQ(conditions_->GetRows().at(2)->name, "市盈率");
  EXPECT_EQ(indicators.GetSelectedItem(), wnd->FindIndicatorItem("市盈率"));
  EXPECT_EQ(search.GetText(), CIndexTreeWnd::kSearchPrompt);
  EXPECT_FALSE(matches.IsWindowVisible());

  // A double click on a user scheme loads it into the condition window.
  CXHtmlTree& user = *wnd->GetTree(CIndexTreeWnd::kUserSchemes);
  ASSERT_TRUE(user.DoubleClickItem(user.FindItem("手写方案")));
  ASSERT_EQ(conditions_->GetRows().size(), 2u);
  EXPECT_EQ(conditions_->GetGrid()->GetItemText(2, 5), "亿元");
  EXPECT_EQ(conditions_->GetEditExpressText(), "#1 or #2");
  // The root is no scheme.
  ASSERT_TRUE(user.DoubleClickItem(user.GetRootItem()));
  EXPECT_EQ(conditions_->GetRows().size(), 2u);
}

TEST_F(IndexTreeWindowTest, OnlyAChosenUserSchemeIsDeleted) {
  const auto wnd = MakeTree(&system_);
  orbe_test::BoxCapture boxes(IDCANCEL);
  wnd->DeleZDYScheme();  // the indicator tree is shown
  ASSERT_TRUE(wnd->GetTabs()->ClickLabel(2));
  wnd->DeleZDYScheme();  // cancelled
  boxes.Answer(IDOK);
  wnd->DeleZDYScheme();  // nothing selected
  EXPECT_EQ(boxes.texts, (std::vector<std::string>{"只允许删除自定义方案", "确认要删除该方案吗?", "确认要删除该方案吗?",
                                                   "请先选择需要删除的方案"}));
  EXPECT_EQ(user_.GetSchemes().size(), 2u);

  CXHtmlTree& user = *wnd->GetTree(CIndexTreeWnd::kUserSchemes);
  ASSERT_TRUE(user.ClickItem(user.FindItem("手写方案")));
  wnd->DeleZDYScheme();
  ASSERT_EQ(user_.GetSchemes().size(), 1u);
  EXPECT_EQ(user_.GetSchemes()[0].name, "第二方案");
  EXPECT_EQ(Children(user, user.GetRootItem()), std::vector<std::string>{"第二方案"});
  // The file holds what the store holds.
  IndexSchemeMgr reread;
  reread.LoadSchemes(folder_.File("user.ini"));
  EXPECT_EQ(reread.GetSchemes(), user_.GetSchemes());
}

TEST_F(IndexTreeWindowTest, RightClickOffersTheDescriptionOfSystemIndicators) {
  const auto wnd = MakeTree(&system_);
  CXHtmlTree& tree = *wnd->GetTree(CIndexTreeWnd::kIndicators);
  int menus = 0;
  orbe::SetPopupMenuHandler([&menus](const orbe::PopupMenuRequest& request) {
    ++menus;
    return orbe::FindPopupMenuCommand(request.items, "指标说明");
  });
  std::vector<std::string> shown;
  orbe::SetDialogHandler([&shown](CDialog& dialog) {
    auto& info = dynamic_cast<CDlgIndexInfo&>(dialog);
    shown.push_back(info.GetText());
    EXPECT_TRUE(info.GetEdit()->IsReadOnly());
    info.GetButton(IDOK)->Click();
  });
  for (const char* name : {"营业总收入", "所属行业", "最新价", "营收股本比"}) {
    ASSERT_TRUE(tree.RightClickItem(wnd->FindIndicatorItem(name)));
  }
  tree.RightClickItem(tree.FindItem("财务"));
  orbe::SetDialogHandler(nullptr);
  orbe::SetPopupMenuHandler(nullptr);
  // Quote and user indicators and folders offer no menu.
  EXPECT_EQ(menus, 2);
  EXPECT_EQ(shown, (std::vector<std::string>{"利润表的营业总收入", "行业名称"}));
  EXPECT_EQ(wnd->GetDescribedIndex(), mgr_->FindIndex("所属行业"));
}

}  // namespace
