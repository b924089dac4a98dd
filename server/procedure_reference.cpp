#include "procedure_reference.h"

#include <limits>
#include <optional>
#include <vector>

#include "procedure_result_writer.h"

namespace orbe::server {
namespace {

struct PageRequest {
  bool stamp = false;  // "TS<s>"
  std::size_t set = 0;
  std::int64_t page = 0;
};

// Pages beyond this are refused rather than risking an overflowing offset.
constexpr std::int64_t kMaxPage = 99'999'999;

std::optional<std::int64_t> Digits(std::string_view text, std::size_t max_digits) {
  if (text.empty() || text.size() > max_digits) return std::nullopt;
  std::int64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

std::optional<PageRequest> ParsePageRequest(std::string_view text, std::size_t set_count) {
  PageRequest request;
  if (text.starts_with("TS")) {
    const auto set = Digits(text.substr(2), 2);
    if (!set) return std::nullopt;
    request.stamp = true;
    request.set = static_cast<std::size_t>(*set);
  } else {
    // "%d%d" of set and page: the set is one digit, since no procedure has ten sets.
    const auto set = Digits(text.substr(0, 1), 1);
    const auto page = Digits(text.substr(std::min<std::size_t>(1, text.size())), 8);
    if (!set || !page || *page > kMaxPage) return std::nullopt;
    request.set = static_cast<std::size_t>(*set);
    request.page = *page;
  }
  if (request.set >= set_count) return std::nullopt;
  return request;
}

// FNV-1a, enough to tell one combination of stamps and constants from another.
class Digest {
 public:
  void Add(std::string_view bytes) {
    for (const char c : bytes) {
      hash_ ^= static_cast<unsigned char>(c);
      hash_ *= 1099511628211ull;
    }
    hash_ ^= 0xFF;  // separates ("ab","c") from ("a","bc")
    hash_ *= 1099511628211ull;
  }
  void Add(std::uint64_t number) { Add(std::string_view(reinterpret_cast<const char*>(&number), 8)); }
  std::uint64_t value() const { return hash_; }

 private:
  std::uint64_t hash_ = 14695981039346656037ull;
};

// A known table without a stamp row has stamp 0, as request 2015 says.
std::optional<std::int64_t> TableStamp(SqlConnection& db, std::int32_t table) {
  const SqlValue number = SqlValue::Integer(table);
  std::int64_t stamp = 0;
  const bool ok = db.Query("SELECT stamp FROM orbe_timestamps WHERE table_number = ?1", std::span(&number, 1),
                           [&](const SqlRow& row) {
                             stamp = row.Integer(0);
                             return false;
                           });
  if (!ok) return std::nullopt;
  return stamp;
}

bool AddConstClass(SqlConnection& db, const char* const_class, Digest* digest) {
  const SqlValue value = SqlValue::Text(const_class);
  return db.Query("SELECT code, text, parent, attr FROM orbe_consts WHERE class = ?1 ORDER BY seq",
                  std::span(&value, 1), [&](const SqlRow& row) {
                    for (int column = 0; column < 4; ++column) digest->Add(row.Text(column));
                    return true;
                  });
}

// A set read from one table answers that table's stamp while nothing was
// reloaded; otherwise a digest of everything the rows depend on. 0 (never a
// cache match) when a table has no stamp.
std::optional<std::int64_t> SetStamp(SqlConnection& db, const ResultSetSpec& set, std::uint64_t generation) {
  Digest digest;
  digest.Add(generation);
  std::int64_t single = 0;
  for (const std::int32_t table : set.tables) {
    const auto stamp = TableStamp(db, table);
    if (!stamp) return std::nullopt;
    if (*stamp <= 0) return 0;
    single = *stamp;
    digest.Add(static_cast<std::uint64_t>(table));
    digest.Add(static_cast<std::uint64_t>(*stamp));
  }
  if (set.tables.size() == 1 && set.const_classes.empty() && generation == 0) return single;
  for (const char* const_class : set.const_classes) {
    if (!AddConstClass(db, const_class, &digest)) return std::nullopt;
  }
  const auto mixed = static_cast<std::int64_t>(digest.value() >> 2);
  return mixed == 0 ? 1 : mixed;
}

}  // namespace

std::optional<std::int64_t> DataStamp(SqlConnection& db, std::span<const std::int32_t> tables,
                                      std::span<const char* const> const_classes, std::uint64_t generation) {
  return SetStamp(db, ResultSetSpec{nullptr, {}, false, tables, const_classes}, generation);
}

namespace {

CallOutcome StampResult(SqlConnection& db, const ResultSetSpec& set, std::uint64_t generation) {
  const auto stamp = SetStamp(db, set, generation);
  if (!stamp) return CallOutcome::Failure(CallStatus::kStorageFailed);
  ResultWriter writer;
  writer.Number<std::int64_t>(*stamp);
  return {CallStatus::kSuccess, writer.Take()};
}

// i16 count, then each record's columns as fixed-width texts.
CallOutcome PageResult(SqlConnection& db, const ResultSetSpec& set, std::int64_t page) {
  ResultWriter writer;
  writer.Number<wire::ReferencePageCount>(0);
  if (!set.paged && page > 0) return {CallStatus::kSuccess, writer.Take()};
  std::vector<SqlValue> range;
  if (set.paged) range = {SqlValue::Integer(kReferencePageRows), SqlValue::Integer(page * kReferencePageRows)};
  std::int64_t count = 0;
  bool too_large = false;
  const bool ok = db.Query(set.sql, range, [&](const SqlRow& row) {
    if (++count > std::numeric_limits<wire::ReferencePageCount>::max() || writer.size() > kMaxCallResultSize) {
      too_large = true;
      return false;
    }
    for (std::size_t column = 0; column < set.widths.size(); ++column) {
      writer.FixedText(row.Text(static_cast<int>(column)), set.widths[column]);
    }
    return true;
  });
  if (!ok) return CallOutcome::Failure(CallStatus::kStorageFailed);
  if (too_large) return CallOutcome::Failure(CallStatus::kTooLarge);
  writer.NumberAt<wire::ReferencePageCount>(0, static_cast<wire::ReferencePageCount>(count));
  return {CallStatus::kSuccess, writer.Take()};
}

}  // namespace

CallOutcome CallReference(const ReferenceProcedure& procedure, SqlConnection& db, std::uint64_t generation,
                          std::string_view parameters) {
  const auto request = ParsePageRequest(parameters, procedure.sets.size());
  if (!request) return CallOutcome::Failure(CallStatus::kBadParameter);
  const ResultSetSpec& set = procedure.sets[request->set];
  return request->stamp ? StampResult(db, set, generation) : PageResult(db, set, request->page);
}

}  // namespace orbe::server
