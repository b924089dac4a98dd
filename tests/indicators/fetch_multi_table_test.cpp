// Cells of a screening: unit scaling, conditions, quote fields and the table
// with and without the logical expression.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "catalogue_test_util.h"
#include "indicators/fetch_calculator.h"
#include "orbe/env.h"
#include "orbe/indicators/fetch_multi_progress.h"
#include "orbe/platform/message_box.h"
#include "orbe/script/script_env.h"

extern "C" const char* __lsan_default_suppressions() { return "leak:libpython3"; }

namespace {

vtParam Int32(int v) {
  vtParam p;
  p.type = DATA_TYPE_INT;
  p.i32 = v;
  return p;
}

vtParam Text(const std::string& v) {
  vtParam p;
  p.type = DATA_TYPE_STRING;
  p.str = v;
  return p;
}

TEST(FetchMultiTableTest, UnitScaling) {
  EXPECT_EQ(orbe::ScaleToUnit(Int32(1234567890), IIndexMgr::UNIT_MONEY, "亿元").i32, 12);
  EXPECT_TRUE(orbe::TestCondition(orbe::ScaleToUnit(Int32(1234567890), 1, "亿元"), 0, "等于", "12"));
  EXPECT_EQ(orbe::ScaleToUnit(Int32(1234567890), IIndexMgr::UNIT_SHARES, "千万股").i32, 123);
  EXPECT_EQ(orbe::ScaleToUnit(Int32(1234567890), IIndexMgr::UNIT_MONEY, "万元").i32, 123456);
  EXPECT_EQ(orbe::ScaleToUnit(Int32(1234567890), IIndexMgr::UNIT_PERCENT, "亿元").i32, 1234567890);
  EXPECT_EQ(orbe::ScaleToUnit(Int32(1234567890), IIndexMgr::UNIT_MONEY, "元").i32, 1234567890);
  vtParam big;
  big.type = DATA_TYPE_INT64;
  big.i64 = 987654321012LL;
  EXPECT_EQ(orbe::ScaleToUnit(big, IIndexMgr::UNIT_SHARES, "百万股").i64, 987654);
  vtParam real;
  real.type = DATA_TYPE_DOUBLE;
  real.dbl = 250000.0;
  EXPECT_DOUBLE_EQ(orbe::ScaleToUnit(real, IIndexMgr::UNIT_MONEY, "万元").dbl, 25.0);
  EXPECT_EQ(orbe::ScaleToUnit(Text("123456"), IIndexMgr::UNIT_MONEY, "万元").str, "123456");
}

TEST(FetchMultiTableTest, Conditions) {
  EXPECT_TRUE(orbe::TestCondition(Text("*ST华新"), DATA_TYPE_STRING, "包含", "ST"));
  EXPECT_TRUE(orbe::TestCondition(Text("ST东方"), DATA_TYPE_STRING, "包含", "ST"));
  EXPECT_FALSE(orbe::TestCondition(Text("华新药业"), DATA_TYPE_STRING, "包含", "ST"));
  EXPECT_TRUE(orbe::TestCondition(Text("华新药业"), DATA_TYPE_STRING, "不包含", "ST"));
  EXPECT_TRUE(orbe::TestCondition(Int32(1234), DATA_TYPE_INT, "包含", "23"));

  vtParam real;
  real.type = DATA_TYPE_DOUBLE;
  real.dbl = 15.0;
  EXPECT_TRUE(orbe::TestCondition(real, DATA_TYPE_DOUBLE, "小于等于", "15"));
  EXPECT_FALSE(orbe::TestCondition(real, DATA_TYPE_DOUBLE, "小于", "15"));
  EXPECT_TRUE(orbe::TestCondition(real, DATA_TYPE_DOUBLE, "大于", "14.99"));
  EXPECT_TRUE(orbe::TestCondition(real, DATA_TYPE_DOUBLE, "不等于", "15.5"));
  EXPECT_TRUE(orbe::TestCondition(real, DATA_TYPE_DOUBLE, "", "0"));
  EXPECT_TRUE(orbe::TestCondition(real, DATA_TYPE_DOUBLE, "像", "0"));  // unknown operator
  vtParam big;
  big.type = DATA_TYPE_INT64;
  big.i64 = 5000000000LL;
  EXPECT_TRUE(orbe::TestCondition(big, DATA_TYPE_INT64, "大于等于", "5000000000"));
  EXPECT_FALSE(orbe::TestCondition(big, DATA_TYPE_INT64, "大于", "5000000000"));
  EXPECT_TRUE(orbe::TestCondition(Text("b"), DATA_TYPE_STRING, "大于", "a"));
}

TEST(FetchMultiTableTest, InvalidMarkAndCells) {
  vtParam value;
  value.type = DATA_TYPE_DOUBLE;
  orbe::MarkInvalid(value);
  EXPECT_TRUE(orbe::IsMarkedInvalid(value));
  EXPECT_EQ(orbe::DisplayText(value, 2), "--");
  // The mark survives scaling.
  EXPECT_TRUE(orbe::IsMarkedInvalid(orbe::ScaleToUnit(value, IIndexMgr::UNIT_MONEY, "亿元")));
  value.dbl = 1.5;
  EXPECT_FALSE(orbe::IsMarkedInvalid(value));
  EXPECT_EQ(orbe::DisplayText(value, 3), "1.500");

  SgTable table;
  table[4][5].text = "x";
  sg_cell cell;
  EXPECT_EQ(CFetchMultiProgress::GetCell(4, 5, table, cell), 1);
  EXPECT_EQ(cell.text, "x");
  EXPECT_EQ(CFetchMultiProgress::GetCell(4, 6, table, cell), 0);
  EXPECT_EQ(CFetchMultiProgress::GetCell(3, 5, table, cell), 0);
}

// Three securities with quote records; company code "C<n>" is security "00000<n>".
class MapCodes : public orbe::ScreeningCodes {
 public:
  std::string CompanyOfInnerCode(const std::string& inner) const override { return "C" + inner; }
  std::string CompanyOfSecuCode(const std::string& secu) const override { return "C" + secu.substr(5); }
  std::string SecuCodeOfCompany(const std::string& company) const override {
    return company.size() == 2 ? "00000" + company.substr(1) : "";
  }
  std::string AbbrOfCompany(const std::string& company) const override {
    static const std::map<std::string, std::string> names = {{"C1", "*ST甲"}, {"C2", "乙"}, {"C3", "丙"}};
    const auto found = names.find(company);
    return found == names.end() ? "" : found->second;
  }
  std::string InnerCodeOfSecuCode(const std::string& secu) const override { return secu; }
};

struct Quote {
  float previous;
  float latest;
  double value;
};
const std::map<std::string, Quote> kQuotes = {
    {"000001", {10.0f, 11.0f, 3e9}}, {"000002", {20.0f, 19.0f, 5e8}}, {"000003", {5.0f, 0.0f, 1e10}},
    {"000004", {1.0f, 1.0f, 1.0}},  // the host answers this one short
};
int g_quote_calls = 0;

int QuoteHost(int*, int, int code, void* buffer, short count, HostValue7 first, HostValue7, int, int) {
  if (code != orbe::kQuoteRecordCode) return 0;
  ++g_quote_calls;
  const auto found = kQuotes.find(std::string(reinterpret_cast<const char*>(first.bytes)));
  if (found == kQuotes.end()) return 0;
  if (buffer == nullptr || count == -1) return orbe::kQuoteRecordSize;
  if (found->first == "000004") return 50;
  unsigned char* record = static_cast<unsigned char*>(buffer);
  std::memcpy(record + 2, &found->second.previous, 4);
  std::memcpy(record + 18, &found->second.latest, 4);
  std::memcpy(record + 82, &found->second.value, 8);
  return orbe::kQuoteRecordSize;
}

class FetchMultiFlowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitScriptEvn();
    std::filesystem::copy(std::filesystem::path(ORBE_SOURCE_DIR) / "data", temp_.path,
                          std::filesystem::copy_options::recursive);
    const std::string folder = temp_.File("indicators/");
    mgr_ = CreateIndexMgrInstance();
    ASSERT_EQ(mgr_->LoadIndexes(folder + "hq_index.ini", folder + "sys_index.xml", folder + "usr_index.ini"), 1);
    RegisterCallBack(&QuoteHost, nullptr, nullptr);
    fetch_ = std::make_unique<CFetchMultiProgress>(mgr_, nullptr, WM_USER + 7);
    ASSERT_TRUE(fetch_->Create(nullptr, RECT{0, 0, 10, 10}, 1));
    fetch_->SetScreeningCodes(std::make_unique<MapCodes>());
    previous_ = orbe::SetMessageBoxHandler([this](HWND, const std::string& text, const std::string& caption, UINT) {
      boxes_.push_back(caption + ":" + text);
      return IDOK;
    });
  }
  void TearDown() override {
    orbe::SetMessageBoxHandler(previous_);
    RegisterCallBack(nullptr, nullptr, nullptr);
    fetch_.reset();
    DeleteIndexMgrInstance(mgr_);
  }

  IndexScheme Scheme(const std::string& expression) {
    IndexScheme scheme;
    scheme.expression = expression;
    scheme.items.resize(2);
    scheme.items[0].index = "最新价";
    scheme.items[0].op = "大于";
    scheme.items[0].value = "10";
    scheme.items[1].index = "总市值";
    scheme.items[1].unit = "亿元";
    return scheme;
  }

  orbe::testing::TempFolder temp_;
  IIndexMgr* mgr_ = nullptr;
  std::unique_ptr<CFetchMultiProgress> fetch_;
  orbe::MessageBoxHandler previous_;
  std::vector<std::string> boxes_;
};

