// A whole-market screening scheme over the sample catalogue (data/indicators)
// and its result computed straight from the data server's SQLite file with
// queries of our own against the storage tables (docs/storage.md, data.md),
// without any of the module's code: the end-to-end test and the benchmark
// compare the module's screening with it.
#ifndef ORBE_TESTS_INDICATORS_SCREENING_REFERENCE_H_
#define ORBE_TESTS_INDICATORS_SCREENING_REFERENCE_H_

#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "orbe/indicators/index_base.h"
#include "orbe/indicators/index_scheme.h"

namespace orbe_test {

// The statements of the third quarter of 2026 and of 2025, the last trading
// day of the sample market and a range of quotes before it.
inline constexpr int kPeriod = 20260930;
inline constexpr int kPriorPeriod = 20250930;
inline constexpr int kQuoteDay = 20261130;
inline constexpr int kRangeStart = 20260901;

struct SchemeRow {
  const char* index;
  const char* param;
  const char* op;
  const char* value;
  const char* unit;
};

// Tables 100000010, 100000011, 100000013 and 100000020, both TQL functions,
// two quote fields and two user indicators (one over a quote field).
inline constexpr SchemeRow kSchemeRows[] = {
    {"营业总收入", "2026三季", "大于", "0.5", "亿元"},                    // #1
    {"净利润", "2026三季", "大于", "0", "万元"},                          // #2
    {"资产总计", "2026三季", "", "", "亿元"},                             // #3
    {"股东权益合计", "2026三季", "大于", "0", ""},                        // #4
    {"净资产收益率", "2026三季", "大于等于", "2", ""},                    // #5
    {"总股本", "2026三季", "大于", "3000", "万股"},                       // #6
    {"收盘价", "2026-11-30", "小于", "30", ""},                           // #7
    {"所属行业", "", "不包含", "医", ""},                                 // #8
    {"区间涨跌幅", "2026-09-01,2026-11-30", "大于", "-15", ""},           // #9
    {"最新价", "", "", "", ""},                                           // #10
    {"总市值", "", "大于", "20", "亿元"},                                 // #11
    {"营收增长率", "2026三季;2025三季", "大于", "0", ""},                 // #12
    {"市净率", ";2026三季", "小于", "6", ""},                             // #13
};
inline constexpr int kSchemeRowCount = static_cast<int>(std::size(kSchemeRows));
// Rows #8 and #9 are answered by the service's query-language function.
inline constexpr int kQueryLanguageFunctions = 2;
inline constexpr const char* kExpression = "#1 and #2 and (#5 or #12) and #6 and (#7 or #11) and #8 and #9 and #13";

inline bool ReferenceExpression(const std::vector<bool>& c) {
  return c[0] && c[1] && (c[4] || c[11]) && c[5] && (c[6] || c[10]) && c[7] && c[8] && c[12];
}

inline IndexScheme ScreeningScheme() {
  IndexScheme scheme;
  scheme.name = "全市场端到端";
  scheme.expression = kExpression;
  for (const SchemeRow& row : kSchemeRows) {
    IndexSchemeItem item;
    item.index = row.index;
    item.param = row.param;
    item.op = row.op;
    item.value = row.value;
    item.unit = row.unit;
    scheme.items.push_back(item);
  }
  return scheme;
}

// Colours of the result cells (0x00BBGGRR).
inline constexpr std::uint32_t kSysColor = 0xC0C0C0;
inline constexpr std::uint32_t kUsrColor = 0xE6E6E6;
inline constexpr std::uint32_t kUpColor = 0x3232FF;
inline constexpr std::uint32_t kDownColor = 0x00E600;

struct RefCell {
  int type = DATA_TYPE_DOUBLE;
  double dbl = 0;
  std::int64_t i64 = 0;
  std::string str;
  std::uint32_t color = kSysColor;
};
using RefColumn = std::map<std::string, RefCell>;  // company code -> cell

struct ReferenceResult {
  std::vector<RefColumn> columns;             // one per scheme row, values scaled to the row's unit
  std::vector<std::string> row_order;         // companies in the order rows are first filled
  std::map<std::string, std::string> secu;    // company -> security code
  std::map<std::string, std::string> abbr;    // company -> short name
  std::set<std::string> selected;             // companies passing the expression
};

class ReferenceDb {
 public:
  explicit ReferenceDb(const std::string& path) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) db_.reset(db);
    else sqlite3_close(db);
  }
  bool ok() const { return db_ != nullptr; }

  // Calls `row` with the statement on each result row; false on an SQL error.
  bool Each(const std::string& sql, const std::function<void(sqlite3_stmt*)>& row) const {
    sqlite3_stmt* raw = nullptr;
    if (!db_ || sqlite3_prepare_v2(db_.get(), sql.c_str(), -1, &raw, nullptr) != SQLITE_OK) return false;
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> statement(raw, sqlite3_finalize);
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(raw)) == SQLITE_ROW) row(raw);
    return step == SQLITE_DONE;
  }

 private:
  struct Closer {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
  };
  std::unique_ptr<sqlite3, Closer> db_;
};

