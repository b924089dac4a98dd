// A screening of every A-share company of a small sample market, end to end:
// the real engine and reply cache against orbe-dataserver, the terminal host
// answering quote records from the same database, the sample catalogue with
// its Python user indicators. Every row and value must equal what our own
// SQLite queries compute from the server's file (screening_reference.h).
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "dataservice/transfer_server.h"
#include "host/host_market.h"
#include "host/host_session.h"
#include "indicators/screening_reference.h"
#include "orbe/indicators/index_mgr.h"
#include "orbe/platform/message_box.h"
#include "orbe/platform/text.h"
#include "orbe/screening/headless_screening.h"
#include "support/component_reexec.h"

// The embedded interpreter keeps its own allocations until the process ends.
extern "C" const char* __lsan_default_suppressions() { return "leak:libpython3"; }

namespace {

namespace fs = std::filesystem;

const bool kWithBuiltComponents = orbe_test::RunWithBuiltComponents();

// Removes the shared sample market when the program ends.
class SampleCleanup : public ::testing::Environment {
 public:
  void TearDown() override {
    std::filesystem::remove_all(std::filesystem::temp_directory_path() /
                                ("orbe_xfr_screening_e2e_sample_" + std::to_string(::getpid())));
  }
};
[[maybe_unused]] ::testing::Environment* const kSampleCleanup =
    ::testing::AddGlobalTestEnvironment(new SampleCleanup);

// About 480 companies: the code list (over 3800 characters) is sent in two chunks.
constexpr const char* kScale = "0.12";
constexpr DWORD kTimeoutMs = 120000;
constexpr int kFixedColumns = 3;

struct CatalogueCloser {
  void operator()(IIndexMgr* mgr) const { DeleteIndexMgrInstance(mgr); }
};

class ScreeningE2eTest : public ::testing::Test {
 protected:
  static std::string& SampleFolder() {
    static std::string folder;
    return folder;
  }
  static void SetUpTestSuite() {
    if (!SampleFolder().empty()) return;
    const std::string folder = orbe_test::ScratchFolder("screening_e2e_sample");
    const std::string make = std::string(ORBE_TEST_BIN_DIR) + "/orbe-dataserver --make-sample " + folder +
                             "market.db --scale " + kScale + " >/dev/null 2>&1";
    if (std::system(make.c_str()) == 0) SampleFolder() = folder;
  }

  void SetUp() override {
    ASSERT_TRUE(kWithBuiltComponents);
    // User scripts are imported from a copy: byte-code caches stay out of the tree.
    ::setenv("PYTHONDONTWRITEBYTECODE", "1", 0);
    folder_ = orbe_test::ScratchFolder("screening_e2e");
    // One sample market for every test of the program, copied for each server.
    ASSERT_FALSE(SampleFolder().empty());
    fs::copy_file(SampleFolder() + "market.db", folder_ + "market.db");
    ASSERT_TRUE(server_.Start(folder_, /*requestLog=*/true, ServerExtras()));

    fs::create_directories(folder_ + "home");
    std::string error;
    market_ = orbe::HostMarket::Open(server_.Database(), folder_ + "home/", &error);
    ASSERT_NE(market_, nullptr) << error;
    orbe::HostSessionOptions options;
    options.data_service = {"127.0.0.1", server_.DataPort()};
    options.file_server = orbe::HostAddress{"127.0.0.1", server_.FilePort()};
    options.private_folder = folder_ + "home/";
    session_ = orbe::HostSession::Start(options, market_.get(), &error);
    ASSERT_NE(session_, nullptr) << error;

    fs::copy(fs::path(ORBE_SOURCE_DIR) / "data" / "indicators", folder_ + "indicators", fs::copy_options::recursive);
    const std::string dir = folder_ + "indicators/";
    mgr_.reset(CreateIndexMgrInstance());
    ASSERT_EQ(mgr_->LoadIndexes(dir + "hq_index.ini", dir + "sys_index.xml", dir + "usr_index.ini"), 1);
    orbe::SetMessageBoxHandler([this](HWND, const std::string& text, const std::string&, UINT type) {
      boxes_.push_back(orbe::GbkToUtf8(text));
      return orbe::DefaultMessageBoxButton(type);
    });
  }
  void TearDown() override {
    orbe::SetMessageBoxHandler(nullptr);
    mgr_.reset();
    session_.reset();
    market_.reset();
    server_.Stop(SIGTERM);
    fs::remove_all(folder_);
  }

  virtual std::vector<std::string> ServerExtras() const { return {}; }