TEST_F(FetchMultiFlowTest, QuoteIndicatorsFillTheTable) {
  ASSERT_TRUE(fetch_->FetchData(Scheme(""), "C1,C2,C3,C4,C9"));
  EXPECT_FALSE(fetch_->IsBusy());
  EXPECT_TRUE(fetch_->GetHide());
  // Every security with a value is listed when there is no expression.
  EXPECT_EQ(fetch_->GetTotal(), 3);
  const SgTable& table = fetch_->GetResultTable();
  ASSERT_EQ(table.size(), 3u);
  sg_cell cell;
  ASSERT_EQ(CFetchMultiProgress::GetCell(0, 1, table, cell), 1);
  EXPECT_EQ(cell.text, "000001");
  ASSERT_EQ(CFetchMultiProgress::GetCell(0, 2, table, cell), 1);
  EXPECT_EQ(cell.text, "*ST甲");
  ASSERT_EQ(CFetchMultiProgress::GetCell(0, 3, table, cell), 1);
  EXPECT_FLOAT_EQ(static_cast<float>(cell.value.dbl), 11.0f);
  EXPECT_EQ(cell.color, 0x3232FFu);  // up
  ASSERT_EQ(CFetchMultiProgress::GetCell(1, 3, table, cell), 1);
  EXPECT_EQ(cell.color, 0x00E600u);  // down
  ASSERT_EQ(CFetchMultiProgress::GetCell(2, 3, table, cell), 1);
  EXPECT_EQ(cell.text, "--");  // a latest price of 0 is no price
  ASSERT_EQ(CFetchMultiProgress::GetCell(0, 4, table, cell), 1);
  EXPECT_DOUBLE_EQ(cell.value.dbl, 30.0);  // 3e9 yuan in units of 1e8
  EXPECT_EQ(cell.color, 0xC0C0C0u);
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(FetchMultiFlowTest, ExpressionFiltersRowsAndErrorsAreTold) {
  ASSERT_TRUE(fetch_->FetchData(Scheme("#1"), "C1,C2,C3"));
  EXPECT_EQ(fetch_->GetTotal(), 3);
  // 11 and 19 pass "大于 10"; the invalid price of the third does not.
  ASSERT_EQ(fetch_->GetResultTable().size(), 2u);
  EXPECT_EQ(fetch_->GetResultTable().count(2), 0u);

  // A re-read keeps the fetched values and needs no request.
  g_quote_calls = 0;
  EXPECT_TRUE(fetch_->ReFetchAndCalcData());
  EXPECT_GT(g_quote_calls, 0);
  EXPECT_EQ(fetch_->GetResultTable().size(), 2u);

  EXPECT_FALSE(fetch_->FetchData(Scheme("#1 and import os"), "C1"));
  IndexScheme unknown = Scheme("");
  unknown.items[1].index = "没有这个指标";
  EXPECT_FALSE(fetch_->FetchData(unknown, "C1"));
  EXPECT_EQ(boxes_, (std::vector<std::string>{"提示:表达式错误", "错误:待选指标错误"}));
}

}  // namespace

