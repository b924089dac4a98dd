// The keyword scanner under the statement parsers. Statements are not
// tokenised: each keyword is found by substring search, and that is part of
// the language the callers write (mixed case is not recognised).
#ifndef ORBE_DICTIONARY_SQL_SCANNER_H_
#define ORBE_DICTIONARY_SQL_SCANNER_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace orbe::sql {

inline constexpr std::size_t kNotFound = std::string_view::npos;
// Longest table or field token the parser keeps (the rest is cut off).
inline constexpr std::size_t kMaxTokenLength = 59;

// A keyword in its two accepted spellings, spaces included.
struct Keyword {
  std::string_view upper;
  std::string_view lower;
};

inline constexpr Keyword kSelect{"SELECT ", "select "};
inline constexpr Keyword kSelectBare{"SELECT", "select"};
inline constexpr Keyword kFrom{"FROM ", "from "};
inline constexpr Keyword kWhere{"WHERE ", "where "};
inline constexpr Keyword kAnd{" AND ", " and "};
inline constexpr Keyword kOrder{"ORDER ", "order "};
inline constexpr Keyword kBy{"BY ", "by "};
inline constexpr Keyword kDesc{"DESC", "desc"};
inline constexpr Keyword kAsc{"ASC", "asc"};
inline constexpr Keyword kPage{" PAGE ", " page "};
inline constexpr Keyword kPageFrame{" PAGEFRAME ", " pageframe "};
inline constexpr Keyword kDistinct{"DISTINCT", "distinct"};
inline constexpr Keyword kDelete{"DELETE", "delete"};
inline constexpr Keyword kUpdate{"UPDATE", "update"};
inline constexpr Keyword kSet{"SET ", "set "};
inline constexpr Keyword kInsert{"INSERT", "insert"};
inline constexpr Keyword kInto{"INTO", "into"};
inline constexpr Keyword kBack{"BACK", "back"};
inline constexpr Keyword kValues{"VALUES ", "values "};

// Position of the keyword at or after from: the upper-case spelling wherever
// it occurs, else the lower-case one. kNotFound when neither occurs.
std::size_t FindKeyword(std::string_view text, const Keyword& keyword, std::size_t from = 0);
// Position just after the keyword found by FindKeyword, or kNotFound.
std::size_t FindKeywordEnd(std::string_view text, const Keyword& keyword, std::size_t from = 0);

inline bool IsBlank(char c) { return c == ' ' || c == '\t'; }
std::size_t SkipBlanks(std::string_view text, std::size_t pos);

// The table number written after a keyword that ends at pos: blanks skipped,
// the token runs to the next blank, at most kMaxTokenLength characters.
// Also reports where the token ends.
std::int32_t ReadTableNumber(std::string_view text, std::size_t pos, std::size_t* token_end = nullptr);

// A field written Tnnn: the decimal value of the text after its first
// character, so T5, T005 and t005 are all field 5. 0 for an empty text.
std::int32_t FieldNumberOf(std::string_view text);

// The text between a leading "'" and the next "'"; nullopt when value does
// not begin with a quote or the quote is not closed.
std::optional<std::string_view> QuotedText(std::string_view value);

// The standard decimal conversions (atoi, _atoi64, atof): leading white space
// skipped, leading digits taken, the rest ignored, 0 when there are none.
// Integers saturate at their type's range instead of overflowing.
std::int32_t ParseInt32(std::string_view text);
std::int64_t ParseInt64(std::string_view text);
double ParseDouble(std::string_view text);

}  // namespace orbe::sql

#endif  // ORBE_DICTIONARY_SQL_SCANNER_H_