  orbe::ScreeningResult Screen(const IndexScheme& scheme, const std::vector<std::string>& companies) {
    return orbe::RunScreening(mgr_.get(), scheme, orbe_test::JoinCodes(companies), nullptr, kTimeoutMs);
  }

  std::string folder_;
  orbe_test::TransferServer server_;
  std::unique_ptr<orbe::HostMarket> market_;
  std::unique_ptr<orbe::HostSession> session_;
  std::unique_ptr<IIndexMgr, CatalogueCloser> mgr_;
  std::vector<std::string> boxes_;
};

// The module's cell against the reference; doubles within what double
// arithmetic in another order (Python, the scaling) can differ by.
void ExpectCell(const sg_cell& cell, const orbe_test::RefCell& want, const std::string& where) {
  SCOPED_TRACE(where);
  ASSERT_EQ(cell.value.type, want.type);
  EXPECT_EQ(cell.color, want.color);
  switch (want.type) {
    case DATA_TYPE_DOUBLE: {
      const double got = cell.value.dbl;
      EXPECT_NEAR(got, want.dbl, 1e-9 * std::max(1.0, std::fabs(want.dbl)));
      EXPECT_EQ(cell.text, orbe::Format("%.2f", want.dbl));
      break;
    }
    case DATA_TYPE_INT64: {
      const std::int64_t got = cell.value.i64;
      EXPECT_EQ(got, want.i64);
      EXPECT_EQ(cell.text, std::to_string(want.i64));
      break;
    }
    default:
      EXPECT_EQ(cell.value.str, want.str);
      EXPECT_EQ(cell.text, want.str);
  }
}

// Every row of `rows` is the reference's row of the same company, with the
// same cells; row ids follow the reference's first-filled order.
void ExpectRows(const SgTable& rows, const orbe_test::ReferenceResult& ref) {
  for (const auto& [id, row] : rows) {
    ASSERT_LT(id, static_cast<int>(ref.row_order.size()));
    const std::string& company = ref.row_order[static_cast<std::size_t>(id)];
    const std::string where = "row " + std::to_string(id) + " company " + company;
    ASSERT_EQ(row.count(1), 1u) << where;
    EXPECT_EQ(row.at(0).text, std::to_string(id + 1)) << where;
    EXPECT_EQ(row.at(1).text, ref.secu.at(company)) << where;
    EXPECT_EQ(row.at(2).text, ref.abbr.at(company)) << where;
    for (int k = 0; k < orbe_test::kSchemeRowCount; ++k) {
      const orbe_test::RefColumn& column = ref.columns[static_cast<std::size_t>(k)];
      const auto want = column.find(company);
      const auto got = row.find(k + kFixedColumns);
      const std::string cell = where + " " + orbe::GbkToUtf8(orbe_test::kSchemeRows[k].index);
      ASSERT_EQ(got != row.end(), want != column.end()) << cell;
      if (got != row.end()) ExpectCell(got->second, want->second, cell);
    }
  }
}

TEST_F(ScreeningE2eTest, WholeMarketScreeningEqualsDirectQueriesOfTheServersDatabase) {
  const std::vector<std::string> companies = orbe_test::AllCompanies(server_.Database());
  ASSERT_GT(orbe_test::JoinCodes(companies).size(), orbe::kCodeChunkLength);
  const orbe_test::ReferenceResult ref = orbe_test::ComputeReference(server_.Database(), companies);
  ASSERT_EQ(ref.columns.size(), static_cast<std::size_t>(orbe_test::kSchemeRowCount));
  // The reference itself must have something to compare in every column.
  for (int k = 0; k < orbe_test::kSchemeRowCount; ++k) {
    EXPECT_GT(ref.columns[static_cast<std::size_t>(k)].size(), companies.size() / 2) << k;
  }

  // Without the expression every company with any value is a row.
  IndexScheme all = orbe_test::ScreeningScheme();
  all.expression.clear();
  const orbe::ScreeningResult listed = Screen(all, companies);
  ASSERT_TRUE(listed.ok) << orbe::GbkToUtf8(listed.error);
  EXPECT_EQ(listed.total, static_cast<int>(ref.row_order.size()));
  ASSERT_EQ(listed.rows.size(), ref.row_order.size());
  ExpectRows(listed.rows, ref);
  ASSERT_EQ(listed.columns.size(), static_cast<std::size_t>(kFixedColumns + orbe_test::kSchemeRowCount));

  // With conditions and the expression: statements and query-language replies
  // now come from the reply cache; the service answers one time-stamp call per
  // query-language function and nothing else.
  const int callsBefore = server_.CallsLogged();
  const orbe::ScreeningResult screened = Screen(orbe_test::ScreeningScheme(), companies);
  EXPECT_EQ(server_.CallsLogged() - callsBefore, orbe_test::kQueryLanguageFunctions);
  ASSERT_TRUE(screened.ok) << orbe::GbkToUtf8(screened.error);
  EXPECT_EQ(screened.total, static_cast<int>(ref.row_order.size()));
  std::set<std::string> selected;
  for (const auto& [id, row] : screened.rows) selected.insert(ref.row_order.at(static_cast<std::size_t>(id)));
  EXPECT_EQ(selected, ref.selected);
  ExpectRows(screened.rows, ref);
  // The conditions must have decided something both ways.
  EXPECT_GT(ref.selected.size(), 5u);
  EXPECT_LT(ref.selected.size(), ref.row_order.size() / 2);
  EXPECT_TRUE(boxes_.empty()) << boxes_.front();
}

// The scheme of some reference rows (0-based), without conditions unless kept.
IndexScheme RowsOf(const std::vector<int>& rows, bool conditions) {
  IndexScheme scheme;
  for (const int k : rows) {
    const orbe_test::SchemeRow& row = orbe_test::kSchemeRows[k];
    IndexSchemeItem item;
    item.index = row.index;
    item.param = row.param;
    item.unit = row.unit;
    if (conditions) {
      item.op = row.op;
      item.value = row.value;
    }
    scheme.items.push_back(item);
  }
  return scheme;
}

std::map<std::string, std::string> CompanyOfSecu(const orbe_test::ReferenceResult& ref) {
  std::map<std::string, std::string> companies;
  for (const auto& [company, secu] : ref.secu) companies[secu] = company;
  return companies;
}

std::set<std::string> CompaniesOf(const SgTable& rows, const orbe_test::ReferenceResult& ref) {
  const std::map<std::string, std::string> companyOfSecu = CompanyOfSecu(ref);
  std::set<std::string> companies;
  for (const auto& [id, row] : rows) {
    const auto found = row.find(1);
    if (found != row.end() && companyOfSecu.count(found->second.text) != 0) {
      companies.insert(companyOfSecu.at(found->second.text));
    }
  }
  return companies;
}

// Result column 3 + j holds reference row refRows[j] (-1: no value at all);
// rows are matched by security code. Unfiltered, every company with a value is a row.
void ExpectColumns(const SgTable& rows, const orbe_test::ReferenceResult& ref, const std::vector<int>& refRows,
                   bool filtered = false) {
  std::map<std::string, std::string> companyOfSecu = CompanyOfSecu(ref);
  std::set<std::string> expected;
  for (const int k : refRows) {
    if (k < 0) continue;
    for (const auto& entry : ref.columns[static_cast<std::size_t>(k)]) expected.insert(entry.first);
  }
  if (!filtered) {
    EXPECT_EQ(rows.size(), expected.size());
  }
  for (const auto& [id, row] : rows) {
    ASSERT_EQ(row.count(1), 1u);
    const std::string company = companyOfSecu[row.at(1).text];
    ASSERT_FALSE(company.empty()) << row.at(1).text;
    for (std::size_t j = 0; j < refRows.size(); ++j) {
      const auto got = row.find(static_cast<int>(j) + kFixedColumns);
      const std::string where = company + " column " + std::to_string(j + kFixedColumns);
      if (refRows[j] < 0) {
        EXPECT_EQ(got, row.end()) << where;
        continue;
      }
      const orbe_test::RefColumn& column = ref.columns[static_cast<std::size_t>(refRows[j])];
      const auto want = column.find(company);
      ASSERT_EQ(got != row.end(), want != column.end()) << where;
      if (got != row.end()) ExpectCell(got->second, want->second, where);
    }
  }
}

constexpr int kIndustryRow = 7;   // 所属行业 (query language)
constexpr int kRangeRow = 8;      // 区间涨跌幅 (query language)
constexpr int kLatestRow = 9;     // 最新价 (quote)

// A first statement that cannot be built (two values for one formal
// parameter) sends nothing, and the query-language and quote rows still screen.
TEST_F(ScreeningE2eTest, FirstStatementThatCannotBeBuiltLeavesTheOtherRowsToScreen) {
  const std::vector<std::string> companies = orbe_test::AllCompanies(server_.Database());
  const orbe_test::ReferenceResult ref = orbe_test::ComputeReference(server_.Database(), companies);
  IndexScheme scheme = RowsOf({0, kIndustryRow, kLatestRow}, false);
  scheme.items[0].param = "2026三季,2025三季";
  const orbe::ScreeningResult result = Screen(scheme, companies);
  ASSERT_TRUE(result.ok) << orbe::GbkToUtf8(result.error);
  ExpectColumns(result.rows, ref, {-1, kIndustryRow, kLatestRow});
  EXPECT_GT(result.rows.size(), companies.size() / 2);
  EXPECT_TRUE(boxes_.empty()) << boxes_.front();
}

// A server that dies with the screening's first request on the wire fails
// the screening: no rows, a message, and not a partial result as a whole one.
TEST_F(ScreeningE2eTest, AServerKilledMidScreeningGivesNoRowsAndAMessage) {
  const std::vector<std::string> companies = orbe_test::AllCompanies(server_.Database());
  const IndexScheme scheme = RowsOf({0, kIndustryRow, kLatestRow}, false);
  // Held, so the request waits on the wire; then killed under it.
  ASSERT_EQ(::kill(server_.Pid(), SIGSTOP), 0);
  std::thread killer([this] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    server_.Stop(SIGKILL);
  });
  const orbe::ScreeningResult result = Screen(scheme, companies);
  killer.join();
  EXPECT_FALSE(result.ok);
  EXPECT_TRUE(result.rows.empty());
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_NE(boxes_[0].find(orbe::GbkToUtf8("选股未完成")), std::string::npos) << boxes_[0];
}

