#include "dataservice/timestamp_handles.h"

#include "protocol/replies.h"
#include "protocol/request_objects.h"

void GetTimeStampHandle::OnReply(ICwReply* reply) {
  if (reply == nullptr) return;
  const auto stamp = orbe::wire::DecodeTimeStampBody(orbe::wire::PayloadBytes(*reply));
  if (stamp && stamp->status == orbe::wire::kTableKnown) time_stamp_.store(stamp->stamp);
}

void GetTimeStampHandle::OnStatus(int code) {
  if (notify_ != nullptr) notify_->OnTimeStamp(code);
}

void SetTimeStampHandle::OnReply(ICwReply* reply) {
  if (reply == nullptr || reply->GetBody() == nullptr || reply->GetBodyLength() < 1) return;
  result_.store(static_cast<signed char>(reply->GetBody()[0]));
}
