#include "platform/ini_document.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orbe {
namespace {

using Names = std::vector<std::string>;

std::string ValueOr(const IniDocument& document, std::string_view section, std::string_view key,
                    std::string fallback = "<none>") {
  const std::string* value = document.FindValue(section, key);
  return value != nullptr ? *value : fallback;
}

TEST(IniDocumentTest, SerialiseGivesBackEveryByte) {
  const std::vector<std::string> inputs = {
      "",
      "\r\n",
      "[a]\r\nx=1\r\n",
      "[a]\nx=1",                                       // no final line end
      "; head\r\n\r\n[a]\r\n  x = 1 \r\n\r\n[b]\ny\n",  // mixed line ends
      "\xEF\xBB\xBF[a]\r\nx=1\r\n",                     // byte-order mark
      std::string("[a]\r\nx=1\0y\r\n\x1a", 13),         // NUL and Ctrl-Z
      "[\xD6\xD0\xCE\xC4]\r\n\xB4\xFA\xC2\xEB=\xB1\xA8\xB1\xED\r\n",
      "junk before any section\r\n[x\r\n=\r\n]\r\n\r\r\n",
  };
  for (const std::string& input : inputs) {
    EXPECT_EQ(IniDocument::Parse(input).Serialize(), input);
  }
}

TEST(IniDocumentTest, ReadingRules) {
  const IniDocument document = IniDocument::Parse(
      "orphan=1\r\n"
      "[ Main ]\r\n"
      "  Key One  =  spaced value  \r\n"
      "quoted=\"q\"\r\n"
      "; hidden=1\r\n"
      "bare\r\n"
      "empty=\r\n"
      "[x\r\n"
      "a=b=c\r\n"
      "[br]ack]trailing\n"
      "k=v\n");
  EXPECT_EQ(ValueOr(document, "main", "key one"), "spaced value");
  EXPECT_EQ(ValueOr(document, " MAIN ", " KEY ONE "), "spaced value");
  EXPECT_EQ(ValueOr(document, "Main", "quoted"), "\"q\"");  // quotes are the reader's business
  EXPECT_EQ(ValueOr(document, "Main", "; hidden"), "<none>");
  EXPECT_EQ(ValueOr(document, "Main", "bare"), "<none>");  // a key without '=' has no value
  EXPECT_EQ(ValueOr(document, "Main", "empty"), "");
  EXPECT_EQ(ValueOr(document, "Main", "[x"), "<none>");  // '[' without ']' is a bare key
  EXPECT_EQ(ValueOr(document, "Main", "a"), "b=c");      // the first '=' splits
  EXPECT_EQ(ValueOr(document, "br]ack", "k"), "v");      // the name runs to the last ']'
  EXPECT_EQ(ValueOr(document, "", "orphan"), "<none>");  // lines before any section belong to none
  EXPECT_FALSE(document.HasSection("orphan"));
}

TEST(IniDocumentTest, GbkNamesFoldOnlyAsciiCase) {
  // 0x81 0x61 and 0x81 0x41 are different characters although their trail
  // bytes are 'a' and 'A'.
  const IniDocument document = IniDocument::Parse("[\x81\x61Sec]\r\n\x81\x61k=lower\r\n\x81\x41k=upper\r\n");
  EXPECT_EQ(ValueOr(document, "\x81\x61SEC", "\x81\x61K"), "lower");
  EXPECT_EQ(ValueOr(document, "\x81\x61sec", "\x81\x41k"), "upper");
  EXPECT_FALSE(document.HasSection("\x81\x41Sec"));
}

TEST(IniDocumentTest, DuplicatesFirstMatchWinsListingsShowTheFile) {
  const IniDocument document = IniDocument::Parse(
      "[A]\r\nk=first\r\nK=second\r\nbare\r\n=nameless\r\nj=1\r\n"
      "[b]\r\nz=1\r\n"
      "[a]\r\nk=third\r\nonly=later\r\n"
      "[]\r\nq=1\r\n");
  EXPECT_EQ(ValueOr(document, "a", "k"), "first");
  EXPECT_EQ(ValueOr(document, "a", "only"), "<none>");         // later duplicate sections are not searched
  EXPECT_EQ(document.SectionNames(), (Names{"A", "b", "a"}));  // every header, "[]" left out
  EXPECT_EQ(document.KeyNames("a"),
            (Names{"k", "K", "", "j"}));  // first section; bare keys left out, the nameless one kept
  EXPECT_EQ(document.SectionEntries("A"), (Names{"k=first", "K=second", "bare", "=nameless", "j=1"}));
  EXPECT_TRUE(document.KeyNames("missing").empty());
  EXPECT_EQ(ValueOr(document, "", "q"), "1");  // an empty name finds "[]"
  EXPECT_EQ(ValueOr(document, "a", ""), "nameless");
  EXPECT_EQ(document.KeyNames(" "), (Names{"q"}));
}

TEST(IniDocumentTest, SetValuePlacesKeysWhereWindowsDoes) {
  IniDocument document =
      IniDocument::Parse("; settings\r\n[a]\r\nx=1\r\n; about y\r\n\r\n[b]\r\ny=2\r\n\r\n[A]\r\nz=3\r\n");
  EXPECT_EQ(document.SetValue("a", "new", "v"), IniEdit::kChanged);
  EXPECT_EQ(document.SetValue("B", "Y", "20"), IniEdit::kChanged);  // keeps the file's spelling "y"
  EXPECT_EQ(document.SetValue("c", "k", "\xD6\xD0"), IniEdit::kChanged);
  EXPECT_EQ(document.Serialize(),
            "; settings\r\n[a]\r\nx=1\r\n; about y\r\nnew=v\r\n\r\n[b]\r\ny=20\r\n\r\n[A]\r\nz=3\r\n"
            "[c]\r\nk=\xD6\xD0\r\n");
  EXPECT_EQ(document.SetValue("b", "y", "20"), IniEdit::kUnchanged);
  EXPECT_EQ(ValueOr(document, "C", "K"), "\xD6\xD0");

  // A section without keys takes its first key below its comments.
  IniDocument empty_section = IniDocument::Parse("[e]\r\n; note\r\n[f]\r\n");
  EXPECT_EQ(empty_section.SetValue("e", "k", "1"), IniEdit::kChanged);
  EXPECT_EQ(empty_section.Serialize(), "[e]\r\n; note\r\nk=1\r\n[f]\r\n");

  // A bare key gains a value in place.
  IniDocument bare = IniDocument::Parse("[s]\r\nflag\r\n");
  EXPECT_EQ(bare.SetValue("s", "FLAG", ""), IniEdit::kChanged);
  EXPECT_EQ(bare.Serialize(), "[s]\r\nflag=\r\n");
}

TEST(IniDocumentTest, NewLinesFollowTheFilesLineEnd) {
  IniDocument lf = IniDocument::Parse("[a]\nx=1");  // LF and no final line end
  EXPECT_EQ(lf.SetValue("a", "y", "2"), IniEdit::kChanged);
  EXPECT_EQ(lf.SetValue("b", "z", "3"), IniEdit::kChanged);
  EXPECT_EQ(lf.Serialize(), "[a]\nx=1\ny=2\n[b]\nz=3\n");

  IniDocument fresh;
  EXPECT_EQ(fresh.SetValue("s", "k", "v"), IniEdit::kChanged);
  EXPECT_EQ(fresh.Serialize(), "[s]\r\nk=v\r\n");

  IniDocument bom = IniDocument::Parse("\xEF\xBB\xBF[a]\r\nx=1\r\n");
  EXPECT_EQ(ValueOr(bom, "a", "x"), "1");
  EXPECT_EQ(bom.DeleteSection("a"), IniEdit::kChanged);
  EXPECT_EQ(bom.Serialize(), "\xEF\xBB\xBF");
}

TEST(IniDocumentTest, WritesThatCouldNotBeReadBackAreRejected) {
  IniDocument document = IniDocument::Parse("[a]\r\nx=1\r\n");
  EXPECT_EQ(document.SetValue("a", "k", "two\r\nlines"), IniEdit::kRejected);
  EXPECT_EQ(document.SetValue("a", "k=v", "1"), IniEdit::kRejected);
  EXPECT_EQ(document.SetValue("a", ";k", "1"), IniEdit::kRejected);
  EXPECT_EQ(document.SetValue("a", "[k]", "1"), IniEdit::kRejected);
  EXPECT_EQ(document.SetValue("a", "  ", "1"), IniEdit::kRejected);
  EXPECT_EQ(document.SetValue("", "k", "1"), IniEdit::kRejected);
  EXPECT_EQ(document.SetValue("s\n[t]", "k", "1"), IniEdit::kRejected);
  EXPECT_EQ(document.SetValue("a", "k", std::string_view("x\0y", 3)), IniEdit::kRejected);
  EXPECT_EQ(document.ReplaceSection("a", {"ok=1", "[evil]"}), IniEdit::kRejected);
  // A name with any INI blank at an end other than a space (the fuzzer's
  // "\t\x1aAAa|b|c") would read back trimmed, as another name.
  for (const std::string_view blank : {"\t", "\x1a", "\v", "\f", "\t\x1a"}) {
    const std::string before = std::string(blank) + "AAa";
    const std::string after = "AAa" + std::string(blank);
    EXPECT_EQ(document.SetValue(before, "b", "c"), IniEdit::kRejected) << before;
    EXPECT_EQ(document.SetValue(after, "b", "c"), IniEdit::kRejected) << after;
    EXPECT_EQ(document.SetValue("a", before, "c"), IniEdit::kRejected) << before;
    EXPECT_EQ(document.SetValue("a", after, "c"), IniEdit::kRejected) << after;
    EXPECT_EQ(document.ReplaceSection(after, {"k=1"}), IniEdit::kRejected) << after;
  }
  EXPECT_EQ(document.Serialize(), "[a]\r\nx=1\r\n");
  // ']' inside a section name reads back because the name runs to the last ']'.
  EXPECT_EQ(document.SetValue("x]y", "k", "1"), IniEdit::kChanged);
  EXPECT_EQ(ValueOr(IniDocument::Parse(document.Serialize()), "x]y", "k"), "1");
}

TEST(IniDocumentTest, DeletionsRemoveEveryMatch) {
  IniDocument document = IniDocument::Parse("[a]\r\nk=1\r\nj=2\r\nK=3\r\n[b]\r\nk=4\r\n[A]\r\nk=5\r\n");
  EXPECT_EQ(document.DeleteKey("a", "k"), IniEdit::kChanged);
  EXPECT_EQ(document.Serialize(), "[a]\r\nj=2\r\n[b]\r\nk=4\r\n[A]\r\nk=5\r\n");
  EXPECT_EQ(document.DeleteKey("a", "k"), IniEdit::kUnchanged);
  EXPECT_EQ(document.DeleteKey("nosuch", "k"), IniEdit::kUnchanged);
  EXPECT_EQ(document.DeleteSection("A"), IniEdit::kChanged);  // both [a] and [A]
  EXPECT_EQ(document.Serialize(), "[b]\r\nk=4\r\n");
  EXPECT_EQ(document.DeleteSection("a"), IniEdit::kUnchanged);
}

TEST(IniDocumentTest, ReplaceSectionKeepsTheBlankLinesBeforeTheNextSection) {
  IniDocument document =
      IniDocument::Parse("[a]\r\n; old note\r\nx=1\r\n\r\ny=2\r\n; about b\r\n\r\n[b]\r\nz=3\r\n");
  EXPECT_EQ(document.ReplaceSection("a", {"p=1", " q = 2 ", "", "; new note"}), IniEdit::kChanged);
  EXPECT_EQ(document.Serialize(), "[a]\r\np=1\r\nq = 2\r\n; new note\r\n\r\n[b]\r\nz=3\r\n");
  EXPECT_EQ(ValueOr(document, "a", "q"), "2");
  EXPECT_EQ(ValueOr(document, "a", "x"), "<none>");
  EXPECT_EQ(document.ReplaceSection("a", {"p=1", "q = 2", "; new note"}), IniEdit::kUnchanged);
  EXPECT_EQ(document.ReplaceSection("c", {"k=v"}), IniEdit::kChanged);
  EXPECT_EQ(ValueOr(document, "c", "k"), "v");
  EXPECT_EQ(document.ReplaceSection("c", {}), IniEdit::kChanged);
  EXPECT_TRUE(document.HasSection("c"));
  EXPECT_TRUE(document.SectionEntries("c").empty());
}

TEST(IniDocumentTest, QuotesAndNumbers) {
  EXPECT_EQ(UnquoteIniValue("\"a b\""), "a b");
  EXPECT_EQ(UnquoteIniValue("'a'"), "a");
  EXPECT_EQ(UnquoteIniValue("\"\""), "");
  EXPECT_EQ(UnquoteIniValue("\""), "\"");
  EXPECT_EQ(UnquoteIniValue("\"a'"), "\"a'");
  EXPECT_EQ(UnquoteIniValue("\"a"), "\"a");
  EXPECT_EQ(UnquoteIniValue("a\"b\""), "a\"b\"");

  EXPECT_EQ(ParseIniInteger("42"), 42u);
  EXPECT_EQ(ParseIniInteger("  -17abc"), static_cast<std::uint32_t>(-17));
  EXPECT_EQ(ParseIniInteger("+8"), 8u);
  EXPECT_EQ(ParseIniInteger("12.9"), 12u);
  EXPECT_EQ(ParseIniInteger("abc"), 0u);
  EXPECT_EQ(ParseIniInteger("- 5"), 0u);
  EXPECT_EQ(ParseIniInteger("0x1F"), 31u);
  EXPECT_EQ(ParseIniInteger("-0X10"), static_cast<std::uint32_t>(-16));
  EXPECT_EQ(ParseIniInteger("0x"), 0u);
  EXPECT_EQ(ParseIniInteger("0xg"), 0u);
  EXPECT_EQ(ParseIniInteger("007"), 7u);  // no octal
  EXPECT_EQ(ParseIniInteger("4294967295"), 4294967295u);
  // Too large a number wraps modulo 2^32, in both directions.
  struct Wrap {
    const char* text;
    std::uint32_t value;
  } const wraps[] = {
      {"4294967296", 0u},
      {"4294967297", 1u},
      {"99999999999", 1215752191u},  // 99999999999 - 23 * 2^32
      {"-99999999999", 3079215105u},  // 2^32 - 1215752191
      {"-4294967295", 1u},
      {"-2147483649", 2147483647u},
      {"0x100000002", 2u},
      {"-0x1", 4294967295u},
  };
  for (const Wrap& wrap : wraps) EXPECT_EQ(ParseIniInteger(wrap.text), wrap.value) << wrap.text;
}

}  // namespace
}  // namespace orbe
