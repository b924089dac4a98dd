#include "protocol/replies.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace orbe::wire
