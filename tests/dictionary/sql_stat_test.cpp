#include <gtest/gtest.h>

#include <string>

#include "dictionary/sql_parser.h"
#include "dictionary/sql_test_dictionary.h"

namespace orbe::sql {
namespace {

using sql_test::ReadAt;

class SqlStatTest : public ::testing::Test {
 protected:
  bool Parse(const std::string& statement) { return ParseStat(dictionary_.get(), statement, &request_); }
  int Type() const { return ReadAt<std::uint8_t>(request_, 6); }
  int Field() const { return ReadAt<std::uint8_t>(request_, 7); }
  int Distinct() const { return ReadAt<std::uint8_t>(request_, 314); }

  sql_test::TestDictionary dictionary_;
  cw_sqlstat_req request_{};
};

TEST_F(SqlStatTest, CountForms) {
  ASSERT_TRUE(Parse("SELECT COUNT(*) FROM 100000013"));
  EXPECT_EQ(ReadAt<std::int32_t>(request_, 2), 100000013);
  EXPECT_EQ(Type(), kStatCount);
  EXPECT_EQ(Field(), 0);
  EXPECT_EQ(Distinct(), 0);

  ASSERT_TRUE(Parse("SELECT COUNT(DISTINCT T007) FROM 100000013"));
  EXPECT_EQ(Field(), 7);
  EXPECT_EQ(Distinct(), 1);

  ASSERT_TRUE(Parse("select count( t004 ) from 100000013"));
  EXPECT_EQ(Field(), 4);
  EXPECT_EQ(Distinct(), 0);

  // DISTINCT after the ")" is not the function's.
  ASSERT_TRUE(Parse("SELECT COUNT(*) FROM 100000013 WHERE T001='DISTINCT'"));
  EXPECT_EQ(Distinct(), 0);
  EXPECT_EQ(ReadAt<std::uint8_t>(request_, 313), 1);
}

TEST_F(SqlStatTest, OtherFunctionsNeedAField) {
  ASSERT_TRUE(Parse("SELECT MAX(T004) FROM 100000013 WHERE T005>3"));
  EXPECT_EQ(Type(), kStatMax);
  EXPECT_EQ(Field(), 4);
  EXPECT_EQ(ReadAt<std::uint8_t>(request_, 313), 1);
  EXPECT_EQ(ReadAt<std::uint8_t>(request_, 8), 5);  // first condition's field
  EXPECT_EQ(ReadAt<std::int16_t>(request_, 8 + 11), 3);

  ASSERT_TRUE(Parse("SELECT MIN( t009) FROM 5"));
  EXPECT_EQ(Type(), kStatMin);
  EXPECT_EQ(Field(), 9);
  ASSERT_TRUE(Parse("SELECT AVG(T005) FROM 5"));
  EXPECT_EQ(Type(), kStatAvg);
  ASSERT_TRUE(Parse("select sum(T006) from 5"));
  EXPECT_EQ(Type(), kStatSum);

  EXPECT_FALSE(Parse("SELECT MAX(*) FROM 100000013"));
  EXPECT_FALSE(Parse("SELECT MEDIAN(T004) FROM 100000013"));
}

TEST_F(SqlStatTest, Failures) {
  EXPECT_FALSE(Parse("COUNT(*) FROM 5"));         // no SELECT
  EXPECT_FALSE(Parse("SELECT COUNT(*) 5"));       // no FROM
  EXPECT_FALSE(Parse("SELECT COUNT FROM 5"));     // no "("
  EXPECT_FALSE(Parse("SELECT COUNT(* FROM 5"));   // no ")"
  // COUNT is preferred wherever it stands, here without its "(".
  EXPECT_FALSE(Parse("SELECT MAX(T004) FROM 5 WHERE T001='COUNT'"));
  // The ")" must come within 256 characters of the "(".
  EXPECT_TRUE(Parse("SELECT COUNT(" + std::string(254, ' ') + ") FROM 5"));
  EXPECT_FALSE(Parse("SELECT COUNT(" + std::string(255, ' ') + ") FROM 5"));
}

TEST(SqlDeleteTest, TableAndConditions) {
  sql_test::TestDictionary dictionary;
  cw_sqldelete_req request{};
  ASSERT_TRUE(ParseDelete(dictionary.get(), "DELETE FROM 5 WHERE T001='x' AND T003<9", &request));
  EXPECT_EQ(ReadAt<std::int32_t>(request, 34), 5);
  EXPECT_EQ(ReadAt<std::uint8_t>(request, 343), 2);
  EXPECT_EQ(ReadAt<std::uint8_t>(request, 38), 1);
  EXPECT_EQ(ReadAt<std::uint8_t>(request, 38 + 61 + 1), kCompareLess);
  EXPECT_EQ(ReadAt<std::uint16_t>(request, 0), 0);  // request code is the sender's

  // Without WHERE every record goes; the statement is accepted.
  ASSERT_TRUE(ParseDelete(dictionary.get(), "delete from   6", &request));
  EXPECT_EQ(ReadAt<std::int32_t>(request, 34), 6);
  EXPECT_EQ(ReadAt<std::uint8_t>(request, 343), 0);

  EXPECT_FALSE(ParseDelete(dictionary.get(), "DELETE 5", &request));
  EXPECT_FALSE(ParseDelete(dictionary.get(), "REMOVE FROM 5", &request));
}

}  // namespace
}  // namespace orbe::sql
