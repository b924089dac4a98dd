#include <gtest/gtest.h>

#include <array>
#include <string>

#include "dictionary/sql_parser.h"
#include "dictionary/sql_test_dictionary.h"

namespace orbe::sql {
namespace {

using sql_test::BytesAt;
using sql_test::ReadAt;
using sql_test::ReadBytes;

class SqlUpdateTest : public ::testing::Test {
 protected:
  bool Parse(const std::string& statement, std::size_t area_size = 64) {
    area_.fill(0xEE);
    return ParseUpdate(dictionary_.get(), statement, &request_, area_.data(), area_size);
  }
  int FieldCount() const { return ReadAt<std::uint8_t>(request_, 238); }
  int FieldAt(int i) const { return ReadAt<std::uint8_t>(request_, 38 + i); }
  std::uint32_t Used() const { return ReadAt<std::uint32_t>(request_, 545); }

  sql_test::TestDictionary dictionary_;
  cw_sqlupdate_req request_{};
  std::array<std::uint8_t, 64> area_{};
};

TEST_F(SqlUpdateTest, TextIsPaddedToTheFieldWidth) {
  ASSERT_TRUE(Parse("UPDATE 5 SET T002='abc'"));
  EXPECT_EQ(ReadAt<std::int32_t>(request_, 34), 5);
  EXPECT_EQ(FieldCount(), 1);
  EXPECT_EQ(FieldAt(0), 2);
  EXPECT_EQ(Used(), 10u);
  EXPECT_EQ(BytesAt(area_.data(), 0, 11), std::string("abc\0\0\0\0\0\0\0\xEE", 11));
  EXPECT_EQ(ReadAt<std::uint8_t>(request_, 544), 0);  // no WHERE: accepted

  ASSERT_TRUE(Parse("UPDATE 5 SET T002='abcdefghij'"));
  EXPECT_EQ(BytesAt(area_.data(), 0, 10), "abcdefghij");
  EXPECT_FALSE(Parse("UPDATE 5 SET T002='abcdefghijk'"));
  EXPECT_FALSE(Parse("UPDATE 5 SET T002='abc'", 9));  // the width does not fit
  EXPECT_FALSE(Parse("UPDATE 5 SET T002= 'abc'"));    // the value must start quoted
  EXPECT_FALSE(Parse("UPDATE 5 SET T002='abc"));
}

TEST_F(SqlUpdateTest, ValuesInStatementOrderWithConditions) {
  ASSERT_TRUE(Parse("UPDATE 5 SET T003=-9, T001='a,b' WHERE T003=1 AND T001='q'"));
  EXPECT_EQ(FieldCount(), 2);
  EXPECT_EQ(FieldAt(0), 3);
  EXPECT_EQ(FieldAt(1), 1);
  EXPECT_EQ(ReadBytes<std::int32_t>(area_.data(), 0), -9);
  EXPECT_EQ(BytesAt(area_.data(), 4, 4), std::string("a,b\0", 4));
  EXPECT_EQ(Used(), 14u);
  EXPECT_EQ(ReadAt<std::uint8_t>(request_, 544), 2);
  EXPECT_EQ(ReadAt<std::uint8_t>(request_, 239), 3);  // first condition's field

  // An unknown field is passed over; a quoted number is 0.
  ASSERT_TRUE(Parse("update 5 set T099=4,T003='12'"));
  EXPECT_EQ(FieldCount(), 1);
  EXPECT_EQ(ReadBytes<std::int32_t>(area_.data(), 0), 0);
}

TEST_F(SqlUpdateTest, NumberEncodings) {
  ASSERT_TRUE(Parse("UPDATE 100000013 SET T005=-2,T006=-3,T007=255,T008=0.5,T009=-1.25,T010=20240102"));
  EXPECT_EQ(FieldCount(), 6);
  EXPECT_EQ(ReadBytes<std::int16_t>(area_.data(), 0), -2);
  EXPECT_EQ(ReadBytes<std::int64_t>(area_.data(), 2), -3);
  EXPECT_EQ(ReadBytes<std::uint8_t>(area_.data(), 10), 255);
  EXPECT_EQ(ReadBytes<float>(area_.data(), 11), 0.5f);
  EXPECT_EQ(ReadBytes<double>(area_.data(), 15), -1.25);
  EXPECT_EQ(ReadBytes<std::int64_t>(area_.data(), 23), 20240102);
  EXPECT_EQ(Used(), 31u);
  // Numbers are checked against the space left too.
  EXPECT_FALSE(Parse("UPDATE 5 SET T003=7", 3));
  EXPECT_EQ(area_[0], 0xEE);
  EXPECT_TRUE(Parse("UPDATE 5 SET T003=7", 4));
}

TEST_F(SqlUpdateTest, LongTextsFollowTheFixedValues) {
  ASSERT_TRUE(Parse("UPDATE 100000013 SET T011='hello',T004=7"));
  EXPECT_EQ(FieldAt(0), 11);
  EXPECT_EQ(FieldAt(1), 4);
  EXPECT_EQ(ReadBytes<std::uint32_t>(area_.data(), 0), 8u);  // slot -> length word
  EXPECT_EQ(ReadBytes<std::int32_t>(area_.data(), 4), 7);
  EXPECT_EQ(ReadBytes<std::uint32_t>(area_.data(), 8), 5u);
  EXPECT_EQ(BytesAt(area_.data(), 12, 5), "hello");
  EXPECT_EQ(Used(), 17u);
  // The length word needs room as well as the text.
  EXPECT_FALSE(Parse("UPDATE 100000013 SET T011='hello',T004=7", 16));
  EXPECT_EQ(area_[16], 0xEE);
  EXPECT_TRUE(Parse("UPDATE 100000013 SET T011='hello',T004=7", 17));
}

TEST_F(SqlUpdateTest, Failures) {
  EXPECT_FALSE(Parse("MODIFY 5 SET T003=1"));
  EXPECT_FALSE(Parse("UPDATE 5 T003=1"));
  EXPECT_FALSE(Parse("UPDATE 5 SET   WHERE T003=1"));
  EXPECT_FALSE(Parse("UPDATE 424242 SET T003=1"));
  EXPECT_FALSE(Parse("UPDATE 5 SET T003"));
  EXPECT_FALSE(Parse("UPDATE 5 SET T003=,T001='a'"));
  EXPECT_FALSE(Parse("UPDATE 5 SET T099=1"));  // nothing listed
  EXPECT_FALSE(ParseUpdate(dictionary_.get(), "UPDATE 5 SET T003=1", &request_, nullptr, 64));
}

TEST_F(SqlUpdateTest, AtMostTwoHundredFields) {
  std::string set;
  for (int n = 1; n <= 200; ++n) set += (n > 1 ? "," : "") + std::string("T001=1");
  std::array<std::uint8_t, 1024> area{};
  ASSERT_TRUE(ParseUpdate(dictionary_.get(), "UPDATE 6 SET " + set, &request_, area.data(), area.size()));
  EXPECT_EQ(FieldCount(), 200);
  EXPECT_EQ(Used(), 800u);
  EXPECT_FALSE(ParseUpdate(dictionary_.get(), "UPDATE 6 SET " + set + ",T002=1", &request_, area.data(),
                           area.size()));
}

}  // namespace
}  // namespace orbe::sql
