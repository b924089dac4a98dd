#include "sample/sample_market.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "dictionary/dictionary_writer.h"
#include "orbe/dictionary/dictionary_records.h"
#include "orbe/platform/crypto.h"
#include "orbe/platform/text.h"
#include "sample/sample_calendar.h"
#include "sample/sample_schema.h"
#include "sample/sample_store.h"
#include "storage.h"

namespace orbe::sample {
namespace {

namespace fs = std::filesystem;
using Rows = std::vector<std::vector<std::string>>;

constexpr double kTinyScale = 0.01;

// A folder of this process's own; each suite removes what it made.
fs::path TempDir(const char* suite) {
  const fs::path path =
      fs::temp_directory_path() / Format("orbe_sample_test_%d", static_cast<int>(getpid())) / suite;
  fs::create_directories(path);
  return path;
}

void RemoveTempDir(const char* suite) {
  std::error_code ignored;
  const fs::path path = TempDir(suite);
  fs::remove_all(path, ignored);
  fs::remove(path.parent_path(), ignored);  // only once it is empty
}

SqliteHandle OpenDb(const fs::path& path) {
  sqlite3* raw = nullptr;
  sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
  return SqliteHandle(raw);
}

// Every value as text; NULL as "<null>".
Rows Query(sqlite3* db, const std::string& sql) {
  sqlite3_stmt* raw = nullptr;
  EXPECT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr), SQLITE_OK)
      << sql << ": " << sqlite3_errmsg(db);
  const SqliteStatementHandle statement(raw);
  Rows rows;
  while (raw != nullptr && sqlite3_step(raw) == SQLITE_ROW) {
    std::vector<std::string> row;
    for (int i = 0; i < sqlite3_column_count(raw); ++i) {
      const unsigned char* text = sqlite3_column_text(raw, i);
      row.push_back(text == nullptr
                        ? "<null>"
                        : std::string(reinterpret_cast<const char*>(text), sqlite3_column_bytes(raw, i)));
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

long long Count(sqlite3* db, const std::string& sql) {
  return std::stoll(Query(db, sql).at(0).at(0));
}

// A digest of every table's rows in rowid order, with each value's storage class.
std::string ContentDigest(sqlite3* db) {
  Md5 md5;
  for (const auto& table : Query(db, "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name")) {
    md5.Update(table[0] + "\n");
    const std::string sql = "SELECT * FROM " + table[0] + " ORDER BY rowid";
    sqlite3_stmt* raw = nullptr;
    sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr);
    const SqliteStatementHandle statement(raw);
    while (sqlite3_step(raw) == SQLITE_ROW) {
      for (int i = 0; i < sqlite3_column_count(raw); ++i) {
        const int type = sqlite3_column_type(raw, i);
        md5.Update(Format("|%d:", type));
        if (type == SQLITE_FLOAT) {
          const double value = sqlite3_column_double(raw, i);
          md5.Update(&value, sizeof(value));
        } else if (type != SQLITE_NULL) {
          md5.Update(sqlite3_column_blob(raw, i), static_cast<std::size_t>(sqlite3_column_bytes(raw, i)));
        }
      }
      md5.Update("\n");
    }
  }
  return DigestHex(md5.Final());
}

class SampleMarketTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    path_ = TempDir("market") / "tiny.db";
    std::string error;
    built_ = MakeSampleMarket(path_.string(), kTinyScale, &error);
    build_error_ = error;
  }
  static void TearDownTestSuite() { RemoveTempDir("market"); }
  void SetUp() override {
    ASSERT_TRUE(built_) << build_error_;
    db_ = OpenDb(path_);
    ASSERT_TRUE(db_);
  }
  sqlite3* db() const { return db_.get(); }

  static fs::path path_;
  static bool built_;
  static std::string build_error_;
  SqliteHandle db_;
};

fs::path SampleMarketTest::path_;
bool SampleMarketTest::built_ = false;
std::string SampleMarketTest::build_error_;

