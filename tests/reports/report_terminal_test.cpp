// orbe-terminal report end to end against a started orbe-dataserver: what it
// prints and exports equals the server's database read directly (formats and
// money units applied as docs/widgets.md defines them), its pages open in
// headless Chromium, and bad input fails fast and plainly.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <regex>
#include <string>

#include "dataservice/transfer_server.h"
#include "orbe/platform/file.h"
#include "orbe/platform/text.h"
#include "support/browser_shot.h"
#include "support/terminal_run.h"
#include "support/xlsx_reader.h"

namespace {

namespace fs = std::filesystem;

using orbe_test::RunResult;
using orbe_test::RunTerminal;

std::string Report(const std::string& name) { return std::string(ORBE_SOURCE_DIR) + "/data/reports/" + name; }

// "1234567.891" -> "1,234,567.89": printf rounding, then thousands commas.
std::string WithCommas(double value, int decimals) {
  std::string text = orbe::Format("%.*f", decimals, value);
  const std::size_t start = text[0] == '-' ? 1 : 0;
  std::size_t point = text.find('.');
  if (point == std::string::npos) point = text.size();
  for (std::size_t at = point; at > start + 3; at -= 3) text.insert(at - 3, ",");
  return text;
}

class Database {
 public:
  explicit Database(const std::string& path) { sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr); }
  ~Database() { sqlite3_close(db_); }
  // The first row of a query with one text parameter, each column as text.
  std::vector<std::string> Row(const std::string& sql, const std::string& parameter) const {
    std::vector<std::string> row;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) return row;
    if (!parameter.empty()) sqlite3_bind_text(statement, 1, parameter.c_str(), -1, SQLITE_TRANSIENT);
    if (sqlite3_step(statement) == SQLITE_ROW) {
      for (int col = 0; col < sqlite3_column_count(statement); ++col) {
        const auto* text = sqlite3_column_text(statement, col);
        row.emplace_back(text != nullptr ? reinterpret_cast<const char*>(text) : "");
      }
    }
    sqlite3_finalize(statement);
    return row;
  }

 private:
  sqlite3* db_ = nullptr;
};

class ReportTerminalTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = new std::string(orbe_test::ScratchFolder("report_terminal"));
    server_ = new orbe_test::TransferServer();
    ok_ = server_->Start(*folder_);
    const Database db(server_->Database());
    // The first Shanghai A-share with an annual report for 2025.
    const std::vector<std::string> first = db.Row(
        "SELECT s.T003, s.T002 FROM t100000001 s JOIN t100000011 i ON i.T002 = s.T002 AND i.T005 = 20251231 "
        "WHERE s.T005 = '1' AND s.T006 = '83' ORDER BY s.rowid LIMIT 1",
        "");
    ok_ = ok_ && first.size() == 2;
    if (ok_) {
      code_ = new std::string(first[0]);
      company_ = new std::string(first[1]);
    }
  }
  static void TearDownTestSuite() {
    server_->Stop(SIGTERM);
    fs::remove_all(*folder_);
    delete server_;
  }
  void SetUp() override { ASSERT_TRUE(ok_) << "the data service or the sample market is missing"; }

  static std::string Connection() {
    return "--server 127.0.0.1:" + std::to_string(server_->DataPort()) + " --files 127.0.0.1:" +
           std::to_string(server_->FilePort()) + " --home " + *folder_ + "home";
  }

  static std::string* folder_;
  static std::string* code_;
  static std::string* company_;
  static orbe_test::TransferServer* server_;
  static bool ok_;
};

std::string* ReportTerminalTest::folder_ = nullptr;
std::string* ReportTerminalTest::code_ = nullptr;
std::string* ReportTerminalTest::company_ = nullptr;
orbe_test::TransferServer* ReportTerminalTest::server_ = nullptr;
bool ReportTerminalTest::ok_ = false;

