// The reply handles of the time-stamp requests.
#include "dataservice/timestamp_handles.h"

#include <gtest/gtest.h>

#include <string>

#include "protocol/replies.h"
#include "support/fake_reply.h"

namespace {

using orbe_test::FakeReply;

class Notified : public ITimeStampHandleASYNNotify {
 public:
  void OnTimeStamp(int code) override { codes.push_back(code); }
  std::vector<int> codes;
};

std::string StampBody(std::uint8_t status, std::int64_t stamp) {
  return orbe::wire::EncodeTimeStampBody({status, stamp});
}

TEST(TimeStampHandlesTest, GetKeepsAKnownStampAndNotifies) {
  Notified notified;
  GetTimeStampHandle handle(&notified);
  EXPECT_EQ(handle.TimeStamp(), -1);
  FakeReply unknown = FakeReply::Plain(StampBody(1, 5));
  handle.OnReply(&unknown);
  EXPECT_EQ(handle.TimeStamp(), -1);
  FakeReply shortBody = FakeReply::Plain(StampBody(0, 5).substr(0, 8));
  handle.OnReply(&shortBody);
  EXPECT_EQ(handle.TimeStamp(), -1);
  FakeReply known = FakeReply::Plain(StampBody(0, 20240105093000));
  handle.OnReply(&known);
  EXPECT_EQ(handle.TimeStamp(), 20240105093000);
  FakeReply longer = FakeReply::Plain(StampBody(0, 7) + "x");  // not a stamp reply
  handle.OnReply(&longer);
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
  FakeReply failed = FakeReply::Plain(std::string(1, '\xfe'));
  handle.OnReply(&failed);
  EXPECT_EQ(handle.Result(), -2);
  FakeReply empty = FakeReply::Plain("");
  handle.OnReply(&empty);
  EXPECT_EQ(handle.Result(), -2);
  FakeReply done = FakeReply::Plain(std::string(1, '\0') + "tail");
  handle.OnReply(&done);
  EXPECT_EQ(handle.Result(), 0);
}

}  // namespace
