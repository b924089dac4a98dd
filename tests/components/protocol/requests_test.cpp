#include "protocol/requests.h"

#include <gtest/gtest.h>

#include "protocol/byte_order.h"
#include "protocol/frame_splitter.h"

namespace orbe::wire {
namespace {

TEST(RequestsTest, HostLoadFrameMatchesTheDocumentedBytes) {
  const std::string frame = EncodeHostLoadRequest(7);
  const std::string expected("\x07\x00\x00\x00\x4F\x01\x10\x00\x00\x00\x00\x00\x00\x00\x98\x08", 16);
  EXPECT_EQ(frame, expected);
}

TEST(RequestsTest, FileFetchLayoutAndDecoding) {
  const std::string digest(32, 'C');
  const std::string frame = EncodeFileFetchRequest(1, digest, "fieldinfo.idx.compress");
  ASSERT_EQ(frame.size(), 22u + 52u);  // name length + 52, as the module sizes it
  const std::string_view body = std::string_view(frame).substr(kRequestHeaderSize);
  EXPECT_EQ(body.substr(2, 32), digest);
  EXPECT_EQ(LoadAt<std::uint32_t>(body, 34), 22u);
  const auto request = DecodeFileFetchRequest(body);
  ASSERT_TRUE(request);
  EXPECT_EQ(request->name, "fieldinfo.idx.compress");
  EXPECT_EQ(request->digest, digest);

  // A digest of the wrong size travels as zeros; names of 0 or 256 bytes are not encoded.
  EXPECT_EQ(DecodeFileFetchRequest(std::string_view(EncodeFileFetchRequest(1, "abc", "x")).substr(14))->digest,
            std::string(32, '\0'));
  EXPECT_TRUE(EncodeFileFetchRequest(1, digest, "").empty());
  EXPECT_TRUE(EncodeFileFetchRequest(1, digest, std::string(256, 'n')).empty());
  EXPECT_FALSE(EncodeFileFetchRequest(1, digest, std::string(255, 'n')).empty());
}

TEST(RequestsTest, FileFetchDecoderBoundsEveryLength) {
  std::string body = std::string(EncodeFileFetchRequest(1, std::string(32, 'D'), "abc")).substr(14);
  EXPECT_FALSE(DecodeFileFetchRequest(body.substr(0, body.size() - 1)));  // name cut short
  EXPECT_FALSE(DecodeFileFetchRequest(body.substr(0, 37)));               // no room for the length
  StoreAt<std::uint32_t>(&body, 34, 0xFFFFFFFFu);
  EXPECT_FALSE(DecodeFileFetchRequest(body));
  StoreAt<std::uint32_t>(&body, 34, 0);
  EXPECT_FALSE(DecodeFileFetchRequest(body));
}

TEST(RequestsTest, TableRequestsAndPlainNames) {
  const std::string frame = EncodeTableRequest(3, kCodeTableTimeStamp, -5);
  EXPECT_EQ(frame.size(), 20u);
  EXPECT_EQ(DecodeTableRequest(std::string_view(frame).substr(14)), -5);
  EXPECT_FALSE(DecodeTableRequest(std::string_view(frame).substr(14, 5)));

  for (const char* bad : {"", ".", "..", "a/b", "..\\x", "/etc"}) EXPECT_FALSE(IsPlainFileName(bad)) << bad;
  EXPECT_FALSE(IsPlainFileName(std::string_view("a\0b", 3)));
  EXPECT_TRUE(IsPlainFileName("..compress"));
  EXPECT_TRUE(IsPlainFileName("constinfo.idx"));
}

TEST(RequestsTest, StampingAModuleBuiltHeader) {
  unsigned char header[14] = {};
  header[6] = 20;  // only the length set, as the module leaves it
  EXPECT_TRUE(StampRequestHeader(header, 0x01020304));
  RequestHeader fields;
  std::memcpy(&fields, header, sizeof(fields));
  EXPECT_TRUE(ValidRequestHeader(fields));
  EXPECT_EQ(+fields.request_id, 0x01020304u);
  header[6] = 15;
  EXPECT_FALSE(StampRequestHeader(header, 1));
}

}  // namespace
}  // namespace orbe::wire
