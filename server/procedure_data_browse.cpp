#include "procedure_data_browse.h"

#include <atomic>
#include <set>

#include "orbe/platform/text.h"
#include "procedure_reference.h"
#include "procedure_result_writer.h"
#include "procedure_sqlite.h"

namespace orbe::server {
namespace {

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> pieces;
  for (std::size_t start = 0;;) {
    const std::size_t end = text.find(separator, start);
    pieces.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
    if (end == std::string_view::npos) return pieces;
    start = end + 1;
  }
}


// yyyymmdd with a month and day that can exist; nullopt otherwise.
std::optional<std::int64_t> ParseDate(std::string_view text) {
  if (text.size() != 8) return std::nullopt;
  std::int64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  const std::int64_t month = value / 100 % 100;
  const std::int64_t day = value % 100;
  if (month < 1 || month > 12 || day < 1 || day > 31) return std::nullopt;
  return value;
}

std::optional<std::int16_t> StringWidth(const BrowseFunction& function, std::string_view text) {
  if (function.value != BrowseValue::kString) return 0;
  if (text.empty()) return kDefaultStringWidth;
  if (text.size() > 4) return std::nullopt;
  int width = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    width = width * 10 + (c - '0');
  }
  if (width < 1 || width > kMaxStringWidth) return std::nullopt;
  return static_cast<std::int16_t>(width);
}

// Without a code list the function answers for every listed company.
bool AllCompanyCodes(sqlite3* db, std::vector<std::string>* codes) {
  const SqliteStatement query = PrepareOn(db, "SELECT T002 FROM t100000002 ORDER BY rowid");
  if (!query) return false;
  int step;
  while ((step = sqlite3_step(query.get())) == SQLITE_ROW) codes->emplace_back(ColumnText(query.get(), 0));
  return step == SQLITE_DONE;
}

void WriteValue(sqlite3_stmt* query, BrowseValue type, std::int16_t width, ResultWriter* writer) {
  switch (type) {
    case BrowseValue::kInt32:
      writer->Number(static_cast<std::int32_t>(sqlite3_column_int64(query, 0)));
      break;
    case BrowseValue::kDouble:
      writer->Number(sqlite3_column_double(query, 0));
      break;
    case BrowseValue::kInt64:
      writer->Number(static_cast<std::int64_t>(sqlite3_column_int64(query, 0)));
      break;
    case BrowseValue::kString:
      writer->FixedText(ColumnText(query, 0), static_cast<std::size_t>(width));
      break;
  }
}

std::int16_t ValueWidth(BrowseValue type, std::int16_t string_width) {
  switch (type) {
    case BrowseValue::kInt32:
      return 4;
    case BrowseValue::kString:
      return string_width;
    case BrowseValue::kDouble:
    case BrowseValue::kInt64:
      break;
  }
  return 8;
}

