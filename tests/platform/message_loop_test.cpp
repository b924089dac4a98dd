#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "orbe/platform/window.h"
#include "platform/message_queue.h"
#include "platform/timer_list.h"

namespace {

constexpr RECT kRect{0, 0, 100, 100};

// Hands each message to a function the test sets.
class FunctionWnd : public CWnd {
 public:
  ~FunctionWnd() override { DestroyWindow(); }
  std::function<LRESULT(UINT, WPARAM, LPARAM)> handler;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (handler) return handler(message, wparam, lparam);
    return CWnd::WindowProc(message, wparam, lparam);
  }
};

// Counts the ticks of each timer through the OnTimer handler.
class TickingWnd : public CWnd {
 public:
  ~TickingWnd() override { DestroyWindow(); }
  std::array<int, 8> ticks{};

 protected:
  void OnTimer(UINT_PTR id) override { ++ticks.at(id); }
};

TEST(MessageLoopTest, PostsFromFourThreadsAllArriveInEachThreadsOrder) {
  constexpr int kThreads = 4;
  constexpr int kPerThread = 10000;
  FunctionWnd window;
  std::array<LPARAM, kThreads> next{};
  int delivered = 0;
  int out_of_order = 0;
  window.handler = [&](UINT message, WPARAM wparam, LPARAM lparam) -> LRESULT {
    if (message != WM_APP) return 0;
    if (lparam != next.at(wparam)) ++out_of_order;
    next.at(wparam) = lparam + 1;
    ++delivered;
    return 0;
  };
  ASSERT_TRUE(window.Create(nullptr, kRect, 1));
  const HWND hwnd = window.m_hWnd;

  std::atomic<int> refused{0};
  std::vector<std::thread> posters;
  for (int t = 0; t < kThreads; ++t) {
    posters.emplace_back([&, t] {
      for (int i = 0; i < kPerThread; ++i) {
        if (!PostMessage(hwnd, WM_APP, t, i)) ++refused;
      }
    });
  }
  const bool all = orbe::PumpUntil([&] { return delivered == kThreads * kPerThread; }, 60000);
  for (std::thread& poster : posters) poster.join();
  EXPECT_TRUE(all);
  EXPECT_EQ(refused.load(), 0);
  EXPECT_EQ(delivered, kThreads * kPerThread);
  EXPECT_EQ(out_of_order, 0);
  for (const LPARAM n : next) EXPECT_EQ(n, kPerThread);
}

TEST(MessageLoopTest, RunUntilIdleDeliversCascadesAndCountsOnlyLiveWindows) {
  FunctionWnd window;
  std::vector<LPARAM> seen;
  window.handler = [&](UINT message, WPARAM, LPARAM lparam) -> LRESULT {
    if (message != WM_USER) return 0;
    seen.push_back(lparam);
    if (lparam < 3) window.PostMessage(WM_USER, 0, lparam + 1);
    return 0;
  };
  ASSERT_TRUE(window.Create(nullptr, kRect, 1));
  auto doomed = std::make_unique<CWnd>();
  ASSERT_TRUE(doomed->Create(nullptr, kRect, 2));
  doomed->PostMessage(WM_USER);
  window.PostMessage(WM_USER, 0, 0);
  doomed.reset();
  EXPECT_EQ(orbe::RunUntilIdle(), 4u);
  EXPECT_EQ(seen, (std::vector<LPARAM>{0, 1, 2, 3}));
  EXPECT_EQ(orbe::RunUntilIdle(), 0u);
}

TEST(MessageLoopTest, TimerTicksWhilePumpedAndStopsAfterKillTimer) {
  TickingWnd window;
  ASSERT_TRUE(window.Create(nullptr, kRect, 1));
  EXPECT_EQ(window.SetTimer(3, 10, nullptr), 3u);
  EXPECT_TRUE(orbe::PumpUntil([&] { return window.ticks[3] >= 3; }, 10000));
  EXPECT_TRUE(window.KillTimer(3));
  EXPECT_FALSE(window.KillTimer(3));
  const int after_kill = window.ticks[3];
  orbe::PumpFor(50);
  EXPECT_EQ(window.ticks[3], after_kill);
  int not_a_procedure = 0;
  EXPECT_EQ(window.SetTimer(4, 10, &not_a_procedure), 0u) << "timer procedures are refused";
}

