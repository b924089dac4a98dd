// Single-record replies and the read position of call replies.
#include "dataservice/reply_results.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

template <typename T>
std::string Bytes(T value) {
  std::string bytes(sizeof(T), '\0');
  std::memcpy(bytes.data(), &value, sizeof(T));
  return bytes;
}

std::string StatRecord(std::uint8_t status, std::uint16_t type, const std::string& value) {
  return orbe::wire::EncodeStatResult(status, type, value);
}

TEST(ReplyResultsTest, ChangeCounts) {
  const orbe::ChangeResult done = orbe::ParseChangeResult(orbe::wire::EncodeWriteResult({0, 42}));
  EXPECT_EQ(done.status, 0);
  EXPECT_EQ(done.count, 42);
  const orbe::ChangeResult bare = orbe::ParseChangeResult(std::string(1, '\1'));
  EXPECT_EQ(bare.status, 1);
  EXPECT_EQ(bare.count, -1);
  const orbe::ChangeResult none = orbe::ParseChangeResult({});
  EXPECT_EQ(none.status, orbe::kResultFailed);
  EXPECT_EQ(none.count, -1);
}

TEST(ReplyResultsTest, StatisticsNeedTheExactLength) {
  // The result views the record, which must outlive it.
  const std::string countRecord = StatRecord(0, 4, Bytes<std::int32_t>(-17));
  const std::string bigRecord = StatRecord(0, 5, Bytes<std::int64_t>(0x100000002LL));
  const std::string averageRecord = StatRecord(0, 8, Bytes<double>(2.5));
  const std::string oddRecord = StatRecord(0, 4, "abc");
  const auto count = orbe::ParseStatResult(countRecord);
  ASSERT_TRUE(count);
  EXPECT_EQ(orbe::StatAsInt64(*count), -17);
  EXPECT_EQ(orbe::StatAsDouble(*count), -17.0);
  EXPECT_EQ(orbe::StatAsText(*count), "-17");
  const auto big = orbe::ParseStatResult(bigRecord);
  ASSERT_TRUE(big);
  EXPECT_EQ(static_cast<std::int32_t>(*orbe::StatAsInt64(*big)), 2);  // the int reader keeps the low half
  EXPECT_EQ(orbe::StatAsText(*big), "4294967298");
  const auto average = orbe::ParseStatResult(averageRecord);
  ASSERT_TRUE(average);
  EXPECT_EQ(orbe::StatAsDouble(*average), 2.5);
  EXPECT_EQ(orbe::StatAsInt64(*average), 2);  // converted, not the bit pattern
  EXPECT_EQ(orbe::StatAsText(*average), "2.500");
  std::string longer = StatRecord(0, 4, Bytes<std::int32_t>(1)) + "x";
  EXPECT_FALSE(orbe::ParseStatResult(longer));
  EXPECT_FALSE(orbe::ParseStatResult(longer.substr(0, 6)));
  const auto odd = orbe::ParseStatResult(oddRecord);
  ASSERT_TRUE(odd);
  EXPECT_FALSE(orbe::StatAsInt64(*odd));
}

TEST(ReplyResultsTest, StampAndFlush) {
  EXPECT_EQ(orbe::ParseIncreasedStamp(orbe::wire::EncodeTimeStampBody({0, 20240105093001})), 20240105093001);
  EXPECT_EQ(orbe::ParseIncreasedStamp(std::string(8, '\0')), -1);
  EXPECT_EQ(orbe::ParseFlushResult(std::string(1, '\0')), 0);
  EXPECT_EQ(orbe::ParseFlushResult(std::string(1, '\xff')), -1);
  EXPECT_EQ(orbe::ParseFlushResult(std::string(2, '\0')), 1);
}

TEST(ReplyResultsTest, CursorPopsAndBounds) {
  const std::string reply = orbe::wire::EncodeCallReply(orbe::wire::CallStatus::kSuccess,
                                                        Bytes<std::int16_t>(-3) + Bytes<std::int32_t>(77) +
                                                            Bytes<std::int64_t>(-8) + Bytes<float>(0.5f) +
                                                            Bytes<double>(1.25) + std::string("ab\0cd", 5));
  orbe::ReplyCursor cursor;
  cursor.Reset(reply);
  EXPECT_EQ(cursor.Status(), 0);
  EXPECT_EQ(cursor.Position(), 1);
  EXPECT_EQ(cursor.LengthMinusOne(), static_cast<int>(reply.size()) - 1);
  EXPECT_EQ(cursor.Pop<std::int16_t>(), -3);
  EXPECT_EQ(cursor.Pop<std::int32_t>(), 77);
  EXPECT_EQ(cursor.Pop<std::int64_t>(), -8);
  EXPECT_EQ(cursor.Pop<float>(), 0.5f);
  EXPECT_EQ(cursor.Pop<double>(), 1.25);
  EXPECT_EQ(cursor.PopText(5), "ab");  // up to the first NUL, all five bytes consumed
  const int end = cursor.Position();
  EXPECT_FALSE(cursor.Pop<signed char>());
  EXPECT_EQ(cursor.Position(), end);
  EXPECT_FALSE(cursor.Seek(0));
  EXPECT_TRUE(cursor.Seek(1));
  EXPECT_TRUE(cursor.Seek(static_cast<int>(reply.size()) - 3));
  EXPECT_FALSE(cursor.Seek(static_cast<int>(reply.size()) - 2));
  EXPECT_FALSE(cursor.PopText(4));  // only three bytes remain
  EXPECT_EQ(cursor.PopText(3), "");  // they are NULs
  EXPECT_FALSE(cursor.PopText(-1));
  EXPECT_FALSE(cursor.PopText(orbe::ReplyCursor::kMaxTextPop + 1));
  cursor.Reset({});
  EXPECT_EQ(cursor.Status(), 1);
  EXPECT_FALSE(cursor.Seek(1));
  EXPECT_FALSE(cursor.Pop<signed char>());
}

}  // namespace
