// The screening window without a data service: layout, the board-selection
// file, the host's boards, the commands that must refuse, and the host's
// hand on the result. The screenings themselves run in the end-to-end test.
#include <gtest/gtest.h>

#include <cstring>

#include "orbe/env.h"
#include "orbe/platform/dialog.h"
#include "orbe/screening/board_sel_wnd.h"
#include "orbe/screening/data_display_wnd.h"
#include "orbe/screening/index_condition_wnd.h"
#include "orbe/screening/index_tree_wnd.h"
#include "orbe/screening/multi_index_wnd.h"
#include "orbe/screening/scheme_name_dlg.h"
#include "orbe/screening/screening_ids.h"
#include "orbe/screening/stat_calculate_wnd.h"
#include "orbe/widgets/buttons.h"
#include "orbe/widgets/color_edit.h"
#include "orbe/widgets/grid_ctrl.h"
#include "orbe/widgets/splitter_wnd.h"
#include "screening/screening_test_util.h"

namespace {

using orbe::testing::TempFolder;

// The host's quote boards (request 107): a count byte, 20-byte names, 16-bit
// counts from byte 2001, 15-byte codes from byte 2202.
std::string BoardSet(const std::vector<std::pair<std::string, std::vector<std::string>>>& boards) {
  std::string bytes(2202, '\0');
  bytes[0] = static_cast<char>(boards.size());
  for (std::size_t i = 0; i < boards.size(); ++i) {
    std::memcpy(&bytes[1 + 20 * i], boards[i].first.data(), boards[i].first.size());
    const auto count = static_cast<std::int16_t>(boards[i].second.size());
    std::memcpy(&bytes[2001 + 2 * i], &count, 2);
    for (const std::string& code : boards[i].second) {
      std::string entry(15, '\0');
      entry.replace(0, code.size(), code);
      bytes += entry;
    }
  }
  return bytes;
}

std::string g_quote_boards;
struct SwitchCall {
  std::string target;
  std::string data;
  int kind;
};
std::vector<SwitchCall> g_switches;

int FakeDataFunc(int*, int, int code, void* buffer, short, HostValue7, HostValue7, int, int) {
  if (code != 107) return 0;
  if (buffer != nullptr) std::memcpy(buffer, g_quote_boards.data(), g_quote_boards.size());
  return static_cast<int>(g_quote_boards.size());
}

int FakeSwitchFunc(const void* target, int, const void* data, int length, int kind, int, int) {
  g_switches.push_back(
      {target != nullptr ? std::string(static_cast<const char*>(target), 7) : "",
       data != nullptr ? std::string(static_cast<const char*>(data), static_cast<std::size_t>(length)) : "", kind});
  return 1;
}

class MultiIndexWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mgr_ = orbe_test::MakeTestCatalogue(folder_);
    ASSERT_NE(mgr_, nullptr);
    orbe::testing::WriteText(folder_.File("user.ini"), orbe_test::kTestUserSchemesIni);
    g_quote_boards = BoardSet({{"上证Ａ股", {"600000", "600001"}},
                               {"深证Ａ股", {"000001"}},
                               {"上证指数", {"000001"}},
                               {"创业板", {"300001"}}});
    g_switches.clear();
    RegisterCallBack(FakeDataFunc, FakeSwitchFunc, nullptr);
    ASSERT_TRUE(host_.Create(nullptr, RECT{0, 0, 1000, 900}, 1, WS_VISIBLE));
  }
  void TearDown() override {
    if (wnd_ != nullptr) Delete3X1TWnd(wnd_);
    RegisterCallBack(nullptr, nullptr, nullptr);
  }
  CMultiIndexWnd& Open(bool showBoards = true, bool resultOnly = false, const RECT& rect = RECT{0, 0, 1000, 900}) {
    if (wnd_ != nullptr) Delete3X1TWnd(wnd_);
    const std::string system = std::string(ORBE_SOURCE_DIR) + "/data/schemes/system_schemes.ini";
    const std::string user = folder_.File("user.ini");
    wnd_ = dynamic_cast<CMultiIndexWnd*>(
        Creat3X1TWnd(mgr_.get(), system.c_str(), user.c_str(), showBoards, resultOnly, &host_, rect, WS_VISIBLE, 9));
    return *wnd_;
  }
  std::vector<std::string> CheckedBoards() const { return wnd_->GetBoardPane()->GetAllCheckNodeName(); }

  TempFolder folder_;
  orbe_test::Catalogue mgr_;
  CWnd host_;
  CMultiIndexWnd* wnd_ = nullptr;
};

