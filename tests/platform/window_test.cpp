#include "orbe/platform/window.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/window_table.h"

namespace {

struct Received {
  HWND hwnd;
  UINT message;
  WPARAM wparam;
  LPARAM lparam;
};

// Records every message into a log that the test owns, so that the log
// survives the window.
class LoggingWnd : public CWnd {
 public:
  explicit LoggingWnd(std::vector<Received>* log = nullptr) : log_(log) {}
  ~LoggingWnd() override { DestroyWindow(); }

  std::function<LRESULT(UINT, WPARAM, LPARAM)> handler;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (log_ != nullptr) log_->push_back(Received{m_hWnd, message, wparam, lparam});
    if (handler) return handler(message, wparam, lparam);
    return CWnd::WindowProc(message, wparam, lparam);
  }

 private:
  std::vector<Received>* log_;
};

std::vector<UINT> MessagesTo(const std::vector<Received>& log, HWND hwnd) {
  std::vector<UINT> result;
  for (const Received& r : log) {
    if (r.hwnd == hwnd) result.push_back(r.message);
  }
  return result;
}

constexpr RECT kRect{10, 20, 110, 70};

TEST(WindowTest, CreateSendsCreateThenSizeAndDestroyRemovesTheHandle) {
  std::vector<Received> log;
  LoggingWnd window(&log);
  ASSERT_TRUE(window.Create(nullptr, kRect, 7, WS_VISIBLE));
  const HWND hwnd = window.GetSafeHwnd();
  ASSERT_NE(hwnd, nullptr);
  EXPECT_TRUE(IsWindow(hwnd));
  EXPECT_EQ(CWnd::FromHandle(hwnd), &window);
  EXPECT_EQ(window.GetDlgCtrlID(), 7);
  EXPECT_FALSE(window.Create(nullptr, kRect, 8)) << "a second window for one object";
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].message, WM_CREATE);
  EXPECT_EQ(log[1].message, WM_SIZE);
  EXPECT_EQ(log[1].lparam, MAKELPARAM(100, 50));

  EXPECT_TRUE(window.DestroyWindow());
  EXPECT_EQ(log.back().message, WM_DESTROY);
  EXPECT_EQ(window.m_hWnd, nullptr);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(CWnd::FromHandle(hwnd), nullptr);
  EXPECT_FALSE(window.DestroyWindow());
  EXPECT_FALSE(::DestroyWindow(hwnd));
}

TEST(WindowTest, StaleAndForgedHandlesAreMissingNotReachingOtherWindows) {
  HWND stale;
  {
    CWnd window;
    ASSERT_TRUE(window.Create(nullptr, kRect, 1));
    stale = window.m_hWnd;
  }  // the destructor destroys the window
  EXPECT_FALSE(IsWindow(stale));

  // The freed slot comes back with a new generation: the old handle stays dead.
  std::vector<std::unique_ptr<CWnd>> windows;
  std::set<HWND> handles;
  for (int i = 0; i < 50; ++i) {
    windows.push_back(std::make_unique<CWnd>());
    ASSERT_TRUE(windows.back()->Create(nullptr, kRect, i));
    handles.insert(windows.back()->m_hWnd);
  }
  EXPECT_EQ(handles.size(), 50u);
  EXPECT_EQ(handles.count(stale), 0u);
  EXPECT_FALSE(IsWindow(stale));
  EXPECT_EQ(SendMessage(stale, WM_USER, 0, 0), 0);
  EXPECT_FALSE(PostMessage(stale, WM_USER, 0, 0));

  for (const HWND forged : {static_cast<HWND>(nullptr), reinterpret_cast<HWND>(std::uintptr_t{1}),
                            reinterpret_cast<HWND>(~std::uintptr_t{0}),
                            reinterpret_cast<HWND>(std::uintptr_t{0xFFFFFFFF})}) {
    EXPECT_FALSE(IsWindow(forged));
    EXPECT_FALSE(PostMessage(forged, WM_USER, 0, 0));
    EXPECT_EQ(SendMessage(forged, WM_USER, 0, 0), 0);
    EXPECT_FALSE(::DestroyWindow(forged));
    EXPECT_EQ(CWnd::FromHandle(forged), nullptr);
  }
}

TEST(WindowTest, PostedMessageToADestroyedWindowIsDropped) {
  std::vector<Received> log;
  auto window = std::make_unique<LoggingWnd>(&log);
  ASSERT_TRUE(window->Create(nullptr, kRect, 1));
  const HWND hwnd = window->m_hWnd;
  EXPECT_TRUE(window->PostMessage(WM_USER + 1, 11, 12));
  window.reset();
  EXPECT_FALSE(PostMessage(hwnd, WM_USER + 2, 0, 0));
  EXPECT_EQ(orbe::RunUntilIdle(), 0u);
  for (const Received& r : log) EXPECT_LT(r.message, WM_USER);
}

