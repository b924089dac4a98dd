// serve [--port N] [--listen ADDRESS] [--idle SECONDS] [--script-seconds N] [--pages DIR] [connection options]
// : hosts the module as the other commands do (one connection, the
// callbacks, the catalogue) and serves its windows to a browser: a start
// page, each window live as the widget library's HTML, the user's actions
// injected into the real widgets, changes pushed as server-sent events.
// Listens on 127.0.0.1 unless --listen names another address. Prints
// "serving on http://ADDRESS:PORT/" and runs until SIGINT or SIGTERM.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>

#include "commands.h"
#include "connection_options.h"
#include "data_folder.h"
#include "orbe/platform/text.h"
#include "orbe/platform/window.h"
#include "orbe/script/script_env.h"
#include "screen_catalogue.h"
#include "serve_bridge.h"
#include "serve_http.h"
#include "serve_sessions.h"
#include "terminal_output.h"
#include "topic_kinds.h"

namespace orbe::terminal {
namespace {

constexpr const char* kUsage = "usage: orbe-terminal serve [--port N] [--listen ADDRESS] [--idle SECONDS] [--script-seconds N] [--pages DIR] ";
constexpr int kDefaultPort = 8750;
constexpr std::size_t kQueueCapacity = 256;
constexpr UINT kTickMs = 250;  // replies, progress and timers reach the page this often

using Clock = std::chrono::steady_clock;

volatile std::sig_atomic_t g_stop = 0;
void OnSignal(int) { g_stop = 1; }

struct ServeOptions {
  int port = kDefaultPort;
  std::string listen = "127.0.0.1";
  int idle_seconds = 1800;
  std::string pages;  // the script pages offered; default the shipped samples
  // The tick runs in every loop, modal ones too; missed this long, a script
  // holds the window thread and is stopped.
  int script_seconds = 15;
};

bool TakeNumber(const std::string& name, const std::string& value, int low, int high, int& out, std::string* error) {
  if (value.empty() || value.size() > 6 || value.find_first_not_of("0123456789") != std::string::npos ||
      std::stoi(value) < low || std::stoi(value) > high) {
    *error = name + " takes a number from " + std::to_string(low) + " to " + std::to_string(high);
    return false;
  }
  out = std::stoi(value);
  return true;
}

bool TakeServeOptions(const CommandArgs& args, ServeOptions& options, std::string* error) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& name = args[i];
    if (i + 1 >= args.size()) {
      *error = name.rfind("--", 0) == 0 ? "missing value of " + name : "unexpected argument " + name;
      return false;
    }
    const std::string& value = args[++i];
    if (name == "--port") {
      if (!TakeNumber(name, value, 0, 65535, options.port, error)) return false;
    } else if (name == "--idle") {
      if (!TakeNumber(name, value, 5, 86400, options.idle_seconds, error)) return false;
    } else if (name == "--script-seconds") {
      if (!TakeNumber(name, value, 1, 3600, options.script_seconds, error)) return false;
    } else if (name == "--listen") {
      options.listen = value;
    } else if (name == "--pages") {
      if (!std::filesystem::is_directory(value)) {
        *error = "--pages names a folder of script pages (.py)";
        return false;
      }
      options.pages = value;
    } else {
      *error = "unknown option " + name;
      return false;
    }
  }
  return true;
}

std::string JsonList(const std::vector<std::string>& names) {
  std::string json = "[";
  for (const std::string& name : names) json += (json.size() > 1 ? "," : "") + JsonText(name);
  return json + "]";
}

// What the start page offers, for its script.
std::string FeaturesJson(const ServeContext& context) {
  std::string features = "[";
  for (const WebFeature& feature : WebFeatures()) {
    features += (features.size() > 1 ? "," : "") + std::string("{\"feature\":") + JsonText(feature.feature) +
                ",\"caption\":" + JsonText(GbkToUtf8(feature.caption)) + ",\"asks\":" + JsonText(feature.asks) + "}";
  }
  std::string kinds = "[";
  for (const TopicKind& kind : TopicKinds()) {
    kinds += (kinds.size() > 1 ? "," : "") + std::string("{\"kind\":") + JsonText(kind.name) +
             ",\"caption\":" + JsonText(GbkToUtf8(kind.label)) + "}";
  }
  return "{\"features\":" + features + "],\"reports\":" + JsonList(SampleFiles(context.reports, ".ini")) +
         ",\"scripts\":" + JsonList(SampleFiles(context.scripts, ".py")) + ",\"kinds\":" + kinds + "]}";
}

