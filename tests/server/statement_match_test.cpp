// The pattern match of comparison code 6 and the value helpers behind the
// conditions, code lists and reply records.
#include <gtest/gtest.h>

#include "pg_connection.h"
#include "statement_match.h"
#include "statement_reply.h"
#include "statement_values.h"

namespace orbe::server {
namespace {

TEST(StatementMatchTest, ContainsPatternWithWildcardsOnWholeCharacters) {
  EXPECT_TRUE(ContainsPattern("*ST Alpha", "ST"));
  EXPECT_TRUE(ContainsPattern("anything", ""));
  EXPECT_FALSE(ContainsPattern("st alpha", "ST"));  // bytes compare exactly
  EXPECT_TRUE(ContainsPattern("600002", "6000_2"));
  EXPECT_FALSE(ContainsPattern("60002", "6000_2"));
  EXPECT_TRUE(ContainsPattern("abcXYZdef", "c%d"));
  EXPECT_FALSE(ContainsPattern("abcXYZ", "c%d"));
  EXPECT_FALSE(ContainsPattern("", "a"));
  // Two characters B0A1 A1B0: the bytes A1 A1 (itself a character) stand
  // across their boundary and must not match.
  EXPECT_FALSE(ContainsPattern("\xb0\xa1\xa1\xb0", "\xa1\xa1"));
  EXPECT_TRUE(ContainsPattern("\xb0\xa1\xa1\xa1", "\xa1\xa1"));
  // "_" is one character, two bytes here; a trail byte 0x5F is not "_".
  EXPECT_TRUE(ContainsPattern("a\xd6\xd0" "c", "a_c"));
  EXPECT_FALSE(ContainsPattern("a\xd6\xd0" "c", "a__c"));
  EXPECT_FALSE(ContainsPattern("\x81\x5f", "_\x5f"));
  // A damaged trailing lead byte is a character of its own.
  EXPECT_TRUE(ContainsPattern("ab\xd6", "b_"));
}

TEST(StatementMatchTest, ListItemsAndTypedCodes) {
  EXPECT_EQ(SplitList(" 'a' ,b,, c ,"), (std::vector<std::string_view>{"a", "b", "c"}));
  EXPECT_TRUE(SplitList("").empty());
  const SchemaField integer{1, 4, 4, "", ""};
  const SchemaField stamp{2, 10, 8, "", ""};
  const SchemaField real{3, 8, 8, "", ""};
  EXPECT_EQ(TypedItem(integer, "-12").integer, -12);
  EXPECT_EQ(TypedItem(integer, "12x").kind, SqlValue::Kind::kText);  // matches no number
  EXPECT_EQ(TypedItem(stamp, "20261130").integer, 20261130000000);
  EXPECT_EQ(TypedItem(stamp, "20261130093000").integer, 20261130093000);
  EXPECT_DOUBLE_EQ(TypedItem(real, "1.25").real, 1.25);
}

TEST(StatementMatchTest, FixedTextsAreCutOnCharacterBoundaries) {
  EXPECT_EQ(CharacterPrefix("abc", 8), 3u);
  EXPECT_EQ(CharacterPrefix("a\xd6\xd0\xce\xc4", 4), 3u);
  EXPECT_EQ(CharacterPrefix("a\xd6\xd0\xce\xc4", 5), 5u);
  EXPECT_EQ(CharacterPrefix("\x81\x30\x81\x30z", 3), 0u);  // a four-byte character does not fit
}

TEST(StatementMatchTest, PostgresPlaceholdersNumberTheParameters) {
  struct Case {
    const char* sql;
    const char* first;
    const char* expected;
  };
  const Case cases[] = {
      {"SELECT ?1, ?2 FROM t WHERE a = ?1", "", "SELECT $1, $2 FROM t WHERE a = $1"},
      {"a = ? AND b IN (?,?)", "", "a = $1 AND b IN ($2,$3)"},
      {"x = '?1' AND y = ?12", "", "x = '?1' AND y = $12"},  // a literal keeps its text
      {"T002 = ?1 AND T003 BETWEEN ?2 AND ?3", "k.key", "T002 = k.key AND T003 BETWEEN $2 AND $3"},
  };
  for (const Case& c : cases) EXPECT_EQ(PostgresPlaceholders(c.sql, c.first), c.expected) << c.sql;
  const std::vector<std::string> keys = {"600000", "a\"b\\c"};
  EXPECT_EQ(TextArrayLiteral(keys), "{\"600000\",\"a\\\"b\\\\c\"}");
}

}  // namespace
}  // namespace orbe::server
