#include "sample/sample_market.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "sample/sample_calendar.h"
#include "sample/sample_constants.h"
#include "sample/sample_dictionary.h"
#include "sample/sample_generators.h"
#include "sample/sample_schema.h"

namespace orbe::sample {
namespace {

// The moment the sample's data was last changed, in Unix seconds: the
// as-of date at 18:00 China time.
std::int64_t SampleStamp() {
  return std::int64_t{DaysFromDate(kAsOfDate)} * 86400 + 10 * 3600;
}

void Generate(SampleStore& store, double scale, const std::vector<SchemaTable>& tables) {
  const GeneratorContext context{store, scale};
  const std::vector<Stock> stocks = GenerateStocks(context);
  GenerateFinancials(context, stocks);
  GenerateQuotes(context, stocks);
  GenerateCalendar(context);
  const std::vector<Fund> funds = GenerateFunds(context);
  GenerateConcepts(context, stocks, funds);
  GenerateBonds(context, stocks);
  GenerateFutures(context);
  GenerateHkStocks(context);
  store.FinishRows();
  CreateIndexes(store, tables);
}

bool CheckedSchema(DictionarySchema* schema, std::string* error) {
  *schema = DictionarySchema{SampleTables(), SampleConstants()};
  if (const std::string problem = CheckSchema(*schema); !problem.empty()) {
    *error = "sample dictionary: " + problem;
    return false;
  }
  return true;
}

// The whole market in the store's one transaction.
bool Fill(SampleStore& store, const DictionarySchema& schema, double scale, std::string* error) {
  WriteDictionary(store, schema, SampleStamp());
  store.AddTables(schema.tables);
  Generate(store, scale, schema.tables);
  store.Execute("COMMIT");
  if (!store.status().ok()) {
    *error = store.status().error();
    return false;
  }
  return true;
}

bool Build(const std::string& path, double scale, std::string* error) {
  DictionarySchema schema;
  if (!CheckedSchema(&schema, error)) return false;
  const std::unique_ptr<SampleStore> store = SampleStore::Open(path, error);
  if (!store) return false;
  store->Execute("BEGIN");
  return Fill(*store, schema, scale, error);
}

bool CheckScale(double scale, std::string* error) {
  if (std::isfinite(scale) && scale > 0 && scale <= 1) return true;
  *error = "scale must be above 0 and at most 1";
  return false;
}

}  // namespace

bool MakeSampleMarket(const std::string& db_path, double scale, std::string* error) {
  std::string ignored;
  if (error == nullptr) error = &ignored;
  if (db_path.empty()) {
    *error = "no database path";
    return false;
  }
  if (!CheckScale(scale, error)) return false;
  // Built beside the target and renamed over it, so a failed or interrupted
  // build never leaves a half-filled database under the real name.
  const std::string building = db_path + ".building";
  std::error_code ignored_error;
  std::filesystem::remove(building, ignored_error);
  if (!Build(building, scale, error)) {
    std::filesystem::remove(building, ignored_error);
    return false;
  }
  std::error_code renamed;
  std::filesystem::rename(building, db_path, renamed);
  if (renamed) {
    *error = db_path + ": " + renamed.message();
    std::filesystem::remove(building, ignored_error);
    return false;
  }
  return true;
}

bool MakeSampleMarketInPostgres(const std::string& uri, double scale, std::string* error) {
  std::string ignored;
  if (error == nullptr) error = &ignored;
  DictionarySchema schema;
  if (!CheckScale(scale, error) || !CheckedSchema(&schema, error)) return false;
  const std::unique_ptr<SampleStore> store = SampleStore::OpenPostgres(uri, error);
  if (!store) return false;
  // One transaction: the old tables stay until the new ones are complete,
  // and a failed load leaves the database as it was.
  store->Execute("BEGIN");
  store->Execute("SET LOCAL synchronous_commit = off");
  store->Execute("SET LOCAL client_min_messages = warning");
  std::string drop = "DROP TABLE IF EXISTS orbe_tables, orbe_fields, orbe_consts, orbe_timestamps";
  for (const SchemaTable& table : schema.tables) drop += ", " + DataTableName(table.number);
  store->Execute(drop);
  if (!Fill(*store, schema, scale, error)) return false;
  // Fresh tables have no statistics; the planner needs them for the indexes.
  store->Execute("ANALYZE");
  if (!store->status().ok()) {
    *error = store->status().error();
    return false;
  }
  return true;
}

}  // namespace orbe::sample
