#include "indicators/index_load_dialog.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "catalogue_test_util.h"

namespace {

using orbe::testing::TempFolder;
using orbe::testing::WriteText;

TEST(IndexLoadDialogTest, BarFollowsTheStagesToTheEnd) {
  const TempFolder temp;
  WriteText(temp.File("sys.ini"),
            "[MAIN]\r\n系统指标个数=2\r\n[指标1]\r\n指标名称=a\r\n[指标2]\r\n指标名称=b\r\n");
  IIndexMgr* mgr = CreateIndexMgrInstance();
  {
    orbe::CDlgProcessLoadIndex dialog(*mgr, temp.File("hq.ini"), temp.File("sys.ini"), temp.File("usr.ini"));
    EXPECT_EQ(dialog.bar().pos(), 0);
    EXPECT_EQ(dialog.DoModal(), 1);
    EXPECT_EQ(dialog.bar().pos(), 100);
    EXPECT_EQ(dialog.bar().text(), "100%");
  }
  EXPECT_EQ(mgr->GetAllIndexes().size(), 2u);
  DeleteIndexMgrInstance(mgr);
}

TEST(IndexLoadDialogTest, TextBarStaysInRange) {
  orbe::TextProgressBar bar;
  bar.SetPos(150);
  EXPECT_EQ(bar.pos(), 100);
  bar.SetPos(-3);
  EXPECT_EQ(bar.text(), "0%");
}

}  // namespace
