#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "dictionary/sql_scanner.h"

namespace orbe::sql {
namespace {

TEST(SqlScannerTest, UpperCaseWinsWhereverItStands) {
  // The lower-case spelling is used only when the upper-case one is absent.
  EXPECT_EQ(FindKeyword("from x FROM y", kFrom), 7u);
  EXPECT_EQ(FindKeyword("from x", kFrom), 0u);
  EXPECT_EQ(FindKeyword("From x", kFrom), kNotFound);
  EXPECT_EQ(FindKeyword("FROM x", kFrom, 1), kNotFound);
  EXPECT_EQ(FindKeyword("x", kFrom, 5), kNotFound);
  EXPECT_EQ(FindKeywordEnd("a WHERE b", kWhere), 8u);
}

TEST(SqlScannerTest, TableToken) {
  std::size_t end = 0;
  EXPECT_EQ(ReadTableNumber("FROM \t 100000013 WHERE", 4, &end), 100000013);
  EXPECT_EQ(end, 16u);
  EXPECT_EQ(ReadTableNumber("abc", 0), 0);
  EXPECT_EQ(ReadTableNumber("", 0), 0);
  // Only 59 characters of the token are read.
  EXPECT_EQ(ReadTableNumber(std::string(58, '0') + "75", 0), 7);
}

TEST(SqlScannerTest, NumberConversionsLikeTheCLibraryButBounded) {
  EXPECT_EQ(FieldNumberOf("T005"), 5);
  EXPECT_EQ(FieldNumberOf("t5='x'"), 5);
  EXPECT_EQ(FieldNumberOf(" T005"), 0);
  EXPECT_EQ(FieldNumberOf(""), 0);
  EXPECT_EQ(ParseInt32(" \n-42abc"), -42);
  EXPECT_EQ(ParseInt32("+7"), 7);
  EXPECT_EQ(ParseInt32("- 7"), 0);
  EXPECT_EQ(ParseInt32("99999999999"), INT32_MAX);
  EXPECT_EQ(ParseInt32("-99999999999"), INT32_MIN);
  EXPECT_EQ(ParseInt64("-9223372036854775808"), INT64_MIN);
  EXPECT_EQ(ParseInt64("9223372036854775808"), INT64_MAX);
  EXPECT_EQ(ParseDouble("  -1.5e2 ORDER"), -150.0);
  EXPECT_EQ(ParseDouble("x1"), 0.0);
  EXPECT_EQ(QuotedText("'ab'c"), "ab");
  EXPECT_EQ(QuotedText("''"), "");
  EXPECT_FALSE(QuotedText("'ab").has_value());
  EXPECT_FALSE(QuotedText(" 'ab'").has_value());
}

}  // namespace
}  // namespace orbe::sql