TEST(MessageLoopTest, TimerDoesNotPileUpMissedTicksAndResetsOnSetAgain) {
  TickingWnd window;
  ASSERT_TRUE(window.Create(nullptr, kRect, 1));
  window.SetTimer(1, 10, nullptr);
  std::this_thread::sleep_for(std::chrono::milliseconds(60));  // several intervals unpumped
  EXPECT_EQ(orbe::RunUntilIdle(), 1u);
  EXPECT_EQ(window.ticks[1], 1);

  window.SetTimer(2, 10, nullptr);
  window.SetTimer(2, 600000, nullptr);  // same id: restarted with the long interval
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  orbe::RunUntilIdle();
  EXPECT_EQ(window.ticks[2], 0);
}

TEST(MessageLoopTest, DestroyingAParentDropsTheChildrensTimers) {
  auto parent = std::make_unique<CWnd>();
  ASSERT_TRUE(parent->Create(nullptr, kRect, 1));
  TickingWnd child;
  ASSERT_TRUE(child.Create(parent.get(), kRect, 2));
  const HWND child_hwnd = child.m_hWnd;
  child.SetTimer(1, 10, nullptr);
  parent.reset();
  EXPECT_FALSE(IsWindow(child_hwnd));
  EXPECT_FALSE(KillTimer(child_hwnd, 1));
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_EQ(orbe::RunUntilIdle(), 0u);
  EXPECT_EQ(child.ticks[1], 0);
}

TEST(MessageLoopTest, CrossThreadSendReturnsTheOwnersResult) {
  FunctionWnd window;
  std::thread::id handled_on;
  window.handler = [&](UINT message, WPARAM wparam, LPARAM lparam) -> LRESULT {
    if (message != WM_USER) return 0;
    handled_on = std::this_thread::get_id();
    return static_cast<LRESULT>(wparam) * lparam;
  };
  ASSERT_TRUE(window.Create(nullptr, kRect, 1));
  std::atomic<LRESULT> result{0};
  std::atomic<bool> done{false};
  std::thread sender([&] {
    result = SendMessage(window.m_hWnd, WM_USER, 6, 7);
    done = true;
  });
  EXPECT_TRUE(orbe::PumpUntil([&] { return done.load(); }, 60000));
  sender.join();
  EXPECT_EQ(result.load(), 42);
  EXPECT_EQ(handled_on, std::this_thread::get_id());
}

TEST(MessageLoopTest, ASenderKeepsAnsweringMessagesSentToIt) {
  FunctionWnd near_window;  // on this thread
  near_window.handler = [](UINT message, WPARAM wparam, LPARAM) -> LRESULT {
    return message == WM_USER ? static_cast<LRESULT>(wparam) + 1 : 0;
  };
  ASSERT_TRUE(near_window.Create(nullptr, kRect, 1));
  const HWND near_hwnd = near_window.m_hWnd;

  std::atomic<HWND> far_hwnd{nullptr};
  std::atomic<bool> stop{false};
  std::thread far_thread([&] {
    FunctionWnd far_window;
    // Asks the sender back while the sender waits for this answer.
    far_window.handler = [&](UINT message, WPARAM wparam, LPARAM) -> LRESULT {
      return message == WM_USER ? SendMessage(near_hwnd, WM_USER, wparam * 10, 0) : 0;
    };
    far_window.Create(nullptr, kRect, 2);
    far_hwnd = far_window.m_hWnd;
    orbe::PumpUntil([&] { return stop.load(); }, 60000);
  });
  ASSERT_TRUE(orbe::PumpUntil([&] { return far_hwnd.load() != nullptr; }, 60000));
  EXPECT_EQ(SendMessage(far_hwnd, WM_USER, 4, 0), 41);
  stop = true;
  far_thread.join();
}