// An empty parameter value restricts its statement like any other value: a
// constant or text term compares with '' (nothing matches), and a date term
// left incomplete is refused, so neither row reads the whole table.
TEST_F(ScreeningE2eTest, EmptyParameterValuesDoNotWidenTheirStatements) {
  const std::vector<std::string> companies = orbe_test::AllCompanies(server_.Database());
  const orbe_test::ReferenceResult ref = orbe_test::ComputeReference(server_.Database(), companies);
  IndexScheme scheme = RowsOf({kLatestRow}, false);
  IndexSchemeItem listed;
  listed.index = "上市日期";  // formal parameter: a constant of class 204
  IndexSchemeItem close;
  close.index = "收盘价";  // formal parameter: a date
  scheme.items.insert(scheme.items.begin(), {listed, close});
  const orbe::ScreeningResult result = Screen(scheme, companies);
  ASSERT_TRUE(result.ok) << orbe::GbkToUtf8(result.error);
  ExpectColumns(result.rows, ref, {-1, -1, kLatestRow});
  EXPECT_TRUE(boxes_.empty()) << boxes_.front();
}

// Against a service that refuses the query-language time-stamp request the
// screening goes on uncached: one refused request per screening, no message.
class StamplessScreeningTest : public ScreeningE2eTest {
 protected:
  std::vector<std::string> ServerExtras() const override { return {"--browse-stamps", "off"}; }
};

