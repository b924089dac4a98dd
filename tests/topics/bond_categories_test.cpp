#include "orbe/topics/bond_categories.h"

#include <gtest/gtest.h>

#include <string>

#include "orbe/platform/text.h"

namespace {

const char kHead[] = "<?xml version=\"1.0\" encoding=\"GB2312\"?>\n";

std::string File(const std::string& body) { return kHead + std::string("<BondCategories>\n") + body + "</BondCategories>"; }

TEST(BondCategories, TheShippedFileHoldsEverySampleBondType) {
  std::string error;
  const auto categories = orbe::LoadBondCategories(std::string(ORBE_SOURCE_DIR) + "/data/topics/bond_categories.xml", &error);
  ASSERT_TRUE(categories) << error;
  ASSERT_EQ(categories->size(), 4u);
  EXPECT_EQ((*categories)[0].name, "利率债");
  EXPECT_EQ((*categories)[0].children.size(), 2u);
  // Every type of the sample market's class 206 falls into some category.
  const char* const types[] = {"国债", "地方政府债", "金融债", "企业债", "公司债", "可转换债券", "短期融资券", "中期票据"};
  const auto holds = [](const auto& self, const std::vector<orbe::BondCategory>& list, const std::string& type,
                        const std::string& market) -> bool {
    for (const orbe::BondCategory& category : list) {
      if (category.Holds(type, market) || self(self, category.children, type, market)) return true;
    }
    return false;
  };
  for (const char* type : types) {
    EXPECT_TRUE(holds(holds, *categories, type, "上海证券交易所")) << orbe::GbkToUtf8(type);
  }
  EXPECT_FALSE(holds(holds, *categories, "可转换债券", "银行间债券市场"));
}

TEST(BondCategories, RulesListsAndEncodings) {
  std::string error;
  const auto parsed = orbe::ParseBondCategories(
      File("<Category name=\" 混合 \" types=\"国债; 金融债;;\" markets=\"上海证券交易所\">\n"
           "  <Category name=\"子类\" markets=\"深圳证券交易所\"/>\n"
           "</Category>\n"),
      &error);
  ASSERT_TRUE(parsed) << error;
  const orbe::BondCategory& mixed = (*parsed)[0];
  EXPECT_EQ(mixed.name, "混合");
  EXPECT_EQ(mixed.types, (std::vector<std::string>{"国债", "金融债"}));
  EXPECT_TRUE(mixed.Holds("金融债", "上海证券交易所"));
  EXPECT_FALSE(mixed.Holds("金融债", "深圳证券交易所"));
  EXPECT_FALSE(mixed.Holds("企业债", "上海证券交易所"));
  EXPECT_TRUE(mixed.children[0].Holds("任何类型", "深圳证券交易所"));

  // A parent without a rule holds only through its children.
  const auto parent = orbe::ParseBondCategories(File("<Category name=\"a\"><Category name=\"b\" types=\"x\"/></Category>"), &error);
  ASSERT_TRUE(parent) << error;
  EXPECT_FALSE((*parent)[0].HasRule());
  EXPECT_FALSE((*parent)[0].Holds("x", ""));

  // A UTF-8 file becomes the module's GBK; no declaration means GBK.
  const std::string utf8 = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><BondCategories><Category name=\"" +
                           orbe::GbkToUtf8("国债") + "\" types=\"" + orbe::GbkToUtf8("国债") + "\"/></BondCategories>";
  const auto converted = orbe::ParseBondCategories(utf8, &error);
  ASSERT_TRUE(converted) << error;
  EXPECT_EQ((*converted)[0].name, "国债");
  const auto bare = orbe::ParseBondCategories("<BondCategories><Category name=\"国债\" types=\"国债\"/></BondCategories>", &error);
  ASSERT_TRUE(bare) << error;
  EXPECT_EQ((*bare)[0].types[0], "国债");
  const auto empty = orbe::ParseBondCategories(File(""), &error);
  ASSERT_TRUE(empty) << error;
  EXPECT_TRUE(empty->empty());
}

TEST(BondCategories, FaultyFilesAreRefusedWithTheirLine) {
  std::string deep;
  for (int i = 0; i <= orbe::kMaxBondCategoryDepth; ++i) deep += "<Category name=\"d\">";
  deep += "<Category name=\"leaf\" types=\"x\"/>";
  for (int i = 0; i <= orbe::kMaxBondCategoryDepth; ++i) deep += "</Category>";
  struct Case {
    const char* what;
    std::string bytes;
    const char* message;
  };
  const Case cases[] = {
      {"not XML", "<BondCategories><Category", "line 1"},
      {"wrong root", std::string(kHead) + "<Categories/>", "root element"},
      {"unknown element", File("<Group name=\"a\"/>\n"), "line 3: unexpected element <Group>"},
      {"misspelt attribute", File("<Category name=\"a\" type=\"x\"/>\n"), "unknown attribute \"type\""},
      {"no name", File("<Category types=\"x\"/>"), "without a name"},
      {"blank name", File("<Category name=\"  \" types=\"x\"/>"), "without a name"},
      {"name too long", File("<Category name=\"" + std::string(61, 'n') + "\" types=\"x\"/>"), "longer than 60"},
      {"holds nothing", File("<Category name=\"a\" types=\" ; \"/>"), "neither types"},
      {"too deep", File(deep), "nested too deeply"},
      {"encoding", "<?xml version=\"1.0\" encoding=\"Big5\"?><BondCategories/>", "unsupported encoding \"big5\""},
      {"bad UTF-8", "<?xml version=\"1.0\" encoding=\"UTF-8\"?><BondCategories><Category name=\"\xB9\xFA\" types=\"x\"/></BondCategories>",
       "not UTF-8"},
      {"too large", std::string(orbe::kMaxBondCategoryFileBytes + 1, ' '), "larger than"},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_FALSE(orbe::ParseBondCategories(c.bytes, &error)) << c.what;
    EXPECT_NE(error.find(c.message), std::string::npos) << c.what << ": " << error;
  }
  std::string error;
  EXPECT_FALSE(orbe::LoadBondCategories("/nonexistent/bond_categories.xml", &error));
  EXPECT_NE(error.find("cannot read"), std::string::npos);
}

}  // namespace
