#include "orbe/widgets/up_down_stream.h"

#include <gtest/gtest.h>

#include "widgets/event_log.h"

namespace {

TEST(UpDownStream, ShowsTheNewestItemsOfEachSideAndPicksFromThem) {
  TestContainer t;
  int id = 0;
  auto& stream = t.Add<CKvxUpDownStream>(orbe::WidgetKind::kUpDownStream, "", &id);
  EXPECT_FALSE(stream.SetStreamItemNum(-1, 2));
  ASSERT_TRUE(stream.SetStreamItemNum(2, 1));
  stream.SetCurSelItem("Steel");
  for (const char* up : {"Ore", "Coal", "Power"}) stream.AddUpStreamItem(up, CLR_DEFAULT);
  stream.AddDownStreamItem("Cars", 0x0000FF);
  ASSERT_EQ(stream.GetShownUp().size(), 2u);
  EXPECT_EQ(stream.GetShownUp()[0].text, "Coal");
  const SIZE size = stream.GetReqSize();
  EXPECT_EQ(size.cy, 4 * 20) << "two up, the current one, one down";
  EXPECT_EQ(size.cx, 5 * 7 + 16) << "the widest shown text";

  EXPECT_TRUE(stream.ClickItem(true, 1));
  EXPECT_FALSE(stream.ClickItem(false, 1));
  EXPECT_EQ(stream.GetCurSelItem(), "Power");
  EXPECT_EQ(t.log.Take(),
            (std::vector<std::string>{"OnUpDownStreamSelChanged " + std::to_string(id) + " Power"}));
  stream.RemoveAllItemInfo();
  EXPECT_TRUE(stream.GetShownUp().empty());
  EXPECT_EQ(stream.GetCurSelItem(), "");
}

}  // namespace