DictionarySchema ReadSchema(sqlite3* db) {
  DictionarySchema schema;
  for (const auto& t : Query(db, "SELECT number, name, key_field FROM orbe_tables ORDER BY seq")) {
    SchemaTable table;
    table.number = static_cast<std::uint32_t>(std::stoul(t[0]));
    table.name = t[1];
    table.key_field = static_cast<std::uint8_t>(std::stoi(t[2]));
    for (const auto& f :
         Query(db, "SELECT number, type, width, const_class, name FROM orbe_fields WHERE table_number = " +
                       t[0] + " ORDER BY seq")) {
      table.fields.push_back({static_cast<std::int16_t>(std::stoi(f[0])),
                              static_cast<std::uint8_t>(std::stoi(f[1])),
                              static_cast<std::uint16_t>(std::stoi(f[2])), f[3], f[4]});
    }
    schema.tables.push_back(std::move(table));
  }
  for (const auto& c : Query(db, "SELECT class, code, text, parent, attr FROM orbe_consts ORDER BY seq")) {
    schema.constants.push_back({c[0], c[1], c[2], c[3], c[4]});
  }
  return schema;
}

TEST_F(SampleMarketTest, DictionaryDescribesEveryDataTableExactly) {
  const DictionarySchema schema = ReadSchema(db());
  ASSERT_EQ(schema.tables.size(), SampleTables().size());
  std::set<std::string> described;
  for (const SchemaTable& table : schema.tables) {
    const std::string name = DataTableName(table.number);
    described.insert(name);
    SCOPED_TRACE(name);
    const Rows columns = Query(db(), "PRAGMA table_info(" + name + ")");
    ASSERT_EQ(columns.size(), table.fields.size());
    EXPECT_GE(table.key_field, 1);
    EXPECT_LE(table.key_field, table.fields.size());
    for (std::size_t i = 0; i < table.fields.size(); ++i) {
      const SchemaField& field = table.fields[i];
      EXPECT_EQ(field.number, static_cast<int>(i) + 1);
      EXPECT_EQ(columns[i][1], ColumnName(field.number));
      EXPECT_EQ(columns[i][2], server::ColumnTypeOf(field.type, server::SqlDialect::kSqlite));
      if (IsTextType(field.type) && field.type != kMemo && field.type != kLongMemo) {
        EXPECT_GT(field.width, 1) << field.number;
      } else {
        EXPECT_EQ(field.width, FixedWidthOf(field.type)) << field.number;
      }
      EXPECT_EQ(field.const_class.empty(), field.type != kCodeText) << field.number;
      if (field.type == kCodeText) {
        EXPECT_GT(Count(db(), "SELECT count(*) FROM orbe_consts WHERE class = '" + field.const_class + "'"),
                  0);
      }
    }
    EXPECT_GT(Count(db(), "SELECT count(*) FROM " + name), 0);
    EXPECT_EQ(Count(db(), "SELECT count(*) FROM orbe_timestamps WHERE stamp > 0 AND table_number = " +
                              std::to_string(table.number)),
              1);
  }
  for (const auto& row :
       Query(db(), "SELECT name FROM sqlite_master WHERE type = 'table' AND name LIKE 't%'")) {
    EXPECT_TRUE(described.count(row[0])) << row[0] << " has no dictionary entry";
  }
}

