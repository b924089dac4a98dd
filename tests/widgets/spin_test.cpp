#include "orbe/widgets/spin.h"

#include <gtest/gtest.h>

#include <climits>

#include "widgets/event_log.h"

namespace {

TEST(Spin, StepsStayInTheRangeAndReportOnlyChanges) {
  TestContainer t;
  int id = 0;
  auto& spin = t.Add<CKvxSpin>(orbe::WidgetKind::kSpin, "", &id);
  EXPECT_FALSE(spin.SetRange(5, 4));
  ASSERT_TRUE(spin.SetRange(1, 10));
  EXPECT_EQ(spin.GetValue(), 1) << "moved into the new range";
  EXPECT_TRUE(spin.Step(3));
  EXPECT_TRUE(spin.Step(100));
  EXPECT_TRUE(spin.Step(1));  // at the top already: no change, no event
  spin.SetValue(-5, false);
  EXPECT_EQ(spin.GetValue(), 1);
  spin.SetValue(6, true);
  spin.SetReadOnly(true);
  EXPECT_FALSE(spin.Step(1));
  EXPECT_FALSE(spin.TypeValue(2));
  const std::string s = "OnSpinPosChanged " + std::to_string(id);
  EXPECT_EQ(t.log.Take(), (std::vector<std::string>{s + " 4", s + " 10", s + " 6"}));

  spin.SetReadOnly(false);
  spin.SetRange(INT_MIN, INT_MAX);
  spin.SetValue(INT_MAX, false);
  EXPECT_TRUE(spin.Step(1));
  EXPECT_EQ(spin.GetValue(), INT_MAX) << "no wrap-around at the int limit";
}

}  // namespace
