// script --file F [--arg A] [--entry NAME] [--events FILE] [--html OUT]
//        [--size WxH] [--timeout MS] [--run MS] [connection options]
// : makes a script container through CreateF10Wnd, loads the script and calls
// its entry, pumps until no reply is outstanding, plays the events file as a
// user would, prints what the script sent to its host and every script error,
// and writes the container as HTML. The whole run is bounded by --timeout: a
// script that does not return is stopped, and the terminal never waits past
// the bound. Exit status 0, or 1 for a script error, a failed event or the
// bound passed, 2 for bad input.
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "commands.h"
#include "connection_options.h"
#include "grid_command.h"
#include "orbe/env.h"
#include "orbe/platform/file.h"
#include "orbe/platform/message_box.h"
#include "orbe/platform/text.h"
#include "orbe/platform/window.h"
#include "orbe/script/f10_fun.h"
#include "orbe/script/script_env.h"
#include "orbe/widgets/html_render.h"
#include "orbe/widgets/kvx_container.h"
#include "script_events.h"
#include "script_replay.h"
#include "terminal_output.h"

namespace orbe::terminal {
namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kUsage =
    "usage: orbe-terminal script --file F [--arg A] [--entry NAME] [--events FILE] [--html OUT] "
    "[--size WxH] [--timeout MS] [--run MS] ";
constexpr char kErrorCaption[] = "\xb4\xed\xce\xf3\xd0\xc5\xcf\xa2";  // "错误信息", the window's error boxes
constexpr int kDefaultTimeoutMs = 20000;
constexpr int kMaxTimeoutMs = 3600000;
// After the bound, a script gets this long to stop before the process ends.
constexpr auto kGrace = std::chrono::seconds(3);

struct ScriptOptions {
  std::string file;
  std::string argument;
  std::string entry = "InitContainer";
  std::string events;
  std::string html;
  int width = 1000;
  int height = 720;
  int timeout_ms = kDefaultTimeoutMs;
  int run_ms = 0;
};

bool TakeMilliseconds(const std::string& name, const std::string& value, int& out, std::string* error) {
  const std::optional<int> ms = EventInt(value);
  if (!ms || *ms < 0 || *ms > kMaxTimeoutMs) {
    *error = name + " takes milliseconds from 0 to " + std::to_string(kMaxTimeoutMs);
    return false;
  }
  out = *ms;
  return true;
}

bool TakeScriptOptions(const CommandArgs& args, ScriptOptions& options, std::string* error) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& name = args[i];
    if (i + 1 >= args.size()) {
      *error = name.rfind("--", 0) == 0 ? "missing value of " + name : "unexpected argument " + name;
      return false;
    }
    const std::string& value = args[++i];
    if (name == "--file") {
      options.file = value;
    } else if (name == "--arg") {
      options.argument = Utf8ToGbk(value);
    } else if (name == "--entry") {
      options.entry = value;
    } else if (name == "--events") {
      options.events = value;
    } else if (name == "--html") {
      options.html = value;
    } else if (name == "--size") {
      const std::size_t x = value.find('x');
      const std::optional<int> w = x == std::string::npos ? std::nullopt : EventInt(value.substr(0, x));
      const std::optional<int> h = x == std::string::npos ? std::nullopt : EventInt(value.substr(x + 1));
      if (!w || !h || *w <= 0 || *h <= 0 || *w > 10000 || *h > 10000) {
        *error = "--size takes WIDTHxHEIGHT, each 1 to 10000";
        return false;
      }
      options.width = *w;
      options.height = *h;
    } else if (name == "--timeout") {
      if (!TakeMilliseconds(name, value, options.timeout_ms, error)) return false;
    } else if (name == "--run") {
      if (!TakeMilliseconds(name, value, options.run_ms, error)) return false;
    } else {
      *error = "unknown option " + name;
      return false;
    }
  }
  if (options.file.empty()) {
    *error = "--file is needed";
    return false;
  }
  if (!FileExists(options.file)) {
    *error = "no script file " + options.file;
    return false;
  }
  // The window imports the module from the file's folder: name it wholly.
  std::error_code failure;
  const std::filesystem::path absolute = std::filesystem::absolute(options.file, failure);
  if (!failure) options.file = absolute.lexically_normal().string();
  return true;
}