TEST_F(SampleMarketTest, EveryValueFitsItsField) {
  for (const SchemaTable& table : ReadSchema(db()).tables) {
    const std::string name = DataTableName(table.number);
    for (const SchemaField& field : table.fields) {
      SCOPED_TRACE(name + "." + ColumnName(field.number));
      const std::string column = ColumnName(field.number);
      const std::string storage = IsIntegerType(field.type) ? "integer"
                                  : IsRealType(field.type)  ? "real"
                                                            : "text";
      EXPECT_EQ(Count(db(), "SELECT count(*) FROM " + name + " WHERE typeof(" + column +
                                ") NOT IN ('null', '" + storage + "')"),
                0);
      if (field.type == kCodeText || field.type == kText) {
        EXPECT_EQ(Count(db(), "SELECT count(*) FROM " + name + " WHERE length(CAST(" + column +
                                  " AS BLOB)) >= " + std::to_string(field.width)),
                  0);
      }
      if (field.type == kCodeText) {
        EXPECT_EQ(Count(db(), "SELECT count(*) FROM " + name + " WHERE " + column + " <> '' AND " + column +
                                  " NOT IN (SELECT code FROM orbe_consts WHERE class = '" +
                                  field.const_class + "')"),
                  0)
            << "codes missing from class " << field.const_class;
      }
      if (field.type == kDate) {
        for (const auto& row : Query(
                 db(), "SELECT DISTINCT " + column + " FROM " + name + " WHERE " + column + " IS NOT NULL")) {
          ASSERT_TRUE(IsValidDate(std::stoi(row[0]))) << row[0];
        }
      }
    }
  }
}

TEST_F(SampleMarketTest, SecurityCodesAreUniqueAndShapedAsTheExchangesNumberThem) {
  const Rows stocks = Query(db(), "SELECT T003, T006, T007, T004 FROM t100000001 WHERE T005 = '1'");
  ASSERT_GE(stocks.size(), 11u);  // at least one per code range
  std::set<std::string> codes;
  std::set<std::string> prefixes;
  for (const auto& stock : stocks) {
    const std::string& code = stock[0];
    SCOPED_TRACE(code);
    ASSERT_EQ(code.size(), 6u);
    EXPECT_EQ(code.find_first_not_of("0123456789"), std::string::npos);
    EXPECT_TRUE(codes.insert(code).second) << "duplicate";
    prefixes.insert(code.substr(0, 3));
    EXPECT_EQ(stock[1], code[0] == '6' ? "83" : "90");
    EXPECT_EQ(stock[2] == "7", code.rfind("688", 0) == 0);
    EXPECT_EQ(stock[2] == "6", code[0] == '3');
    const auto utf8 = GbkToUtf8Strict(stock[3]);
    ASSERT_TRUE(utf8.has_value()) << "abbreviation is not GBK";
    EXPECT_NE(*utf8, stock[3]) << "abbreviation holds no Chinese";
  }
  EXPECT_EQ(prefixes, (std::set<std::string>{"000", "001", "002", "003", "300", "301", "600", "601", "603",
                                             "605", "688"}));
  EXPECT_EQ(Count(db(), "SELECT count(*) - count(DISTINCT T001) FROM t100000001"), 0) << "inner codes";
  EXPECT_EQ(Count(db(), "SELECT count(*) - count(DISTINCT T002) FROM t100000001 WHERE T005 = '1'"), 0);
  EXPECT_EQ(
      Count(db(),
            "SELECT count(*) FROM t100000002 c JOIN t100000001 s ON s.T002 = c.T001 AND s.T003 = c.T002 "
            "AND s.T001 = c.T003"),
      static_cast<long long>(stocks.size()));
  // Funds, bonds and Hong Kong codes are unique within their own books.
  EXPECT_EQ(Count(db(), "SELECT count(*) - count(DISTINCT T002) FROM t100000040"), 0);
  EXPECT_EQ(Count(db(), "SELECT count(*) - count(DISTINCT T003 || '.' || T006) FROM t100000050"), 0);
  EXPECT_EQ(Count(db(), "SELECT count(*) - count(DISTINCT T001) FROM t100000070"), 0);
  EXPECT_EQ(Count(db(), "SELECT count(*) FROM t100000070 WHERE length(T001) <> 5"), 0);
  EXPECT_EQ(Count(db(), "SELECT count(*) FROM t100000060 WHERE T001 <> T003 || T005"), 0);
  // A handful of each kind even in a tiny market.
  for (const char* category : {"3", "6", "8", "13"}) {
    EXPECT_GE(Count(db(), std::string("SELECT count(*) FROM t100000001 WHERE T005 = '") + category + "'"), 2)
        << category;
  }
  for (const char* table :
       {"t100000040", "t100000050", "t100000060", "t100000070", "t100000071", "t100000030"}) {
    EXPECT_GE(Count(db(), std::string("SELECT count(*) FROM ") + table), 5) << table;
  }
}

