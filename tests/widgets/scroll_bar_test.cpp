#include "orbe/widgets/scroll_bar.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "orbe/widgets/html_writer.h"

namespace {

// Records the scroll messages a bar sends as "V code pos" / "H code pos".
class RecordingParent : public CWnd {
 public:
  std::vector<std::string> seen;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (message == WM_VSCROLL || message == WM_HSCROLL) {
      const CWnd* bar = CWnd::FromHandle(reinterpret_cast<HWND>(lparam));
      seen.push_back(std::string(message == WM_VSCROLL ? "V " : "H ") + std::to_string(LOWORD(wparam)) + " " +
                     std::to_string(HIWORD(wparam)) + (bar != nullptr ? "" : " ?"));
      return 0;
    }
    return CWnd::WindowProc(message, wparam, lparam);
  }
};

struct Fixture {
  RecordingParent parent;
  CXScrollBar vbar{true};
  CXScrollBar hbar{false};
  Fixture() {
    parent.Create(nullptr, RECT{0, 0, 200, 200}, 1, WS_VISIBLE);
    vbar.Create(RECT{183, 0, 200, 200}, &parent, 2);
    hbar.Create(RECT{0, 183, 183, 200}, &parent, 3);
  }
};

TEST(XScrollBar, PositionStaysWhereTheLastPageIsFull) {
  CXScrollBar bar;
  EXPECT_FALSE(bar.SetScrollRange(5, 4));
  ASSERT_TRUE(bar.SetScrollRange(10, 29));
  EXPECT_EQ(bar.GetScrollPos32(), 10) << "moved into the new range";
  bar.SetPageSize(5);
  EXPECT_EQ(bar.GetMaxPos(), 25);
  EXPECT_EQ(bar.SetScrollPos32(100), 10) << "returns the previous position";
  EXPECT_EQ(bar.GetScrollPos32(), 25);
  bar.SetPageSize(10);
  EXPECT_EQ(bar.GetScrollPos32(), 20) << "a larger page pulls the thumb back";
  bar.SetPageSize(-3);
  EXPECT_EQ(bar.GetPageSize(), 0);
  EXPECT_EQ(bar.GetMaxPos(), 29);
  bar.SetPageSize(50);
  EXPECT_FALSE(bar.CanScroll());
  EXPECT_EQ(bar.GetScrollPos32(), 10);

  bar.SetScrollRange(INT_MIN, INT_MAX);
  bar.SetPageSize(0);
  bar.SetScrollPos32(INT_MAX);
  EXPECT_EQ(bar.GetScrollPos32(), INT_MAX) << "no overflow over the whole int range";
}

TEST(XScrollBar, UserActionsMoveTheThumbAndTellTheParent) {
  Fixture f;
  f.vbar.SetScrollRange(0, 99);
  f.vbar.SetPageSize(10);
  EXPECT_TRUE(f.vbar.ClickArrow(true));
  EXPECT_TRUE(f.vbar.ClickTrack(true));
  EXPECT_EQ(f.vbar.GetScrollPos32(), 11);
  EXPECT_TRUE(f.vbar.DragThumb(500));
  EXPECT_EQ(f.vbar.GetScrollPos32(), 90);
  EXPECT_TRUE(f.vbar.ScrollToEnd(false));
  EXPECT_TRUE(f.vbar.ClickArrow(false));  // at the top: still told, position kept
  EXPECT_EQ(f.parent.seen, (std::vector<std::string>{"V 1 1", "V 8 1", "V 3 11", "V 8 11", "V 5 90", "V 4 90",
                                                     "V 8 90", "V 6 0", "V 8 0", "V 0 0", "V 8 0"}));
  f.parent.seen.clear();

  f.hbar.SetScrollRange(0, 3);
  EXPECT_TRUE(f.hbar.ScrollToEnd(true));
  EXPECT_EQ(f.hbar.GetScrollPos32(), 3);
  EXPECT_EQ(f.parent.seen, (std::vector<std::string>{"H 7 3", "H 8 3"}));
  f.parent.seen.clear();

  f.hbar.SetPageSize(4);  // the page covers the range: nothing to scroll
  EXPECT_FALSE(f.hbar.ClickTrack(true));
  f.vbar.EnableWindow(FALSE);
  EXPECT_FALSE(f.vbar.DragThumb(3));
  EXPECT_TRUE(f.parent.seen.empty());
}

TEST(XScrollBar, RendersThumbShareAndPlace) {
  CXScrollBar bar(false);
  bar.SetScrollRange(0, 99);
  bar.SetPageSize(25);
  bar.SetScrollPos32(50);
  bar.SetBarColor(RGB(255, 0, 0));
  orbe::HtmlWriter out;
  bar.RenderHtml(out);
  const std::string html = out.str();
  EXPECT_NE(html.find("class=\"scrollbar h\""), std::string::npos) << html;
  EXPECT_NE(html.find("left:50%;width:25%;"), std::string::npos) << html;
  EXPECT_NE(html.find("#ff0000"), std::string::npos) << html;
}

}  // namespace