// Every line of the events file, checked before anything is played.
bool ReadEvents(const std::string& path, std::vector<ScriptEventLine>& events, std::vector<std::string>& lines,
                std::string* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    *error = "cannot read the events file " + path;
    return false;
  }
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    std::string why;
    std::optional<ScriptEventLine> event = ParseScriptEventLine(line, &why);
    if (!event && !why.empty()) {
      *error = path + ":" + std::to_string(number) + ": " + why;
      return false;
    }
    if (!event) continue;
    events.push_back(std::move(*event));
    lines.push_back(line);
  }
  return true;
}

// The script's host: prints what the script sends and asks.
class PrintingTarget : public IF10MessageNotify {
 public:
  void OnContainerMessage(const std::string& first, const std::string& second, const std::string& name,
                          const std::string& value) override {
    PrintLine("message: " + first + " | " + second + " | " + name + " | " + value);
  }
  std::string OnContainerQuery(const std::string& first, const std::string& second, const std::string& name,
                               const std::string& value) override {
    PrintLine("query: " + first + " | " + second + " | " + name + " | " + value);
    return std::string();
  }
};

// Ends the process when the run passes its bound and the script does not stop.
class Watchdog {
 public:
  explicit Watchdog(Clock::time_point deadline) : deadline_(deadline), thread_([this] { Watch(); }) {}
  ~Watchdog() {
    {
      const std::lock_guard<std::mutex> hold(mutex_);
      done_ = true;
    }
    wake_.notify_all();
    thread_.join();
  }
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;

 private:
  void Watch() {
    std::unique_lock<std::mutex> hold(mutex_);
    if (wake_.wait_until(hold, deadline_, [this] { return done_; })) return;
    // Past the bound: stop what runs, again and again, for the grace period.
    const Clock::time_point last = deadline_ + kGrace;
    while (!done_ && Clock::now() < last) {
      hold.unlock();
      StopRunningScript();
      hold.lock();
      wake_.wait_for(hold, std::chrono::milliseconds(100), [this] { return done_; });
    }
    if (done_) return;
    std::fputs("orbe-terminal: the script did not stop within its bound\n", stderr);
    std::fflush(stdout);
    ::_exit(1);
  }

  const Clock::time_point deadline_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool done_ = false;
  std::thread thread_;
};

// Pumps until no request is outstanding and nothing is due; false when the
// deadline came first.
bool PumpUntilIdle(IF10Fun& window, Clock::time_point deadline) {
  for (;;) {
    RunUntilIdle();
    if (Clock::now() >= deadline) return window.GetMapCount() == 0;
    if (window.GetMapCount() == 0 && RunUntilIdle() == 0) return true;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return false;
    PumpUntil([&] { return window.GetMapCount() == 0; }, static_cast<DWORD>(std::min<long long>(left, 50)));
  }
}

DWORD MillisecondsLeft(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return static_cast<DWORD>(std::max<long long>(left, 0));
}

class ScriptRun {
 public:
  // `connected`: the page reaches a data service, so a request that ends
  // without its complete reply leaves the page incomplete.
  ScriptRun(const ScriptOptions& options, IF10Fun& window, bool connected)
      : options_(options),
        window_(window),
        deadline_(Clock::now() + std::chrono::milliseconds(options.timeout_ms)),
        connected_(connected) {}

  int Run(const std::vector<ScriptEventLine>& events, const std::vector<std::string>& lines) {
    const Watchdog watchdog(deadline_);
    PrintField("script", options_.file + " (entry " + options_.entry + ", argument \"" + options_.argument + "\")");
    if (!window_.LoadScript(options_.file, options_.argument, options_.entry)) {
      Fail(1, "the script did not load" + std::string(errors_ == 0 ? " (its file name ends neither in .py nor .kvx)" : ""));
      return 1;
    }
    bool ok = Settle("loading");
    for (std::size_t i = 0; i < events.size() && Clock::now() < deadline_; ++i) {
      PrintField("event", GbkFromUtf8(lines[i]));
      ok = Play(events[i]) && ok;
    }
    if (options_.run_ms > 0) {
      PumpFor(std::min<DWORD>(static_cast<DWORD>(options_.run_ms), MillisecondsLeft(deadline_)));
      ok = Settle("running") && ok;
    }
    if (Clock::now() >= deadline_) {
      Fail(1, "the run passed its bound of " + std::to_string(options_.timeout_ms) + " ms");
      ok = false;
    }
    return Finish(ok);
  }

  void CountError() { ++errors_; }

 private:
  static std::string GbkFromUtf8(const std::string& utf8) { return Utf8ToGbk(utf8); }