TEST_F(StamplessScreeningTest, ScreeningGoesOnUncachedAfterOneRefusedStampRequest) {
  const std::vector<std::string> companies = orbe_test::AllCompanies(server_.Database());
  const orbe_test::ReferenceResult ref = orbe_test::ComputeReference(server_.Database(), companies);
  const int chunks = static_cast<int>(CFetchMultiProgress::SplitCodes(orbe_test::JoinCodes(companies)).size());
  ASSERT_GT(chunks, 1);
  IndexScheme scheme = RowsOf({kIndustryRow, kRangeRow, kLatestRow}, true);
  scheme.expression = "#1 and #2";
  std::set<std::string> passing;
  for (const auto& [company, cell] : ref.columns[kIndustryRow]) {
    const auto range = ref.columns[kRangeRow].find(company);
    using orbe_test::reference_detail::Holds;
    if (range != ref.columns[kRangeRow].end() && Holds(cell, orbe_test::kSchemeRows[kIndustryRow]) &&
        Holds(range->second, orbe_test::kSchemeRows[kRangeRow])) {
      passing.insert(company);
    }
  }
  ASSERT_GT(passing.size(), 5u);
  for (int run = 0; run < 2; ++run) {
    SCOPED_TRACE(run);
    const int callsBefore = server_.CallsLogged();
    const orbe::ScreeningResult result = Screen(scheme, companies);
    ASSERT_TRUE(result.ok) << orbe::GbkToUtf8(result.error);
    // Every chunk of both functions from the service, and one stamp request.
    EXPECT_EQ(server_.CallsLogged() - callsBefore, orbe_test::kQueryLanguageFunctions * chunks + 1);
    EXPECT_EQ(result.total, static_cast<int>(ref.columns[kLatestRow].size()));
    ExpectColumns(result.rows, ref, {kIndustryRow, kRangeRow, kLatestRow}, /*filtered=*/true);
    EXPECT_EQ(CompaniesOf(result.rows, ref), passing);
  }
  EXPECT_TRUE(boxes_.empty()) << boxes_.front();
}

}  // namespace
