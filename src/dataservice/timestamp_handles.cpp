#include "dataservice/timestamp_handles.h"

#include <cstring>

namespace {

constexpr std::uint32_t kStampReplySize = 1 + sizeof(std::int64_t);

}  // namespace

void GetTimeStampHandle::OnReply(ICwReply* reply) {
  if (reply == nullptr || reply->GetBody() == nullptr) return;
  if (reply->GetBodyLength() < kStampReplySize) return;
  const unsigned char* body = reply->GetBody();
  if (body[0] != 0) return;
  std::int64_t stamp = 0;
  std::memcpy(&stamp, body + 1, sizeof stamp);
  time_stamp_.store(stamp);
}

void GetTimeStampHandle::OnStatus(int code) {
  if (notify_ != nullptr) notify_->OnTimeStamp(code);
}

void SetTimeStampHandle::OnReply(ICwReply* reply) {
  if (reply == nullptr || reply->GetBody() == nullptr || reply->GetBodyLength() < 1) return;
  result_.store(static_cast<signed char>(reply->GetBody()[0]));
}