TEST_F(SampleMarketTest, FundsAndBondsCarryTheLookupClasses) {
  // Fund category codes 8 and 13 in the master match listed and open-end funds.
  EXPECT_EQ(Count(db(),
                  "SELECT count(*) FROM t100000040 f JOIN t100000001 s ON s.T001 = f.T001 WHERE "
                  "(s.T005 = '8') <> (f.T012 <> '10') OR s.T005 NOT IN ('8', '13')"),
            0);
  // One bond issue keeps one type, issuer and abbreviation across its markets.
  EXPECT_EQ(Count(db(),
                  "SELECT count(*) FROM (SELECT T001 FROM t100000050 GROUP BY T001 "
                  "HAVING count(DISTINCT T004 || T005 || T007) > 1)"),
            0);
  EXPECT_GT(
      Count(db(), "SELECT count(*) FROM (SELECT T001 FROM t100000050 GROUP BY T001 HAVING count(*) > 1)"), 0);
  // Convertible bonds name a stock of the market.
  EXPECT_EQ(Count(db(),
                  "SELECT count(*) FROM t100000050 WHERE T005 = '206006' AND T013 NOT IN "
                  "(SELECT T003 FROM t100000001 WHERE T005 = '1')"),
            0);
  // Delisted Hong Kong codes belong to no board; every other code to one of the two markets' boards.
  EXPECT_EQ(
      Count(db(),
            "SELECT count(*) FROM t100000071 b JOIN t100000070 h ON h.T001 = b.T002 WHERE h.T004 = '3'"),
      0);
  EXPECT_EQ(Count(db(),
                  "SELECT count(*) FROM t100000070 h WHERE h.T004 <> '3' AND (SELECT count(*) FROM "
                  "t100000071 b WHERE b.T002 = h.T001 AND b.T001 IN ('H001', 'H002')) <> 1"),
            0);
}

TEST_F(SampleMarketTest, IndustryCodesStandInTheirTrees) {
  const DictionarySchema schema = ReadSchema(db());
  std::map<std::pair<std::string, std::string>, std::string> parent_of;
  for (const SchemaConst& constant : schema.constants) {
    EXPECT_TRUE(
        parent_of.emplace(std::make_pair(constant.const_class, constant.code), constant.parent_code).second)
        << "duplicate constant " << constant.const_class << " " << constant.code;
  }
  const char* const classes[] = {"974", "997", "996", "994", "966", "964"};
  for (const auto& company : Query(db(), "SELECT T011, T012, T013, T014, T015, T016 FROM t100000002")) {
    for (std::size_t i = 0; i < std::size(classes); ++i) {
      SCOPED_TRACE(std::string(classes[i]) + " " + company[i]);
      std::string code = company[i];
      int depth = 0;
      while (!code.empty()) {
        const auto found = parent_of.find({classes[i], code});
        ASSERT_NE(found, parent_of.end());
        const std::string& parent = found->second;
        // Prefix-coded classes: a parent's code is a prefix of its children's,
        // which the sub-industry lookups by substring rely on.
        if (!parent.empty() && std::string(classes[i]) != "966" && std::string(classes[i]) != "974") {
          EXPECT_EQ(code.rfind(parent, 0), 0u);
        }
        code = parent;
        ASSERT_LT(++depth, 5);
      }
      EXPECT_GE(depth, 2);
    }
  }
}

