#include "orbe/platform/window_class.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "orbe/platform/text.h"
#include "orbe/platform/window.h"

namespace {

class RecordingWnd : public CWnd {
 public:
  ~RecordingWnd() override { DestroyWindow(); }
  std::vector<UINT> received;
  std::function<BOOL(MSG*)> pre_translate;

  BOOL PreTranslateMessage(MSG* msg) override { return pre_translate ? pre_translate(msg) : FALSE; }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (message != WM_SIZE && message != WM_CREATE && message != WM_SHOWWINDOW) received.push_back(message);
    return CWnd::WindowProc(message, wparam, lparam);
  }
};

WNDCLASSA ClassNamed(const char* name, UINT style, HBRUSH background) {
  WNDCLASSA wc;
  wc.style = style;
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = AfxGetInstanceHandle();
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  return wc;
}

TEST(WindowClassTest, RegisteredOnceAndKeptWithStyleCursorAndBackground) {
  const HBRUSH grey = CreateSolidBrush(15592427);
  struct Case {
    const char* name;
    UINT style;
    HBRUSH background;
    bool has_background;
    COLORREF color;
  } const cases[] = {
      {"KVXINIReport", CS_GLOBALCLASS, nullptr, false, 0},
      {"PyGridLoader", 16384, nullptr, false, 0},
      {"MULTI_INDEX_WND", CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)),
       true, RGB(255, 255, 255)},
      {"CStatCalculateWnd", 11, grey, true, 0xEDEBEB},
      {"HollowTestClass", 0, static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)), false, 0},
      {"SysColourTestClass", 0, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), true, RGB(255, 255, 255)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WNDCLASSA wc = ClassNamed(c.name, c.style, c.background);
    EXPECT_FALSE(GetClassInfoA(AfxGetInstanceHandle(), c.name, nullptr));
    EXPECT_NE(RegisterClassA(&wc), 0);
    // A second registration is refused and changes nothing; the framework's
    // helper counts it as done.
    WNDCLASSA other = ClassNamed(c.name, 0, nullptr);
    EXPECT_EQ(RegisterClassA(&other), 0);
    EXPECT_TRUE(AfxRegisterClass(&other));
    WNDCLASSA found;
    ASSERT_TRUE(GetClassInfoA(nullptr, orbe::AsciiLower(c.name).c_str(), &found));
    EXPECT_STREQ(found.lpszClassName, c.name);
    EXPECT_EQ(found.style, c.style);

    RecordingWnd window;
    ASSERT_TRUE(window.Create(c.name, "caption", WS_CHILD | WS_VISIBLE, RECT{0, 0, 10, 10}, nullptr, 5));
    EXPECT_EQ(window.GetClassName(), c.name);
    CString caption;
    window.GetWindowText(caption);
    EXPECT_EQ(caption, "caption");
    char name[8] = {};
    EXPECT_EQ(GetClassNameA(window.GetSafeHwnd(), name, sizeof(name)), 7);
    EXPECT_EQ(std::string(name), std::string(c.name).substr(0, 7));
    orbe::WindowClassLook look;
    ASSERT_TRUE(orbe::GetWindowClassLook(window.GetSafeHwnd(), &look));
    EXPECT_EQ(look.style, c.style);
    EXPECT_EQ(look.has_background, c.has_background);
    if (c.has_background) {
      EXPECT_EQ(look.background, c.color);
    }
    EXPECT_EQ(look.cursor_id, 32512u);
    // The class cannot go while a window uses it.
    EXPECT_FALSE(UnregisterClassA(c.name, nullptr));
    window.DestroyWindow();
    EXPECT_TRUE(UnregisterClassA(c.name, nullptr));
    EXPECT_FALSE(GetClassInfoA(nullptr, c.name, nullptr));
  }
  EXPECT_TRUE(DeleteObject(grey));
  COLORREF color = 0;
  EXPECT_FALSE(orbe::BrushColor(grey, &color));
}

TEST(WindowClassTest, RefusedRegistrationsAndWindowsOfUnknownClasses) {
  WNDCLASSA unnamed = ClassNamed("", 0, nullptr);
  EXPECT_EQ(RegisterClassA(&unnamed), 0);
  EXPECT_EQ(RegisterClassA(nullptr), 0);
  RecordingWnd window;
  EXPECT_FALSE(window.Create("NoSuchClass", "x", WS_CHILD, RECT{}, nullptr, 1));
  EXPECT_EQ(window.GetSafeHwnd(), nullptr);
  // A plain window has no class and no class look.
  ASSERT_TRUE(window.Create(static_cast<LPCSTR>(nullptr), "plain", 0, RECT{}, nullptr, 1));
  EXPECT_EQ(window.GetClassName(), "");
  EXPECT_FALSE(orbe::GetWindowClassLook(window.GetSafeHwnd(), nullptr));
  EXPECT_EQ(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(std::uintptr_t{1})), nullptr);
  EXPECT_EQ(GetStockObject(99), nullptr);
  EXPECT_FALSE(orbe::BrushColor(reinterpret_cast<HBRUSH>(std::uintptr_t{0x123456}), nullptr));
}

