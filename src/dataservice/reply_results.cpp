#include "dataservice/reply_results.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "orbe/dictionary/dictionary_records.h"

namespace orbe {
namespace {

template <typename T>
T LoadAt(std::string_view bytes, std::size_t offset) {
  T value;
  std::memcpy(&value, bytes.data() + offset, sizeof(T));
  return value;
}

bool IsFloating(int type) { return type == kFieldFloat || type == kFieldDouble; }

}  // namespace

ChangeResult ParseChangeResult(std::string_view record) {
  ChangeResult result;
  if (record.empty()) return result;
  result.status = static_cast<unsigned char>(record[0]);
  if (const auto whole = wire::DecodeWriteResult(record)) result.count = static_cast<int>(whole->count);
  return result;
}

std::optional<std::int64_t> StatAsInt64(const wire::StatResult& stat) {
  if (stat.value.size() == sizeof(std::int32_t)) {
    if (stat.value_type == kFieldFloat) return static_cast<std::int64_t>(LoadAt<float>(stat.value, 0));
    return LoadAt<std::int32_t>(stat.value, 0);
  }
  if (stat.value.size() == sizeof(std::int64_t)) {
    // A floating result (AVG) converts; its bit pattern is no integer.
    if (IsFloating(stat.value_type)) return static_cast<std::int64_t>(LoadAt<double>(stat.value, 0));
    return LoadAt<std::int64_t>(stat.value, 0);
  }
  return std::nullopt;
}

std::optional<double> StatAsDouble(const wire::StatResult& stat) {
  if (stat.value.size() == sizeof(float) && stat.value_type == kFieldFloat) return LoadAt<float>(stat.value, 0);
  if (stat.value.size() == sizeof(double) && IsFloating(stat.value_type)) return LoadAt<double>(stat.value, 0);
  const auto integer = StatAsInt64(stat);
  if (!integer) return std::nullopt;
  return static_cast<double>(*integer);
}

std::optional<std::string> StatAsText(const wire::StatResult& stat) {
  char buffer[64] = {};
  if (IsFloating(stat.value_type)) {
    const auto value = StatAsDouble(stat);
    if (!value) return std::nullopt;
    std::snprintf(buffer, sizeof buffer, "%.3f", *value);
  } else {
    const auto value = StatAsInt64(stat);
    if (!value) return std::nullopt;
    std::snprintf(buffer, sizeof buffer, "%" PRId64, *value);
  }
  return std::string(buffer);
}

std::int64_t ParseIncreasedStamp(std::string_view record) {
  const auto stamp = wire::DecodeTimeStampBody(record);
  return stamp ? stamp->stamp : -1;
}

int ParseFlushResult(std::string_view record) { return wire::DecodeFlushResult(record).value_or(kResultFailed); }

bool ReplyCursor::Seek(int position) {
  if (position <= 0 || position >= static_cast<int>(reply_.size()) - 2) return false;
  position_ = position;
  return true;
}

std::optional<std::string> ReplyCursor::PopText(int length) {
  if (length < 0 || length > kMaxTextPop) return std::nullopt;
  const auto bytes = Take(static_cast<std::size_t>(length));
  if (!bytes) return std::nullopt;
  return std::string(bytes->substr(0, std::min(bytes->find('\0'), bytes->size())));
}

std::optional<std::string_view> ReplyCursor::Take(std::size_t count) {
  const std::size_t position = static_cast<std::size_t>(position_);
  if (position > reply_.size() || count > reply_.size() - position) return std::nullopt;
  position_ += static_cast<int>(count);
  return reply_.substr(position, count);
}

}  // namespace orbe