inline std::string TextOf(sqlite3_stmt* statement, int column) {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
  return text == nullptr ? std::string() : std::string(text);
}

namespace reference_detail {

// A column read by one query of (company code, value).
struct QueryColumn {
  int row;  // scheme row, from 0
  int type;
  double divisor;
  std::string sql;
};

inline std::vector<QueryColumn> QueryColumns() {
  const std::string period = std::to_string(kPeriod);
  const std::string statement = " WHERE T005 = " + period + " AND T002 <> ''";
  return {
      {0, DATA_TYPE_DOUBLE, 1e8, "SELECT T002, T006 FROM t100000011" + statement},
      {1, DATA_TYPE_DOUBLE, 1e4, "SELECT T002, T015 FROM t100000011" + statement},
      {2, DATA_TYPE_DOUBLE, 1e8, "SELECT T002, T011 FROM t100000010" + statement},
      {3, DATA_TYPE_DOUBLE, 1, "SELECT T002, T017 FROM t100000010" + statement},
      {4, DATA_TYPE_DOUBLE, 1, "SELECT T002, T009 FROM t100000013" + statement},
      {5, DATA_TYPE_INT64, 1e4, "SELECT T002, T017 FROM t100000013" + statement},
      {6, DATA_TYPE_DOUBLE, 1,
       "SELECT s.T002, q.T008 FROM t100000020 q JOIN t100000001 s ON s.T001 = q.T001 WHERE q.T003 = " +
           std::to_string(kQuoteDay)},
      {7, DATA_TYPE_STRING, 1,
       "SELECT c.T001, k.text FROM t100000002 c JOIN orbe_consts k ON k.class = '974' AND k.code = c.T011"},
  };
}

inline RefCell ValueCell(sqlite3_stmt* statement, int column, int type, double divisor) {
  RefCell cell;
  cell.type = type;
  if (type == DATA_TYPE_STRING) cell.str = TextOf(statement, column);
  if (type == DATA_TYPE_INT64) cell.i64 = sqlite3_column_int64(statement, column) / static_cast<std::int64_t>(divisor);
  if (type == DATA_TYPE_DOUBLE) cell.dbl = sqlite3_column_double(statement, column) / divisor;
  return cell;
}

struct Bar {
  int date = 0;
  double previous_close = 0;
  double close = 0;
  double market_value = 0;
};

// The latest two bars and the range's first and last bar of each security.
struct QuoteHistory {
  Bar before_latest;
  Bar latest;
  int bars = 0;
  Bar range_first;
  Bar range_last;
  bool in_range = false;
};

inline RefCell Double(double value, std::uint32_t color) {
  RefCell cell;
  cell.dbl = value;
  cell.color = color;
  return cell;
}

// The user scripts: no value for a zero denominator, and none when a base
// has no value.
inline std::optional<double> Ratio(double numerator, double denominator) {
  if (denominator == 0) return std::nullopt;
  return numerator / denominator;
}
inline std::optional<double> Growth(double current, double previous) {
  if (previous == 0) return std::nullopt;
  return (current - previous) / std::fabs(previous) * 100.0;
}

inline RefColumn UserColumn(const RefColumn& first, const RefColumn& second,
                            std::optional<double> (*formula)(double, double)) {
  RefColumn out;
  for (const auto& [company, cell] : first) {
    const auto other = second.find(company);
    if (other == second.end()) continue;
    if (const std::optional<double> value = formula(cell.dbl, other->second.dbl)) {
      out[company] = Double(*value, kUsrColor);
    }
  }
  return out;
}

inline bool Holds(const RefCell& cell, const SchemeRow& row) {
  const std::string op = row.op;
  if (op.empty()) return true;
  if (op == "包含" || op == "不包含") {
    const bool contains = cell.str.find(row.value) != std::string::npos;
    return op == "包含" ? contains : !contains;
  }
  auto compare = [&op](auto a, auto b) {
    if (op == "等于") return a == b;
    if (op == "不等于") return a != b;
    if (op == "大于") return a > b;
    if (op == "小于") return a < b;
    if (op == "大于等于") return a >= b;
    return a <= b;
  };
  if (cell.type == DATA_TYPE_INT64) return compare(cell.i64, static_cast<std::int64_t>(std::atoll(row.value)));
  if (cell.type == DATA_TYPE_STRING) return compare(cell.str, std::string(row.value));
  return compare(cell.dbl, std::atof(row.value));
}

}  // namespace reference_detail

