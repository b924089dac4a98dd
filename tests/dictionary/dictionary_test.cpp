#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "dictionary/dictionary_test_util.h"
#include "dictionary/dictionary_writer.h"
#include "orbe/dataservice/orbe_client_session.h"
#include "orbe/dictionary/cw_dictionary.h"
#include "orbe/dictionary/cw_file_util.h"
#include "orbe/platform/text.h"

namespace orbe {
namespace {

// Members of packed records are compared as copies (+member): gtest would
// bind a reference to a misaligned member.

using testing::TempDir;
using testing::WriteBytes;

constexpr std::uint32_t kCompanyTable = 100000013;
constexpr std::uint32_t kQuoteTable = 100000014;

DictionarySchema SampleSchema() {
  DictionarySchema schema;
  schema.tables.push_back({kCompanyTable, 1, "上市公司基本资料",
                           {{1, 4, 4, "", "证券内码"},
                            {2, 2, 20, "", "证券简称"},
                            {5, 1, 8, "974", "所属行业"},
                            {1234, 8, 8, "", "Price ab"},
                            {300, 6, 1, "", "标志"}}});
  // A later record with the same number: never found, but its fields count.
  schema.tables.push_back({kCompanyTable, 0, "重复", {{1, 2, 99, "", "duplicate"}}});
  schema.tables.push_back({kQuoteTable, 0, "行情", {{1, 10, 8, "", "日期"}, {2, 7, 4, "", "收盘价"}}});
  schema.constants = {{"974", "01", "农业", "", "A1"},
                      {"975", "01", "其他", "", ""},
                      {"974", "02", "制造业", "01", ""},
                      {"974", "01", "second 01", "", ""}};
  return schema;
}

class DictionaryTest : public ::testing::Test {
 protected:
  void WriteSchema(const DictionarySchema& schema) {
    ASSERT_TRUE(WriteDictionaryFiles(BuildDictionaryFiles(schema), dir_.Path(), false));
  }
  bool Load() { return CwFileUtil::LoadCWSysData(&session_, dir_.Path().c_str()); }

