#include "protocol/replies.h"

#include <gtest/gtest.h>

#include <functional>

#include "protocol/byte_order.h"

namespace orbe::wire {
namespace {

ReplyPacket OnlyPacket(const std::string& bytes) {
  ReplyPacket packet;
  std::size_t consumed = 0;
  EXPECT_EQ(DecodeReplyPacket(bytes, &packet, &consumed), SplitResult::kFrame);
  EXPECT_EQ(consumed, bytes.size());
  return packet;
}

TEST(RepliesTest, HostLoadPacketsMatchTheDocumentedBytes) {
  std::string stream;
  AppendDataPacket(&stream, {7, kCodeHostLoad}, 100, EncodeHostLoadBody({1, 3000}));
  AppendEndPacket(&stream, {7, kCodeHostLoad}, kStatusComplete);
  const std::string expected(
      "\x07\x00\x00\x00\x00\x01\x98\x08\x20\x00\x00\x00\x64\x00\x00\x00\x00\x00\x00\x00\x08\x00\x00\x00"
      "\x01\x00\x00\x00\xB8\x0B\x00\x00"
      "\x07\x00\x00\x00\x00\x02\x98\x08\x18\x00\x00\x00\x64\x00\x00\x00\x64\x00\x00\x00\x00\x00\x00\x00",
      56);
  EXPECT_EQ(stream, expected);
}

TEST(RepliesTest, CompressiblePayloadRoundTripsAndIsBounded) {
  const std::string record(4000, 'x');
  std::string out;
  ASSERT_TRUE(AppendCompressibleDataPacket(&out, {1, kCodeSelect}, 50, record));
  const ReplyPacket packet = OnlyPacket(out);
  EXPECT_EQ(packet.header.flags, kFlagZlib);
  EXPECT_LT(packet.payload.size(), record.size());
  EXPECT_EQ(PacketBody(packet), record);

  // Short or incompressible payloads travel as they are.
  out.clear();
  ASSERT_TRUE(AppendCompressibleDataPacket(&out, {1, kCodeSelect}, 50, "abc"));
  EXPECT_EQ(OnlyPacket(out).header.flags, 0);
  EXPECT_FALSE(AppendCompressibleDataPacket(&out, {1, kCodeSelect}, 50, std::string(kMaxRawPayload + 1, 'y')));
}

TEST(RepliesTest, PacketBodyRefusesLiesAboutTheRawLength) {
  std::string out;
  ASSERT_TRUE(AppendCompressibleDataPacket(&out, {1, kCodeSelect}, 50, std::string(1000, 'z')));
  StoreAt<std::uint32_t>(&out, 20, 999);
  EXPECT_FALSE(PacketBody(OnlyPacket(out)));
  StoreAt<std::uint32_t>(&out, 20, kMaxRawPayload + 1);
  EXPECT_FALSE(PacketBody(OnlyPacket(out)));
  out.clear();
  AppendDataPacket(&out, {1, kCodeSelect}, 50, "plain");
  StoreAt<std::uint32_t>(&out, 20, 4);
  EXPECT_FALSE(PacketBody(OnlyPacket(out)));
}

TEST(RepliesTest, FixedBodiesDecodeOnlyAtTheirSize) {
  EXPECT_EQ(DecodeHostLoadBody(EncodeHostLoadBody({12, 34}))->capacity, 34u);
  EXPECT_FALSE(DecodeHostLoadBody(std::string(7, '\0')));
  const auto stamp = DecodeTimeStampBody(EncodeTimeStampBody({kTableKnown, 0x0102030405060708}));
  ASSERT_TRUE(stamp);
  EXPECT_EQ(stamp->stamp, 0x0102030405060708);
  EXPECT_FALSE(DecodeTimeStampBody(std::string(10, '\0')));
}

// Each result body decodes from exactly its encoder's bytes and from no byte
// more or less.
TEST(RepliesTest, ResultBodiesDecodeOnlyWhatTheirEncodersMake) {
  const std::string write = EncodeWriteResult({kResultOk, 0x01020304});
  const std::string stat = EncodeStatResult(kResultFailed, 5, "12345678");
  const std::string flush = EncodeFlushResult(-3);
  struct Case {
    const char* name;
    const std::string& body;
    std::function<bool(std::string_view)> decodes;
  };
  const Case cases[] = {
      {"write", write, [](std::string_view b) { return DecodeWriteResult(b).has_value(); }},
      {"statistics", stat, [](std::string_view b) { return DecodeStatResult(b).has_value(); }},
      {"flush", flush, [](std::string_view b) { return DecodeFlushResult(b).has_value(); }},
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(c.decodes(c.body)) << c.name;
    EXPECT_FALSE(c.decodes(std::string_view(c.body).substr(0, c.body.size() - 1))) << c.name;
    EXPECT_FALSE(c.decodes(c.body + "x")) << c.name;
  }
  EXPECT_EQ(DecodeWriteResult(write)->count, 0x01020304u);
  const auto value = DecodeStatResult(stat);
  EXPECT_EQ(value->status, kResultFailed);
  EXPECT_EQ(value->value_type, 5);
  EXPECT_EQ(value->value, "12345678");
  EXPECT_EQ(DecodeFlushResult(flush), -3);
  // The call reply's status byte is read signed; an empty reply has none.
  EXPECT_EQ(CallReplyStatus(EncodeCallReply(CallStatus::kTooLarge, {})), 4);
  EXPECT_EQ(CallReplyStatus(std::string(1, '\xfe')), -2);
  EXPECT_FALSE(CallReplyStatus(""));
  EXPECT_EQ(EncodeCallReply(CallStatus::kSuccess, "r"), std::string("\0r", 2));
}

}  // namespace
}  // namespace orbe::wire
