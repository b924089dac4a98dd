// The screening window over a real sample market, driven as a user would:
// the real engine and reply cache against orbe-dataserver, the terminal host
// answering boards and quote records. What the window shows must equal the
// headless runner's table and what our own queries of the server's database
// compute (indicators/screening_reference.h); the exported file is read back
// with an independent reader; the terminal drives the same window.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>

#include "dataservice/transfer_server.h"
#include "host/host_callbacks.h"
#include "host/host_market.h"
#include "host/host_session.h"
#include "indicators/screening_reference.h"
#include "orbe/platform/file_dialog.h"
#include "orbe/platform/text.h"
#include "orbe/screening/board_sel_wnd.h"
#include "orbe/screening/data_display_wnd.h"
#include "orbe/screening/headless_screening.h"
#include "orbe/screening/index_condition_wnd.h"
#include "orbe/screening/index_tree_wnd.h"
#include "orbe/screening/multi_index_wnd.h"
#include "orbe/screening/screening_ids.h"
#include "orbe/screening/stat_calculate_wnd.h"
#include "orbe/widgets/buttons.h"
#include "orbe/widgets/chart_ctrl.h"
#include "orbe/widgets/grid_ctrl.h"
#include "orbe/widgets/html_render.h"
#include "orbe/widgets/switch_ex.h"
#include "screening/screening_test_util.h"
#include "support/component_reexec.h"
#include "support/xlsx_reader.h"

// The embedded interpreter keeps its own allocations until the process ends.
extern "C" const char* __lsan_default_suppressions() { return "leak:libpython3"; }

