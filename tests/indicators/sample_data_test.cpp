// The sample configuration under data/ loads and fits together: every scheme
// row names an indicator of the catalogue, and the user scripts compute.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "catalogue_test_util.h"
#include "orbe/indicators/index_calc.h"
#include "orbe/indicators/index_mgr.h"
#include "orbe/indicators/index_scheme.h"

namespace {

namespace fs = std::filesystem;

vtParam Double(double value) {
  vtParam param;
  param.type = 1;
  param.dbl = value;
  return param;
}

TEST(SampleDataTest, CatalogueAndSystemSchemesFitTogether) {
  // A copy, so that the interpreter's byte-code caches stay out of the tree.
  const orbe::testing::TempFolder temp;
  fs::copy(fs::path(ORBE_SOURCE_DIR) / "data", temp.path, fs::copy_options::recursive);
  const std::string folder = temp.File("indicators/");
  IIndexMgr* mgr = CreateIndexMgrInstance();
  ASSERT_EQ(mgr->LoadIndexes(folder + "hq_index.ini", folder + "sys_index.xml", folder + "usr_index.ini"), 1);
  EXPECT_EQ(mgr->GetScriptDir(), temp.File("indicators/scripts"));
  std::map<int, int> kinds;
  for (const IndexBase* index : mgr->GetAllIndexes()) ++kinds[index->kind];
  EXPECT_EQ(kinds[INDEX_KIND_HQ], 20);
  EXPECT_GE(kinds[INDEX_KIND_SYS], 20);
  EXPECT_GE(kinds[INDEX_KIND_TQL], 3);
  EXPECT_GE(kinds[INDEX_KIND_USR], 5);
  EXPECT_EQ(mgr->FindIndex("营收增长率")->unittype, 1);  // both references are money
  EXPECT_EQ(mgr->FindIndex("市净率")->unittype, 0);

  std::map<std::string, vtParam> values{{"营业总收入", Double(120)}, {"上期营业总收入", Double(100)}};
  vtParam growth;
  CString err;
  ASSERT_EQ(mgr->CalcUsrIndexValueByName("营收增长率", values, growth, err), 1) << err;
  EXPECT_DOUBLE_EQ(growth.dbl, 20);
  values["上期营业总收入"] = Double(0);
  EXPECT_EQ(mgr->CalcUsrIndexValueByName("营收增长率", values, growth, err), 0);  // no value

  IndexSchemeMgr schemes;
  schemes.LoadSchemes(temp.File("schemes/system_schemes.ini"));
  EXPECT_EQ(schemes.templatename(), "系统方案");
  ASSERT_GE(schemes.GetSchemes().size(), 5u);
  for (const IndexScheme& scheme : schemes.GetSchemes()) {
    EXPECT_TRUE(scheme.HasCondition()) << scheme.name;
    for (const IndexSchemeItem& item : scheme.items)
      EXPECT_NE(mgr->FindIndex(item.index), nullptr) << item.index;
  }
  DeleteIndexMgrInstance(mgr);
}

}  // namespace
