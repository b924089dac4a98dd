#include "orbe/widgets/pager.h"

#include <gtest/gtest.h>

#include "widgets/event_log.h"

namespace {

using orbe::WidgetKind;
using Events = std::vector<std::string>;

TEST(Pager, UserPageChangesRaiseEventsAndStayInsideThePageCount) {
  TestContainer t;
  int plain_id = 0, extended_id = 0;
  auto& plain = t.Add<CKvxPager>(WidgetKind::kPaging, "", &plain_id);
  auto& extended = t.Add<CKvxPager>(WidgetKind::kXPaging, "", &extended_id);
  EXPECT_EQ(plain.GetCurPageNo(), 0);
  EXPECT_FALSE(plain.ClickNext()) << "no pages";
  EXPECT_FALSE(plain.SetTotalPageNum(-1));
  ASSERT_TRUE(plain.SetTotalPageNum(5));
  EXPECT_EQ(plain.GetCurPageNo(), 1);
  EXPECT_TRUE(plain.ClickNext());
  EXPECT_TRUE(plain.ClickPage(5));
  EXPECT_FALSE(plain.ClickNext());
  EXPECT_FALSE(plain.ClickPage(5)) << "the current page: no change";
  EXPECT_FALSE(plain.ClickPage(0));
  EXPECT_TRUE(plain.SetCurPageNo(3));  // silent
  EXPECT_FALSE(plain.SetCurPageNo(6));
  const std::string p = std::to_string(plain_id);
  EXPECT_EQ(t.log.Take(), (Events{"OnPagingIndexChanged " + p + " 2", "OnPagingIndexChanged " + p + " 5"}));

  plain.SetTotalPageNum(2);  // shrinking moves the current page inside
  EXPECT_EQ(plain.GetCurPageNo(), 2);
  plain.SetTotalPageNum(0);
  EXPECT_EQ(plain.GetCurPageNo(), 0);

  extended.SetTotalPageNum(30);
  extended.TypePageInput(" 12 ");
  EXPECT_TRUE(extended.GoToTypedPage());
  extended.TypePageInput("31");
  EXPECT_FALSE(extended.GoToTypedPage());
  extended.TypePageInput("3x");
  EXPECT_FALSE(extended.GoToTypedPage());
  extended.ClearPageInputInfo();
  EXPECT_EQ(extended.GetPageInput(), "");
  EXPECT_EQ(t.log.Take(), (Events{"OnXPagingIndexChanged " + std::to_string(extended_id) + " 12"}));
}

TEST(Pager, ShowsAWindowOfPageNumbersAroundTheCurrentPage) {
  CKvxPager pager;
  pager.SetTotalPageNum(20);
  pager.SetMaxPageNumber(5);
  EXPECT_EQ(pager.GetShownPages(), (std::vector<int>{1, 2, 3, 4, 5}));
  pager.SetCurPageNo(10);
  EXPECT_EQ(pager.GetShownPages(), (std::vector<int>{8, 9, 10, 11, 12}));
  pager.SetCurPageNo(20);
  EXPECT_EQ(pager.GetShownPages(), (std::vector<int>{16, 17, 18, 19, 20}));
  pager.SetTotalPageNum(3);
  EXPECT_EQ(pager.GetShownPages(), (std::vector<int>{1, 2, 3}));
  EXPECT_FALSE(pager.SetMaxPageNumber(0));
  const SIZE plain = pager.GetReqSize();
  CKvxPager extended(true);
  extended.SetTotalPageNum(3);
  EXPECT_GT(extended.GetReqSize().cx, plain.cx) << "the input box takes room";
}

}  // namespace