  bool Settle(const char* what) {
    if (PumpUntilIdle(window_, deadline_)) return true;
    Fail(1, std::string("still ") + std::to_string(window_.GetMapCount()) + " replies outstanding after " + what);
    return false;
  }

  bool Play(const ScriptEventLine& event) {
    if (event.target == ScriptEventLine::Target::kWait) {
      PumpFor(std::min<DWORD>(static_cast<DWORD>(*EventInt(event.args[0])), MillisecondsLeft(deadline_)));
      return Settle("waiting");
    }
    std::string error;
    const bool played = PlayScriptEvent(window_, event, &error);
    if (!played) Fail(0, "event refused: " + error);
    return Settle("the event") && played;
  }

  int Finish(bool ok) {
    auto* widgets = dynamic_cast<CKVXContainer*>(window_.GetF10Wnd());
    PrintField("widgets", std::to_string(widgets != nullptr ? widgets->GetWndCount() : 0));
    PrintField("script errors", std::to_string(errors_));
    // A page filled from part of its replies is not the page: nothing is written.
    if (const int failed = connected_ ? GetF10FailedRequests(&window_) : 0; failed > 0) {
      return Fail(1, "the page is incomplete: " + std::to_string(failed) +
                         " of its requests got no complete reply from the data service; nothing written");
    }
    if (!options_.html.empty()) {
      if (!SaveWindowHtml(*window_.GetF10Wnd(), options_.html)) return Fail(1, "cannot write " + options_.html);
      PrintField("html", options_.html);
    }
    return ok && errors_ == 0 ? 0 : 1;
  }

  const ScriptOptions& options_;
  IF10Fun& window_;
  const Clock::time_point deadline_;
  const bool connected_;
  int errors_ = 0;
};

}  // namespace

int RunScript(const CommandArgs& arguments) {
  // script --grid FILE: the page goes into a grid loader instead of a container.
  if (std::any_of(arguments.begin(), arguments.end(),
                  [](const std::string& arg) { return arg == "--grid"; })) {
    return RunScriptGrid(arguments);
  }
  CommandArgs args = arguments;
  // --home alone only names the private folder; the others reach a service.
  const bool connect = std::any_of(args.begin(), args.end(), [](const std::string& arg) {
    return arg.rfind("--server", 0) == 0 || arg.rfind("--files", 0) == 0 || arg.rfind("--market", 0) == 0;
  });
  ConnectionOptions connection;
  std::string error;
  if (!TakeConnectionOptions(args, connection, &error)) return Fail(2, error);
  ScriptOptions options;
  if (!TakeScriptOptions(args, options, &error)) return Fail(2, error + "\n" + kUsage + kConnectionUsage);
  std::vector<ScriptEventLine> events;
  std::vector<std::string> lines;
  if (!options.events.empty() && !ReadEvents(options.events, events, lines, &error)) return Fail(2, error);

  // With --server, --files or --market the script reaches the data service;
  // without them it runs on its own (its requests answer 0).
  std::unique_ptr<TerminalHost> host;
  if (connect) {
    host = ConnectHost(connection, &error);
    if (!host) return Fail(1, error);
  } else {
    SetPrivPath(HomeFolder(connection));
  }

  CWnd host_window;
  if (!host_window.Create(nullptr, RECT{0, 0, options.width, options.height}, 1, WS_VISIBLE)) {
    return Fail(1, "cannot make a window");
  }
  IF10Fun* window = CreateF10Wnd(&host_window, 0, 100, 0);
  if (window == nullptr) return Fail(1, "cannot create the script container");
  PrintingTarget target;
  window->SetMessageNotify(&target);
  window->SetOption(kF10OptionDebug, 1);        // errors come as boxes: printed below
  window->SetOption(kF10OptionQuietEvents, 1);  // an event the script does not handle is no error
  window->MoveF10Wnd(0, 0, options.width, options.height, 0);

  ScriptRun run(options, *window, connect);
  const MessageBoxHandler previous =
      SetMessageBoxHandler([&run](HWND, const std::string& text, const std::string& caption, UINT type) {
        if (caption == kErrorCaption) {
          run.CountError();
          std::fprintf(stderr, "script error:\n%s", GbkToUtf8(text).c_str());
          std::fflush(stderr);
          return IDOK;
        }
        PrintLine("message box: [" + caption + "] " + text);
        return DefaultMessageBoxButton(type);
      });
  const int status = run.Run(events, lines);
  SetMessageBoxHandler(previous);
  DestroyF10Wnd(window);
  RunUntilIdle();
  return status;
}

}  // namespace orbe::terminal