namespace {

vtParam Money(double value) {
  vtParam param;
  param.type = DATA_TYPE_DOUBLE;
  param.dbl = value;
  return param;
}

// A user indicator over a missing base value, or one its script gives no
// value for, has no value rather than a zero that would pass conditions.
TEST_F(FetchMultiFlowTest, UserIndicatorsWithoutInputsHaveNoValue) {
  EntityParam growth;
  growth.index = mgr_->FindIndex("营收增长率");
  ASSERT_NE(growth.index, nullptr);
  mgr_->GetBaseIndexes(dynamic_cast<UsrIndex*>(growth.index), growth.bases);
  ASSERT_EQ(growth.bases.size(), 2u);
  std::vector<CodeValues> results(2);
  results[0] = {{"C1", Money(120)}, {"C2", Money(50)}, {"C3", Money(80)}};
  results[1] = {{"C1", Money(100)}, {"C3", Money(0)}};
  const CodeValues values = CFetchMultiProgress::CalcUsrIndex(mgr_, {growth}, results, 0, 0, 2);
  ASSERT_EQ(values.size(), 1u);
  EXPECT_DOUBLE_EQ(values.at("C1").dbl, 20.0);
  EXPECT_EQ(values.count("C2"), 0u);  // no prior period
  EXPECT_EQ(values.count("C3"), 0u);  // a prior period of zero
}

}  // namespace
