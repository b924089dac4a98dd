// Reply handles of the time-stamp requests: the table stamp asked before a
// cached SELECT (2015) and the one-byte result of a stamp change.
#ifndef ORBE_DATASERVICE_TIMESTAMP_HANDLES_H_
#define ORBE_DATASERVICE_TIMESTAMP_HANDLES_H_

#include <atomic>
#include <cstdint>

#include "orbe/dataservice/fetch_data.h"
#include "protocol/reply_handle.h"

class GetTimeStampHandle : public IReplyHandle {
 public:
  explicit GetTimeStampHandle(ITimeStampHandleASYNNotify* notify) : notify_(notify) {}

  // Keeps the stamp of a known table (a 9-byte body with status 0).
  void OnReply(ICwReply* reply) override;
  // Passes the code to the notify target.
  void OnStatus(int code) override;

  std::int64_t TimeStamp() const { return time_stamp_.load(); }
  void ResetTimeStamp() { time_stamp_.store(-1); }

 private:
  std::atomic<std::int64_t> time_stamp_{-1};
  ITimeStampHandleASYNNotify* const notify_;
};

class SetTimeStampHandle : public IReplyHandle {
 public:
  // Result = first body byte, signed.
  void OnReply(ICwReply* reply) override;
  void OnStatus(int /*code*/) override {}

  int Result() const { return result_.load(); }

 private:
  std::atomic<int> result_{0};
};

#endif  // ORBE_DATASERVICE_TIMESTAMP_HANDLES_H_