TEST_F(MultiIndexWindowTest, SplitPositionsAndSinglePaneModes) {
  struct Case {
    int width, height, main, left, right;
  };
  const Case cases[] = {
      {250, 600, 50, 350, 220}, {251, 600, 250, 350, 220}, {1000, 900, 250, 550, 370}, {100, 90, 20, 10, 0}};
  CMultiIndexWnd& wnd = Open();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width);
    const RECT rect{0, 0, c.width, c.height};
    wnd.ReSize(&rect, TRUE);
    EXPECT_EQ(wnd.GetMainSplitter()->GetSplitPos(), c.main);
    EXPECT_EQ(wnd.GetLeftSplitter()->GetSplitPos(), c.left);
    EXPECT_EQ(wnd.GetRightSplitter()->GetSplitPos(), c.right);
  }
  wnd.ReSize(nullptr, TRUE);
  EXPECT_EQ(wnd.GetMainSplitter()->GetSplitPos(), 20);
  EXPECT_EQ(wnd.GetLeftSplitter()->GetSinglePane(), -1);
  EXPECT_EQ(wnd.GetMainSplitter()->GetOrientation(), CStaticSplitterWnd::kVertical);
  EXPECT_EQ(wnd.GetLeftSplitter()->GetOrientation(), CStaticSplitterWnd::kHorizontal);

  CMultiIndexWnd& noBoards = Open(false, false);
  EXPECT_EQ(noBoards.GetLeftSplitter()->GetSinglePane(), 0);
  EXPECT_FALSE(noBoards.GetBoardPane()->IsWindowVisible());
  EXPECT_TRUE(noBoards.GetTreeWnd()->IsWindowVisible());
  CMultiIndexWnd& resultOnly = Open(true, true);
  EXPECT_EQ(resultOnly.GetRightSplitter()->GetSinglePane(), 1);
  EXPECT_EQ(resultOnly.GetMainSplitter()->GetSinglePane(), 1);
  EXPECT_TRUE(resultOnly.GetDisplayWnd()->IsWindowVisible());
  EXPECT_FALSE(resultOnly.GetConditionWnd()->IsWindowVisible());
  EXPECT_FALSE(resultOnly.GetTreeWnd()->IsWindowVisible());
}

TEST_F(MultiIndexWindowTest, BoardPaneOffersTheHostsBoardsAndRemembersTheChecked) {
  const std::string file = folder_.File("UserSelFLInfo.ini");
  EXPECT_EQ(CMultiIndexWnd::SelectionFileFor(folder_.File("user.ini")), file);
  EXPECT_EQ(CMultiIndexWnd::SelectionFileFor("D:\\cfg\\user.ini"), "D:\\cfg\\UserSelFLInfo.ini");
  EXPECT_EQ(CMultiIndexWnd::SelectionFileFor("user.ini"), "UserSelFLInfo.ini");
  const std::vector<std::string> defaults = {"上证Ａ股", "深证Ａ股"};
  EXPECT_EQ(CMultiIndexWnd::ReadSelectionFile(file), defaults);  // no file
  orbe::testing::WriteText(file, "");
  EXPECT_EQ(CMultiIndexWnd::ReadSelectionFile(file), defaults);  // an empty file

  CMultiIndexWnd& wnd = Open();
  EXPECT_EQ(wnd.GetSelectionFile(), file);
  const CXHtmlTree& tree = *wnd.GetBoardPane()->GetTree();
  const HTREEITEM quotes = tree.GetRootItem();
  EXPECT_EQ(tree.GetItemText(quotes), "股票市场类");
  // Only the screened quote boards; the index board is left out.
  std::vector<std::string> boards;
  for (HTREEITEM b = tree.GetChildItem(quotes); b != 0; b = tree.GetNextSiblingItem(b))
    boards.push_back(tree.GetItemText(b));
  EXPECT_EQ(boards, (std::vector<std::string>{"上证Ａ股", "深证Ａ股", "创业板"}));
  EXPECT_EQ(CheckedBoards(), defaults);
  EXPECT_EQ(wnd.GetBoardPane()->GetBoards(), (std::vector<int>{-2, -3}));
  EXPECT_EQ(wnd.GetBoardPane()->QuoteBoards()[0], (std::vector<std::string>{"600000", "600001"}));

  // A click changes the choice; the window writes it when it goes.
  CXHtmlTree& clicked = *wnd.GetBoardPane()->GetTree();
  clicked.ClickCheckBox(clicked.FindItem("深证Ａ股"));
  clicked.ClickCheckBox(clicked.FindItem("创业板"));
  Delete3X1TWnd(wnd_);
  wnd_ = nullptr;
  EXPECT_EQ(orbe::testing::ReadText(file), "[MAIN]\r\n个数=2\r\n分类1=上证Ａ股\r\n分类2=创业板\r\n");
  EXPECT_EQ(CMultiIndexWnd::ReadSelectionFile(file), (std::vector<std::string>{"上证Ａ股", "创业板"}));
  EXPECT_EQ(Open().GetBoardPane()->GetBoards(), (std::vector<int>{-2, -4}));

  // The host's code 15044 rebuilds the tree from its new answer.
  g_quote_boards = BoardSet({{"中小企业", {"002001"}}, {"创业板", {"300001"}}});
  wnd_->Notify(orbe::kNotifyRebuildBoards, "", "");
  EXPECT_EQ(wnd_->GetBoardPane()->GetAllCheckNodeName(), std::vector<std::string>{"创业板"});
  EXPECT_EQ(wnd_->GetBoardPane()->GetTree()->GetChildItem(wnd_->GetBoardPane()->GetTree()->GetRootItem()),
            wnd_->GetBoardPane()->GetTree()->FindItem("中小企业"));
  wnd_->Notify(1, "", "");
  EXPECT_TRUE(wnd_->GetBoardSelWndCheckedKey().empty());
}

