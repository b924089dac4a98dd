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
  CreateIndexes(store, tables);
}

bool Build(const std::string& path, double scale, std::string* error) {
  DictionarySchema schema{SampleTables(), SampleConstants()};
  if (const std::string problem = CheckSchema(schema); !problem.empty()) {
    *error = "sample dictionary: " + problem;
    return false;
  }
  const std::unique_ptr<SampleStore> store = SampleStore::Open(path, error);
  if (!store) return false;
  store->Execute("BEGIN");
  WriteDictionary(*store, schema, SampleStamp());
  store->AddTables(schema.tables);
  Generate(*store, scale, schema.tables);
  store->Execute("COMMIT");
  if (!store->status().ok()) {
    *error = store->status().error();
    return false;
  }
  return true;
}

}  // namespace

bool MakeSampleMarket(const std::string& db_path, double scale, std::string* error) {
  std::string ignored;
  if (error == nullptr) error = &ignored;
  if (db_path.empty()) {
    *error = "no database path";
    return false;
  }
  if (!std::isfinite(scale) || scale <= 0 || scale > 1) {
    *error = "scale must be above 0 and at most 1";
    return false;
  }
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

}  // namespace orbe::sample
