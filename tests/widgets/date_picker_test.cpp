#include <gtest/gtest.h>

#include "orbe/widgets/date_controls.h"
#include "widgets/event_log.h"

namespace {

using orbe::WidgetKind;
using Pair = std::pair<std::string, std::string>;

TEST(DatePicker, KeepsItsValueInsideTheRange) {
  CKvxDateTimePicker picker;
  EXPECT_EQ(picker.GetDateTime().second, "00:00:00");
  ASSERT_TRUE(picker.SetDateTime("2024-06-30", "15:00:00"));
  EXPECT_EQ(picker.GetDateTime(), Pair("2024-06-30", "15:00:00"));
  EXPECT_FALSE(picker.SetDateTime("2024-02-30", ""));
  EXPECT_FALSE(picker.SetDateTime("2024-06-30", "25:00"));

  EXPECT_FALSE(picker.SetRange("2024-12-31", "", "2024-01-01", "")) << "min above max";
  ASSERT_TRUE(picker.SetRange("2024-01-01", "09:30", "2024-03-31", "15:00"));
  EXPECT_EQ(picker.GetDateTime(), Pair("2024-03-31", "15:00:00")) << "moved to the nearer bound";
  EXPECT_EQ(picker.GetRange(), std::make_tuple(std::string("2024-01-01"), std::string("09:30:00"),
                                               std::string("2024-03-31"), std::string("15:00:00")));
  EXPECT_FALSE(picker.SetDateTime("2024-01-01", "09:29:59"));
  EXPECT_TRUE(picker.SetDateTime("2024-01-01", "09:30"));
  EXPECT_FALSE(picker.SetDateTime("2024-04-01", ""));

  ASSERT_TRUE(picker.SetRange("", "", "2024-02-01", ""));  // open below
  EXPECT_EQ(std::get<0>(picker.GetRange()), "");
  EXPECT_TRUE(picker.SetDateTime("1990-01-01", ""));
  EXPECT_FALSE(picker.SetRange("x", "", "", "")) << "a malformed bound changes nothing";
  EXPECT_EQ(std::get<2>(picker.GetRange()), "2024-02-01");
}

TEST(DatePicker, UserPicksRaiseTheNewDateAndTimeWhenTheyChangeIt) {
  TestContainer t;
  int id = 0;
  ASSERT_TRUE(t.container.DateTime_AddWnd(0, 0, 120, 20, id, 2, 1));
  auto& picker = *t.container.GetWidget<CKvxDateTimePicker>(id);
  EXPECT_EQ(picker.GetShowFormat(), 2);
  EXPECT_TRUE(picker.GetShowNone());
  picker.SetRange("2024-01-01", "", "2024-12-31", "");
  picker.SetDateTime("2024-05-05", "");
  EXPECT_TRUE(picker.PickDateTime("20240506", "10:00"));
  EXPECT_TRUE(picker.PickDateTime("2024-05-06", "10:00:00"));  // unchanged: no event
  EXPECT_FALSE(picker.PickDateTime("2025-01-01", ""));
  EXPECT_EQ(t.log.Take(),
            (std::vector<std::string>{"OnDateTimeChanged " + std::to_string(id) + " 2024-05-06 10:00:00"}));
}

}  // namespace
