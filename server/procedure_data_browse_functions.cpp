// The query-language functions this service knows, over the sample market's
// tables (docs/data.md); each is one keyed query.
#include <algorithm>
#include <array>

#include "procedure_data_browse.h"

namespace orbe::server {
namespace {

constexpr std::int32_t kListedCompanies[] = {100000002};
constexpr std::int32_t kDailyQuotes[] = {100000020};
constexpr const char* kIndustryClasses[] = {"974"};

constexpr std::array<BrowseFunction, 3> kFunctions = {{
    // The company's industry in classification 974 (the regulator's), by name.
    {"所属行业", 0, BrowseValue::kString, BrowseKey::kSecurityCode,
     "SELECT c.text FROM t100000002 l JOIN orbe_consts c ON c.class = '974' AND c.code = l.T011"
     " WHERE l.T002 = ?1 ORDER BY l.rowid, c.seq LIMIT 1", kListedCompanies, kIndustryClasses},
    // Change in percent from the previous close before the first trading day
    // in the range to the close of the last one.
    {"区间涨跌幅", 2, BrowseValue::kDouble, BrowseKey::kSecurityCode,
     "SELECT (e.price / s.price - 1) * 100 FROM"
     " (SELECT T004 AS price FROM t100000020 WHERE T002 = ?1 AND T003 BETWEEN ?2 AND ?3"
     " ORDER BY T003 LIMIT 1) AS s,"
     " (SELECT T008 AS price FROM t100000020 WHERE T002 = ?1 AND T003 BETWEEN ?2 AND ?3"
     " ORDER BY T003 DESC LIMIT 1) AS e WHERE s.price > 0", kDailyQuotes, {}},
    // Sum of the daily turnover rates within the range.
    {"区间换手率", 2, BrowseValue::kDouble, BrowseKey::kSecurityCode,
     "SELECT SUM(T012) FROM t100000020 WHERE T002 = ?1 AND T003 BETWEEN ?2 AND ?3", kDailyQuotes, {}},
}};

}  // namespace

const BrowseFunction* FindBrowseFunction(std::string_view name) {
  const auto found = std::find_if(kFunctions.begin(), kFunctions.end(),
                                  [name](const BrowseFunction& function) { return name == function.name; });
  return found == kFunctions.end() ? nullptr : &*found;
}

}  // namespace orbe::server