TEST_F(ReportTerminalTest, PrintedAndExportedValuesEqualTheDatabase) {
  const std::string xlsx = *folder_ + "summary.xlsx";
  const RunResult run = RunTerminal("report --ini " + Report("financial_summary.ini") + " --code " + *code_ +
                                    " --term '" + orbe::GbkToUtf8("2025 年度") + "' --unit 2 --xlsx " + xlsx + " " + Connection());
  ASSERT_EQ(run.status, 0) << run.out;

  const Database db(server_->Database());
  const std::vector<std::string> income =
      db.Row("SELECT T006, T007, T012, T015, T016, T017 FROM t100000011 WHERE T002 = ? AND T005 = 20251231",
             *company_);
  ASSERT_EQ(income.size(), 6u);
  // The income list is turned (an item a line) and its money in 万元 with
  // two decimals; earnings per share keep four decimals, and their average
  // stands in the summary column.
  struct Line {
    const char* title;
    std::string shown;
    std::string summary;
  };
  const auto money = [&](int i) { return WithCommas(std::stod(income[static_cast<std::size_t>(i)]) / 1e4, 2); };
  const std::string eps = orbe::Format("%.4f", std::stod(income[5]));
  const Line lines[] = {
      {"营业总收入(万元)", money(0), ""}, {"营业成本(万元)", money(1), ""},
      {"营业利润(万元)", money(2), ""},   {"净利润(万元)", money(3), ""},
      {"归属于母公司股东的净利润(万元)", money(4), ""}, {"基本每股收益", eps, eps},
  };
  std::map<std::string, std::string> xlsx_cells;
  const std::string cells = orbe_test::ReadXlsxCells(xlsx);
  for (std::size_t at = 0, end; (end = cells.find('\n', at)) != std::string::npos; at = end + 1) {
    const std::string line = cells.substr(at, end - at);
    xlsx_cells[line.substr(0, line.find('='))] = line.substr(line.find('=') + 1);
  }
  for (const Line& line : lines) {
    SCOPED_TRACE(line.title);
    const std::string title = orbe::GbkToUtf8(line.title);
    EXPECT_NE(run.out.find("\n    " + title + " | " + line.shown + " | " + line.summary + "\n"), std::string::npos)
        << run.out;
    // In the spreadsheet the item's title is in column A and the number the
    // user saw beside it.
    std::string row;
    for (const auto& [ref, value] : xlsx_cells) {
      if (ref[0] == 'A' && value == "s:" + title) row = ref.substr(1);
    }
    ASSERT_FALSE(row.empty()) << cells;
    std::string digits = line.shown;
    std::erase(digits, ',');
    const std::string cell = xlsx_cells["B" + row];
    ASSERT_EQ(cell.rfind("n:", 0), 0u) << cells;
    EXPECT_NEAR(std::stod(cell.substr(2)), std::stod(digits), 1e-9 * std::fabs(std::stod(digits))) << cells;
  }
}

