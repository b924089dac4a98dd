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

class SqlInsertTest : public ::testing::Test {
 protected:
  bool Parse(const std::string& statement, std::size_t area_size = 64) {
    area_.fill(0xEE);
    return ParseInsert(dictionary_.get(), statement, &request_, area_.data(), area_size);
  }
  int FieldCount() const { return ReadAt<std::uint8_t>(request_, 238); }
  int FieldAt(int i) const { return ReadAt<std::uint8_t>(request_, 38 + i); }
  std::uint32_t Used() const { return ReadAt<std::uint32_t>(request_, 240); }

  sql_test::TestDictionary dictionary_;
  cw_sqlinsert_req request_{};
  std::array<std::uint8_t, 64> area_{};
};

TEST_F(SqlInsertTest, ValuesOnlyBindFieldsByPosition) {
  ASSERT_TRUE(Parse("INSERT INTO 5 VALUES ('a','b')"));
  EXPECT_EQ(ReadAt<std::int32_t>(request_, 34), 5);
  EXPECT_EQ(ReadAt<std::uint8_t>(request_, 239), 0);  // no BACK
  EXPECT_EQ(FieldCount(), 2);
  EXPECT_EQ(FieldAt(0), 1);
  EXPECT_EQ(FieldAt(1), 2);
  EXPECT_EQ(BytesAt(area_.data(), 0, 20), std::string("a\0\0\0\0\0\0\0\0\0b\0\0\0\0\0\0\0\0\0", 20));
  EXPECT_EQ(Used(), 20u);

  EXPECT_FALSE(Parse("INSERT INTO 5 VALUES ('a','b',1,2)"));  // more values than fields
  EXPECT_FALSE(Parse("INSERT INTO 5 VALUES ()"));             // no value
  EXPECT_FALSE(Parse("INSERT INTO 5 VALUES 'a'"));
  // Quotes are not special here: 'a,b' is two items.
  EXPECT_FALSE(Parse("INSERT INTO 5 VALUES ('a,b')"));
}

TEST_F(SqlInsertTest, TheKeyFieldMustBeGiven) {
  EXPECT_FALSE(Parse("INSERT INTO 7 VALUES (1,2)"));
  ASSERT_TRUE(Parse("INSERT INTO 7 VALUES (1,2,3)"));
  EXPECT_EQ(FieldCount(), 3);
  ASSERT_TRUE(Parse("INSERT INTO 7 (T003) VALUES (9)"));
  EXPECT_EQ(FieldCount(), 1);
  EXPECT_EQ(FieldAt(0), 3);
  EXPECT_EQ(ReadBytes<std::int32_t>(area_.data(), 0), 9);
  // A key column without a value does not count.
  EXPECT_FALSE(Parse("INSERT INTO 7 (T001,T003) VALUES (1)"));
}

TEST_F(SqlInsertTest, ColumnsAndValues) {
  // The blank after the comma makes the second column field 0, which is skipped.
  ASSERT_TRUE(Parse("INSERT INTO 6 (T001, T002) VALUES (1,2)"));
  EXPECT_EQ(FieldCount(), 1);
  EXPECT_EQ(FieldAt(0), 1);
  EXPECT_EQ(Used(), 4u);

  // Written in ascending field order; a field given twice keeps its last value.
  ASSERT_TRUE(Parse("insert into 6 (T002,T001,T002) values (5,6,7)"));
  EXPECT_EQ(FieldCount(), 2);
  EXPECT_EQ(FieldAt(0), 1);
  EXPECT_EQ(ReadBytes<std::int32_t>(area_.data(), 0), 6);
  EXPECT_EQ(ReadBytes<std::int32_t>(area_.data(), 4), 7);

  // Quoted values may hold commas and parentheses.
  ASSERT_TRUE(Parse("INSERT INTO 5 (T001,T002) VALUES ('a,b','c)')"));
  EXPECT_EQ(BytesAt(area_.data(), 0, 4), std::string("a,b\0", 4));
  EXPECT_EQ(BytesAt(area_.data(), 10, 3), std::string("c)\0", 3));

  // Fields 128-255 are bound like any other; T300 travels as identifier 44.
  ASSERT_TRUE(Parse("INSERT INTO 8 (T300,T130,T001) VALUES (3,-2,1)"));
  EXPECT_EQ(FieldCount(), 3);
  EXPECT_EQ(FieldAt(0), 1);
  EXPECT_EQ(FieldAt(1), 130);
  EXPECT_EQ(FieldAt(2), 44);
  EXPECT_EQ(ReadBytes<std::int32_t>(area_.data(), 0), 1);
  EXPECT_EQ(ReadBytes<std::int16_t>(area_.data(), 4), -2);
  EXPECT_EQ(ReadBytes<std::int32_t>(area_.data(), 6), 3);

  EXPECT_FALSE(Parse("INSERT INTO 6 T001 VALUES (1)"));
  EXPECT_FALSE(Parse("INSERT INTO 6 (T001) VALUES 1"));
  EXPECT_FALSE(Parse("INSERT INTO 6 (T001) (1)"));
}

TEST_F(SqlInsertTest, BackFlagAndLongTexts) {
  ASSERT_TRUE(Parse("INSERT BACK INTO 100000013 (T011,T004) VALUES ('hi',3)"));
  EXPECT_EQ(ReadAt<std::uint8_t>(request_, 239), 1);
  EXPECT_EQ(FieldAt(0), 4);
  EXPECT_EQ(FieldAt(1), 11);
  EXPECT_EQ(ReadBytes<std::int32_t>(area_.data(), 0), 3);
  EXPECT_EQ(ReadBytes<std::uint32_t>(area_.data(), 4), 8u);
  EXPECT_EQ(ReadBytes<std::uint32_t>(area_.data(), 8), 2u);
  EXPECT_EQ(BytesAt(area_.data(), 12, 2), "hi");
  EXPECT_EQ(Used(), 14u);
  EXPECT_FALSE(Parse("INSERT BACK INTO 100000013 (T011,T004) VALUES ('hi',3)", 13));
  EXPECT_EQ(area_[13], 0xEE);

  // BACK counts only before INTO.
  ASSERT_TRUE(Parse("insert into 5 values ('BACK')"));
  EXPECT_EQ(ReadAt<std::uint8_t>(request_, 239), 0);
  ASSERT_TRUE(Parse("insert back into 5 values ('a')"));
  EXPECT_EQ(ReadAt<std::uint8_t>(request_, 239), 1);
}

TEST_F(SqlInsertTest, Failures) {
  EXPECT_FALSE(Parse("INTO 5 VALUES ('a')"));
  EXPECT_FALSE(Parse("INSERT 5 VALUES ('a')"));
  EXPECT_FALSE(Parse("INSERT INTO 424242 VALUES (1)"));
  EXPECT_FALSE(Parse("INSERT INTO 5 VALUES ('a')", 9));  // the width does not fit
  EXPECT_FALSE(Parse("INSERT INTO 6 VALUES (1,2)", 7));  // nor does the second number
  EXPECT_EQ(ReadBytes<std::int32_t>(area_.data(), 4), static_cast<std::int32_t>(0xEEEEEEEE));
  EXPECT_FALSE(Parse("INSERT INTO 8 (T099) VALUES (1)"));  // nothing written
  EXPECT_FALSE(ParseInsert(dictionary_.get(), "INSERT INTO 6 VALUES (1)", &request_, nullptr, 64));
}

}  // namespace
}  // namespace orbe::sql
