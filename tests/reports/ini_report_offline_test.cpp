// The report window without a data service: panes still show, data cells
// tell of an unusable configuration, and "配置" runs the configuration tool
// when there is one.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "dataservice/transfer_server.h"
#include "reports/report_window_util.h"

namespace {

namespace ids = orbe::report_wnd;
using orbe_test::OpenReport;
using orbe_test::WriteReportIni;

constexpr char kLabelReport[] =
    "[MAIN]\nTITLE=离线\nCONTROL_NUM=2\n[CONTROL1]\nTYPE=LABEL\nTITLE=说明\nLABEL_TEXT=文字\n"
    "[CONTROL2]\nTYPE=IE\nTITLE=网页\nURL=http://127.0.0.1/******\n";

class ReportOfflineTest : public ::testing::Test {
 protected:
  void SetUp() override { folder_ = orbe_test::ScratchFolder("report_offline"); }
  void TearDown() override {
    unsetenv("ORBE_COMPONENT_DIR");
    std::filesystem::remove_all(folder_);
  }
  std::string folder_;
};

TEST_F(ReportOfflineTest, PanesNeedNoSessionButDataCellsDo) {
  OpenReport panes(WriteReportIni(folder_ + "panes.ini", kLabelReport), "600000");
  ASSERT_TRUE(panes.ok());
  ASSERT_TRUE(panes.Wait());
  EXPECT_FALSE(panes.Driver().ConfigurationFailed());
  ASSERT_EQ(panes.Cells().size(), 2u);
  EXPECT_EQ(panes.Container().GetWeb(panes.Cells()[1])->GetLocationURL(), "http://127.0.0.1/600000");

  // A list after the label: the label is built, then the page stops.
  OpenReport list(WriteReportIni(folder_ + "list.ini",
                                 "[MAIN]\nTITLE=离线\nCONTROL_NUM=2\n[CONTROL1]\nTYPE=LABEL\nTITLE=说明\n"
                                 "[CONTROL2]\nTYPE=LIST\nTITLE=列表\nSQLSTATEMENT=SELECT T001 FROM 100000001\n"),
                  "600000");
  ASSERT_TRUE(list.ok());
  ASSERT_TRUE(list.Wait());
  EXPECT_EQ(list.Container().GetTitle(), "配置文件出错");
  EXPECT_EQ(list.Container().GetTitleColor(), 255u);
  EXPECT_EQ(list.Cells().size(), 1u);
  EXPECT_TRUE(list.Get<CWnd>(ids::kTermSelection)->IsWindowEnabled());
}

TEST_F(ReportOfflineTest, ConfigureRunsTheToolInItsFolderAndRereadsTheReport) {
  const std::string ini = WriteReportIni(folder_ + "tool.ini", kLabelReport);
  const std::filesystem::path before = std::filesystem::current_path();
  {
    // Without the tool the button does nothing.
    setenv("ORBE_COMPONENT_DIR", folder_.c_str(), 1);
    OpenReport report(ini, "600000");
    ASSERT_TRUE(report.ok());
    ASSERT_TRUE(report.Wait());
    ASSERT_TRUE(report.Get<CKvxButton>(ids::kConfigButton)->Click());
    ASSERT_TRUE(report.Wait());
    EXPECT_EQ(report.Container().GetTitle(), "离线");
    EXPECT_FALSE(std::filesystem::exists(ini + ".seen"));
  }
  const std::string tools = std::string(ORBE_TEST_LIB_DIR) + "/testcomponents/cfgtool";
  setenv("ORBE_COMPONENT_DIR", tools.c_str(), 1);
  OpenReport report(ini, "600000");
  ASSERT_TRUE(report.ok());
  ASSERT_TRUE(report.Wait());
  ASSERT_TRUE(report.Get<CKvxButton>(ids::kConfigButton)->Click());
  ASSERT_TRUE(report.Wait());
  EXPECT_EQ(report.Container().GetTitle(), "离线 (已修改)");
  std::ifstream seen(ini + ".seen");
  std::string folder;
  std::string reserved;
  std::getline(seen, folder);
  std::getline(seen, reserved);
  EXPECT_EQ(std::filesystem::canonical(folder), std::filesystem::canonical(tools));
  EXPECT_EQ(reserved, "0");
  EXPECT_EQ(std::filesystem::current_path(), before);
}

}  // namespace
