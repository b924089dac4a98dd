#include <gtest/gtest.h>

#include <string>

#include "dictionary/sql_parser.h"
#include "dictionary/sql_test_dictionary.h"
#include "orbe/platform/text.h"

namespace orbe::sql {
namespace {

using sql_test::RecordBytes;
using sql_test::ReadAt;

constexpr std::size_t kConditions = 270;
constexpr std::size_t kConditionSize = 61;

class SqlSelectTest : public ::testing::Test {
 protected:
  bool Parse(const std::string& statement) { return ParseSelect(dictionary_.get(), statement, &request_); }
  std::uint8_t FieldAt(int i) const { return ReadAt<std::uint8_t>(request_, 69 + i); }
  std::uint8_t FieldCount() const { return ReadAt<std::uint8_t>(request_, 269); }

  sql_test::TestDictionary dictionary_;
  cw_command_req request_{};
};

TEST_F(SqlSelectTest, TwoConditionsAndDescendingOrder) {
  ASSERT_TRUE(Parse("SELECT T001,T002 FROM 100000013 WHERE T003='ABC' AND T004>=100 ORDER BY T004 DESC"));
  EXPECT_EQ(ReadAt<std::int32_t>(request_, 65), 100000013);
  EXPECT_EQ(FieldCount(), 2);
  EXPECT_EQ(FieldAt(0), 1);
  EXPECT_EQ(FieldAt(1), 2);
  EXPECT_EQ(ReadAt<std::uint8_t>(request_, 62), 4);  // order field
  EXPECT_EQ(ReadAt<std::uint8_t>(request_, 63), 1);  // descending
  EXPECT_EQ(ReadAt<std::int32_t>(request_, 56), 0);
  EXPECT_EQ(ReadAt<std::uint16_t>(request_, 60), 0);
  EXPECT_EQ(ReadAt<std::uint8_t>(request_, 575), 2);

  const std::size_t first = kConditions;
  EXPECT_EQ(ReadAt<std::uint8_t>(request_, first + 0), 3);
  EXPECT_EQ(ReadAt<std::uint8_t>(request_, first + 1), kCompareEqual);
  EXPECT_EQ(ReadAt<std::uint8_t>(request_, first + 2), 1);  // constant-code field
  EXPECT_EQ(ReadAt<std::uint32_t>(request_, first + 3), 12u);
  EXPECT_EQ(ReadAt<std::uint32_t>(request_, first + 7), 20u);
  EXPECT_EQ(RecordBytes(request_, first + 11, 4), std::string("ABC\0", 4));

  // The last condition's text runs on into ORDER BY; its number ignores that.
  const std::size_t second = kConditions + kConditionSize;
  EXPECT_EQ(ReadAt<std::uint8_t>(request_, second + 0), 4);
  EXPECT_EQ(ReadAt<std::uint8_t>(request_, second + 1), kCompareGreaterEqual);
  EXPECT_EQ(ReadAt<std::uint8_t>(request_, second + 2), 4);
  EXPECT_EQ(ReadAt<std::uint32_t>(request_, second + 3), 4u);
  EXPECT_EQ(ReadAt<std::uint32_t>(request_, second + 7), 32u);
  EXPECT_EQ(ReadAt<std::int32_t>(request_, second + 11), 100);
}

TEST_F(SqlSelectTest, KeywordsInOneCaseOnly) {
  ASSERT_TRUE(Parse("select t001 from 100000013 where t004<5 order by t005 desc"));
  EXPECT_EQ(FieldAt(0), 1);
  EXPECT_EQ(ReadAt<std::uint8_t>(request_, 62), 5);
  EXPECT_EQ(ReadAt<std::uint8_t>(request_, 63), 1);
  EXPECT_EQ(ReadAt<std::uint8_t>(request_, kConditions + 1), kCompareLess);

  ASSERT_TRUE(Parse("SELECT T001 FROM 100000013 ORDER BY T004 ASC"));
  EXPECT_EQ(ReadAt<std::uint8_t>(request_, 62), 4);
  EXPECT_EQ(ReadAt<std::uint8_t>(request_, 63), 0);

  EXPECT_FALSE(Parse("Select T001 From 100000013"));
  EXPECT_FALSE(Parse("SELECT T001 100000013"));
  EXPECT_FALSE(Parse("T001 FROM 100000013"));
}

TEST_F(SqlSelectTest, PagingBeforeTheFieldList) {
  ASSERT_TRUE(Parse("SELECT PAGE 3 T001 FROM 100000013"));
  EXPECT_EQ(ReadAt<std::int32_t>(request_, 56), 3);
  EXPECT_EQ(ReadAt<std::uint16_t>(request_, 60), 100);
  EXPECT_EQ(FieldCount(), 1);
  EXPECT_EQ(FieldAt(0), 1);

  ASSERT_TRUE(Parse("SELECT PAGE 2 PAGEFRAME 50 T001,T002 FROM 100000013"));
  EXPECT_EQ(ReadAt<std::int32_t>(request_, 56), 2);
  EXPECT_EQ(ReadAt<std::uint16_t>(request_, 60), 50);
  EXPECT_EQ(FieldCount(), 2);
  EXPECT_EQ(FieldAt(1), 2);

  // PAGEFRAME counts only after PAGE.
  ASSERT_TRUE(Parse("SELECT T001 FROM 100000013"));
  EXPECT_EQ(ReadAt<std::int32_t>(request_, 56), 0);
  EXPECT_EQ(ReadAt<std::uint16_t>(request_, 60), 0);
}

TEST_F(SqlSelectTest, StarSelectsEveryFieldInRecordOrder) {
  ASSERT_TRUE(Parse("SELECT * FROM 100000013"));
  ASSERT_EQ(FieldCount(), 12);
  for (int i = 0; i < 12; ++i) EXPECT_EQ(FieldAt(i), i + 1);

  ASSERT_TRUE(Parse("SELECT * FROM 9"));  // 250 fields: the first 200
  ASSERT_EQ(FieldCount(), 200);
  EXPECT_EQ(FieldAt(199), 200);

  EXPECT_FALSE(Parse("SELECT * FROM 424242"));
}

TEST_F(SqlSelectTest, FieldNamesMustMatchTheGeneratedName) {
  ASSERT_TRUE(Parse("SELECT t005 , T 0 0 6 FROM 100000013"));  // blanks inside tokens are dropped
  EXPECT_EQ(FieldAt(0), 5);
  EXPECT_EQ(FieldAt(1), 6);
  EXPECT_FALSE(Parse("SELECT T5 FROM 100000013"));
  EXPECT_FALSE(Parse("SELECT T001,T099 FROM 100000013"));
  EXPECT_FALSE(Parse("SELECT T001,,T002 FROM 100000013"));
  EXPECT_FALSE(Parse("SELECT T001 FROM 424242"));

  // The identifier is the low byte of the field number.
  ASSERT_TRUE(Parse("SELECT T300,T130 FROM 8"));
  EXPECT_EQ(FieldAt(0), 44);
  EXPECT_EQ(FieldAt(1), 130);
}

TEST_F(SqlSelectTest, DistinctMarksItsField) {
  ASSERT_TRUE(Parse("SELECT T001,DISTINCT T004 FROM 100000013"));
  EXPECT_EQ(FieldCount(), 2);
  EXPECT_EQ(FieldAt(1), 4);
  EXPECT_EQ(ReadAt<std::uint8_t>(request_, 64), 4);

  ASSERT_TRUE(Parse("select distinct t002, t003 from 100000013"));
  EXPECT_EQ(ReadAt<std::uint8_t>(request_, 64), 2);
}

TEST_F(SqlSelectTest, ListLimits) {
  std::string list;
  for (int n = 1; n <= 201; ++n) list += (n > 1 ? "," : "") + Format("T%03d", n);
  // 200 fields then a last one that no longer fits: it is ignored.
  ASSERT_TRUE(Parse("SELECT " + list + " FROM 9"));
  EXPECT_EQ(FieldCount(), 200);
  EXPECT_EQ(FieldAt(199), 200);
  // A 201st field followed by a comma fails.
  EXPECT_FALSE(Parse("SELECT " + list + ",T202 FROM 9"));

  // A 59-character token ends the scan; what came before it stands.
  const std::string long_token(59, 'X');
  ASSERT_TRUE(Parse("SELECT T001," + long_token + ",T002 FROM 100000013"));
  EXPECT_EQ(FieldCount(), 1);
  EXPECT_FALSE(Parse("SELECT T001," + std::string(58, 'X') + ",T002 FROM 100000013"));
}

}  // namespace
}  // namespace orbe::sql
