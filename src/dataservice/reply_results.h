// The single-record replies of the change, statistics, stamp, flush, call and
// reply requests as the handles hand them to their callers. The layouts are
// decoded by the wire library (protocol/replies.h); this adds the callers'
// readings: counts of -1, texts of statistics, a read position in call replies.
#ifndef ORBE_DATASERVICE_REPLY_RESULTS_H_
#define ORBE_DATASERVICE_REPLY_RESULTS_H_

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "protocol/replies.h"

namespace orbe {

inline constexpr int kResultFailed = wire::kResultFailed;

// Delete, update, insert: the status byte of any non-empty record; the count
// only from a whole 5-byte record, else -1.
struct ChangeResult {
  int status = kResultFailed;
  int count = -1;
};
ChangeResult ParseChangeResult(std::string_view record);

// Statistics: nullopt unless the record is exactly 7 + n bytes.
inline std::optional<wire::StatResult> ParseStatResult(std::string_view record) {
  return wire::DecodeStatResult(record);
}
std::optional<std::int64_t> StatAsInt64(const wire::StatResult& stat);
std::optional<double> StatAsDouble(const wire::StatResult& stat);
std::optional<std::string> StatAsText(const wire::StatResult& stat);

// Time-stamp increase: the new stamp of a 9-byte record; -1 otherwise.
std::int64_t ParseIncreasedStamp(std::string_view record);
// Flush: the signed byte of a 1-byte record; 1 otherwise.
int ParseFlushResult(std::string_view record);

// Call and reload replies: a status byte, then data read by position.
class ReplyCursor {
 public:
  static constexpr int kMaxTextPop = 65536;

  // Starts behind the status byte.
  void Reset(std::string_view reply) {
    reply_ = reply;
    position_ = kFirstPosition;
  }
  // 1 when the reply is empty.
  int Status() const { return wire::CallReplyStatus(reply_).value_or(kResultFailed); }
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
  static constexpr int kFirstPosition = static_cast<int>(wire::kCallResultOffset);

  std::optional<std::string_view> Take(std::size_t count);

  std::string_view reply_;
  int position_ = kFirstPosition;
};

}  // namespace orbe

#endif  // ORBE_DATASERVICE_REPLY_RESULTS_H_
