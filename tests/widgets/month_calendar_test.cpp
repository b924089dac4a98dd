#include <gtest/gtest.h>

#include "orbe/widgets/date_controls.h"
#include "orbe/widgets/html_writer.h"
#include "widgets/event_log.h"

namespace {

using orbe::WidgetKind;
using Pair = std::pair<std::string, std::string>;

TEST(MonthCalendar, ShowsTheSelectedMonthAndItsSixWeekPage) {
  CKvxMonthCalendar calendar;
  ASSERT_TRUE(calendar.SetCurSel("2024-02-15"));
  EXPECT_EQ(calendar.GetCurShowRange(0), Pair("2024-02-01", "2024-02-29"));
  // 1 February 2024 is a Thursday: the page starts on Sunday 28 January.
  EXPECT_EQ(calendar.GetCurShowRange(1), Pair("2024-01-28", "2024-03-09"));
  EXPECT_TRUE(calendar.SetDayBold(2024, 2, 14, true));
  EXPECT_FALSE(calendar.SetDayBold(2024, 2, 30, true));
  EXPECT_FALSE(calendar.SetDayBold(300000, 1, 1, true));
  EXPECT_TRUE(calendar.IsDayBold(20240214));
  EXPECT_FALSE(calendar.SetColor(6, 0));
  EXPECT_TRUE(calendar.SetColor(MCSC_TITLEBK, 0x112233));
  EXPECT_EQ(calendar.GetColor(MCSC_TITLEBK), 0x112233u);
  orbe::HtmlWriter out;
  calendar.RenderHtml(out);
  EXPECT_NE(out.str().find("<td class=\" sel\">15</td>"), std::string::npos);
  EXPECT_NE(out.str().find("<td class=\" bold\">14</td>"), std::string::npos);
  EXPECT_NE(out.str().find("<td class=\"trail\">28</td>"), std::string::npos);
}

TEST(MonthCalendar, ClicksInsideTheRangeChangeTheSelection) {
  TestContainer t;
  int id = 0;
  auto& calendar = t.Add<CKvxMonthCalendar>(WidgetKind::kMonthCal, "", &id);
  ASSERT_TRUE(calendar.SetRange("2024-01-01", "2024-06-30"));
  EXPECT_EQ(calendar.GetRange(), Pair("2024-01-01", "2024-06-30"));
  EXPECT_FALSE(calendar.SetRange("2024-07-01", "2024-06-30"));
  calendar.SetCurSel("2024-03-01");
  EXPECT_TRUE(calendar.ClickDay("2024-03-08"));
  EXPECT_TRUE(calendar.ClickDay("2024-03-08"));
  EXPECT_FALSE(calendar.ClickDay("2024-07-01"));
  EXPECT_FALSE(calendar.ClickDay("2024-02-30"));
  EXPECT_EQ(t.log.Take(),
            (std::vector<std::string>{"OnMonthCalSelChanged " + std::to_string(id) + " 2024-03-08"}));
  EXPECT_EQ(calendar.GetCurSel(), "2024-03-08");
}

}  // namespace
