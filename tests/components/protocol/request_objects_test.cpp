// Bodies into the engine's request objects and reply objects into records.
#include "protocol/request_objects.h"

#include <gtest/gtest.h>

#include "orbe/platform/crypto.h"
#include "protocol/byte_order.h"
#include "protocol/requests.h"
#include "support/fake_reply.h"

namespace orbe::wire {
namespace {

using orbe_test::FakeReply;
using orbe_test::FakeRequest;

TEST(RequestObjectsTest, FilledRequestsAreTheFramesTheEncodersMake) {
  FakeRequest request;
  ASSERT_TRUE(FillRequest(request, EncodeTableBody(kCodeFlush, 42)));
  EXPECT_EQ(RequestLength(request), 20u);
  // The engine stamps id, marker and version; the rest is the encoder's frame.
  std::string frame = orbe_test::FrameOf(request);
  StampRequestHeader(reinterpret_cast<unsigned char*>(frame.data()), 9);
  EXPECT_EQ(frame, EncodeTableRequest(9, kCodeFlush, 42));

  FakeRequest small(8);
  EXPECT_FALSE(FillRequest(small, std::string(9, 'x')));
  EXPECT_EQ(RequestLength(small), 0u);  // left reset
  EXPECT_FALSE(FillRequest(request, "x"));  // no room for a code

  ASSERT_TRUE(FillFileRequest(request, std::string(100, 'f')));
  EXPECT_EQ(LoadAt<std::uint32_t>(orbe_test::FrameOf(request), 10), 114u);
  FakeRequest large(70000);
  EXPECT_FALSE(FillFileRequest(large, std::string(kMaxFileServerLength, 'f')));
}

TEST(RequestObjectsTest, RecordsOfPlainAndCompressedReplies) {
  const std::string full(65536, 'q');
  struct Case {
    const char* name;
    FakeReply reply;
    std::optional<std::string> record;
  };
  Case cases[] = {
      {"plain", FakeReply::Plain("abc"), "abc"},
      {"compressed", FakeReply::Compressed(full), full},
      {"above the largest record", FakeReply::Compressed(full + "q"), std::nullopt},
      {"announces another length", FakeReply::Zlib(Compress("hello"), 4), std::nullopt},
      {"no zlib stream", FakeReply::Zlib("not zlib", 8), std::nullopt},
      {"empty", FakeReply::Plain(""), std::nullopt},
  };
  for (Case& c : cases) EXPECT_EQ(RecordOfReply(c.reply), c.record) << c.name;
  FakeReply progress = FakeReply::Plain("x", 37);
  EXPECT_EQ(progress.GetProgress(), 37);
  EXPECT_EQ(HeaderOf(progress).kind, kPacketData);
  EXPECT_EQ(PayloadBytes(progress), "x");
}

}  // namespace
}  // namespace orbe::wire
