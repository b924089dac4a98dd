// A click in the browser front end against the same click done in process:
// `orbe-terminal serve` (a child process) hosts a script page with a
// 200-row grid; one iteration posts a click on a cell and waits until the
// grid's new live HTML has arrived on the page's event stream. The reference
// makes the same page in this process and clicks and renders it directly.
// Goal: the front end within 2 times the direct click and render.
#include <benchmark/benchmark.h>
#include <httplib.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <regex>
#include <string>
#include <thread>

#include "end_to_end_bench.h"
#include "orbe/env.h"
#include "orbe/platform/window.h"
#include "orbe/script/f10_fun.h"
#include "orbe/widgets/grid_ctrl.h"
#include "orbe/widgets/html_render.h"
#include "ratio_reporter.h"

namespace {

namespace fs = std::filesystem;

constexpr int kRows = 200;
constexpr const char kPage[] = R"(
def InitContainer(o, arg):
    g = o.Grid_AddWnd(0, 0, 640, 4100, '')
    o.Grid_SetRowCount(g, 201)
    o.Grid_SetColumnCount(g, 6)
    o.Grid_SetFixedRowCount(g, 1)
    for c in range(6):
        o.Grid_SetItemText(g, 0, c, 'col %d' % c)
    for r in range(1, 201):
        for c in range(6):
            o.Grid_SetItemText(g, r, c, '%d,%d.%02d' % (r * 37, c, r % 100))
)";

std::string Folder() {
  static const std::string folder = [] {
    const fs::path dir = fs::temp_directory_path() / ("orbe_serve_click_" + std::to_string(::getpid()));
    fs::create_directories(dir / "pages");
    std::ofstream(dir / "pages" / "grid_200.py") << kPage;
    return dir.string() + "/";
  }();
  return folder;
}

// The page made in this process, clicked and rendered directly.
void BM_DirectClickAndRender(benchmark::State& state) {
  SetPrivPath(Folder() + "direct/");
  CWnd host;
  host.Create(nullptr, RECT{0, 0, 1000, 720}, 1, WS_VISIBLE);
  IF10Fun* window = CreateF10Wnd(&host, 0, 100, 0);
  window->MoveF10Wnd(0, 0, 1000, 720, 0);
  if (!window->LoadScript(Folder() + "pages/grid_200.py", "", "InitContainer")) {
    state.SkipWithError("the page did not load");
    return;
  }
  orbe::RunUntilIdle();
  CGridCtrl* grid = nullptr;
  for (HWND child : window->GetF10Wnd()->GetChildren()) {
    if (grid == nullptr) grid = dynamic_cast<CGridCtrl*>(CWnd::FromHandle(child));
  }
  if (grid == nullptr || grid->GetRowCount() != kRows + 1) {
    state.SkipWithError("no 200-row grid on the page");
    return;
  }
  int row = 1;
  orbe::RunUntilIdle();
  for (auto _ : state) {
    // As the front end does: the click, then the render (what the click
    // posts is delivered later, as there).
    grid->ClickCell(row, 1);
    benchmark::DoNotOptimize(orbe::RenderWindowLive(*window->GetF10Wnd()));
    row = row % kRows + 1;
  }
  state.SetItemsProcessed(state.iterations());
  DestroyF10Wnd(window);
}

// orbe-terminal serve as a browser tab uses it.
class Front {
 public:
  Front() : market_(Folder() + "market.db", 0.002) {
    if (!market_.ok()) return;
    int out[2];
    if (::pipe(out) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::prctl(PR_SET_PDEATHSIG, SIGKILL);
      ::dup2(out[1], STDOUT_FILENO);
      ::close(out[0]);
      const std::string program = std::string(ORBE_BENCH_BIN_DIR) + "/orbe-terminal";
      const std::string server = "127.0.0.1:" + std::to_string(market_.Port());
      const std::string home = Folder() + "home";
      const std::string pages = Folder() + "pages";
      ::execl(program.c_str(), program.c_str(), "serve", "--port", "0", "--server", server.c_str(), "--home",
              home.c_str(), "--pages", pages.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(out[1]);
    char line[256] = {};
    std::FILE* stream = ::fdopen(out[0], "r");
    if (std::fgets(line, sizeof line, stream) != nullptr) std::sscanf(line, "serving on http://127.0.0.1:%d/", &port_);
    std::fclose(stream);
  }
  ~Front() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  int Port() const { return port_; }

 private:
  orbe_bench::InProcessDataServer market_;
  pid_t pid_ = -1;
  int port_ = 0;
};

// Counts the view events that reach the page's stream.
class Stream {
 public:
  Stream(int port, const std::string& session) {
    thread_ = std::thread([this, port, session] {
      httplib::Client client("127.0.0.1", port);
      client.set_read_timeout(30, 0);
      client.Get(("/api/s/" + session + "/events").c_str(), [this](const char* data, std::size_t size) {
        std::lock_guard<std::mutex> lock(mutex_);
        pending_.append(data, size);
        for (std::size_t end; (end = pending_.find("\n\n")) != std::string::npos; pending_.erase(0, end + 2)) {
          if (pending_.compare(0, 11, "event: view") == 0) {
            last_ = pending_.substr(0, end);
            ++views_;
          }
        }
        changed_.notify_all();
        return !stop_;
      });
    });
  }
  ~Stream() {
    stop_ = true;
    thread_.join();
  }
  // Waits for the view event after `seen`; its text.
  std::string WaitAfter(int seen) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait_for(lock, std::chrono::seconds(20), [&] { return views_ > seen; });
    return last_;
  }
  int Views() {
    std::lock_guard<std::mutex> lock(mutex_);
    return views_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::string pending_, last_;
  int views_ = 0;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

void BM_BrowserClickToPage(benchmark::State& state) {
  Front front;
  if (front.Port() == 0) {
    state.SkipWithError("orbe-terminal serve did not start");
    return;
  }
  httplib::Client client("127.0.0.1", front.Port());
  const auto session_reply = client.Post("/api/session", "", "application/x-www-form-urlencoded");
  std::smatch match;
  const std::string body = session_reply ? session_reply->body : "";
  if (!std::regex_search(body, match, std::regex(R"re("session":"([0-9a-f-]{36})")re"))) {
    state.SkipWithError("no session");
    return;
  }
  const std::string session = match[1];
  client.Post(("/api/s/" + session + "/open").c_str(), "feature=script&script=grid_200.py",
              "application/x-www-form-urlencoded");
  Stream stream(front.Port(), session);
  const std::string first = stream.WaitAfter(0);
  if (!std::regex_search(first, match, std::regex(R"re(data-h=\\"(\d+)\\" data-kind=\\"6\\")re"))) {
    state.SkipWithError("no grid on the page");
    return;
  }
  const std::string target = "view=1&action=click&c=1&h=" + match[1].str() + "&r=";
  int row = 1;
  for (auto _ : state) {
    const int seen = stream.Views();
    client.Post(("/api/s/" + session + "/act").c_str(), target + std::to_string(row),
                "application/x-www-form-urlencoded");
    benchmark::DoNotOptimize(stream.WaitAfter(seen));
    row = row % kRows + 1;
  }
  state.SetItemsProcessed(state.iterations());
  client.Post(("/api/s/" + session + "/end").c_str(), "", "application/x-www-form-urlencoded");
}

BENCHMARK(BM_DirectClickAndRender)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BrowserClickToPage)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  orbe_bench::RatioReporter reporter("BM_DirectClickAndRender", "the direct click and render", 2);
  const int status = orbe_bench::RunWithRatios(argc, argv, reporter);
  fs::remove_all(Folder());
  return status;
}