TEST_F(ReportTerminalTest, BadInputFailsWithAMessage) {
  struct Case {
    const char* what;
    std::string arguments;
    int status;
    const char* message;
  };
  const std::string ini = Report("financial_summary.ini");
  const Case cases[] = {
      {"missing INI", "report --ini " + *folder_ + "nowhere.ini --code 600000 " + Connection(), 2, "does not exist"},
      {"no security", "report --ini " + ini + " " + Connection(), 2, "--ini and --code are required"},
      {"unknown security", "report --ini " + ini + " --code 999999 " + Connection(), 1, "unknown security 999999"},
      {"unknown term", "report --ini " + ini + " --code " + *code_ + " --term 1900 " + Connection(), 2,
       "unknown report term 1900"},
      {"money unit out of range", "report --ini " + ini + " --code " + *code_ + " --unit 9 " + Connection(), 2,
       "unknown money unit 9"},
      {"bad click", "report --ini " + ini + " --code " + *code_ + " --click 1,2 " + Connection(), 2,
       "--click takes CELL,ROW,COL"},
      {"click outside the page", "report --ini " + ini + " --code " + *code_ + " --click 9,1,1 " + Connection(), 2,
       "no cell 9"},
      {"server down", "report --ini " + ini + " --code 600000 --server 127.0.0.1:1 --home " + *folder_ + "down", 1,
       "the data service 127.0.0.1:1 cannot be reached"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const RunResult run = RunTerminal(c.arguments);
    EXPECT_EQ(run.status, c.status) << run.out;
    EXPECT_NE(run.out.find(c.message), std::string::npos) << run.out;
  }
}

TEST_F(ReportTerminalTest, ActionsSplitRotateAndOpenPopups) {
  const std::string html = *folder_ + "capital.html";
  const RunResult capital = RunTerminal("report --ini " + Report("shareholders.ini") + " --code " + *code_ +
                                        " --term '" + orbe::GbkToUtf8("2025 年度") + "' --click 1,2,1 --html " + html + " " + Connection());
  ASSERT_EQ(capital.status, 0) << capital.out;
  // The pop-up shows the balance sheet of the clicked period.
  const std::size_t popup = capital.out.find("== pop-up\n");
  ASSERT_NE(popup, std::string::npos) << capital.out;
  EXPECT_NE(capital.out.find(orbe::GbkToUtf8("[1] 资产负债表"), popup), std::string::npos) << capital.out;
  EXPECT_NE(capital.out.find(orbe::GbkToUtf8("    报告期 | 2025-12-31"), popup), std::string::npos) << capital.out;
  EXPECT_TRUE(fs::exists(*folder_ + "capital-popup1.html"));

  const RunResult split = RunTerminal("report --ini " + Report("financial_summary.ini") + " --code " + *code_ +
                                      " --term '" + orbe::GbkToUtf8("2025 年度") + "' --split --rotate " + Connection());
  ASSERT_EQ(split.status, 0) << split.out;
  EXPECT_NE(split.out.find(orbe::GbkToUtf8("利润表摘要 2025年年报")), std::string::npos) << split.out;
}

// The chart's box in the page: its style's place and size (the report and
// its container sit at the page's origin).
struct Box {
  int left = 0, top = 0, width = 0, height = 0;
};

std::vector<Box> ChartBoxes(const std::string& html) {
  std::vector<Box> boxes;
  const std::regex chart(R"(data-kind="2" style="left:(\d+)px;top:(\d+)px;width:(\d+)px;height:(\d+)px)");
  for (auto it = std::sregex_iterator(html.begin(), html.end(), chart); it != std::sregex_iterator(); ++it)
    boxes.push_back({std::stoi((*it)[1]), std::stoi((*it)[2]), std::stoi((*it)[3]), std::stoi((*it)[4])});
  return boxes;
}

// Pixels of the box that are not the page's white.
double InkShare(const orbe_test::Image& image, const Box& box) {
  std::size_t ink = 0;
  std::size_t total = 0;
  for (int y = box.top; y < box.top + box.height && y < image.height; ++y) {
    for (int x = box.left; x < box.left + box.width && x < image.width; ++x) {
      const std::size_t at = (static_cast<std::size_t>(y) * image.width + x) * image.channels;
      ++total;
      if (image.pixels[at] < 240 || image.pixels[at + 1] < 240 || image.pixels[at + 2] < 240) ++ink;
    }
  }
  return total == 0 ? 0 : static_cast<double>(ink) / static_cast<double>(total);
}

TEST_F(ReportTerminalTest, PagesOpenInHeadlessChromium) {
  if (!fs::exists(orbe_test::kChromium)) GTEST_SKIP() << "chromium is not installed";
  const std::string html = *folder_ + "quarterly.html";
  const RunResult run =
      RunTerminal("report --ini " + Report("quarterly_earnings.ini") + " --code " + *code_ + " --html " + html + " " +
                  Connection());
  ASSERT_EQ(run.status, 0) << run.out;
  const auto page = orbe::ReadWholeFile(html);
  ASSERT_TRUE(page.has_value());
  const std::vector<Box> charts = ChartBoxes(*page);
  ASSERT_EQ(charts.size(), 2u) << *page;

  const std::string png = *folder_ + "quarterly.png";
  const int status = orbe_test::ChromiumScreenshot(html, png, 1000, 900, *folder_);
  const auto bytes = orbe::ReadWholeFile(png);
  if (!bytes || bytes->empty()) GTEST_SKIP() << "chromium could not take a screenshot (status " << status << ")";
  const auto image = orbe_test::DecodePng(*bytes);
  ASSERT_TRUE(image.has_value());
  for (const Box& box : charts) {
    SCOPED_TRACE(box.top);
    EXPECT_GT(InkShare(*image, box), 0.02);
    EXPECT_LT(InkShare(*image, box), 0.9);
  }

  // The text the browser shows holds every cell title.
  const std::string dom = orbe_test::RunCommandOutput(orbe_test::ChromiumCommand(*folder_) + " --dump-dom file://" +
                                                      html + " 2>/dev/null");
  const std::string text = std::regex_replace(dom, std::regex("<[^>]*>"), " ");
  for (const char* title : {"营业总收入(累计)", "净利润(累计)", "证券行情", "说明", "季度业绩"})
    EXPECT_NE(text.find(orbe::GbkToUtf8(title)), std::string::npos) << orbe::GbkToUtf8(title);
}

}  // namespace
