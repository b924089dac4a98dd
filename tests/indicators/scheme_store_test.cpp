#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue_test_util.h"
#include "orbe/indicators/index_scheme.h"
#include "orbe/platform/profile.h"

namespace {

using orbe::testing::ReadText;
using orbe::testing::TempFolder;
using orbe::testing::WriteText;

IndexSchemeItem Item(const std::string& index, const std::string& op, const std::string& value) {
  IndexSchemeItem item;
  item.index = index;
  item.op = op;
  item.value = value;
  return item;
}

std::vector<IndexScheme> SampleSchemes() {
  IndexScheme low_pe;
  low_pe.name = "低市盈率";
  low_pe.descrip = "市盈率低于15倍";
  low_pe.tree = "价值";
  low_pe.expression = "#1 and #2";
  low_pe.items = {Item("市盈率", "小于", "15"), Item("营业收入", "大于", "10")};
  low_pe.items[1].param = "2024年度";
  low_pe.items[1].unit = "亿元";
  low_pe.items[1].visable = false;
  low_pe.items[1].colwidth = 80;
  low_pe.items[1].decimalbit = 4;
  low_pe.items[1].formatdata = 1;
  low_pe.items[1].formatzero = 2;
  low_pe.items[1].formatinvalid = 3;
  low_pe.items[1].colcrlmode = 1;
  low_pe.items[1].colcrl = 0x0000FF;
  low_pe.items[1].dataalign = 2;
  low_pe.items[1].headalign = 1;
  IndexScheme growth;
  growth.name = "高成长";
  growth.items = {Item("净利润增长率", "大于", "30")};
  return {low_pe, growth};
}

// The store as it was written before: emptied, then key by key through the
// profile writer. The atomic rewrite must leave exactly these bytes.
void SaveKeyByKey(const std::string& path, const std::string& templatename,
                  const std::vector<IndexScheme>& schemes) {
  WriteText(path, "");
  const auto put = [&](const std::string& section, const std::string& key, const std::string& value) {
    WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path.c_str());
  };
  put("MAIN", "方案个数", std::to_string(schemes.size()));
  put("MAIN", "模板名称", templatename);
  for (std::size_t s = 0; s < schemes.size(); ++s) {
    const IndexScheme& scheme = schemes[s];
    const std::string section = "方案" + std::to_string(s + 1);
    put(section, "方案名称", scheme.name);
    put(section, "方案说明", scheme.descrip);
    put(section, "方案树", scheme.tree);
    put(section, "条件表达式", scheme.expression);
    put(section, "引用指标个数", std::to_string(scheme.items.size()));
    for (std::size_t i = 0; i < scheme.items.size(); ++i) {
      const IndexSchemeItem& item = scheme.items[i];
      const std::string n = std::to_string(i + 1);
      put(section, "指标" + n, item.index);
      put(section, "参数" + n, item.param);
      put(section, "运算符" + n, item.op);
      put(section, "数值" + n, item.value);
      put(section, "单位" + n, item.unit);
      put(section, "是否显示" + n, item.visable ? "TRUE" : "FALSE");
      put(section, "列宽" + n, std::to_string(item.colwidth));
      put(section, "小数位" + n, std::to_string(item.decimalbit));
      put(section, "数据格式" + n, std::to_string(item.formatdata));
      put(section, "显示零" + n, std::to_string(item.formatzero));
      put(section, "显示无效" + n, std::to_string(item.formatinvalid));
      put(section, "颜色样式" + n, std::to_string(item.colcrlmode));
      put(section, "颜色" + n, std::to_string(item.colcrl));
      put(section, "数据对齐" + n, std::to_string(item.dataalign));
      put(section, "表头对齐" + n, std::to_string(item.headalign));
    }
  }
}

TEST(SchemeStoreTest, SaveGivesTheBytesOfAKeyByKeyRewriteAndLoadsBack) {
  const TempFolder temp;
  const std::string path = temp.File("schemes.ini");
  const std::string reference = temp.File("reference.ini");
  WriteText(path, "[MAIN]\r\n方案个数=0\r\n模板名称=系统模板\r\n; old comment\r\n");
  IndexSchemeMgr store;
  store.LoadSchemes(path);
  EXPECT_EQ(store.templatename(), "系统模板");
  std::vector<IndexScheme> schemes = SampleSchemes();
  schemes[0].descrip = "two\r\nlines";  // refused by the profile writer, left out by both
  store.SetSchemes(schemes);
  ASSERT_TRUE(store.SaveSchemes());
  SaveKeyByKey(reference, "系统模板", schemes);
  EXPECT_EQ(ReadText(path), ReadText(reference));

  IndexSchemeMgr again;
  again.LoadSchemes(path);
  schemes[0].descrip.clear();
  EXPECT_EQ(again.GetSchemes(), schemes);
}