  TempDir dir_;
  OrbeClientSession session_;
};

TEST_F(DictionaryTest, FieldsComeInRecordOrderWithRunningOffsets) {
  WriteSchema(SampleSchema());
  ASSERT_TRUE(Load());
  const CwDictionary& dictionary = session_.Dictionary();
  EXPECT_EQ(dictionary.TableCount(), 3);
  EXPECT_EQ(dictionary.FieldCount(), 8);
  EXPECT_EQ(dictionary.ConstCount(), 4);

  std::vector<tagMemFieldInfo> fields(kMaxFieldsPerTable);
  ASSERT_EQ(CwFileUtil::GetFieldInfo(&session_, kCompanyTable, fields.data()), 5);
  EXPECT_EQ(+fields[2].field_number, 5);
  EXPECT_EQ(+fields[2].type, 1);
  EXPECT_EQ(+fields[2].offset, 24u);  // after widths 4 and 20
  EXPECT_EQ(+fields[2].width, 8u);
  EXPECT_STREQ(fields[2].const_class, "974");
  EXPECT_STREQ(fields[2].name, "所属行业");
  EXPECT_EQ(+fields[4].offset, 40u);

  // The run of the second table starts after both records of the first number.
  ASSERT_EQ(CwFileUtil::GetFieldInfo(&session_, kQuoteTable, fields.data()), 2);
  EXPECT_EQ(+fields[1].field_number, 2);
  EXPECT_EQ(+fields[1].offset, 8u);
  EXPECT_STREQ(fields[1].name, "收盘价");
}

TEST_F(DictionaryTest, GeneratedFieldNamesMatchIgnoringCaseOnly) {
  WriteSchema(SampleSchema());
  ASSERT_TRUE(Load());
  tagMemFieldInfo field{};
  ASSERT_TRUE(CwFileUtil::GetOneFieldInfo(&session_, kCompanyTable, "t005", &field));
  EXPECT_EQ(+field.field_number, 5);
  EXPECT_EQ(+field.offset, 24u);
  EXPECT_FALSE(CwFileUtil::GetOneFieldInfo(&session_, kCompanyTable, "T5", &field));
  EXPECT_FALSE(CwFileUtil::GetOneFieldInfo(&session_, kCompanyTable, "T0005", &field));
  EXPECT_FALSE(CwFileUtil::GetOneFieldInfo(&session_, kCompanyTable, "T+05", &field));
  EXPECT_FALSE(CwFileUtil::GetOneFieldInfo(&session_, kCompanyTable, "X005", &field));
  EXPECT_EQ(+field.field_number, 0) << "a failed lookup leaves a zero record";
  ASSERT_TRUE(CwFileUtil::GetOneFieldInfo(&session_, kCompanyTable, "T1234", &field));
  EXPECT_EQ(+field.offset, 32u);
  EXPECT_STREQ(field.name, "Price ab");

  ASSERT_TRUE(CwFileUtil::GetOneFieldInfo2(&session_, kCompanyTable, "PRICE AB", &field));
  EXPECT_EQ(+field.field_number, 1234);
  ASSERT_TRUE(CwFileUtil::GetOneFieldInfo2(&session_, kCompanyTable, "证券简称", &field));
  EXPECT_EQ(+field.offset, 4u);
  // The duplicate record's field is unreachable: the first record owns the number.
  EXPECT_FALSE(CwFileUtil::GetOneFieldInfo2(&session_, kCompanyTable, "duplicate", &field));

  unsigned char id = 0;
  ASSERT_TRUE(CwFileUtil::GetOneFieldID(&session_, kCompanyTable, "T300", &id));
  EXPECT_EQ(id, 300 & 0xFF);
  unsigned char ids[8] = {};
  ASSERT_EQ(CwFileUtil::GetFieldID(&session_, kCompanyTable, ids, 8), 5);
  EXPECT_EQ(ids[3], 1234 & 0xFF);
  EXPECT_EQ(CwFileUtil::GetFieldID(&session_, kCompanyTable, ids, 2), 2);
  EXPECT_EQ(CwFileUtil::GetFieldID(&session_, kCompanyTable, ids, 0), 0);
}

TEST_F(DictionaryTest, UnknownTableFindsNothing) {
  WriteSchema(SampleSchema());
  ASSERT_TRUE(Load());
  std::vector<tagMemFieldInfo> fields(kMaxFieldsPerTable);
  tagMemFieldInfo field{};
  unsigned char ids[4] = {};
  EXPECT_EQ(CwFileUtil::GetFieldInfo(&session_, 42, fields.data()), 0);
  EXPECT_FALSE(CwFileUtil::GetOneFieldInfo(&session_, 42, "T001", &field));
  EXPECT_FALSE(CwFileUtil::GetOneFieldInfo2(&session_, 42, "证券内码", &field));
  EXPECT_EQ(CwFileUtil::GetFieldID(&session_, 42, ids, 4), 0);
  EXPECT_FALSE(CwFileUtil::GetOneFieldID(&session_, 42, "T001", ids));
  EXPECT_EQ(CwFileUtil::GetFieldInfo(nullptr, kCompanyTable, fields.data()), 0);
  EXPECT_EQ(CwFileUtil::GetFieldInfo(&session_, kCompanyTable, nullptr), 0);
}

TEST_F(DictionaryTest, ConstantsByClassInFileOrderAndExactCode) {
  WriteSchema(SampleSchema());
  ASSERT_TRUE(Load());
  std::vector<tagMemConstInfo> consts(kMaxConstsPerClass);
  ASSERT_EQ(CwFileUtil::GetConstList(&session_, "974", consts.data()), 3);
  EXPECT_STREQ(consts[0].text, "农业");
  EXPECT_STREQ(consts[0].attribute_code, "") << "the list leaves the second attribute empty";
  EXPECT_STREQ(consts[1].code, "02");
  EXPECT_STREQ(consts[1].parent_code, "01");
  EXPECT_STREQ(consts[2].text, "second 01");

  const tagMemConstInfo first = CwFileUtil::GetConst(&session_, "974", "01");
  EXPECT_STREQ(first.text, "农业");
  EXPECT_STREQ(first.attribute_code, "A1");
  const tagMemConstInfo missing = CwFileUtil::GetConst(&session_, "974", "1");
  const tagMemConstInfo zero{};
  EXPECT_EQ(std::memcmp(&missing, &zero, sizeof(zero)), 0);
  EXPECT_EQ(CwFileUtil::GetConst(&session_, "97", "01").code[0], '\0');
  EXPECT_EQ(CwFileUtil::GetConstList(&session_, "97", consts.data()), 0);
}

TEST_F(DictionaryTest, CapacitiesAndZeroFilledOutputs) {
  DictionarySchema schema;
  SchemaTable wide{7, 0, "wide", {}};
  for (int i = 0; i < 205; ++i) wide.fields.push_back({static_cast<std::int16_t>(i), 4, 4, "", Format("f%d", i)});
  schema.tables.push_back(wide);
  for (std::uint32_t i = 0; i < 4001; ++i) schema.tables.push_back({1000 + i, 0, "t", {}});
  for (int i = 0; i < 3005; ++i) schema.constants.push_back({"C", Format("%d", i), "x", "", ""});
  WriteSchema(schema);
  ASSERT_TRUE(Load());

  std::vector<tagMemFieldInfo> fields(kMaxFieldsPerTable);
  std::memset(static_cast<void*>(fields.data()), 0xAB, fields.size() * sizeof(tagMemFieldInfo));
  ASSERT_EQ(CwFileUtil::GetFieldInfo(&session_, 7, fields.data()), kMaxFieldsPerTable);
  EXPECT_EQ(+fields.back().field_number, 199);
  tagMemFieldInfo field{};
  ASSERT_TRUE(CwFileUtil::GetOneFieldInfo(&session_, 7, "T204", &field)) << "single lookups see the whole run";
  EXPECT_EQ(+field.offset, 204u * 4);

  auto tables = std::make_unique<tagMemTableInfo[]>(kMaxTables);
  EXPECT_EQ(CwFileUtil::GetAllTable(&session_, tables.get()), kMaxTables);
  EXPECT_EQ(+tables[1].table_number, 1000u);
  EXPECT_EQ(CwFileUtil::GetAllTable(&session_, nullptr), 0);

  std::vector<tagMemConstInfo> consts(kMaxConstsPerClass);
  EXPECT_EQ(CwFileUtil::GetConstList(&session_, "C", consts.data()), kMaxConstsPerClass);
  EXPECT_STREQ(consts.back().code, "2999");

  // Fewer results than the capacity: the rest of the array is zero.
  std::memset(static_cast<void*>(fields.data()), 0xAB, fields.size() * sizeof(tagMemFieldInfo));
  EXPECT_EQ(CwFileUtil::GetFieldInfo(&session_, 1000, fields.data()), 0);
  const auto* bytes = reinterpret_cast<const unsigned char*>(fields.data());
  EXPECT_TRUE(std::all_of(bytes, bytes + fields.size() * sizeof(tagMemFieldInfo), [](auto b) { return b == 0; }));
}

TEST_F(DictionaryTest, LoadingCountsWholeRecordsAndToleratesMissingConstants) {
  const DictionaryFiles files = BuildDictionaryFiles(SampleSchema());
  WriteBytes(dir_.File("tableinfo.idx"), files.tables.substr(0, 150));
  WriteBytes(dir_.File("fieldinfo.idx"), files.fields);
  ASSERT_TRUE(Load()) << "no constant file is not an error";
  EXPECT_EQ(session_.Dictionary().TableCount(), 2);
  std::vector<tagMemConstInfo> consts(kMaxConstsPerClass);
  EXPECT_EQ(CwFileUtil::GetConstList(&session_, "974", consts.data()), 0);

  WriteBytes(dir_.File("tableinfo.idx"), files.tables.substr(0, 160));
  WriteBytes(dir_.File("constinfo.idx"), "");
  ASSERT_TRUE(Load());
  EXPECT_EQ(session_.Dictionary().TableCount(), 2);
  EXPECT_EQ(session_.Dictionary().ConstCount(), 0);

  // A missing field file fails; what loaded before it stays.
  std::filesystem::remove(dir_.File("fieldinfo.idx"));
  EXPECT_FALSE(Load());
  EXPECT_EQ(session_.Dictionary().TableCount(), 2);
  EXPECT_EQ(session_.Dictionary().FieldCount(), 0);
  std::filesystem::remove(dir_.File("tableinfo.idx"));
  EXPECT_FALSE(Load());
  EXPECT_EQ(session_.Dictionary().TableCount(), 0);

  EXPECT_FALSE(CwFileUtil::LoadCWSysData(nullptr, dir_.Path().c_str()));
  CwFileUtil::UnLoadCWSysData(&session_);
  CwFileUtil::UnLoadCWSysData(&session_);
  CwFileUtil::UnLoadCWSysData(nullptr);
  EXPECT_EQ(session_.Dictionary().FieldCount(), 0);
}

TEST_F(DictionaryTest, RunsPastTheFieldFileAreCutAndTextsBounded) {
  TableFileRecord table{};
  table.table_number = 9;
  table.field_count = 3;  // the field file holds only two records
  std::memset(table.name, 'N', sizeof(table.name));  // no terminator at all
  FieldFileRecord field{};
  field.field_number = 1;
  field.width = 6;
  std::memset(field.name, 'n', sizeof(field.name));
  std::memset(field.const_class, 'c', sizeof(field.const_class));
  std::string field_bytes(reinterpret_cast<const char*>(&field), sizeof(field));
  field.field_number = 2;
  field_bytes.append(reinterpret_cast<const char*>(&field), sizeof(field));
  CwDictionary dictionary;
  LoadDictionaryBytes(dictionary, "", std::string_view(reinterpret_cast<const char*>(&table), sizeof(table)),
                      field_bytes);

  std::vector<tagMemFieldInfo> fields(kMaxFieldsPerTable);
  ASSERT_EQ(dictionary.GetFieldInfo(9, fields.data()), 2);
  EXPECT_EQ(+fields[1].offset, 6u);
  EXPECT_EQ(std::string(fields[1].name), std::string(60, 'n'));
  EXPECT_EQ(std::string(fields[1].const_class), std::string(12, 'c'));
  tagMemFieldInfo found{};
  ASSERT_TRUE(dictionary.GetOneFieldInfo2(9, std::string(60, 'n'), &found)) << "names compare as copied";
  EXPECT_EQ(+found.field_number, 1);
  EXPECT_FALSE(dictionary.GetOneFieldInfo(9, "T003", &found));
  auto tables = std::make_unique<tagMemTableInfo[]>(kMaxTables);
  ASSERT_EQ(dictionary.GetAllTable(tables.get()), 1);
  EXPECT_EQ(std::string(tables[0].name), std::string(60, 'N'));
}

// The lookups as the file format defines them, by plain scans; the indexes
// must give byte-identical answers on dictionaries full of duplicates.
struct ScanReference {
  const CwDictionary& dictionary;

