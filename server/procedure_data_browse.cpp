#include "procedure_data_browse.h"

#include <atomic>
#include <set>

#include "orbe/platform/text.h"
#include "procedure_reference.h"
#include "procedure_result_writer.h"

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
bool AllCompanyCodes(SqlConnection& db, std::vector<std::string>* codes) {
  return db.Query("SELECT T002 FROM t100000002 ORDER BY rowid", {}, [&](const SqlRow& row) {
    codes->emplace_back(row.Text(0));
    return true;
  });
}

void WriteValue(const SqlRow& row, BrowseValue type, std::int16_t width, ResultWriter* writer) {
  switch (type) {
    case BrowseValue::kInt32:
      writer->Number(static_cast<std::int32_t>(row.Integer(0)));
      break;
    case BrowseValue::kDouble:
      writer->Number(row.Real(0));
      break;
    case BrowseValue::kInt64:
      writer->Number(static_cast<std::int64_t>(row.Integer(0)));
      break;
    case BrowseValue::kString:
      writer->FixedText(row.Text(0), static_cast<std::size_t>(width));
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

// The head (wire::DataBrowseHead), then the records. The caller's snapshot
// makes every value come from the same state of the data.
CallOutcome Browse(SqlConnection& db, const BrowseFunction& function, const std::vector<std::int64_t>& dates,
                   std::int16_t string_width, const std::vector<std::string>& codes) {
  ResultWriter writer;
  wire::DataBrowseHead head{0, static_cast<std::int16_t>(function.key), static_cast<std::int16_t>(function.value),
                            ValueWidth(function.value, string_width)};
  writer.Bytes(wire::EncodeDataBrowseHead(head));
  // A code longer than the key cannot be one of this kind.
  std::vector<std::string> keys;
  for (const std::string& code : codes) {
    if (code.size() <= wire::BrowseKeyWidth(function.key)) keys.push_back(code);
  }
  std::vector<SqlValue> fixed;
  for (const std::int64_t date : dates) fixed.push_back(SqlValue::Integer(date));
  std::int32_t count = 0;
  bool too_large = false;
  const bool ok = db.QueryPerKey(function.sql, keys, fixed, [&](std::size_t index, const SqlRow& row) {
    if (row.IsNull(0)) return true;
    writer.FixedText(keys[index], wire::BrowseKeyWidth(function.key));
    WriteValue(row, function.value, string_width, &writer);
    ++count;
    too_large = writer.size() > kMaxCallResultSize;
    return !too_large;
  });
  if (!ok) return CallOutcome::Failure(CallStatus::kStorageFailed);
  if (too_large) return CallOutcome::Failure(CallStatus::kTooLarge);
  writer.NumberAt<std::int32_t>(offsetof(wire::DataBrowseHead, count), count);
  return {CallStatus::kSuccess, writer.Take()};
}

constexpr std::string_view kStampPrefix = "TS|";
std::atomic<bool> stamps_answered{true};

CallOutcome FunctionStamp(SqlConnection& db, std::string_view name, std::uint64_t generation) {
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

CallOutcome CallDataBrowse(SqlConnection& db, std::string_view text, std::uint64_t generation) {
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
