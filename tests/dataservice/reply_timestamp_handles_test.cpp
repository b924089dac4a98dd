// The reply handles of the time-stamp requests.
#include "dataservice/timestamp_handles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

class BodyReply : public ICwReply {
 public:
  explicit BodyReply(std::string body) : bytes_(std::string(kCwReplyHeaderSize, '\0') + std::move(body)) {}
  ~BodyReply() override = default;
  unsigned char* GetHeader() override { return reinterpret_cast<unsigned char*>(bytes_.data()); }
  unsigned char* GetBody() override { return GetHeader() + kCwReplyHeaderSize; }
  std::uint32_t GetBodyLength() override { return static_cast<std::uint32_t>(bytes_.size() - kCwReplyHeaderSize); }
  int GetProgress() override { return 100; }
  std::uint32_t GetTotalLength() override { return static_cast<std::uint32_t>(bytes_.size()); }

 private:
  std::string bytes_;
};

class Notified : public ITimeStampHandleASYNNotify {
 public:
  void OnTimeStamp(int code) override { codes.push_back(code); }
  std::vector<int> codes;
};

std::string StampBody(char status, std::int64_t stamp) {
  std::string body(9, '\0');
  body[0] = status;
  std::memcpy(body.data() + 1, &stamp, sizeof stamp);
  return body;
}

TEST(TimeStampHandlesTest, GetKeepsAKnownStampAndNotifies) {
  Notified notified;
  GetTimeStampHandle handle(&notified);
  EXPECT_EQ(handle.TimeStamp(), -1);
  BodyReply unknown(StampBody(1, 5));
  handle.OnReply(&unknown);
  EXPECT_EQ(handle.TimeStamp(), -1);
  BodyReply shortBody(StampBody(0, 5).substr(0, 8));
  handle.OnReply(&shortBody);
  EXPECT_EQ(handle.TimeStamp(), -1);
  BodyReply known(StampBody(0, 20240105093000));
  handle.OnReply(&known);
  EXPECT_EQ(handle.TimeStamp(), 20240105093000);
  handle.OnStatus(100);
  handle.OnStatus(-2);
  EXPECT_EQ(notified.codes, (std::vector<int>{100, -2}));
  handle.ResetTimeStamp();
  EXPECT_EQ(handle.TimeStamp(), -1);
  GetTimeStampHandle silent(nullptr);
  silent.OnStatus(100);  // no target: nothing to tell
}

TEST(TimeStampHandlesTest, SetReadsTheFirstByteSigned) {
  SetTimeStampHandle handle;
  BodyReply failed(std::string(1, '\xfe'));
  handle.OnReply(&failed);
  EXPECT_EQ(handle.Result(), -2);
  BodyReply empty("");
  handle.OnReply(&empty);
  EXPECT_EQ(handle.Result(), -2);
  BodyReply done(std::string(1, '\0') + "tail");
  handle.OnReply(&done);
  EXPECT_EQ(handle.Result(), 0);
}

}  // namespace