namespace {

namespace fs = std::filesystem;

const bool kWithBuiltComponents = orbe_test::RunWithBuiltComponents();

constexpr const char* kScale = "0.05";
constexpr DWORD kTimeoutMs = 120000;
constexpr const char* kSchemeName = "全市场端到端";

// Companies of the A-shares of both exchanges that are not delisted: the
// companies of the boards 上证Ａ股 and 深证Ａ股.
std::vector<std::string> BoardCompanies(const std::string& db) {
  std::set<std::string> companies;
  orbe_test::ReferenceDb(db).Each(
      "SELECT T002 FROM t100000001 WHERE T005 = '1' AND T006 IN ('83', '90') AND T008 <> '3'",
      [&](sqlite3_stmt* row) { companies.insert(orbe_test::TextOf(row, 0)); });
  return {companies.begin(), companies.end()};
}

std::map<std::string, std::string> CompanyOfCode(const std::string& db) {
  std::map<std::string, std::string> companies;
  orbe_test::ReferenceDb(db).Each(
      "SELECT T003, T002 FROM t100000001 WHERE T005 = '1' ORDER BY rowid",
      [&](sqlite3_stmt* row) { companies.emplace(orbe_test::TextOf(row, 0), orbe_test::TextOf(row, 1)); });
  return companies;
}

// The text a reference cell is shown with.
std::string ShownText(const orbe_test::RefCell& cell) {
  if (cell.type == DATA_TYPE_DOUBLE) return orbe::Format("%.2f", cell.dbl);
  if (cell.type == DATA_TYPE_INT64) return std::to_string(cell.i64);
  return cell.str;
}

// Runs a command given in GBK (the shell gets UTF-8); its output and "exit N".
std::string RunCommand(const std::string& command) {
  std::string out;
  FILE* pipe = ::popen((orbe::GbkToUtf8(command) + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return out;
  char chunk[4096];
  for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) out.append(chunk, n);
  const int status = ::pclose(pipe);
  return out + "\nexit " + std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1);
}

// Cell name -> "n:<number>" or "s:<text>" as tests/support/read_xlsx.py prints them.
std::map<std::string, std::string> ReadXlsx(const std::string& path) {
  std::map<std::string, std::string> cells;
  const std::string out = orbe_test::ReadXlsxCells(path);
  std::size_t start = 0;
  for (std::size_t end = out.find('\n'); end != std::string::npos; start = end + 1, end = out.find('\n', start)) {
    const std::string line = out.substr(start, end - start);
    const std::size_t equals = line.find('=');
    if (equals != std::string::npos) cells[line.substr(0, equals)] = line.substr(equals + 1);
  }
  return cells;
}

std::string CellName(int row, int col) {
  std::string letters;
  for (int c = col + 1; c > 0; c = (c - 1) / 26) letters.insert(letters.begin(), static_cast<char>('A' + (c - 1) % 26));
  return letters + std::to_string(row + 1);
}

class ScreeningWindowE2eTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ::setenv("PYTHONDONTWRITEBYTECODE", "1", 0);
    folder_ = orbe_test::ScratchFolder("screening_window");
    const std::string make = std::string(ORBE_TEST_BIN_DIR) + "/orbe-dataserver --make-sample " + folder_ +
                             "market.db --scale " + kScale + " >/dev/null 2>&1";
    if (std::system(make.c_str()) != 0) return;
    server_ = new orbe_test::TransferServer();
    if (!server_->Start(folder_)) return;
    fs::create_directories(folder_ + "home");
    std::string error;
    market_ = orbe::HostMarket::Open(server_->Database(), folder_ + "home/", &error).release();
    orbe::HostSessionOptions options;
    options.data_service = {"127.0.0.1", server_->DataPort()};
    options.file_server = orbe::HostAddress{"127.0.0.1", server_->FilePort()};
    options.private_folder = folder_ + "home/";
    if (market_ != nullptr) session_ = orbe::HostSession::Start(options, market_, &error).release();
    fs::copy(fs::path(ORBE_SOURCE_DIR) / "data" / "indicators", folder_ + "indicators", fs::copy_options::recursive);
    const std::string dir = folder_ + "indicators/";
    mgr_ = CreateIndexMgrInstance();
    if (mgr_->LoadIndexes(dir + "hq_index.ini", dir + "sys_index.xml", dir + "usr_index.ini") != 1) {
      DeleteIndexMgrInstance(mgr_);
      mgr_ = nullptr;
    }
  }
  static void TearDownTestSuite() {
    if (mgr_ != nullptr) DeleteIndexMgrInstance(mgr_);
    delete session_;
    delete market_;
    delete server_;
    fs::remove_all(folder_);
  }

  void SetUp() override {
    ASSERT_TRUE(kWithBuiltComponents);
    ASSERT_NE(session_, nullptr);
    ASSERT_NE(mgr_, nullptr);
    // A folder of its own: the board choice is kept beside the user schemes.
    const std::string own = folder_ + ::testing::UnitTest::GetInstance()->current_test_info()->name() + "/";
    fs::create_directories(own);
    user_schemes_ = own + "user.ini";
    IndexSchemeMgr store;
    store.LoadSchemes(user_schemes_);
    IndexScheme scheme = orbe_test::ScreeningScheme();
    scheme.name = kSchemeName;
    store.SetSchemes({scheme});
    ASSERT_TRUE(store.SaveSchemes());
    ASSERT_TRUE(host_.Create(nullptr, RECT{0, 0, 1600, 1000}, 1, WS_VISIBLE));
    wnd_ = dynamic_cast<CMultiIndexWnd*>(
        Creat3X1TWnd(mgr_, nullptr, user_schemes_.c_str(), true, false, &host_, RECT{0, 0, 1600, 1000}, WS_VISIBLE, 9));
    ASSERT_NE(wnd_, nullptr);
    orbe::ClearRecordedSwitchRequests();
  }
  void TearDown() override {
    if (wnd_ != nullptr) Delete3X1TWnd(wnd_);
  }

  void OpenUserScheme(const std::string& name) {
    CIndexTreeWnd& trees = *wnd_->GetTreeWnd();
    ASSERT_TRUE(trees.GetTabs()->ClickLabel(trees.GetTabs()->GetTabNum() - 1));
    CXHtmlTree& tree = *trees.GetTree(CIndexTreeWnd::kUserSchemes);
    ASSERT_TRUE(tree.DoubleClickItem(tree.FindItem(name)));
  }
  void Press(UINT command) { ASSERT_TRUE(wnd_->GetConditionWnd()->GetButton(command)->Click()); }
  // The posted run command first, then the screening it started.
  bool WaitForResult() {
    orbe::RunUntilIdle();
    return orbe::PumpUntil([this] { return !wnd_->IsFetching(); }, kTimeoutMs);
  }
  // The result grid's data rows as the headless runner's cells: grid column
  // c (c > 3) holds table column c - 1.
  std::vector<std::vector<std::string>> GridRows() const {
    const CGridCtrl& grid = *wnd_->GetDisplayWnd()->GetGrid();
    std::vector<std::vector<std::string>> rows;
    for (int row = 1; row < grid.GetRowCount(); ++row) {
      std::vector<std::string> cells;
      for (int col = 0; col < grid.GetColumnCount(); ++col) {
        if (col != kResultCheckColumn) cells.push_back(grid.GetItemText(row, col));
      }
      rows.push_back(cells);
    }
    return rows;
  }

  static std::string folder_;
  static orbe_test::TransferServer* server_;
  static orbe::HostMarket* market_;
  static orbe::HostSession* session_;
  static IIndexMgr* mgr_;
  std::string user_schemes_;
  CWnd host_;
  CMultiIndexWnd* wnd_ = nullptr;
};