TEST(WindowTest, SameThreadSendIsADirectCall) {
  LoggingWnd window;
  window.handler = [](UINT message, WPARAM wparam, LPARAM lparam) -> LRESULT {
    return message == WM_USER ? static_cast<LRESULT>(wparam) + lparam : 0;
  };
  ASSERT_TRUE(window.Create(nullptr, kRect, 1));
  EXPECT_EQ(window.SendMessage(WM_USER, 40, 2), 42);
  EXPECT_EQ(SendMessage(window.m_hWnd, WM_USER, 1, 2), 3);
}

TEST(WindowTest, CreateFailsWhenCreateHandlerRefuses) {
  std::vector<Received> log;
  LoggingWnd window(&log);
  window.handler = [](UINT message, WPARAM, LPARAM) -> LRESULT { return message == WM_CREATE ? -1 : 0; };
  const std::size_t before = orbe::WindowTable::Instance().Size();
  EXPECT_FALSE(window.Create(nullptr, kRect, 1));
  EXPECT_EQ(window.m_hWnd, nullptr);
  EXPECT_EQ(orbe::WindowTable::Instance().Size(), before);
  EXPECT_EQ(MessagesTo(log, log.front().hwnd), (std::vector<UINT>{WM_CREATE, WM_DESTROY}));
}

TEST(WindowTest, DestroyingAParentDestroysChildrenFirst) {
  std::vector<Received> log;
  LoggingWnd parent(&log);
  ASSERT_TRUE(parent.Create(nullptr, kRect, 1, WS_VISIBLE));
  LoggingWnd child(&log);
  ASSERT_TRUE(child.Create(&parent, RECT{5, 5, 25, 15}, 101, WS_CHILD | WS_VISIBLE));
  LoggingWnd grandchild(&log);
  ASSERT_TRUE(grandchild.Create(&child, RECT{1, 2, 3, 4}, 201, WS_CHILD));
  const HWND handles[] = {parent.m_hWnd, child.m_hWnd, grandchild.m_hWnd};

  EXPECT_EQ(child.GetParent(), &parent);
  EXPECT_EQ(parent.GetDlgItem(101), &child);
  EXPECT_EQ(parent.GetDlgItem(201), nullptr) << "only direct children";
  EXPECT_EQ(parent.GetChildren(), std::vector<HWND>{child.m_hWnd});

  log.clear();
  ASSERT_TRUE(parent.DestroyWindow());
  std::vector<HWND> destroyed;
  for (const Received& r : log) {
    if (r.message == WM_DESTROY) destroyed.push_back(r.hwnd);
  }
  EXPECT_EQ(destroyed, (std::vector<HWND>{handles[2], handles[1], handles[0]}));
  for (const HWND hwnd : handles) EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(child.m_hWnd, nullptr);
  EXPECT_EQ(grandchild.m_hWnd, nullptr);
}

TEST(WindowTest, DestroyingAChildUnlinksItFromItsParent) {
  CWnd parent;
  ASSERT_TRUE(parent.Create(nullptr, kRect, 1));
  auto child = std::make_unique<CWnd>();
  ASSERT_TRUE(child->Create(&parent, kRect, 2));
  child.reset();
  EXPECT_TRUE(parent.GetChildren().empty());
  EXPECT_EQ(parent.GetDlgItem(2), nullptr);
}

// Deletes itself after destruction, as the framework's frame windows do.
class SelfDeletingWnd : public CWnd {
 public:
  explicit SelfDeletingWnd(bool* deleted) : deleted_(deleted) {}
  ~SelfDeletingWnd() override { *deleted_ = true; }

 protected:
  void PostNcDestroy() override { delete this; }

 private:
  bool* deleted_;
};

TEST(WindowTest, PostNcDestroyMayDeleteTheWindowObject) {
  bool deleted = false;
  CWnd parent;
  ASSERT_TRUE(parent.Create(nullptr, kRect, 1));
  auto owned = std::make_unique<SelfDeletingWnd>(&deleted);
  ASSERT_TRUE(owned->Create(&parent, kRect, 2));
  owned.release()->PostMessage(WM_CLOSE);  // the default OnClose destroys it
  EXPECT_EQ(orbe::RunUntilIdle(), 1u);
  EXPECT_TRUE(deleted);
  EXPECT_TRUE(parent.GetChildren().empty());
}