// One read transaction around the per-code queries: every value comes from
// the same snapshot, and the database is locked once instead of per code.
class ReadSnapshot {
 public:
  explicit ReadSnapshot(sqlite3* db) : db_(db) {
    open_ = sqlite3_get_autocommit(db_) != 0 && sqlite3_exec(db_, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK;
  }
  ~ReadSnapshot() {
    if (open_) sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
  }
  ReadSnapshot(const ReadSnapshot&) = delete;
  ReadSnapshot& operator=(const ReadSnapshot&) = delete;

 private:
  sqlite3* db_;
  bool open_ = false;
};

// The head (wire::DataBrowseHead), then the records.
CallOutcome Browse(sqlite3* db, const BrowseFunction& function, const std::vector<std::int64_t>& dates,
                   std::int16_t string_width, const std::vector<std::string>& codes) {
  // Declared first so that the statement is finalised before the commit.
  const ReadSnapshot snapshot(db);
  const SqliteStatement query = PrepareOn(db, function.sql);
  if (!query) return CallOutcome::Failure(CallStatus::kStorageFailed);
  ResultWriter writer;
  wire::DataBrowseHead head{0, static_cast<std::int16_t>(function.key), static_cast<std::int16_t>(function.value),
                            ValueWidth(function.value, string_width)};
  writer.Bytes(wire::EncodeDataBrowseHead(head));
  std::int32_t count = 0;
  for (const std::string& code : codes) {
    if (code.size() > wire::BrowseKeyWidth(function.key)) continue;  // cannot be a key of this kind
    sqlite3_reset(query.get());
    sqlite3_bind_text(query.get(), 1, code.data(), static_cast<int>(code.size()), SQLITE_STATIC);
    for (std::size_t i = 0; i < dates.size(); ++i) {
      sqlite3_bind_int64(query.get(), static_cast<int>(i) + 2, dates[i]);
    }
    const int step = sqlite3_step(query.get());
    if (step != SQLITE_ROW && step != SQLITE_DONE) return CallOutcome::Failure(CallStatus::kStorageFailed);
    if (step == SQLITE_DONE || sqlite3_column_type(query.get(), 0) == SQLITE_NULL) continue;
    writer.FixedText(code, wire::BrowseKeyWidth(function.key));
    WriteValue(query.get(), function.value, string_width, &writer);
    ++count;
    if (writer.size() > kMaxCallResultSize) return CallOutcome::Failure(CallStatus::kTooLarge);
  }
  writer.NumberAt<std::int32_t>(offsetof(wire::DataBrowseHead, count), count);
  return {CallStatus::kSuccess, writer.Take()};
}

constexpr std::string_view kStampPrefix = "TS|";
std::atomic<bool> stamps_answered{true};

CallOutcome FunctionStamp(sqlite3* db, std::string_view name, std::uint64_t generation) {
  const BrowseFunction* function = FindBrowseFunction(name);
  if (function == nullptr) return CallOutcome::Failure(CallStatus::kUnknownProcedure);
  const auto stamp = DataStamp(db, function->tables, function->const_classes, generation);
  if (!stamp) return CallOutcome::Failure(CallStatus::kStorageFailed);
  ResultWriter writer;
  writer.Number<std::int64_t>(*stamp);
  return {CallStatus::kSuccess, writer.Take()};
}

}  // namespace

std::optional<BrowseOption> ParseBrowseOption(std::string_view text) {
  const std::vector<std::string_view> pieces = Split(text, '|');
  if (pieces.size() < 3) return std::nullopt;
  BrowseOption option;
  option.name = pieces.front();
  option.parameters.assign(pieces.begin() + 1, pieces.end() - 2);
  option.string_width = pieces[pieces.size() - 2];
  std::set<std::string_view> seen;
  for (const std::string_view piece : Split(pieces.back(), ',')) {
    const std::string_view code = TrimBlanks(piece);
    if (!code.empty() && seen.insert(code).second) option.codes.emplace_back(code);
  }
  return option;
}

CallOutcome CallDataBrowse(sqlite3* db, std::string_view text, std::uint64_t generation) {
  if (stamps_answered.load() && text.starts_with(kStampPrefix)) return FunctionStamp(db, text.substr(kStampPrefix.size()), generation);
  const auto option = ParseBrowseOption(text);
  if (!option) return CallOutcome::Failure(CallStatus::kBadParameter);
  const BrowseFunction* function = FindBrowseFunction(option->name);
  if (function == nullptr) return CallOutcome::Failure(CallStatus::kUnknownProcedure);
  const auto string_width = StringWidth(*function, option->string_width);
  if (!string_width || option->parameters.size() != function->date_parameters ||
      option->codes.size() > kMaxBrowseCodes) {
    return CallOutcome::Failure(CallStatus::kBadParameter);
  }
  std::vector<std::int64_t> dates;
  for (const std::string& parameter : option->parameters) {
    const auto date = ParseDate(parameter);
    if (!date) return CallOutcome::Failure(CallStatus::kBadParameter);
    dates.push_back(*date);
  }
  std::vector<std::string> codes = option->codes;
  if (codes.empty() && !AllCompanyCodes(db, &codes)) return CallOutcome::Failure(CallStatus::kStorageFailed);
  return Browse(db, *function, dates, *string_width, codes);
}

void SetBrowseStampsAnswered(bool answered) { stamps_answered.store(answered); }

}  // namespace orbe::server