TEST(WindowInputTest, DoubleClicksFollowTheClassStyle) {
  WNDCLASSA with = ClassNamed("InputDblClk", CS_DBLCLKS, nullptr);
  WNDCLASSA without = ClassNamed("InputNoDblClk", 0, nullptr);
  ASSERT_TRUE(AfxRegisterClass(&with));
  ASSERT_TRUE(AfxRegisterClass(&without));
  struct Case {
    const char* class_name;
    orbe::MouseButton button;
    bool double_click;
    std::vector<UINT> expected;
  } const cases[] = {
      {"InputDblClk", orbe::MouseButton::kLeft, true, {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}},
      {"InputNoDblClk", orbe::MouseButton::kLeft, true, {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP}},
      {"InputNoDblClk", orbe::MouseButton::kLeft, false, {WM_LBUTTONDOWN, WM_LBUTTONUP}},
      {"InputDblClk", orbe::MouseButton::kRight, false, {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_CONTEXTMENU}},
  };
  for (const Case& c : cases) {
    RecordingWnd window;
    ASSERT_TRUE(window.Create(c.class_name, "", WS_VISIBLE, RECT{100, 50, 300, 250}, nullptr, 1));
    ASSERT_TRUE(orbe::ClickMouse(window.GetSafeHwnd(), 5, 6, c.button, c.double_click));
    orbe::RunUntilIdle();
    EXPECT_EQ(window.received, c.expected) << c.class_name;
  }
}

TEST(WindowInputTest, PreTranslateWalksFromTheTargetUpAndCanConsume) {
  RecordingWnd top;
  RecordingWnd middle;
  RecordingWnd leaf;
  ASSERT_TRUE(top.Create(nullptr, RECT{0, 0, 100, 100}, 1));
  ASSERT_TRUE(middle.Create(&top, RECT{0, 0, 50, 50}, 2));
  ASSERT_TRUE(leaf.Create(&middle, RECT{0, 0, 10, 10}, 3));
  std::vector<std::string> walk;
  const auto watcher = [&walk](const char* who, bool consume) {
    return [&walk, who, consume](MSG* msg) {
      if (msg->message != WM_KEYDOWN) return FALSE;
      walk.push_back(std::string(who) + ":" + std::to_string(msg->wParam));
      return consume && msg->wParam == VK_DELETE ? TRUE : FALSE;
    };
  };
  top.pre_translate = watcher("top", false);
  middle.pre_translate = watcher("middle", true);
  leaf.pre_translate = watcher("leaf", false);

  ASSERT_TRUE(orbe::PressKey(leaf.GetSafeHwnd(), VK_DELETE));
  ASSERT_TRUE(orbe::PressKey(leaf.GetSafeHwnd(), VK_RETURN));
  orbe::RunUntilIdle();
  EXPECT_EQ(walk, (std::vector<std::string>{"leaf:46", "middle:46", "leaf:13", "middle:13", "top:13"}));
  // The consumed key-down never reached the window; key-ups always did.
  EXPECT_EQ(leaf.received, (std::vector<UINT>{WM_KEYUP, WM_KEYDOWN, WM_KEYUP}));

  // Sent messages bypass the walk.
  walk.clear();
  leaf.SendMessage(WM_KEYDOWN, VK_DELETE, 1);
  EXPECT_TRUE(walk.empty());
  // Without a focus window there is nobody to type into.
  EXPECT_FALSE(orbe::PressKey(nullptr, VK_RETURN));
  leaf.SetFocus();
  EXPECT_TRUE(orbe::PressKey(nullptr, VK_RETURN));
}

TEST(WindowInputTest, CenterWindowUsesTheOwnerOrTheDesktop) {
  orbe::SetDesktopSize(1000, 800);
  RecordingWnd owner;
  RecordingWnd popup;
  ASSERT_TRUE(owner.Create(nullptr, RECT{100, 100, 500, 300}, 1));
  ASSERT_TRUE(popup.Create(nullptr, RECT{0, 0, 200, 100}, 2));
  popup.CenterWindow();
  RECT rect;
  popup.GetWindowRect(&rect);
  EXPECT_EQ(rect.left, 400);
  EXPECT_EQ(rect.top, 350);
  popup.SetOwner(&owner);
  popup.CenterWindow();
  popup.GetWindowRect(&rect);
  EXPECT_EQ(rect.left, 200);
  EXPECT_EQ(rect.top, 150);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1000);
  orbe::SetDesktopSize(1920, 1080);
}

}  // namespace