// Renders on a tick and stops every loop once a signal came.
class Ticker : public CWnd {
 public:
  explicit Ticker(WebSessions& sessions) : sessions_(sessions) {}
  ~Ticker() override { DestroyWindow(); }
  Clock::rep LastTick() const { return last_tick_.load(); }

 protected:
  void OnTimer(UINT_PTR) override {
    last_tick_ = Clock::now().time_since_epoch().count();
    // Unwinds modal loops too: a dialog waiting for a user never holds the stop.
    if (g_stop) PostQuitMessage(0);
    sessions_.Refresh();
  }

 private:
  WebSessions& sessions_;
  std::atomic<Clock::rep> last_tick_{Clock::now().time_since_epoch().count()};
};

// A page script that never returns would hold every tab: once the ticks stop
// coming, the running script is stopped (it raises TimeoutError, shown on the
// page as its error box).
class Watchdog {
 public:
  Watchdog(const Ticker& ticker, int seconds)
      : ticker_(ticker), stuck_after_(std::chrono::seconds(seconds)), thread_([this] { Watch(); }) {}
  ~Watchdog() {
    {
      const std::lock_guard<std::mutex> hold(mutex_);
      done_ = true;
    }
    wake_.notify_all();
    thread_.join();
  }

 private:
  void Watch() {
    std::unique_lock<std::mutex> hold(mutex_);
    while (!wake_.wait_for(hold, std::chrono::seconds(1), [this] { return done_; })) {
      const Clock::time_point last{Clock::duration(ticker_.LastTick())};
      if (Clock::now() - last > stuck_after_ && StopRunningScript() != 0) {
        std::fputs("orbe-terminal: a page script held the window thread; stopped\n", stderr);
      }
    }
  }

  const Ticker& ticker_;
  const Clock::duration stuck_after_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool done_ = false;
  std::thread thread_;
};

}  // namespace

int RunServe(const CommandArgs& arguments) {
  CommandArgs args = arguments;
  ConnectionOptions connection;
  std::string error;
  if (!TakeConnectionOptions(args, connection, &error)) return Fail(2, error);
  ServeOptions options;
  if (!TakeServeOptions(args, options, &error)) return Fail(2, error + "\n" + kUsage + kConnectionUsage);

  if (!ProbeDataService(connection, &error)) return Fail(1, error);
  const std::unique_ptr<TerminalHost> host = ConnectHost(connection, &error);
  if (!host) return Fail(1, error);
  ServeContext context;
  const IndexCatalogue catalogue = LoadScreenCatalogue(context.screen, connection, &error);
  if (!catalogue) return Fail(1, error);
  context.host = host.get();
  context.catalogue = catalogue.get();
  context.reports = DataFolder("reports/financial_summary.ini") + "/reports";
  context.scripts = options.pages.empty() ? DataFolder("scripts/company_overview.py") + "/scripts" : options.pages;
  context.downloads = HomeFolder(connection) + "downloads";
  std::error_code ignored;
  std::filesystem::create_directories(context.downloads, ignored);

  SnapshotBoard board;
  SessionLimits limits;
  limits.idle_seconds = options.idle_seconds;
  WebSessions sessions(context, board, limits);
  WindowThreadQueue queue(kQueueCapacity, nullptr);
  WebServer server(queue, board, sessions, FeaturesJson(context));
  if (!server.Bind(options.listen, options.port, &error)) return Fail(1, error);
  Ticker ticker(sessions);
  if (!ticker.Create(nullptr, RECT{0, 0, 0, 0}, 0, 0) || ticker.SetTimer(1, kTickMs, nullptr) == 0) {
    return Fail(1, "cannot start the window thread's timer");
  }
  const Watchdog watchdog(ticker, options.script_seconds);
  std::signal(SIGINT, OnSignal);
  std::signal(SIGTERM, OnSignal);
  server.Start();
  std::printf("serving on http://%s:%d/\n", options.listen.c_str(), server.Port());
  std::fflush(stdout);
  while (!g_stop) {
    PumpUntil([] { return g_stop != 0; }, 1000);
    ClearQuit();
  }
  server.Stop();
  return 0;
}

}  // namespace orbe::terminal