  bool FindRun(std::uint32_t number, std::int64_t& first, std::int32_t& count) const {
    std::int64_t sum = 0;
    for (const TableFileRecord& table : dictionary.Tables()) {
      if (table.table_number == number) return first = sum, count = table.field_count, true;
      sum += table.field_count;
    }
    return false;
  }
  template <typename Match>
  bool FindField(std::uint32_t number, Match match, tagMemFieldInfo& out) const {
    std::int64_t first = 0;
    std::int32_t count = 0;
    out = tagMemFieldInfo{};
    if (!FindRun(number, first, count)) return false;
    std::uint32_t offset = 0;
    for (std::int64_t i = first; i < first + count; ++i) {
      if (i < 0 || i >= dictionary.FieldCount()) continue;
      const FieldFileRecord& field = dictionary.Fields()[i];
      tagMemFieldInfo info{};
      info.field_number = field.field_number;
      info.type = field.type;
      CopyToField(info.name, FieldText(field.name));
      info.offset = offset;
      info.width = field.width;
      CopyToField(info.const_class, FieldText(field.const_class));
      if (match(info)) return out = info, true;
      offset += field.width;
    }
    return false;
  }
};

TEST(DictionaryIndexTest, IndexesAnswerAsTheScanWould) {
  std::mt19937 random(20240611);
  const char* names[] = {"ab", "AB", "Ab", "中文", "x"};
  auto pick = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  for (int round = 0; round < 20; ++round) {
    std::vector<TableFileRecord> tables(30);
    for (TableFileRecord& table : tables) {
      table = TableFileRecord{};
      table.table_number = static_cast<std::uint32_t>(pick(1, 8));
      table.field_count = static_cast<std::int16_t>(pick(-3, 12));
    }
    std::vector<FieldFileRecord> fields(pick(0, 180));
    for (FieldFileRecord& field : fields) {
      field = FieldFileRecord{};
      field.field_number = static_cast<std::int16_t>(pick(0, 1) ? pick(-2, 12) : pick(250, 1300));
      field.width = static_cast<std::uint16_t>(pick(0, 300));
      CopyToField(field.name, names[pick(0, 4)]);
    }
    CwDictionary dictionary;
    dictionary.AdoptTables(tables);
    dictionary.AdoptFields(fields);
    const ScanReference scan{dictionary};
    for (std::uint32_t number = 0; number <= 9; ++number) {
      for (int n : {-2, -1, 0, 1, 5, 12, 256, 300, 1234}) {
        const std::string text = Format("%c%03d", pick(0, 1) ? 'T' : 't', n);
        tagMemFieldInfo expected{}, actual{};
        const bool found = scan.FindField(number, [n](const tagMemFieldInfo& f) { return f.field_number == n; },
                                          expected);
        ASSERT_EQ(dictionary.GetOneFieldInfo(number, text, &actual), found) << text;
        EXPECT_EQ(std::memcmp(&actual, &expected, sizeof(actual)), 0) << number << " " << text;
      }
      for (const char* name : names) {
        tagMemFieldInfo expected{}, actual{};
        const bool found = scan.FindField(
            number, [name](const tagMemFieldInfo& f) { return EqualsIgnoreAsciiCase(f.name, name); }, expected);
        ASSERT_EQ(dictionary.GetOneFieldInfo2(number, name, &actual), found) << name;
        EXPECT_EQ(std::memcmp(&actual, &expected, sizeof(actual)), 0) << number << " " << name;
      }
      std::vector<tagMemFieldInfo> all(kMaxFieldsPerTable);
      const long count = dictionary.GetFieldInfo(number, all.data());
      for (long i = 0; i < count; ++i) {
        tagMemFieldInfo expected{};
        long seen = 0;
        scan.FindField(number, [&seen, i](const tagMemFieldInfo&) { return seen++ == i; }, expected);
        EXPECT_EQ(std::memcmp(&all[i], &expected, sizeof(expected)), 0) << number << " #" << i;
      }
    }
  }
}

TEST(DictionaryIndexTest, ConstantLookupsAnswerAsTheScanWould) {
  std::mt19937 random(7);
  const char* classes[] = {"A", "a", "B", "A "};
  const char* codes[] = {"1", "01", "x", ""};
  std::vector<ConstFileRecord> records(200);
  for (std::size_t i = 0; i < records.size(); ++i) {
    records[i] = ConstFileRecord{};
    CopyToField(records[i].const_class, classes[random() % 4]);
    CopyToField(records[i].code, codes[random() % 4]);
    CopyToField(records[i].text, Format("%zu", i));
  }
  CwDictionary dictionary;
  dictionary.AdoptConstants(records);
  std::vector<tagMemConstInfo> list(kMaxConstsPerClass);
  for (const char* const_class : classes) {
    const long count = dictionary.GetConstList(const_class, list.data());
    long expected_count = 0;
    for (const ConstFileRecord& record : records) {
      if (FieldText(record.const_class) != const_class) continue;
      EXPECT_STREQ(list[expected_count++].text, record.text);
    }
    EXPECT_EQ(count, expected_count);
    for (const char* code : codes) {
      const auto first = std::find_if(records.begin(), records.end(), [&](const ConstFileRecord& r) {
        return FieldText(r.const_class) == const_class && FieldText(r.code) == code;
      });
      const tagMemConstInfo info = dictionary.GetConst(const_class, code);
      EXPECT_STREQ(info.text, first == records.end() ? "" : first->text) << const_class << "/" << code;
    }
  }
}

}  // namespace
}  // namespace orbe