TEST(MessageLoopTest, WindowsOfAnEndedThreadRefuseMessages) {
  auto orphan = std::make_unique<FunctionWnd>();
  std::atomic<HWND> created{nullptr};
  std::atomic<bool> sending{false};
  std::thread owner([&] {
    orphan->Create(nullptr, kRect, 1);
    created = orphan->m_hWnd;
    while (!sending) std::this_thread::yield();
  });  // ends without pumping: a waiting sender must be released
  while (created.load() == nullptr) std::this_thread::yield();
  const HWND hwnd = created;
  sending = true;
  EXPECT_EQ(SendMessage(hwnd, WM_USER, 1, 1), 0);
  owner.join();
  EXPECT_FALSE(PostMessage(hwnd, WM_USER, 0, 0));
  EXPECT_EQ(SendMessage(hwnd, WM_USER, 1, 1), 0);
  orphan.reset();  // not the owner thread: the handle is dropped all the same
  EXPECT_FALSE(IsWindow(hwnd));
}

TEST(MessageLoopTest, NestedModalLoopsReturnInnerFirst) {
  FunctionWnd outer;
  FunctionWnd inner;
  std::vector<std::string> events;
  outer.handler = [&](UINT message, WPARAM, LPARAM) -> LRESULT {
    if (message == WM_USER) {
      inner.PostMessage(WM_USER);
      events.push_back("inner returned " + std::to_string(inner.RunModalLoop()));
    }
    return 0;
  };
  inner.handler = [&](UINT message, WPARAM, LPARAM) -> LRESULT {
    if (message == WM_USER) {
      EXPECT_TRUE(outer.ContinueModal());
      EXPECT_TRUE(inner.ContinueModal());
      outer.EndModalLoop(1);  // the outer loop stops only after the inner one
      inner.EndModalLoop(2);
    }
    return 0;
  };
  ASSERT_TRUE(outer.Create(nullptr, kRect, 1));
  ASSERT_TRUE(inner.Create(nullptr, kRect, 2));
  outer.PostMessage(WM_USER);
  events.push_back("outer returned " + std::to_string(outer.RunModalLoop()));
  EXPECT_EQ(events, (std::vector<std::string>{"inner returned 2", "outer returned 1"}));
  EXPECT_FALSE(outer.ContinueModal());
}

TEST(MessageLoopTest, ModalLoopEndsWhenItsWindowIsDestroyedOrQuitIsPosted) {
  FunctionWnd dialog;
  dialog.handler = [&](UINT message, WPARAM, LPARAM) -> LRESULT {
    if (message == WM_USER) dialog.DestroyWindow();
    return 0;
  };
  ASSERT_TRUE(dialog.Create(nullptr, kRect, 1));
  dialog.PostMessage(WM_USER);
  EXPECT_EQ(dialog.RunModalLoop(), -1);

  CWnd other;
  ASSERT_TRUE(other.Create(nullptr, kRect, 2));
  PostQuitMessage(9);
  EXPECT_EQ(other.RunModalLoop(), -1);
  int code = 0;
  EXPECT_TRUE(orbe::QuitPosted(&code));
  EXPECT_EQ(code, 9);
  EXPECT_FALSE(orbe::PumpUntil([] { return false; }, INFINITE)) << "a posted quit stops pumps";
  orbe::ClearQuit();
  EXPECT_FALSE(orbe::QuitPosted());
}

TEST(MessageLoopTest, PumpUntilSeesConditionsChangedWithoutMessages) {
  std::atomic<bool> flag{false};
  std::thread setter([&] { flag = true; });
  EXPECT_TRUE(orbe::PumpUntil([&] { return flag.load(); }, 60000));
  setter.join();
  EXPECT_FALSE(orbe::PumpUntil([] { return false; }, 1));
}

