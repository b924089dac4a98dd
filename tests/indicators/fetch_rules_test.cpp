// Rules of the indicator engine that outside bytes and callers meet: the
// where-terms of empty parameter values, the exported members' forms, the
// extent of quote fields and the bound on TQL string lengths.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include "catalogue_test_util.h"
#include "indicators/fetch_terms.h"
#include "indicators/index_files.h"
#include "orbe/indicators/fetch_multi_progress.h"

namespace {

// An empty value gives its term like any other value: a dropped term would
// widen the statement to the whole table.
TEST(FetchRulesTest, EmptyParameterValuesGiveTheirTerms) {
  struct Case {
    const char* flag;
    const char* field;
    const char* term;
  };
  const Case cases[] = {
      {"常量204", "T007", "T007=''"}, {"字符串", "T002", "T002=''"}, {"日期", "T003", "T003="},
      {"整型", "T009", "T009="},      {"浮点型", "T010", "T010="},
      {"报告期", "T005", ""},  // a report period under five bytes writes no term
  };
  for (const Case& c : cases) {
    EXPECT_EQ(orbe::SqlParameterTerm(nullptr, {c.field, c.flag}, ""), c.term) << c.flag;
  }
  SysIndex industry;
  industry.tablename = "100000001";
  industry.tablefield = "T009";
  industry.key = "T002";
  industry.params = {{"T007", "常量204"}};
  BYTE tag = 0;
  EXPECT_EQ(orbe::BuildGroupSql(nullptr, {&industry}, "", tag),
            "select distinct T002,T009 from 100000001 where T007=''");
}

// The members windows and components call keep their exported forms.
TEST(FetchRulesTest, ExportedMembersKeepTheirForms) {
  using CodeList = std::string (*)(const std::string&);
  static_assert(std::is_same_v<decltype(&CFetchMultiProgress::CmpCodesToInnerCodes), CodeList>);
  static_assert(std::is_same_v<decltype(&CFetchMultiProgress::CmpCodesToStockCodes), CodeList>);
  using QuoteField = bool (*)(const HqIndex&, const unsigned char*, vtParam&);
  static_assert(std::is_same_v<decltype(&CFetchMultiProgress::FillHQData), QuoteField>);
  static_assert(std::is_same_v<decltype(UsrIndex::module), orbe::ScriptRef>);
  static_assert(std::is_same_v<decltype(UsrIndex::function), orbe::ScriptRef>);
  // Without a main session no code is known, and unknown codes are left out.
  EXPECT_EQ(CFetchMultiProgress::CmpCodesToInnerCodes("C1,C2"), "");
  EXPECT_EQ(CFetchMultiProgress::CmpCodesToStockCodes("C1,,C2"), "");
  UsrIndex usr;
  EXPECT_FALSE(usr.module);
  EXPECT_FALSE(usr.function);
}

// A quote field is read only when offset + length < 104 and every byte its
// type reads lies in the record.
TEST(FetchRulesTest, QuoteFieldsLieInsideTheRecord) {
  unsigned char record[orbe::kQuoteRecordSize] = {};
  const float previous = 10.0f;
  const float latest = 11.0f;
  const double amount = 123.5;
  const std::int32_t lots = 77;
  std::memcpy(record + 2, &previous, 4);
  std::memcpy(record + 18, &latest, 4);
  std::memcpy(record + 95, &amount, 8);
  std::memcpy(record + 99, &lots, 4);
  std::memcpy(record + 40, "12345", 5);
  struct Case {
    std::int32_t datatype;
    std::int32_t offset;
    std::int32_t length;
    bool read;
  };
  const Case cases[] = {
      {DATA_TYPE_DOUBLE, 18, 4, true},   {DATA_TYPE_DOUBLE, 95, 8, true},  // ends at 103
      {DATA_TYPE_DOUBLE, 96, 8, false},                                    // ends at 104
      {DATA_TYPE_INT, 99, 4, true},      {DATA_TYPE_INT, 100, 4, false},
      {DATA_TYPE_INT, 101, 1, false},  // a 4-byte read past the record
      {DATA_TYPE_STRING, 100, 4, false}, {DATA_TYPE_INT64, 40, 5, true},
      {DATA_TYPE_NONE, 0, 2, false},     {DATA_TYPE_INT, 0x7fffff00, 0x7fffff00, false},
  };
  for (const Case& c : cases) {
    HqIndex hq;
    hq.datatype = c.datatype;
    hq.structoffset = c.offset;
    hq.structlength = c.length;
    vtParam value;
    EXPECT_EQ(CFetchMultiProgress::FillHQData(hq, record, value), c.read) << c.offset << "+" << c.length;
  }
  HqIndex price;
  price.datatype = DATA_TYPE_DOUBLE;
  price.structoffset = 18;
  price.structlength = 4;
  vtParam value;
  ASSERT_TRUE(CFetchMultiProgress::FillHQData(price, record, value));
  EXPECT_FLOAT_EQ(static_cast<float>(value.dbl), 11.0f);
  EXPECT_EQ(value.updown, 1);
  EXPECT_FALSE(CFetchMultiProgress::FillHQData(price, nullptr, value));
}

// The string length of a TQL indicator sizes the buffer of every value read,
// so the file's number is bounded before it is used.
TEST(FetchRulesTest, TqlStringLengthsAreBounded) {
  struct Case {
    const char* attribute;
    std::int32_t length;
  };
  const Case cases[] = {{"64", 64}, {"4096", 4096}, {"4097", 4096}, {"2147483647", 4096},
                        {"0", 20},  {"-5", 20},     {"-2147483648", 20}};
  const orbe::testing::TempFolder temp;
  for (const Case& c : cases) {
    const std::string path = temp.File("sys.xml");
    orbe::testing::WriteText(path, std::string("<indexes count=\"1\"><index tql=\"1\" datetype=\"3\" name=\"n\" "
                                               "strtylemaxlength=\"") +
                                       c.attribute + "\"/></indexes>");
    struct Sink : orbe::IndexSink {
      bool Add(std::unique_ptr<IndexBase> index) override {
        indexes.push_back(std::move(index));
        return true;
      }
      void Progress(float, float) override {}
      std::vector<std::unique_ptr<IndexBase>> indexes;
    } sink;
    ASSERT_TRUE(orbe::ReadSysIndexFile(path, sink));
    ASSERT_EQ(sink.indexes.size(), 1u);
    EXPECT_EQ(dynamic_cast<const SysIndexTQL&>(*sink.indexes[0]).strmaxlength, c.length) << c.attribute;
  }
}

}  // namespace
