// Pinyin initials of GBK names and the search box's matching over them.
#include <gtest/gtest.h>

#include "screening/indicator_search.h"
#include "screening/pinyin_initials.h"

namespace {

TEST(PinyinInitialsTest, InitialsOfNames) {
  struct Case {
    const char* text;
    const char* initials;
  };
  const Case cases[] = {
      {"市盈率", "SYL"},
      {"净资产收益率", "JZCSYL"},
      {"营业总收入", "YYZSR"},
      // The ends of the level-1 block and of two of its initials.
      {"啊澳芭座匝", "AABZZ"},
      // Level-2 characters, ordered by radical: from the generated table.
      {"亍丌兀鬯齄", "CJWCZ"},
      {"ROE(%)", "ROE"},
      {"ｒｏｅ１", "ROE1"},
      {"5日均线", "5RJX"},
      {"，。、", ""},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(orbe::PinyinInitials(c.text), c.initials);
  }
  // A lead byte at the end of the text has no trail byte: it is left out.
  EXPECT_EQ(orbe::PinyinInitials(std::string("A") + '\xB0'), "A");
}

TEST(PinyinInitialsTest, SearchRanksInitialsThenNames) {
  orbe::InitialsIndex index;
  for (const char* name : {"市盈率(动)", "净资产收益率", "总资产收益率", "市销率", "收盘价", "ROE摊薄"})
    index.Add(name);
  struct Case {
    const char* typed;
    std::size_t limit;
    std::vector<std::string> want;
  };
  const Case cases[] = {
      {"SYL", 20, {"市盈率(动)", "净资产收益率", "总资产收益率"}},
      {" syl ", 20, {"市盈率(动)", "净资产收益率", "总资产收益率"}},
      {"SYL", 2, {"市盈率(动)", "净资产收益率"}},
      {"ZCSY", 20, {"净资产收益率", "总资产收益率"}},
      {"收", 20, {"收盘价", "净资产收益率", "总资产收益率"}},
      {"收益", 20, {"净资产收益率", "总资产收益率"}},
      {"roe", 20, {"ROE摊薄"}},
      {"S", 20, {"市盈率(动)", "市销率", "收盘价", "净资产收益率", "总资产收益率"}},
      // Bytes of two neighbouring characters never match across them.
      {"\xAF\xC2", 20, {}},
      {"", 20, {}},
      {"   ", 20, {}},
      {"QQQ", 20, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    EXPECT_EQ(index.Find(c.typed, c.limit), c.want);
  }
  index.Clear();
  EXPECT_TRUE(index.Find("SYL", 20).empty());
}

}  // namespace