TEST_F(MultiIndexWindowTest, CommandsWithNothingToWorkOnSayWhy) {
  CMultiIndexWnd& wnd = Open();
  orbe_test::BoxCapture boxes;
  struct Case {
    UINT message;
    const char* box;
  };
  // No rows, no result, no security master behind the boards.
  const Case cases[] = {{orbe::kCmdExport, "没有数据需要保存"},
                        {orbe::kCmdSaveScheme, "没有数据需要保存"},
                        {orbe::kCmdSaveBoard, "没有数据需要保存"},
                        {orbe::kCmdRunScreening, "此板块没有对应的股票"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    boxes.texts.clear();
    EXPECT_EQ(wnd.SendMessage(c.message), -1);
    EXPECT_EQ(boxes.texts, std::vector<std::string>{c.box});
  }
  EXPECT_TRUE(g_switches.empty());
  // No board checked at all.
  CXHtmlTree& tree = *wnd.GetBoardPane()->GetTree();
  tree.ClickCheckBox(tree.GetRootItem());
  tree.ClickCheckBox(tree.GetRootItem());
  boxes.texts.clear();
  wnd.SendMessage(orbe::kCmdRunScreening);
  EXPECT_EQ(boxes.texts, std::vector<std::string>{"待选板块为空"});
  EXPECT_FALSE(wnd.IsFetching());
}

TEST_F(MultiIndexWindowTest, HostDrivenScreeningTakesAUserSchemeByPosition) {
  CMultiIndexWnd& wnd = Open();
  orbe_test::BoxCapture boxes;
  const std::vector<std::string> boards = {"创业板"};
  for (const int index : {2, -1, 99}) {
    wnd.SingleListFetchData(boards, index);
    orbe::RunUntilIdle();
  }
  EXPECT_TRUE(wnd.GetConditionWnd()->GetRows().empty());
  EXPECT_TRUE(boxes.texts.empty());
  EXPECT_EQ(CheckedBoards(), (std::vector<std::string>{"上证Ａ股", "深证Ａ股"}));

  // From an INI file: boards and scheme 1 (the second), then the run it posts.
  const std::string ini = folder_.File("auto.ini");
  orbe::testing::WriteText(ini, "[自动提取]\r\nCHECKITEMS=创业板,,深证Ａ股\r\nSCHEMEINDEX=1\r\n");
  wnd.SingleListFetchData(ini);
  EXPECT_EQ(CheckedBoards(), (std::vector<std::string>{"深证Ａ股", "创业板"}));
  ASSERT_EQ(wnd.GetConditionWnd()->GetRows().size(), 1u);
  EXPECT_EQ(wnd.GetConditionWnd()->GetRows().at(1)->name, "总股本");
  orbe::RunUntilIdle();
  EXPECT_EQ(boxes.texts, std::vector<std::string>{"此板块没有对应的股票"});
  // "新建条件" clears the conditions and the result.
  wnd.SendMessage(orbe::kCmdNewScheme);
  EXPECT_TRUE(wnd.GetConditionWnd()->GetRows().empty());
}

TEST_F(MultiIndexWindowTest, ResultGoesToTheHostAndTheStatisticsToggle) {
  CMultiIndexWnd& wnd = Open();
  CDataDisplayWnd& display = *wnd.GetDisplayWnd();
  CGridCtrl& grid = *display.GetGrid();
  // Codes of 5 and 7 characters are neither switched to nor saved.
  for (const char* code : {"600000", "60001", "6000012", "000002"}) {
    const int row = grid.InsertRow("");
    grid.SetItemText(row, 1, code);
  }
  EXPECT_TRUE(display.SwitchToRow(1));
  EXPECT_FALSE(display.SwitchToRow(2));
  EXPECT_FALSE(display.SwitchToRow(3));
  EXPECT_FALSE(display.SwitchToRow(0));
  ASSERT_TRUE(grid.DoubleClickCell(4, 1));
  wnd.SendMessage(orbe::kCmdSaveBoard);
  ASSERT_EQ(g_switches.size(), 3u);
  EXPECT_EQ(g_switches[0].kind, 12);
  EXPECT_EQ(g_switches[0].target, std::string("600000\0", 7));
  EXPECT_EQ(g_switches[1].target, std::string("000002\0", 7));
  EXPECT_EQ(g_switches[2].kind, 9);
  EXPECT_EQ(g_switches[2].data,
            "\xFF"
            "600000"
            "\xFF"
            "000002");

  // 4018 toggles the options panel; the grid gives it room above the summary line.
  RECT client;
  display.GetClientRect(&client);
  wnd.SendMessage(orbe::kCmdStatistics);
  EXPECT_TRUE(display.GetStatistics()->OptionsShown());
  RECT gridRect;
  grid.GetClientRect(&gridRect);
  EXPECT_EQ(gridRect.bottom, client.bottom - CDlgCalculate::kHeight - CDataDisplayWnd::kSummaryHeight);
  wnd.SendMessage(orbe::kCmdStatistics);
  grid.GetClientRect(&gridRect);
  EXPECT_EQ(gridRect.bottom, client.bottom - CDataDisplayWnd::kSummaryHeight);
  EXPECT_EQ(display.GetSummaryText(), "选中数量：0，总数：0，选中比例：0.00%");
}

TEST_F(MultiIndexWindowTest, CatalogueChangesRebuildTheIndicatorTree) {
  CMultiIndexWnd& wnd = Open();
  wnd.GetTreeWnd()
      ->GetTree(CIndexTreeWnd::kIndicators)
      ->DoubleClickItem(wnd.GetTreeWnd()->FindIndicatorItem("营收股本比"));
  ASSERT_EQ(wnd.GetConditionWnd()->GetRows().size(), 1u);
  CString error;
  ASSERT_EQ(mgr_->DeleteIndexByName("营收股本比", error), 1);
  EXPECT_EQ(wnd.GetTreeWnd()->FindIndicatorItem("营收股本比"), 0);
  EXPECT_TRUE(wnd.GetConditionWnd()->GetRows().empty());
  // The window hands the notifications back when it goes.
  Delete3X1TWnd(wnd_);
  wnd_ = nullptr;
  EXPECT_EQ(mgr_->SetNotify(nullptr), nullptr);
}

TEST_F(MultiIndexWindowTest, SavingASchemeAsksForANewName) {
  CMultiIndexWnd& wnd = Open();
  orbe_test::BoxCapture boxes;
  CIndexTreeWnd& trees = *wnd.GetTreeWnd();
  trees.GetTree(CIndexTreeWnd::kIndicators)->DoubleClickItem(trees.FindIndicatorItem("市盈率"));
  std::string typed;
  int answer = IDOK;
  orbe::SetDialogHandler([&](CDialog& dialog) {
    auto& names = dynamic_cast<CSchemeNameDlg&>(dialog);
    names.GetEdit()->TypeText(typed);
    names.GetButton(answer)->Click();
  });
  struct Case {
    std::string name;
    int answer;
    const char* box;  // "" for none
    std::size_t schemes;
  };
  // The store holds 手写方案 and 第二方案; names are compared byte for byte.
  const Case cases[] = {
      {"新方案", IDCANCEL, "", 2},
      {"", IDOK, "请填写方案名称", 2},
      {"手写方案", IDOK, "该模式板名称已存在，请重新命名!", 2},
      {"新方案", IDOK, "", 3},
      {"新方案", IDOK, "该模式板名称已存在，请重新命名!", 3},
      {"abc", IDOK, "", 4},
      {"ABC", IDOK, "", 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    typed = c.name;
    answer = c.answer;
    boxes.texts.clear();
    wnd.SendMessage(orbe::kCmdSaveScheme);
    EXPECT_EQ(boxes.texts, c.box[0] == '\0' ? std::vector<std::string>{} : std::vector<std::string>{c.box});
    EXPECT_EQ(wnd.GetUserSchemes()->GetSchemes().size(), c.schemes);
  }
  orbe::SetDialogHandler(nullptr);
  // The tree shows the saved schemes; a fresh store reads them from the file.
  const CXHtmlTree& user = *trees.GetTree(CIndexTreeWnd::kUserSchemes);
  EXPECT_NE(user.FindItem("新方案"), 0);
  IndexSchemeMgr reread;
  reread.LoadSchemes(folder_.File("user.ini"));
  EXPECT_EQ(reread.GetSchemes(), wnd.GetUserSchemes()->GetSchemes());
  EXPECT_EQ(reread.GetSchemes()[2].items[0].index, "市盈率");
}

}  // namespace
