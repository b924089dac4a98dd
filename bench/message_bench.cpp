// Throughput of the message layer: posting and dispatching on one thread,
// posting from four threads into one window, and sending.
#include <benchmark/benchmark.h>

#include <atomic>
#include <thread>
#include <vector>

#include "orbe/platform/window.h"

namespace {

constexpr RECT kRect{0, 0, 100, 100};

class CountingWnd : public CWnd {
 public:
  ~CountingWnd() override { DestroyWindow(); }
  std::int64_t count = 0;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM) override {
    if (message == WM_APP) ++count;
    return static_cast<LRESULT>(wparam);
  }
};

void BM_PostAndDispatchOneThread(benchmark::State& state) {
  const int batch = static_cast<int>(state.range(0));
  CountingWnd window;
  window.Create(nullptr, kRect, 1);
  for (auto _ : state) {
    for (int i = 0; i < batch; ++i) PostMessage(window.m_hWnd, WM_APP, i, 0);
    benchmark::DoNotOptimize(orbe::RunUntilIdle());
  }
  state.SetItemsProcessed(window.count);
}
BENCHMARK(BM_PostAndDispatchOneThread)->Arg(1)->Arg(1000);

void BM_PostFromFourThreads(benchmark::State& state) {
  constexpr int kThreads = 4;
  const int per_thread = static_cast<int>(state.range(0));
  CountingWnd window;
  window.Create(nullptr, kRect, 1);
  const HWND hwnd = window.m_hWnd;
  for (auto _ : state) {
    const std::int64_t target = window.count + std::int64_t{kThreads} * per_thread;
    std::vector<std::thread> posters;
    for (int t = 0; t < kThreads; ++t) {
      posters.emplace_back([=] {
        for (int i = 0; i < per_thread; ++i) PostMessage(hwnd, WM_APP, t, i);
      });
    }
    orbe::PumpUntil([&] { return window.count >= target; }, INFINITE);
    for (std::thread& poster : posters) poster.join();
  }
  state.SetItemsProcessed(window.count);
}
BENCHMARK(BM_PostFromFourThreads)->Arg(25000)->UseRealTime();

void BM_SendSameThread(benchmark::State& state) {
  CountingWnd window;
  window.Create(nullptr, kRect, 1);
  WPARAM i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(SendMessage(window.m_hWnd, WM_APP, ++i, 0));
  state.SetItemsProcessed(window.count);
}
BENCHMARK(BM_SendSameThread);

// A round trip: the sender blocks until the owner thread has answered.
void BM_SendCrossThread(benchmark::State& state) {
  constexpr int kSends = 2000;
  CountingWnd window;
  window.Create(nullptr, kRect, 1);
  const HWND hwnd = window.m_hWnd;
  for (auto _ : state) {
    std::atomic<bool> done{false};
    std::thread sender([&] {
      for (int i = 0; i < kSends; ++i) SendMessage(hwnd, WM_APP, i, 0);
      done = true;
      PostMessage(hwnd, WM_NULL, 0, 0);  // wakes the pump at once
    });
    orbe::PumpUntil([&] { return done.load(); }, INFINITE);
    sender.join();
  }
  state.SetItemsProcessed(window.count);
}
BENCHMARK(BM_SendCrossThread)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