std::string ScreeningWindowE2eTest::folder_;
orbe_test::TransferServer* ScreeningWindowE2eTest::server_ = nullptr;
orbe::HostMarket* ScreeningWindowE2eTest::market_ = nullptr;
orbe::HostSession* ScreeningWindowE2eTest::session_ = nullptr;
IIndexMgr* ScreeningWindowE2eTest::mgr_ = nullptr;

TEST_F(ScreeningWindowE2eTest, WholeScreeningThroughTheWindowEqualsTheRunnerAndTheDatabase) {
  orbe_test::BoxCapture boxes;
  const std::string db = server_->Database();
  const std::vector<std::string> companies = BoardCompanies(db);
  const orbe_test::ReferenceResult ref = orbe_test::ComputeReference(db, companies);
  ASSERT_GT(ref.selected.size(), 3u);
  ASSERT_LT(ref.selected.size(), ref.row_order.size());

  // The default boards are checked; the scheme is opened from the user's tree.
  EXPECT_EQ(wnd_->GetBoardPane()->GetAllCheckNodeName(), (std::vector<std::string>{"上证Ａ股", "深证Ａ股"}));
  OpenUserScheme(kSchemeName);
  ASSERT_EQ(wnd_->GetConditionWnd()->GetRows().size(), static_cast<std::size_t>(orbe_test::kSchemeRowCount));
  EXPECT_EQ(wnd_->GetConditionWnd()->GetEditExpressText(), orbe_test::kExpression);

  // Running sets the busy flag, and only the display's 1025 clears it: a
  // second run meanwhile starts nothing.
  Press(orbe::kCmdRunScreening);
  orbe::RunUntilIdle();
  ASSERT_TRUE(wnd_->IsFetching()) << (boxes.texts.empty() ? "" : orbe::GbkToUtf8(boxes.texts[0]));
  ASSERT_TRUE(wnd_->GetDisplayWnd()->IsFetching());
  Press(orbe::kCmdRunScreening);
  ASSERT_TRUE(orbe::PumpUntil([this] { return !wnd_->GetDisplayWnd()->IsFetching(); }, kTimeoutMs));
  EXPECT_TRUE(wnd_->IsFetching());
  orbe::RunUntilIdle();
  EXPECT_FALSE(wnd_->IsFetching());
  EXPECT_TRUE(boxes.texts.empty()) << orbe::GbkToUtf8(boxes.texts.front());

  // The same rows and cells as the headless runner over the same companies.
  const orbe::ScreeningResult headless = orbe::RunScreening(mgr_, wnd_->GetDisplayWnd()->GetScheme(),
                                                            orbe_test::JoinCodes(companies), nullptr, kTimeoutMs);
  ASSERT_TRUE(headless.ok);
  std::vector<std::vector<std::string>> runner;
  for (const auto& [id, cells] : headless.rows) {
    std::vector<std::string> line(headless.columns.size());
    for (const auto& [col, cell] : cells) line[static_cast<std::size_t>(col)] = cell.text;
    runner.push_back(line);
  }
  const std::vector<std::vector<std::string>> grid = GridRows();
  EXPECT_EQ(grid, runner);

  // And the database's: the selected companies, every value as shown.
  std::set<std::string> shown;
  std::map<std::string, std::string> company_of;
  for (const auto& [company, code] : ref.secu) company_of[code] = company;
  for (const std::vector<std::string>& row : grid) {
    const std::string company = company_of.at(row[1]);
    shown.insert(company);
    EXPECT_EQ(row[2], ref.abbr.at(company));
    for (int k = 0; k < orbe_test::kSchemeRowCount; ++k) {
      const orbe_test::RefColumn& column = ref.columns[static_cast<std::size_t>(k)];
      const auto cell = column.find(company);
      EXPECT_EQ(row[static_cast<std::size_t>(3 + k)], cell == column.end() ? "" : ShownText(cell->second))
          << row[1] << " row " << k + 1;
    }
  }
  EXPECT_EQ(shown, ref.selected);
  EXPECT_EQ(wnd_->GetDisplayWnd()->GetSummaryText(),
            orbe::ScreeningSummary(static_cast<int>(grid.size()), static_cast<int>(ref.row_order.size())));

  // Statistics over every row: the panel's eleven statistics of the revenue column.
  Press(orbe::kCmdStatistics);
  orbe::RunUntilIdle();
  CDlgCalculate& options = *wnd_->GetDisplayWnd()->GetStatistics()->GetOptions();
  for (const orbe::StatisticSpec& spec : orbe::kStatistics) options.GetStatisticCheck(spec.control)->Click();
  ASSERT_TRUE(options.GetButton(CDlgCalculate::kCheckAllButton)->Click());
  orbe::RunUntilIdle();
  const CGridCtrl& stats = *wnd_->GetDisplayWnd()->GetStatistics()->GetOutputGrid();
  ASSERT_EQ(stats.GetRowCount(), orbe::kStatisticCount);
  double sum = 0;
  int count = 0;
  for (const std::string& company : ref.selected) {
    const auto cell = ref.columns[0].find(company);
    if (cell == ref.columns[0].end()) continue;
    sum += std::atof(ShownText(cell->second).c_str());
    ++count;
  }
  EXPECT_EQ(stats.GetItemText(0, 0), "总和");
  EXPECT_EQ(stats.GetItemText(0, 1), orbe::Format("%.2f", sum));
  EXPECT_EQ(stats.GetItemText(1, 1), orbe::Format("%.2f", sum / count));
  EXPECT_EQ(stats.GetItemText(2, 1), std::to_string(count));
  // The text column of the industry names counts, and has no other statistic.
  const int industry = 1 + 7;  // scheme row #8
  EXPECT_EQ(stats.GetItemText(2, industry), std::to_string(ref.selected.size()));
  EXPECT_EQ(stats.GetItemText(0, industry), "--");

  // Export: the .xlsx read back by Python's zipfile and XML parser equals the grid.
  const std::string xlsx = folder_ + "result.xlsx";
  orbe::SetFileDialogHandler([&xlsx](const orbe::FileDialogRequest&) { return xlsx; });
  Press(orbe::kCmdExport);
  orbe::RunUntilIdle();
  orbe::SetFileDialogHandler(nullptr);
  const std::map<std::string, std::string> read = ReadXlsx(xlsx);
  const orbe::Table table = wnd_->GetDisplayWnd()->GetGrid()->GetTable();
  ASSERT_EQ(table.rows.size(), grid.size() + 1);
  std::size_t compared = 0;
  for (std::size_t r = 0; r < table.rows.size(); ++r) {
    for (std::size_t c = 0; c < table.rows[r].size(); ++c) {
      const orbe::TableCell& cell = table.rows[r][c];
      const std::string name = CellName(static_cast<int>(r), static_cast<int>(c));
      const auto found = read.find(name);
      if (!cell.is_number && cell.text.empty()) {
        EXPECT_EQ(found, read.end()) << name;
        continue;
      }
      ASSERT_NE(found, read.end()) << name;
      ++compared;
      if (cell.is_number) {
        ASSERT_EQ(found->second.substr(0, 2), "n:") << name;
        EXPECT_NEAR(std::atof(found->second.c_str() + 2), cell.number, 1e-9 * std::max(1.0, std::fabs(cell.number)))
            << name;
      } else {
        std::string text = orbe::GbkToUtf8(cell.text);
        for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 2))
          text.replace(at, 1, "\\n");
        EXPECT_EQ(found->second, "s:" + text) << name;
      }
    }
  }
  EXPECT_EQ(compared, read.size());
  EXPECT_EQ(read.at("A1"), "s:" + orbe::GbkToUtf8("序号"));

  // Saving as a board hands every code to the host, which keeps them.
  Press(orbe::kCmdSaveBoard);
  orbe::RunUntilIdle();
  const std::vector<orbe::HostSwitchRequest> switches = orbe::RecordedSwitchRequests();
  ASSERT_EQ(switches.size(), 1u);
  EXPECT_EQ(switches[0].kind, 9);
  std::vector<std::string> codes;
  for (const std::vector<std::string>& row : grid) codes.push_back(row[1]);
  EXPECT_EQ(switches[0].codes, codes);

  // The chart: one series per numeric column, each coloured from the palette by its column.
  CDataDisplayWnd& display = *wnd_->GetDisplayWnd();
  ASSERT_TRUE(display.GetViewButton(orbe::kCmdShowChart)->Click());
  EXPECT_TRUE(display.IsChartShown());
  EXPECT_FALSE(display.GetGrid()->IsWindowVisible());
  const CChartCtrl& chart = *display.GetChart();
  int numeric = 0;
  for (int col = kResultFirstIndicator; col < display.GetGrid()->GetColumnCount(); ++col) {
    numeric += display.GetGrid()->GetItemData(0, col) != 0 ? 1 : 0;
  }
  ASSERT_EQ(chart.GetSeriesCount(), numeric);
  ASSERT_FALSE(chart.GetAllSeries().empty());
  const ChartSeries* first = &chart.GetAllSeries().front();
  EXPECT_EQ(first->color, CDataDisplayWnd::kChartColors[kResultFirstIndicator % 10]);
  EXPECT_EQ(first->name, display.GetGrid()->GetItemText(0, kResultFirstIndicator));
  EXPECT_EQ(first->points.size(), grid.size());
  ASSERT_TRUE(display.GetViewButton(orbe::kCmdShowGrid)->Click());
  EXPECT_TRUE(display.GetGrid()->IsWindowVisible());
  EXPECT_FALSE(chart.IsWindowVisible());

  const std::string html = orbe::RenderWindowHtml(*wnd_);
  EXPECT_NE(html.find(orbe::GbkToUtf8(wnd_->GetDisplayWnd()->GetSummaryText())), std::string::npos);
  EXPECT_NE(html.find(orbe::GbkToUtf8("样本标准差")), std::string::npos);
}

