// The single-record replies of the change, statistics, stamp, flush, call and
// reload requests, read in place with bounds checks.
#ifndef ORBE_DATASERVICE_REPLY_RESULTS_H_
#define ORBE_DATASERVICE_REPLY_RESULTS_H_

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace orbe {

inline constexpr int kResultFailed = 1;

// Delete, update, insert: status byte, then (5-byte record) a 32-bit count.
struct ChangeResult {
  int status = kResultFailed;
  int count = -1;
};
ChangeResult ParseChangeResult(std::string_view record);

// Statistics: status, 16-bit value type, 32-bit length n, n value bytes.
struct StatResult {
  int status = kResultFailed;
  int value_type = 0;
  std::string_view value;
};
// nullopt unless the record is exactly 7 + n bytes.
std::optional<StatResult> ParseStatResult(std::string_view record);
std::optional<std::int64_t> StatAsInt64(const StatResult& stat);
std::optional<double> StatAsDouble(const StatResult& stat);
std::optional<std::string> StatAsText(const StatResult& stat);

// Time-stamp increase: 9 bytes, status then the new stamp; -1 otherwise.
std::int64_t ParseIncreasedStamp(std::string_view record);
// Flush: 1 byte, signed; 1 otherwise.
int ParseFlushResult(std::string_view record);

// Call and reload replies: a status byte, then data read by position.
class ReplyCursor {
 public:
  static constexpr int kMaxTextPop = 65536;

  // Starts behind the status byte.
  void Reset(std::string_view reply) {
    reply_ = reply;
    position_ = 1;
  }
  // 1 when the reply is empty.
  int Status() const { return reply_.empty() ? 1 : static_cast<signed char>(reply_[0]); }
  // Accepts 0 < position < length - 2.
  bool Seek(int position);
  int Position() const { return position_; }
  int LengthMinusOne() const { return static_cast<int>(reply_.size()) - 1; }

  // The next `length` bytes up to their first NUL.
  std::optional<std::string> PopText(int length);
  template <typename T>
  std::optional<T> Pop() {
    const auto bytes = Take(sizeof(T));
    if (!bytes) return std::nullopt;
    T value;
    std::memcpy(&value, bytes->data(), sizeof(T));
    return value;
  }

 private:
  std::optional<std::string_view> Take(std::size_t count);

  std::string_view reply_;
  int position_ = 1;
};

}  // namespace orbe

#endif  // ORBE_DATASERVICE_REPLY_RESULTS_H_
