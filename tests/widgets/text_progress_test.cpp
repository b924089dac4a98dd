#include "orbe/widgets/text_progress.h"

#include <gtest/gtest.h>

#include <climits>

#include "orbe/widgets/html_writer.h"

namespace {

TEST(TextProgress, PositionStaysInRangeAndTextShowsPercent) {
  CTextProgressCtrl bar;
  EXPECT_EQ(bar.GetText(), "0%");
  EXPECT_EQ(bar.SetPos(42), 0);
  EXPECT_EQ(bar.GetText(), "42%");
  bar.SetPos(150);
  EXPECT_EQ(bar.GetPos(), 100);
  EXPECT_FALSE(bar.SetRange(5, 5));
  EXPECT_TRUE(bar.SetRange(10, 13));
  EXPECT_EQ(bar.GetPos(), 13);
  bar.SetPos(12);
  EXPECT_EQ(bar.GetPercent(), 66);  // rounded down
  bar.SetPos(-4);
  EXPECT_EQ(bar.GetPos(), 10);
  // The whole int range does not overflow.
  ASSERT_TRUE(bar.SetRange(INT_MIN, INT_MAX));
  bar.SetPos(INT_MAX);
  EXPECT_EQ(bar.GetPercent(), 100);
  bar.SetPos(0);
  EXPECT_EQ(bar.GetPercent(), 50);
  bar.SetShowText(false);
  EXPECT_EQ(bar.GetText(), "");

  orbe::HtmlWriter out;
  bar.RenderHtml(out);
  EXPECT_NE(out.str().find("width:50%"), std::string::npos);
}

}  // namespace