TEST_F(SampleMarketTest, FinancialStatementsArePlausibleQuarterlyReports) {
  for (const auto& row : Query(db(), "SELECT DISTINCT T005 FROM t100000011")) {
    const int date = std::stoi(row[0]);
    EXPECT_TRUE(date % 10000 == 331 || date % 10000 == 630 || date % 10000 == 930 || date % 10000 == 1231)
        << date;
    EXPECT_GE(date, kFirstReportDate);
    EXPECT_LE(date, kLastReportDate);
  }
  EXPECT_EQ(Count(db(), "SELECT count(DISTINCT T005) FROM t100000011"), 40);
  EXPECT_EQ(Count(db(), "SELECT count(*) FROM t100000011 WHERE T004 <= T005 OR T004 > " +
                            std::to_string(kAsOfDate)),
            0)
      << "announced before the period ended";
  for (const char* table : {"t100000010", "t100000011", "t100000012", "t100000013"}) {
    EXPECT_EQ(Count(db(), std::string("SELECT count(*) - count(DISTINCT T002 || '.' || T005) FROM ") + table),
              0)
        << table;
  }
  // Year-to-date revenue never shrinks within a year.
  EXPECT_EQ(Count(db(),
                  "SELECT count(*) FROM t100000011 a JOIN t100000011 b ON a.T002 = b.T002 AND "
                  "a.T005 / 10000 = b.T005 / 10000 AND a.T005 < b.T005 WHERE a.T006 > b.T006"),
            0);
  // The balance sheet balances and the indicators follow from the statements.
  EXPECT_EQ(Count(db(), "SELECT count(*) FROM t100000010 WHERE abs(T011 - T014 - T017) > 0.011"), 0);
  EXPECT_EQ(
      Count(db(),
            "SELECT count(*) FROM t100000011 i JOIN t100000013 k ON k.T002 = i.T002 AND k.T005 = i.T005 "
            "WHERE k.T006 <> i.T017 OR abs(i.T017 - i.T016 / k.T017) > 0.00006"),
      0);
  EXPECT_EQ(
      Count(db(),
            "SELECT count(*) FROM t100000010 b JOIN t100000013 k ON k.T002 = b.T002 AND k.T005 = b.T005 "
            "WHERE abs(k.T013 - b.T014 * 100.0 / b.T011) > 0.0001"),
      0);
  // Growth is NULL exactly where no statement of the year before exists.
  EXPECT_EQ(Count(db(),
                  "SELECT count(*) FROM t100000013 k WHERE (k.T014 IS NULL) <> NOT EXISTS (SELECT 1 FROM "
                  "t100000011 p WHERE p.T002 = k.T002 AND p.T005 = k.T005 - 10000)"),
            0);
}

TEST_F(SampleMarketTest, QuotesAreTradingDaysOfAConsistentWalk) {
  EXPECT_EQ(Count(db(),
                  "SELECT count(*) FROM t100000020 q WHERE NOT EXISTS (SELECT 1 FROM t100000021 c WHERE "
                  "c.T001 = q.T003 AND c.T003 = 1)"),
            0)
      << "a quote on a closed day";
  EXPECT_EQ(Count(db(), "SELECT count(*) FROM t100000020 WHERE T003 < " + std::to_string(kFirstQuoteDate) +
                            " OR T003 > " + std::to_string(kAsOfDate)),
            0);
  EXPECT_EQ(Count(db(),
                  "SELECT count(*) FROM t100000020 WHERE NOT (T007 <= T005 AND T005 <= T006 AND "
                  "T007 <= T008 AND T008 <= T006 AND T007 > 0 AND T009 > 0 AND T010 > 0)"),
            0);
  EXPECT_EQ(Count(db(), "SELECT count(*) FROM t100000020 WHERE abs(T008 / T004 - 1) > 0.2001 + 0.01 / T004"),
            0)
      << "a move beyond the daily limit";
  EXPECT_EQ(Count(db(),
                  "SELECT count(*) FROM t100000020 q JOIN t100000001 s ON s.T001 = q.T001 "
                  "WHERE q.T003 < s.T009"),
            0)
      << "a quote before listing";
  // Each day opens from the close before it.
  EXPECT_EQ(
      Count(db(),
            "SELECT count(*) FROM (SELECT T004, lag(T008) OVER (PARTITION BY T001 ORDER BY T003) AS prev "
            "FROM t100000020) WHERE prev IS NOT NULL AND prev <> T004"),
      0);
  EXPECT_EQ(Count(db(), "SELECT count(*) - count(DISTINCT T001 || '.' || T003) FROM t100000020"), 0);
  const long long days = Count(db(), "SELECT count(*) FROM t100000021 WHERE T002 = '83' AND T003 = 1");
  EXPECT_GT(days, 470);  // two years of trading days
  EXPECT_LT(days, 500);
  EXPECT_EQ(Count(db(), "SELECT count(*) FROM t100000021 WHERE T001 = 20251001 AND T003 = 1"), 0);
}