TEST(WindowTest, GeometryVisibilityAndEnabledState) {
  std::vector<Received> log;
  LoggingWnd parent(&log);
  ASSERT_TRUE(parent.Create(nullptr, RECT{100, 200, 500, 600}, 1));
  LoggingWnd child(&log);
  ASSERT_TRUE(child.Create(&parent, RECT{10, 20, 30, 60}, 2, WS_CHILD | WS_VISIBLE));

  RECT rect;
  child.GetClientRect(&rect);
  EXPECT_EQ(std::make_pair(rect.right, rect.bottom), std::make_pair(20, 40));
  EXPECT_EQ(std::make_pair(rect.left, rect.top), std::make_pair(0, 0));
  child.GetWindowRect(&rect);
  EXPECT_EQ(rect.left, 110);
  EXPECT_EQ(rect.top, 220);
  EXPECT_EQ(rect.right, 130);
  EXPECT_EQ(rect.bottom, 260);

  log.clear();
  child.MoveWindow(1, 2, 300, 400);
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].message, WM_SIZE);
  EXPECT_EQ(log[0].lparam, MAKELPARAM(300, 400));
  child.MoveWindow(RECT{50, 50, 40, 10});  // inverted: an empty window, not a negative one
  child.GetClientRect(&rect);
  EXPECT_EQ(std::make_pair(rect.right, rect.bottom), std::make_pair(0, 0));

  EXPECT_FALSE(child.IsWindowVisible()) << "its parent is hidden";
  EXPECT_FALSE(parent.ShowWindow(SW_SHOW));
  EXPECT_TRUE(child.IsWindowVisible());
  EXPECT_TRUE(parent.ShowWindow(SW_SHOW));
  EXPECT_TRUE(child.ShowWindow(SW_HIDE));
  EXPECT_FALSE(child.IsWindowVisible());
  EXPECT_TRUE(parent.IsWindowVisible());

  log.clear();
  EXPECT_TRUE(child.IsWindowEnabled());
  EXPECT_FALSE(child.EnableWindow(FALSE));
  EXPECT_FALSE(child.IsWindowEnabled());
  EXPECT_TRUE(child.EnableWindow(FALSE));
  EXPECT_TRUE(child.EnableWindow(TRUE));
  EXPECT_EQ(MessagesTo(log, child.m_hWnd), (std::vector<UINT>{WM_ENABLE, WM_ENABLE})) << "only on change";

  child.SetWindowText("\xd6\xd0\xce\xc4");
  CString text;
  child.GetWindowText(text);
  EXPECT_EQ(text, "\xd6\xd0\xce\xc4");
}

TEST(WindowTest, InvalidateMarksAndUpdateWindowPaintsOnce) {
  std::vector<Received> log;
  LoggingWnd window(&log);
  ASSERT_TRUE(window.Create(nullptr, kRect, 1));
  window.UpdateWindow();  // a new window needs its first paint
  RECT dirty;
  EXPECT_FALSE(window.GetUpdateRect(&dirty));
  window.Invalidate();
  window.Invalidate();
  EXPECT_TRUE(window.GetUpdateRect(&dirty));
  EXPECT_EQ(dirty.right, 100);
  window.UpdateWindow();
  window.UpdateWindow();
  EXPECT_EQ(MessagesTo(log, window.m_hWnd),
            (std::vector<UINT>{WM_CREATE, WM_SIZE, WM_PAINT, WM_PAINT}));
}

TEST(WindowTest, FocusMovesWithKillAndSetFocusMessages) {
  std::vector<Received> log;
  LoggingWnd first(&log);
  LoggingWnd second(&log);
  ASSERT_TRUE(first.Create(nullptr, kRect, 1));
  ASSERT_TRUE(second.Create(nullptr, kRect, 2));
  first.SetFocus();
  EXPECT_EQ(CWnd::GetFocus(), &first);

  log.clear();
  EXPECT_EQ(second.SetFocus(), &first);
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].hwnd, first.m_hWnd);
  EXPECT_EQ(log[0].message, WM_KILLFOCUS);
  EXPECT_EQ(log[0].wparam, reinterpret_cast<WPARAM>(second.m_hWnd));
  EXPECT_EQ(log[1].hwnd, second.m_hWnd);
  EXPECT_EQ(log[1].message, WM_SETFOCUS);
  EXPECT_EQ(log[1].wparam, reinterpret_cast<WPARAM>(first.m_hWnd));

  second.DestroyWindow();
  EXPECT_EQ(CWnd::GetFocus(), nullptr);
}

TEST(WindowTest, WindowsBelongToTheirThread) {
  CWnd mine;
  ASSERT_TRUE(mine.Create(nullptr, kRect, 1));
  BOOL child_created = TRUE;
  BOOL destroyed = TRUE;
  UINT_PTR timer = 1;
  std::thread other([&] {
    CWnd child;
    child_created = child.Create(&mine, kRect, 2);
    destroyed = ::DestroyWindow(mine.m_hWnd);
    timer = ::SetTimer(mine.m_hWnd, 5, 10, nullptr);
  });
  other.join();
  EXPECT_FALSE(child_created);
  EXPECT_FALSE(destroyed);
  EXPECT_EQ(timer, 0u);
  EXPECT_TRUE(IsWindow(mine.m_hWnd));
}

TEST(WindowTest, RegisteredMessagesShareIdsByNameWithoutCase) {
  const UINT first = RegisterWindowMessageA("OrbeWindowTest.Changed");
  EXPECT_GE(first, 0xC000u);
  EXPECT_LE(first, 0xFFFFu);
  EXPECT_EQ(RegisterWindowMessageA("ORBEWINDOWTEST.CHANGED"), first);
  EXPECT_EQ(RegisterWindowMessageA("orbewindowtest.changed"), first);
  const UINT second = RegisterWindowMessageA("OrbeWindowTest.Selected");
  EXPECT_GE(second, 0xC000u);
  EXPECT_NE(second, first);
  EXPECT_EQ(RegisterWindowMessageA(""), 0u);
  EXPECT_EQ(RegisterWindowMessageA(nullptr), 0u);
}

}  // namespace
