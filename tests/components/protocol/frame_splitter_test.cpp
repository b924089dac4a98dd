#include "protocol/frame_splitter.h"

#include <gtest/gtest.h>

#include <string>

#include "protocol/byte_order.h"
#include "protocol/requests.h"
#include "protocol/replies.h"

namespace orbe::wire {
namespace {

std::string WithLength(std::string frame, std::uint32_t length) {
  StoreAt<std::uint32_t>(&frame, 6, length);
  return frame;
}

TEST(FrameSplitterTest, SplitsPipelinedFramesFedByteByByte) {
  const std::string stream = EncodeHostLoadRequest(1) + EncodeTableRequest(2, kCodeTableTimeStamp, 100000013) +
                             EncodeFileFetchRequest(3, std::string(32, 'A'), "tableinfo.idx.compress");
  RequestSplitter splitter;
  RequestFrame frame;
  std::vector<std::uint32_t> ids;
  std::vector<std::uint16_t> codes;
  for (const char byte : stream) {
    splitter.Append(&byte, 1);
    while (splitter.Next(&frame) == SplitResult::kFrame) {
      ids.push_back(frame.header.request_id);
      codes.push_back(frame.code);
    }
  }
  EXPECT_EQ(ids, (std::vector<std::uint32_t>{1, 2, 3}));
  EXPECT_EQ(codes, (std::vector<std::uint16_t>{kCodeHostLoad, kCodeTableTimeStamp, kCodeFileFetch}));
  EXPECT_EQ(splitter.Buffered(), 0u);
}

TEST(FrameSplitterTest, RefusesHeadersOutsideTheLimitsBeforeTheBodyArrives) {
  const std::string good = EncodeHostLoadRequest(9);
  RequestFrame frame;
  std::size_t consumed = 0;
  // A header alone announcing 4 GiB, or one byte over the limit, is refused at once.
  for (const std::uint32_t length : {0xFFFFFFFFu, kMaxRequestLength + 1, 15u, 0u}) {
    const std::string header = WithLength(good, length).substr(0, kRequestHeaderSize);
    EXPECT_EQ(DecodeRequestFrame(header, &frame, &consumed), SplitResult::kBad) << length;
  }
  EXPECT_EQ(DecodeRequestFrame(WithLength(good, kMaxRequestLength).substr(0, 14), &frame, &consumed),
            SplitResult::kNeedMore);
  std::string wrong_marker = good;
  wrong_marker[4] = 'X';
  EXPECT_EQ(DecodeRequestFrame(wrong_marker, &frame, &consumed), SplitResult::kBad);
  std::string wrong_version = good;
  wrong_version[5] = 2;
  EXPECT_EQ(DecodeRequestFrame(wrong_version, &frame, &consumed), SplitResult::kBad);
  EXPECT_EQ(DecodeRequestFrame(good.substr(0, 15), &frame, &consumed), SplitResult::kNeedMore);
}

TEST(FrameSplitterTest, BadStreamStaysBadAndEarlierFramesSurvive) {
  RequestSplitter splitter;
  const std::string stream = EncodeHostLoadRequest(1) + std::string(20, '\xff') + EncodeHostLoadRequest(2);
  splitter.Append(stream.data(), stream.size());
  RequestFrame frame;
  ASSERT_EQ(splitter.Next(&frame), SplitResult::kFrame);
  EXPECT_EQ(+frame.header.request_id, 1u);
  EXPECT_EQ(splitter.Next(&frame), SplitResult::kBad);
  splitter.Append(stream.data(), stream.size());
  EXPECT_EQ(splitter.Next(&frame), SplitResult::kBad);
}

TEST(FrameSplitterTest, ReplyPacketsAreCheckedAndSplit) {
  std::string stream;
  AppendDataPacket(&stream, {5, kCodeHostLoad}, 100, EncodeHostLoadBody({1, 3000}));
  AppendEndPacket(&stream, {5, kCodeHostLoad}, kStatusComplete);
  ReplySplitter splitter;
  splitter.Append(stream.data(), stream.size() - 1);
  ReplyPacket packet;
  ASSERT_EQ(splitter.Next(&packet), SplitResult::kFrame);
  EXPECT_EQ(+packet.header.kind, kPacketData);
  EXPECT_EQ(packet.payload.size(), 8u);
  EXPECT_EQ(splitter.Next(&packet), SplitResult::kNeedMore);
  splitter.Append(stream.data() + stream.size() - 1, 1);
  ASSERT_EQ(splitter.Next(&packet), SplitResult::kFrame);
  EXPECT_EQ(+packet.header.kind, kPacketEnd);
  EXPECT_EQ(+packet.header.status, kStatusComplete);

  // An end packet with a payload, an unknown kind or unknown flags is a framing error.
  ReplyHeader header{};
  header.kind = kPacketEnd;
  header.total_length = 25;
  EXPECT_FALSE(ValidReplyHeader(header));
  header.total_length = 24;
  EXPECT_TRUE(ValidReplyHeader(header));
  header.kind = 3;
  EXPECT_FALSE(ValidReplyHeader(header));
  header.kind = kPacketData;
  header.flags = 0x01;
  EXPECT_FALSE(ValidReplyHeader(header));
  header.flags = kFlagZlib;
  header.total_length = kMaxReplyLength + 1;
  EXPECT_FALSE(ValidReplyHeader(header));
}

}  // namespace
}  // namespace orbe::wire