TEST(MessageQueueTest, SentMessagesComeBeforePostedOnesAndTimersLast) {
  auto owner = std::make_shared<orbe::MessageQueue>();
  auto sender = std::make_shared<orbe::MessageQueue>();
  const HWND hwnd = reinterpret_cast<HWND>(std::uintptr_t{0x100000001});
  const auto now = orbe::MessageQueue::Clock::now();
  owner->SetTimer(hwnd, 1, 10);
  owner->Post(orbe::WindowMessage{hwnd, WM_USER + 1, 0, 0});
  auto sent = std::make_shared<orbe::SentMessage>();
  sent->message = orbe::WindowMessage{hwnd, WM_USER + 2, 0, 0};
  sent->reply_to = sender;
  owner->Send(sent);

  const auto later = now + std::chrono::seconds(1);
  const auto first = owner->Take(later);
  ASSERT_TRUE(first.has_value());
  EXPECT_EQ(first->kind, orbe::MessageQueue::WorkKind::kSent);
  EXPECT_EQ(first->message.message, WM_USER + 2u);
  EXPECT_FALSE(owner->Take(later, /*sent_only=*/true).has_value());
  const auto posted = owner->Take(later);
  ASSERT_TRUE(posted.has_value());
  EXPECT_EQ(posted->message.message, WM_USER + 1u);
  const auto tick = owner->Take(later);
  ASSERT_TRUE(tick.has_value());
  EXPECT_EQ(tick->message.message, WM_TIMER);
  EXPECT_FALSE(owner->Take(later).has_value()) << "one tick per interval";

  owner->Close();
  EXPECT_FALSE(owner->Post(orbe::WindowMessage{hwnd, WM_USER, 0, 0}));
}

TEST(MessageQueueTest, ClosingReleasesWaitingSenders) {
  auto owner = std::make_shared<orbe::MessageQueue>();
  auto sender = std::make_shared<orbe::MessageQueue>();
  auto sent = std::make_shared<orbe::SentMessage>();
  sent->reply_to = sender;
  sent->result = 5;
  ASSERT_TRUE(owner->Send(sent));
  owner->Close();
  EXPECT_TRUE(sender->WaitForReplyOrSent(*sent));
  EXPECT_EQ(sent->result, 0);
  EXPECT_FALSE(owner->Send(sent));
}

TEST(TimerListTest, EarliestFirstRescheduledFromNowWithAMinimumInterval) {
  using Clock = orbe::TimerList::Clock;
  using std::chrono::milliseconds;
  orbe::TimerList timers;
  const HWND a = reinterpret_cast<HWND>(std::uintptr_t{0x100000001});
  const HWND b = reinterpret_cast<HWND>(std::uintptr_t{0x100000002});
  const Clock::time_point start{};
  timers.Set(a, 1, 50, start);
  timers.Set(b, 1, 0, start);  // raised to the 10 ms minimum
  EXPECT_EQ(timers.NextDue(), start + milliseconds(10));
  EXPECT_FALSE(timers.TakeDue(start + milliseconds(9)).has_value());

  // Far behind: each timer ticks once, then waits a full interval from now.
  const Clock::time_point late = start + milliseconds(1000);
  const auto first = timers.TakeDue(late);
  const auto second = timers.TakeDue(late);
  ASSERT_TRUE(first && second);
  EXPECT_EQ(first->hwnd, b);
  EXPECT_EQ(second->hwnd, a);
  EXPECT_FALSE(timers.TakeDue(late).has_value());
  EXPECT_EQ(timers.NextDue(), late + milliseconds(10));

  timers.Set(a, 2, 20, late);
  timers.KillAll(b);
  EXPECT_FALSE(timers.Kill(b, 1));
  EXPECT_TRUE(timers.Kill(a, 1));
  EXPECT_EQ(timers.NextDue(), late + milliseconds(20));
  EXPECT_TRUE(timers.Kill(a, 2));
  EXPECT_TRUE(timers.Empty());
}

}  // namespace
