// The dialogs scripts open: the request each gives the platform's handler.
#include <gtest/gtest.h>

#include "orbe/dictionary/cw_file_util.h"
#include "orbe/platform/file_dialog.h"

namespace {

class FileDialogsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    orbe::SetFileDialogHandler([this](const orbe::FileDialogRequest& request) {
      asked_ = request;
      return answer_;
    });
  }
  void TearDown() override { orbe::SetFileDialogHandler(nullptr); }

  orbe::FileDialogRequest asked_;
  std::string answer_ = "/data/chosen";
};

TEST_F(FileDialogsTest, FiltersAndDefaults) {
  EXPECT_EQ(CwFileUtil::OpenCFileDialog("csv|txt"), "/data/chosen");
  EXPECT_EQ(asked_.kind, orbe::FileDialogKind::kOpenFile);
  // "<e>文件 (*.<e>)|*.<e>|" per extension, then "全部文件 (*)|*||".
  EXPECT_EQ(asked_.filter,
            "csv\xce\xc4\xbc\xfe (*.csv)|*.csv|txt\xce\xc4\xbc\xfe (*.txt)|*.txt|"
            "\xc8\xab\xb2\xbf\xce\xc4\xbc\xfe (*)|*||");

  answer_.clear();  // cancelled
  EXPECT_EQ(CwFileUtil::SaveCFileDialog("xlsx|csv", "report"), "");
  EXPECT_EQ(asked_.kind, orbe::FileDialogKind::kSaveFile);
  EXPECT_EQ(asked_.default_extension, "xlsx");
  EXPECT_EQ(asked_.initial_name, "report");

  CwFileUtil::SaveCFileDialog("", "x");
  EXPECT_EQ(asked_.default_extension, "");
  EXPECT_EQ(asked_.filter, "\xc8\xab\xb2\xbf\xce\xc4\xbc\xfe (*)|*||");

  answer_ = "/data";
  EXPECT_EQ(CwFileUtil::BrowseForFolder(), "/data");
  EXPECT_EQ(asked_.kind, orbe::FileDialogKind::kBrowseFolder);
  EXPECT_EQ(asked_.title, "\xd1\xa1\xd4\xf1\xc4\xbf\xb1\xea\xce\xc4\xbc\xfe\xbc\xd0");  // choose a folder
}

}  // namespace
