// Our statement parse against SQLite's prepare of the same SQL on a table of
// the same columns, side by side in one run.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <memory>
#include <string>

#include "dictionary/dictionary_writer.h"
#include "dictionary/sql_parser.h"
#include "orbe/dictionary/cw_dictionary.h"
#include "orbe/platform/text.h"

namespace {

constexpr std::uint32_t kTable = 100000013;
constexpr int kColumns = 20;

std::string FieldName(int n) { return orbe::Format("T%03d", n); }

// Types cycle through text, int32, double and int64, as report tables mix them.
orbe::DictionarySchema BenchSchema() {
  constexpr std::uint8_t kTypes[] = {2, 4, 8, 5};
  constexpr std::uint16_t kWidths[] = {20, 4, 8, 8};
  orbe::SchemaTable table{kTable, 0, "bench", {}};
  for (int n = 1; n <= kColumns; ++n) {
    const int kind = (n - 1) % 4;
    table.fields.push_back({static_cast<std::int16_t>(n), kTypes[kind], kWidths[kind], "", FieldName(n)});
  }
  return orbe::DictionarySchema{{table}, {}};
}

class LoadedDictionary {
 public:
  LoadedDictionary() {
    const orbe::DictionaryFiles files = orbe::BuildDictionaryFiles(BenchSchema());
    orbe::LoadDictionaryBytes(dictionary_, files.constants, files.tables, files.fields);
  }
  const orbe::CwDictionary& get() const { return dictionary_; }

 private:
  orbe::CwDictionary dictionary_;
};

const orbe::CwDictionary& BenchDictionary() {
  static const LoadedDictionary loaded;
  return loaded.get();
}

struct SqliteCloser {
  void operator()(sqlite3* db) const { sqlite3_close(db); }
};
using SqliteDb = std::unique_ptr<sqlite3, SqliteCloser>;

SqliteDb OpenBenchDatabase() {
  sqlite3* raw = nullptr;
  sqlite3_open(":memory:", &raw);
  SqliteDb db(raw);
  std::string create = "CREATE TABLE t100000013 (";
  for (int n = 1; n <= kColumns; ++n) {
    const int kind = (n - 1) % 4;
    create += (n > 1 ? ", " : "") + FieldName(n) + (kind == 0 ? " TEXT" : kind == 2 ? " REAL" : " INTEGER");
  }
  create += ")";
  sqlite3_exec(db.get(), create.c_str(), nullptr, nullptr, nullptr);
  return db;
}

const std::string kOurSelect =
    "SELECT T001,T002,T003,T005,T006,T009 FROM 100000013 "
    "WHERE T001='600000' AND T002>=20240101 AND T003<1.5 ORDER BY T002 DESC";
const std::string kSqliteSelect =
    "SELECT T001,T002,T003,T005,T006,T009 FROM t100000013 "
    "WHERE T001='600000' AND T002>=20240101 AND T003<1.5 ORDER BY T002 DESC";
const std::string kOurStat = "SELECT MAX(T003) FROM 100000013 WHERE T001='600000' AND T002>=20240101";
const std::string kSqliteStat = "SELECT MAX(T003) FROM t100000013 WHERE T001='600000' AND T002>=20240101";

void BM_OurSelect(benchmark::State& state) {
  const orbe::CwDictionary& dictionary = BenchDictionary();
  cw_command_req request;
  for (auto _ : state) {
    const bool ok = orbe::sql::ParseSelect(dictionary, kOurSelect, &request);
    benchmark::DoNotOptimize(ok);
    if (!ok || request.field_count != 6 || request.condition_count != 3) state.SkipWithError("parse failed");
  }
}
BENCHMARK(BM_OurSelect);

void BM_SqlitePrepareSelect(benchmark::State& state) {
  const SqliteDb db = OpenBenchDatabase();
  for (auto _ : state) {
    sqlite3_stmt* statement = nullptr;
    const int rc = sqlite3_prepare_v2(db.get(), kSqliteSelect.c_str(), -1, &statement, nullptr);
    if (rc != SQLITE_OK) state.SkipWithError(sqlite3_errmsg(db.get()));
    sqlite3_finalize(statement);
  }
}
BENCHMARK(BM_SqlitePrepareSelect);

void BM_OurStat(benchmark::State& state) {
  const orbe::CwDictionary& dictionary = BenchDictionary();
  cw_sqlstat_req request;
  for (auto _ : state) {
    const bool ok = orbe::sql::ParseStat(dictionary, kOurStat, &request);
    benchmark::DoNotOptimize(ok);
    if (!ok || request.condition_count != 2) state.SkipWithError("parse failed");
  }
}
BENCHMARK(BM_OurStat);

void BM_SqlitePrepareStat(benchmark::State& state) {
  const SqliteDb db = OpenBenchDatabase();
  for (auto _ : state) {
    sqlite3_stmt* statement = nullptr;
    const int rc = sqlite3_prepare_v2(db.get(), kSqliteStat.c_str(), -1, &statement, nullptr);
    if (rc != SQLITE_OK) state.SkipWithError(sqlite3_errmsg(db.get()));
    sqlite3_finalize(statement);
  }
}
BENCHMARK(BM_SqlitePrepareStat);

}  // namespace

BENCHMARK_MAIN();