TEST_F(SampleMarketTest, DictionaryWriterAcceptsTheStoredSchema) {
  const DictionarySchema schema = ReadSchema(db());
  ASSERT_EQ(CheckSchema(schema), "");
  const DictionaryFiles files = BuildDictionaryFiles(schema);
  std::size_t field_count = 0;
  for (const SchemaTable& table : schema.tables) field_count += table.fields.size();
  ASSERT_EQ(files.tables.size(), schema.tables.size() * sizeof(TableFileRecord));
  ASSERT_EQ(files.fields.size(), field_count * sizeof(FieldFileRecord));
  ASSERT_EQ(files.constants.size(), schema.constants.size() * sizeof(ConstFileRecord));
  TableFileRecord first{};
  std::memcpy(&first, files.tables.data(), sizeof(first));
  EXPECT_EQ(+first.table_number, static_cast<std::uint32_t>(kSecuMainTable));
  EXPECT_EQ(FieldText(first.name), "证券主表");
  // Every field number fits the one-byte identifier of requests.
  for (const SchemaTable& table : schema.tables) EXPECT_LE(table.fields.size(), 255u);
}

TEST_F(SampleMarketTest, SameSeedGivesTheSameContent) {
  const fs::path again = TempDir("market") / "again.db";
  std::string error;
  ASSERT_TRUE(MakeSampleMarket(again.string(), kTinyScale, &error)) << error;
  const SqliteHandle other = OpenDb(again);
  EXPECT_EQ(ContentDigest(db()), ContentDigest(other.get()));
  const fs::path larger = TempDir("market") / "larger.db";
  ASSERT_TRUE(MakeSampleMarket(larger.string(), 2 * kTinyScale, &error)) << error;
  const SqliteHandle different = OpenDb(larger);
  EXPECT_NE(ContentDigest(db()), ContentDigest(different.get()));
  EXPECT_GT(Count(different.get(), "SELECT count(*) FROM t100000001 WHERE T005 = '1'"),
            Count(db(), "SELECT count(*) FROM t100000001 WHERE T005 = '1'"));
}

TEST(SampleMarketArguments, RefusesBadArgumentsAndReplacesTheTargetWhole) {
  const fs::path dir = TempDir("arguments");
  const fs::path target = dir / "args.db";
  std::string error;
  for (const double scale : {0.0, -1.0, 1.5, std::nan("")}) {
    error.clear();
    EXPECT_FALSE(MakeSampleMarket(target.string(), scale, &error)) << scale;
    EXPECT_FALSE(error.empty());
  }
  EXPECT_FALSE(MakeSampleMarket("", kTinyScale, &error));
  EXPECT_FALSE(fs::exists(target));
  error.clear();
  EXPECT_FALSE(MakeSampleMarket((dir / "missing" / "x.db").string(), kTinyScale, &error));
  EXPECT_FALSE(error.empty());
  // A file already at the target, even one that is no database, is replaced.
  std::ofstream(target) << "not a database";
  ASSERT_TRUE(MakeSampleMarket(target.string(), kTinyScale, &error)) << error;
  EXPECT_FALSE(fs::exists(target.string() + ".building"));
  const SqliteHandle db = OpenDb(target);
  EXPECT_GT(Count(db.get(), "SELECT count(*) FROM orbe_tables"), 0);
  RemoveTempDir("arguments");
}

}  // namespace
}  // namespace orbe::sample