TEST_F(ScreeningWindowE2eTest, BoardsGiveTheirCompaniesOnceInByteOrder) {
  const std::string db = server_->Database();
  const std::map<std::string, std::string> company_of = CompanyOfCode(db);
  CBoardSelWnd& pane = *wnd_->GetBoardPane();
  CXHtmlTree& tree = *pane.GetTree();
  // 上证Ａ股 and 自选股 share the own list's Shanghai codes.
  tree.ClickCheckBox(tree.FindItem("深证Ａ股"));
  tree.ClickCheckBox(tree.FindItem("自选股"));
  std::set<std::string> want;
  for (const orbe::HostBoard& board : market_->QuoteBoards()) {
    if (board.name != "上证Ａ股" && board.name != "自选股") continue;
    for (const std::string& code : board.codes) want.insert(company_of.at(code));
  }
  ASSERT_GT(want.size(), 10u);
  EXPECT_EQ(pane.GenSqlOption(pane.GetBoards()), orbe_test::JoinCodes({want.begin(), want.end()}));

  // An industry checks its subtree; its companies are those whose deepest code lies below it.
  tree.ClickCheckBox(tree.FindItem("股票市场类"));
  tree.ClickCheckBox(tree.FindItem("股票市场类"));
  const HTREEITEM csrc = tree.FindItem("证监会行业");
  const HTREEITEM top = tree.GetChildItem(csrc);
  ASSERT_NE(top, 0);
  ASSERT_TRUE(tree.ClickCheckBox(top));
  const std::string& entry = pane.Industries()[static_cast<std::size_t>(tree.GetItemData(top))];
  const std::string code = entry.substr(CBoardSelWnd::kClassificationBytes);
  std::set<std::string> industry;
  orbe_test::ReferenceDb(db).Each("SELECT T001 FROM t100000002 WHERE T012 LIKE '" + code + "%'",
                                  [&](sqlite3_stmt* row) { industry.insert(orbe_test::TextOf(row, 0)); });
  ASSERT_FALSE(industry.empty());
  EXPECT_EQ(pane.GenSqlOption(pane.GetBoards()), orbe_test::JoinCodes({industry.begin(), industry.end()}));
  const std::vector<std::string> keys = wnd_->GetBoardSelWndCheckedKey();
  ASSERT_FALSE(keys.empty());
  EXPECT_EQ(keys[0], "997" + code);
}

