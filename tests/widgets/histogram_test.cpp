#include "orbe/widgets/histogram.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

#include "orbe/widgets/html_writer.h"

namespace {

constexpr UINT kSelected = WM_USER + 1026;

class Owner : public CWnd {
 public:
  std::vector<std::pair<WPARAM, LPARAM>> selections;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (message == kSelected) selections.emplace_back(wparam, lparam);
    return CWnd::WindowProc(message, wparam, lparam);
  }
};

TEST(Histogram, ItemsScaleAndDecimals) {
  KVXHistogram histogram;
  EXPECT_EQ(histogram.AddItem(12345.678, "a"), 0);
  histogram.AddItem(-50, "b");
  histogram.AddItem(NAN, "c");
  EXPECT_EQ(histogram.ValueText(0), "12345.68");
  EXPECT_FALSE(histogram.SetScale(0));
  EXPECT_TRUE(histogram.SetScale(10000));
  histogram.SetDecimals(1);
  EXPECT_EQ(histogram.ValueText(0), "1.2");
  EXPECT_EQ(histogram.ValueText(1), "-0.0");
  EXPECT_EQ(histogram.ValueText(2), "--");
  EXPECT_EQ(histogram.ValueText(3), "--");
  histogram.SetDecimals(99);
  EXPECT_EQ(histogram.GetDecimals(), 10);
  EXPECT_TRUE(histogram.SetSelectedItem(1));
  EXPECT_FALSE(histogram.SetSelectedItem(3));
  histogram.ClearAll();
  EXPECT_EQ(histogram.GetSelectedItem(), -1);
  EXPECT_EQ(histogram.GetItemCount(), 0);
}

TEST(Histogram, ClickSelectsAndPostsToTheOwnerOnChange) {
  Owner owner;
  owner.Create(nullptr, RECT{0, 0, 300, 200}, 1);
  KVXHistogram histogram;
  histogram.Create(&owner, RECT{0, 0, 300, 100}, 77, WS_CHILD | WS_VISIBLE);
  histogram.SetSelectMessage(&owner, kSelected);
  histogram.AddItem(1);
  histogram.AddItem(2);
  EXPECT_TRUE(histogram.ClickItem(1));
  EXPECT_TRUE(histogram.ClickItem(1));
  EXPECT_FALSE(histogram.ClickItem(2));
  EXPECT_TRUE(owner.selections.empty());  // posted, not sent
  orbe::RunUntilIdle();
  EXPECT_EQ(owner.selections, (std::vector<std::pair<WPARAM, LPARAM>>{{1, 77}}));
  histogram.SetSelectedItem(0);  // programmatic: silent
  orbe::RunUntilIdle();
  EXPECT_EQ(owner.selections.size(), 1u);
}

TEST(Histogram, RendersBarsBySignAndMarksTheSelection) {
  KVXHistogram histogram;
  histogram.Create(nullptr, RECT{0, 0, 300, 120}, 1);
  histogram.AddItem(3, "\xc9\xcf");  // 上
  histogram.AddItem(-1, "down");
  histogram.AddItem(2, "blue", RGB(0, 0, 255));
  histogram.SetSelectedItem(2);
  orbe::HtmlWriter out;
  histogram.RenderHtml(out);
  const std::string& svg = out.str();
  EXPECT_NE(svg.find("fill=\"#ff0000\""), std::string::npos);
  EXPECT_NE(svg.find("fill=\"#00a000\""), std::string::npos);
  EXPECT_NE(svg.find("fill=\"#0000ff\" stroke=\"#ffff00\""), std::string::npos);
  EXPECT_NE(svg.find("\xe4\xb8\x8a"), std::string::npos);  // label in UTF-8
}

}  // namespace
