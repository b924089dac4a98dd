#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>

#include "dictionary/sql_parser.h"
#include "dictionary/sql_test_dictionary.h"

namespace orbe::sql {
namespace {

using sql_test::RecordBytes;
using sql_test::ReadAt;

bool IsAllZero(const tagSigCond& condition) {
  const tagSigCond zero{};
  return std::memcmp(&condition, &zero, sizeof zero) == 0;
}

class SqlConditionTest : public ::testing::Test {
 protected:
  // Parses into slot 1 of a table-100000013 condition array.
  bool Parse(std::string_view text) {
    std::memset(conditions_, 0xAA, sizeof conditions_);
    return ParseCondition(dictionary_.get(), conditions_, 1, 100000013, text);
  }
  const tagSigCond& slot() const { return conditions_[1]; }

  sql_test::TestDictionary dictionary_;
  tagSigCond conditions_[5];
};

TEST_F(SqlConditionTest, OperatorsInSearchOrder) {
  struct Case {
    const char* text;
    int code;
    std::size_t after;
  };
  // The first operator of the search order wins wherever it stands.
  const std::array<Case, 10> cases{{{"T1~=(x)", 8, 5},
                                    {"T1>=2", 3, 4},
                                    {"T1<=2", 4, 4},
                                    {"T1!=2", 5, 4},
                                    {"T1~=2", 6, 4},
                                    {"T1=(2)", 7, 4},
                                    {"T1>2", 1, 3},
                                    {"T1<2", 2, 3},
                                    {"T1=2", 0, 3},
                                    {"T2='a>b'", 1, 6}}};
  for (const Case& c : cases) {
    int code = -1;
    EXPECT_EQ(FindCompare(c.text, &code), c.after) << c.text;
    EXPECT_EQ(code, c.code) << c.text;
  }
  int code = 42;
  EXPECT_EQ(FindCompare("T001 LIKE 5", &code), kNotFound);
  EXPECT_EQ(code, 42);
}

TEST_F(SqlConditionTest, StringValuesNeedAQuoteRightAfterTheOperator) {
  ASSERT_TRUE(Parse("  T003='ABC'"));
  EXPECT_EQ(ReadAt<std::uint8_t>(slot(), 0), 3);
  EXPECT_EQ(RecordBytes(slot(), 11, 4), std::string("ABC\0", 4));

  EXPECT_FALSE(Parse("T003 = 'ABC'"));
  EXPECT_TRUE(IsAllZero(slot()));
  // Split at ">" before "=" is looked for: the value b' has no opening quote.
  EXPECT_FALSE(Parse("T002='a>b'"));
  EXPECT_TRUE(IsAllZero(slot()));
  // On a number field the same text is a ">" comparison of field 4.
  ASSERT_TRUE(Parse("T004='a>b'"));
  EXPECT_EQ(ReadAt<std::uint8_t>(slot(), 0), 4);
  EXPECT_EQ(ReadAt<std::uint8_t>(slot(), 1), kCompareGreater);

  // No closing quote: stored with an empty value.
  ASSERT_TRUE(Parse("T001='open"));
  EXPECT_EQ(RecordBytes(slot(), 11, 50), std::string(50, '\0'));

  // 50 bytes at most, not terminated then.
  ASSERT_TRUE(Parse("T001='" + std::string(49, 'x') + "yz'"));
  EXPECT_EQ(RecordBytes(slot(), 11, 50), std::string(49, 'x') + "y");
}

TEST_F(SqlConditionTest, ValuesEncodedByFieldType) {
  ASSERT_TRUE(Parse("T005=-7"));
  EXPECT_EQ(ReadAt<std::uint8_t>(slot(), 2), 3);
  EXPECT_EQ(ReadAt<std::uint32_t>(slot(), 3), 2u);
  EXPECT_EQ(ReadAt<std::uint32_t>(slot(), 7), 36u);
  EXPECT_EQ(ReadAt<std::int16_t>(slot(), 11), -7);
  EXPECT_EQ(ReadAt<std::uint8_t>(slot(), 13), 0);

  ASSERT_TRUE(Parse("T006=1234567890123 ORDER BY T001"));
  EXPECT_EQ(ReadAt<std::int64_t>(slot(), 11), 1234567890123);
  ASSERT_TRUE(Parse("T010=99999999999999999999999"));  // saturates, like _atoi64
  EXPECT_EQ(ReadAt<std::int64_t>(slot(), 11), INT64_MAX);
  ASSERT_TRUE(Parse("T007=300"));
  EXPECT_EQ(ReadAt<std::uint8_t>(slot(), 11), 44);
  ASSERT_TRUE(Parse("T008=1.5"));
  EXPECT_EQ(ReadAt<float>(slot(), 11), 1.5f);
  ASSERT_TRUE(Parse("T009= 2.25xyz"));
  EXPECT_EQ(ReadAt<double>(slot(), 11), 2.25);
  ASSERT_TRUE(Parse("T012=abc"));
  EXPECT_EQ(ReadAt<std::int32_t>(slot(), 11), 0);

  // A quoted number travels as text with value type 2.
  ASSERT_TRUE(Parse("T004='12'"));
  EXPECT_EQ(ReadAt<std::uint8_t>(slot(), 2), 2);
  EXPECT_EQ(RecordBytes(slot(), 11, 3), std::string("12\0", 3));
  ASSERT_TRUE(Parse("T010='20240102'"));
  EXPECT_EQ(ReadAt<std::uint8_t>(slot(), 2), 2);

  // A long-text field carries no value but the condition stands.
  ASSERT_TRUE(Parse("T011='anything'"));
  EXPECT_EQ(ReadAt<std::uint8_t>(slot(), 2), 11);
  EXPECT_EQ(RecordBytes(slot(), 11, 50), std::string(50, '\0'));
}

TEST_F(SqlConditionTest, ListValuesRunToTheParenthesis) {
  ASSERT_TRUE(Parse("T003=('A','B') ORDER BY T001"));
  EXPECT_EQ(ReadAt<std::uint8_t>(slot(), 1), kCompareInList);
  EXPECT_EQ(RecordBytes(slot(), 11, 8), std::string("'A','B'\0", 8));
  ASSERT_TRUE(Parse("T004~=(1,2"));
  EXPECT_EQ(ReadAt<std::uint8_t>(slot(), 1), kCompareLikeList);
  EXPECT_EQ(RecordBytes(slot(), 11, 50), std::string(50, '\0'));
  // A list of exactly the value's 50 bytes fills it; a longer one would be
  // cut inside an item, so the condition fails.
  const std::string fifty = "1000001,1000002,1000003,1000004,1000005,1000006,12";
  ASSERT_EQ(fifty.size(), 50u);
  ASSERT_TRUE(Parse("T004=(" + fifty + ")"));
  EXPECT_EQ(RecordBytes(slot(), 11, 50), fifty);
  EXPECT_FALSE(Parse("T004=(" + fifty + "3)"));
  EXPECT_TRUE(IsAllZero(slot()));
  EXPECT_FALSE(Parse("T004~=(" + fifty + ",7)"));
  EXPECT_TRUE(IsAllZero(slot()));
}

TEST_F(SqlConditionTest, FailuresLeaveTheSlotZero) {
  EXPECT_FALSE(Parse("T099=1"));
  EXPECT_TRUE(IsAllZero(slot()));
  EXPECT_FALSE(Parse("T004"));
  EXPECT_TRUE(IsAllZero(slot()));
  EXPECT_FALSE(ParseCondition(dictionary_.get(), conditions_, 1, 424242, "T001=1"));
  EXPECT_TRUE(IsAllZero(slot()));
  // Only five slots exist.
  std::memset(conditions_, 0xAA, sizeof conditions_);
  EXPECT_FALSE(ParseCondition(dictionary_.get(), conditions_, 5, 100000013, "T004=1"));
  EXPECT_EQ(ReadAt<std::uint8_t>(conditions_[4], 0), 0xAA);
}

TEST_F(SqlConditionTest, WhereClauseCutsAtAnd) {
  cw_sqldelete_req request{};
  const auto parse = [&](const std::string& where) {
    return ParseDelete(dictionary_.get(), "DELETE FROM 100000013 WHERE " + where, &request);
  };
  // " AND " is the cut while one follows; " and " only after the last of them.
  ASSERT_TRUE(parse("T004=1 and T005=2 AND T007=3"));
  EXPECT_EQ(ReadAt<std::uint8_t>(request, 343), 2);
  EXPECT_EQ(ReadAt<std::int32_t>(request, 38 + 11), 1);
  EXPECT_EQ(ReadAt<std::uint8_t>(request, 38 + 61), 7);

  ASSERT_TRUE(parse("T004=1 and T005=2"));
  EXPECT_EQ(ReadAt<std::uint8_t>(request, 343), 2);

  // A failed condition is counted with its slot left zero.
  ASSERT_TRUE(parse("T003 = 'ABC' AND T004=5"));
  EXPECT_EQ(ReadAt<std::uint8_t>(request, 343), 2);
  EXPECT_TRUE(IsAllZero(request.conditions[0]));
  EXPECT_EQ(ReadAt<std::uint8_t>(request, 38 + 61), 4);

  ASSERT_TRUE(parse("T004=1 AND T004=2 AND T004=3 AND T004=4 AND T004=5"));
  EXPECT_EQ(ReadAt<std::uint8_t>(request, 343), 5);
  EXPECT_EQ(ReadAt<std::int32_t>(request, 38 + 4 * 61 + 11), 5);
  // A sixth condition would be dropped, so the statement is refused.
  EXPECT_FALSE(parse("T004=1 AND T004=2 AND T004=3 AND T004=4 AND T004=5 AND T004=6"));
}

}  // namespace
}  // namespace orbe::sql