// The screening of `companies` (company codes) computed from the database;
// empty columns when the database cannot be read.
inline ReferenceResult ComputeReference(const std::string& path, const std::vector<std::string>& companies) {
  using namespace reference_detail;
  ReferenceResult result;
  const ReferenceDb db(path);
  if (!db.ok()) return result;
  const std::set<std::string> wanted(companies.begin(), companies.end());
  std::vector<RefColumn> columns(kSchemeRowCount);

  for (const QueryColumn& query : QueryColumns()) {
    db.Each(query.sql, [&](sqlite3_stmt* row) {
      columns[static_cast<std::size_t>(query.row)][TextOf(row, 0)] = ValueCell(row, 1, query.type, query.divisor);
    });
  }

  // Security master: company -> its A-share, and every inner code's company.
  std::map<std::string, std::string> company_of_inner;
  db.Each("SELECT T001, T002, T003, T004, T005 FROM t100000001 ORDER BY rowid", [&](sqlite3_stmt* row) {
    company_of_inner.emplace(TextOf(row, 0), TextOf(row, 1));
    if (TextOf(row, 4) != "1") return;
    result.secu.emplace(TextOf(row, 1), TextOf(row, 2));
    result.abbr.emplace(TextOf(row, 1), TextOf(row, 3));
  });

  int last_day = 0;
  std::map<std::string, QuoteHistory> history;  // by inner code
  const std::string range = std::to_string(kRangeStart);
  const std::string end = std::to_string(kQuoteDay);
  db.Each("SELECT T001, T003, T004, T008, T013 FROM t100000020 ORDER BY T001, T003", [&](sqlite3_stmt* row) {
    const Bar bar{sqlite3_column_int(row, 1), sqlite3_column_double(row, 2), sqlite3_column_double(row, 3),
                  sqlite3_column_double(row, 4)};
    QuoteHistory& h = history[TextOf(row, 0)];
    h.before_latest = h.latest;
    h.latest = bar;
    ++h.bars;
    if (bar.date >= kRangeStart && bar.date <= kQuoteDay) {
      if (!h.in_range) h.range_first = bar;
      h.range_last = bar;
      h.in_range = true;
    }
    last_day = std::max(last_day, bar.date);
  });
  RefColumn& change = columns[8];
  RefColumn& latest = columns[9];
  RefColumn& market_value = columns[10];
  for (const auto& [inner, h] : history) {
    const std::string& company = company_of_inner[inner];
    if (company.empty()) continue;
    if (h.in_range && h.range_first.previous_close > 0) {
      change[company] = Double((h.range_last.close / h.range_first.previous_close - 1) * 100, kSysColor);
    }
    // A suspended security stands at its last close; a first day compares with its issue price.
    const bool suspended = h.latest.date != last_day;
    const float price = static_cast<float>(h.latest.close);
    const float previous = suspended ? price
                           : h.bars > 1 ? static_cast<float>(h.before_latest.close)
                                        : static_cast<float>(h.latest.previous_close);
    latest[company] = Double(price, price > previous ? kUpColor : price < previous ? kDownColor : kSysColor);
    market_value[company] = Double(h.latest.market_value / 1e8, kSysColor);
  }

  RefColumn revenue;
  RefColumn prior_revenue;
  RefColumn book_value;
  const std::string statement = "SELECT T002, T006 FROM t100000011 WHERE T002 <> '' AND T005 = ";
  db.Each(statement + std::to_string(kPeriod), [&](sqlite3_stmt* row) { revenue[TextOf(row, 0)] = ValueCell(row, 1, 1, 1); });
  db.Each(statement + std::to_string(kPriorPeriod),
          [&](sqlite3_stmt* row) { prior_revenue[TextOf(row, 0)] = ValueCell(row, 1, 1, 1); });
  db.Each("SELECT T002, T007 FROM t100000013 WHERE T002 <> '' AND T005 = " + std::to_string(kPeriod),
          [&](sqlite3_stmt* row) { book_value[TextOf(row, 0)] = ValueCell(row, 1, 1, 1); });
  columns[11] = UserColumn(revenue, prior_revenue, Growth);
  // The price's base reads the quote record's float.
  RefColumn price;
  for (const auto& [company, cell] : latest) price[company] = Double(cell.dbl, kSysColor);
  columns[12] = UserColumn(price, book_value, Ratio);

  // Only the screened companies; a row appears with its first value, column by column.
  std::set<std::string> seen;
  for (RefColumn& column : columns) {
    for (auto it = column.begin(); it != column.end();) {
      it = wanted.count(it->first) != 0 ? std::next(it) : column.erase(it);
    }
    for (const auto& entry : column) {
      if (seen.insert(entry.first).second) result.row_order.push_back(entry.first);
    }
  }
  for (const std::string& company : result.row_order) {
    std::vector<bool> conditions;
    for (int k = 0; k < kSchemeRowCount; ++k) {
      const RefColumn& column = columns[static_cast<std::size_t>(k)];
      const auto cell = column.find(company);
      conditions.push_back(cell != column.end() && Holds(cell->second, kSchemeRows[k]));
    }
    if (ReferenceExpression(conditions)) result.selected.insert(company);
  }
  result.columns = std::move(columns);
  return result;
}

// Every A-share company of the market, ordered byte-wise.
inline std::vector<std::string> AllCompanies(const std::string& path) {
  std::vector<std::string> companies;
  ReferenceDb(path).Each("SELECT T001 FROM t100000002 ORDER BY T001",
                         [&](sqlite3_stmt* row) { companies.push_back(TextOf(row, 0)); });
  return companies;
}

inline std::string JoinCodes(const std::vector<std::string>& codes) {
  std::string joined;
  for (const std::string& code : codes) joined += (joined.empty() ? "" : ",") + code;
  return joined;
}

}  // namespace orbe_test

#endif  // ORBE_TESTS_INDICATORS_SCREENING_REFERENCE_H_