TEST(SchemeStoreTest, MissingKeysTakeTheFileDefaults) {
  const TempFolder temp;
  const std::string path = temp.File("schemes.ini");
  WriteText(path,
            "[MAIN]\r\n方案个数=3\r\n"
            "[方案1]\r\n方案名称=默认\r\n引用指标个数=1\r\n指标1=市盈率\r\n"
            "[方案2]\r\n方案名称=空方案\r\n"
            "[方案3]\r\n方案名称=显示\r\n引用指标个数=1\r\n是否显示1=TRUE\r\n颜色1=255\r\n");
  IndexSchemeMgr store;
  store.LoadSchemes(path);
  const std::vector<IndexScheme> schemes = store.GetSchemes();
  ASSERT_EQ(schemes.size(), 2u);  // a scheme without rows is dropped
  const IndexSchemeItem& item = schemes[0].items.at(0);
  EXPECT_EQ(item.index, "市盈率");
  EXPECT_EQ(item.decimalbit, 2);
  EXPECT_EQ(item.colcrl, 0xFFFFFF);
  EXPECT_FALSE(item.visable);  // a missing key reads as hidden from the INI file
  EXPECT_EQ(schemes[1].name, "显示");
  EXPECT_TRUE(schemes[1].items.at(0).visable);
  EXPECT_EQ(schemes[1].items.at(0).colcrl, 255);
  EXPECT_TRUE(IndexSchemeItem().visable);  // while a new row is shown

  IndexSchemeMgr missing;
  missing.LoadSchemes(temp.File("none.ini"));
  EXPECT_TRUE(missing.GetSchemes().empty());
  store.ReloadSchemes(temp.File("none.ini"));
  EXPECT_TRUE(store.GetSchemes().empty());
}

TEST(SchemeStoreTest, BooleanKeysNeedTheExactWords) {
  const TempFolder temp;
  const std::string path = temp.File("schemes.ini");
  WriteText(path,
            "[MAIN]\r\n方案个数=1\r\n[方案1]\r\n引用指标个数=3\r\n"
            "是否显示1=true\r\n是否显示2=TRUE\r\n是否显示3=FALSE\r\n");
  IndexSchemeMgr store;
  store.LoadSchemes(path);
  const std::vector<IndexSchemeItem> items = store.GetSchemes().at(0).items;
  ASSERT_EQ(items.size(), 3u);
  EXPECT_FALSE(items[0].visable);
  EXPECT_TRUE(items[1].visable);
  EXPECT_FALSE(items[2].visable);
}

TEST(SchemeStoreTest, HasConditionNeedsOperatorAndValueInOneRow) {
  IndexScheme scheme;
  scheme.items = {Item("a", "", ""), Item("b", "大于", "1"), Item("c", "", "")};
  EXPECT_TRUE(scheme.HasCondition());
  scheme.items = {Item("a", "大于", ""), Item("b", "", "1")};
  EXPECT_FALSE(scheme.HasCondition());
  EXPECT_FALSE(IndexScheme().HasCondition());
}

TEST(SchemeStoreTest, AStoreWithoutPathWritesNothing) {
  IndexSchemeMgr store;
  store.SetSchemes(SampleSchemes());
  EXPECT_FALSE(store.SaveSchemes());
}

TEST(SchemeXmlTest, ExportAndImportGiveBackEveryField) {
  const TempFolder temp;
  const std::string path = temp.File("scheme.xml");
  IndexScheme scheme = SampleSchemes()[0];
  scheme.expression = "#1 and (#2 or \"<&>\")";
  ASSERT_TRUE(SaveSchemeXml(path, scheme));
  const std::string bytes = ReadText(path);
  EXPECT_EQ(bytes.rfind("<?xml version=\"1.0\" encoding=\"GB2312\" standalone=\"yes\"?>", 0), 0u);
  EXPECT_NE(bytes.find("condition=\"2024年度\""), std::string::npos);  // param travels as "condition"
  EXPECT_NE(bytes.find("visable=\"0\""), std::string::npos);
  IndexScheme read;
  ASSERT_TRUE(LoadSchemeXml(path, read));
  EXPECT_EQ(read, scheme);
}

TEST(SchemeXmlTest, ImportRefusals) {
  const TempFolder temp;
  const auto load = [&](const std::string& bytes, IndexScheme& out) {
    WriteText(temp.File("s.xml"), bytes);
    return LoadSchemeXml(temp.File("s.xml"), out);
  };
  IndexScheme out;
  out.name = "untouched";
  EXPECT_FALSE(LoadSchemeXml(temp.File("none.xml"), out));
  EXPECT_FALSE(load("<IndexScheme name=\"x\">", out));
  EXPECT_FALSE(load("<IndexScheme><IndexSchemeItem index=\"a\"/></IndexScheme>", out));
  EXPECT_FALSE(load("<IndexScheme name=\"x\"/>", out));
  EXPECT_FALSE(
      load("<IndexScheme name=\"x\"><IndexSchemeItem index=\"a\"/><IndexSchemeItem/></IndexScheme>", out));
  EXPECT_EQ(out.name, "untouched");

  ASSERT_TRUE(
      load("<IndexScheme name=\"x\"><IndexSchemeItem index=\"a\" visable=\"7\" colcrl=\"12\"/>"
           "<IndexSchemeItem index=\"b\" visable=\"0\"/><IndexSchemeItem index=\"c\"/></IndexScheme>",
           out));
  ASSERT_EQ(out.items.size(), 3u);
  EXPECT_TRUE(out.items[0].visable);
  EXPECT_EQ(out.items[0].colcrl, 12);
  EXPECT_FALSE(out.items[1].visable);
  EXPECT_TRUE(out.items[2].visable);  // missing: the row default
  EXPECT_EQ(out.items[2].decimalbit, 2);
  EXPECT_EQ(out.descrip, "");
}

}  // namespace