TEST_F(ScreeningWindowE2eTest, TheTerminalDrivesTheSameWindowAndItsSchemesLast) {
  const std::string terminal = std::string(ORBE_TEST_BIN_DIR) +
                               "/orbe-terminal screen --server 127.0.0.1:" + std::to_string(server_->DataPort()) +
                               " --files 127.0.0.1:" + std::to_string(server_->FilePort()) + " --market " +
                               server_->Database() + " --home " + folder_ + "terminal_home --indicators " + folder_ +
                               "indicators";
  // A scheme written by hand in the XML form, shown as a host would import it.
  const std::string xml = folder_ + "hand.xml";
  orbe::testing::WriteText(
      xml,
      "<?xml version=\"1.0\" encoding=\"GB2312\" standalone=\"yes\"?>\r\n"
      "<IndexScheme name=\"手写\" descrip=\"\" tree=\"\" expression=\"#1 and #2\">\r\n"
      " <IndexSchemeItem index=\"总市值\" condition=\"\" op=\"大于\" value=\"20\" unit=\"亿元\"/>\r\n"
      " <IndexSchemeItem index=\"最新价\" condition=\"\" op=\"小于\" value=\"30\" unit=\"\" visable=\"1\"/>\r\n"
      "</IndexScheme>\r\n");
  IndexScheme scheme;
  ASSERT_TRUE(LoadSchemeXml(xml, scheme));
  wnd_->GetConditionWnd()->ChangeScheme(scheme);
  ASSERT_EQ(wnd_->GetConditionWnd()->GetRows().size(), 2u);
  Press(orbe::kCmdRunScreening);
  ASSERT_TRUE(WaitForResult());
  std::string want;
  const CGridCtrl& grid = *wnd_->GetDisplayWnd()->GetGrid();
  for (int row = 1; row < grid.GetRowCount(); ++row) want += orbe::GbkToUtf8(grid.GetItemText(row, 1)) + "\t";
  ASSERT_GT(grid.GetRowCount(), 2);

  // The same scheme through the terminal, saved under a name; a fresh
  // process then opens it by that name and screens the same rows.
  fs::create_directories(folder_ + "terminal");
  const std::string user = folder_ + "terminal/user.ini";
  const std::string saved = RunCommand(terminal + " --user-schemes " + user + " --scheme-file " + xml +
                                       " --save-scheme 手写保存 --stats --html " + folder_ + "screen.html");
  ASSERT_NE(saved.find("\nexit 0"), std::string::npos) << saved;
  auto codes = [](const std::string& out) {
    std::string found;
    std::size_t start = 0;
    for (std::size_t end = out.find('\n'); end != std::string::npos; start = end + 1, end = out.find('\n', start)) {
      const std::string line = out.substr(start, end - start);
      const std::size_t tab = line.find('\t');
      if (tab == std::string::npos || line.compare(0, tab, orbe::GbkToUtf8("序号")) == 0) continue;
      const std::size_t next = line.find('\t', tab + 1);
      if (next != std::string::npos && line[0] >= '0' && line[0] <= '9')
        found += line.substr(tab + 1, next - tab - 1) + "\t";
    }
    return found;
  };
  EXPECT_EQ(codes(saved), want);
  EXPECT_NE(saved.find(orbe::GbkToUtf8("样本标准差") + "\t"), std::string::npos) << saved;
  EXPECT_TRUE(fs::exists(folder_ + "screen.html"));
  IndexSchemeMgr store;
  store.LoadSchemes(user);
  ASSERT_EQ(store.GetSchemes().size(), 1u);
  IndexScheme stored = store.GetSchemes()[0];
  EXPECT_EQ(stored.name, "手写保存");
  stored.name = scheme.name;
  EXPECT_EQ(stored, scheme);

  const std::string reopened = RunCommand(terminal + " --user-schemes " + user + " --scheme 手写保存");
  ASSERT_NE(reopened.find("\nexit 0"), std::string::npos) << reopened;
  EXPECT_EQ(codes(reopened), want);
  // Saving under that name again is refused.
  const std::string again =
      RunCommand(terminal + " --user-schemes " + user + " --scheme 手写保存 --save-scheme 手写保存");
  EXPECT_NE(again.find(orbe::GbkToUtf8("该模式板名称已存在，请重新命名!") + "\n"), std::string::npos) << again;
  EXPECT_NE(again.find("\nexit 1"), std::string::npos) << again;

  // What a user gets wrong is named, with a non-zero status.
  struct Case {
    std::string arguments;
    std::string message;
  };
  const Case cases[] = {
      {"--scheme 不存在", "unknown scheme " + orbe::GbkToUtf8("不存在")},
      {"--cond \"QQQQ > 1\"", "unknown indicator QQQQ"},
      {"--cond \"SYL > 1\" --board 火星", "unknown board '" + orbe::GbkToUtf8("火星") + "'"},
      {"--cond \"SYL >> 1\"", "unknown operator >>"},
      {"--cond \"SYL > 1 亿元\"", "takes no unit"},
      {"--cond \"SYL >\"", "--cond needs"},
      {"", "nothing to screen"},
      {"--scheme 1 --xlsx out.csv", "--xlsx needs"},
      {"--scheme 1 --bogus", "unknown option '--bogus'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments);
    const std::string out = RunCommand(terminal + " " + c.arguments);
    EXPECT_NE(out.find(c.message), std::string::npos) << out;
    EXPECT_NE(out.find("\nexit 2"), std::string::npos) << out;
  }
}

}  // namespace
