#include <gtest/gtest.h>

#include "dictionary/dictionary_writer.h"
#include "orbe/dataservice/orbe_client_session.h"
#include "orbe/reports/cini_report_util.h"
#include "orbe/reports/report_lookups.h"

namespace {

OrbeClientSession& MainSession() {
  static OrbeClientSession session;
  return session;
}

class FieldNameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    orbe::DictionarySchema schema;
    schema.tables.push_back({100, 0, "profile", {{1, 2, 10, "", "公司代码"}, {5, 4, 4, "", "报告期"}}});
    schema.tables.push_back({200, 0, "other", {{5, 4, 4, "", "其他"}}});
    const orbe::DictionaryFiles files = orbe::BuildDictionaryFiles(schema);
    orbe::LoadDictionaryBytes(MainSession().Dictionary(), files.constants, files.tables, files.fields);
    saved_ = orbe::CurrentReportLookups();
    orbe::SetReportLookups(orbe::ReportLookups{[] { return &MainSession(); }, nullptr});
  }
  void TearDown() override {
    orbe::SetReportLookups(saved_);
    MainSession().Dictionary().Clear();
  }
  orbe::ReportLookups saved_;
};

TEST_F(FieldNameTest, NumberAfterTheFirstCharacter) {
  EXPECT_EQ(CIniReportUtil::GetFiledName(100, "T005"), "报告期");
  EXPECT_EQ(CIniReportUtil::GetFiledName(100, "x1"), "公司代码");
  EXPECT_EQ(CIniReportUtil::GetFiledName(100, "T5abc"), "报告期");
  EXPECT_EQ(CIniReportUtil::GetFiledName(200, "T005"), "其他");
  EXPECT_EQ(CIniReportUtil::GetFiledName(100, "T002"), "");
  EXPECT_EQ(CIniReportUtil::GetFiledName(300, "T001"), "");
  EXPECT_EQ(CIniReportUtil::GetFiledName(100, ""), "");
  EXPECT_EQ(CIniReportUtil::GetFiledName(100, "T99999999999"), "");
}

TEST_F(FieldNameTest, NoSessionNoName) {
  orbe::SetReportLookups(orbe::ReportLookups{[]() -> OrbeClientSession* { return nullptr; }, nullptr});
  EXPECT_EQ(CIniReportUtil::GetFiledName(100, "T005"), "");
  orbe::SetReportLookups({});
  EXPECT_EQ(CIniReportUtil::GetFiledName(100, "T005"), "");
}

}  // namespace
