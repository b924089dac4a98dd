// What passes between the HTTP threads of `orbe-terminal serve` and the
// module's window thread. The HTTP threads only queue jobs (run on the window
// thread, one at a time, between the module's own messages) and read the
// published snapshots; every window is touched on the window thread alone.
#ifndef ORBE_TOOLS_TERMINAL_SERVE_BRIDGE_H_
#define ORBE_TOOLS_TERMINAL_SERVE_BRIDGE_H_

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "orbe/platform/window.h"

namespace orbe::terminal {

struct WebReply {
  int status = 200;
  std::string body;
  std::string type = "application/json";
  std::string filename;  // set for a download
};

// A JSON string literal of UTF-8 text.
std::string JsonText(const std::string& utf8);
// {"error":"..."} with the status.
WebReply JsonError(int status, const std::string& message);
WebReply JsonOk(const std::string& members = "");

class WindowThreadQueue {
 public:
  // Made on the window thread; `after` runs there after every job.
  WindowThreadQueue(std::size_t capacity, std::function<void()> after);
  ~WindowThreadQueue();
  WindowThreadQueue(const WindowThreadQueue&) = delete;
  WindowThreadQueue& operator=(const WindowThreadQueue&) = delete;

  // From any thread: runs the job on the window thread and waits at most
  // wait_ms for its reply. 503 when the queue is full or the thread has
  // stopped; 202 when the job still runs (a modal dialog or menu it opened
  // waits for the user), its reply then going nowhere.
  WebReply Run(std::function<WebReply()> job, int wait_ms);

 private:
  struct Slot {
    std::mutex mutex;
    std::condition_variable done_changed;
    bool done = false;
    WebReply reply;
  };
  struct Job {
    std::function<WebReply()> run;
    std::shared_ptr<Slot> slot;
  };
  class Pump : public CWnd {
   public:
    explicit Pump(WindowThreadQueue& queue) : queue_(queue) {}
    ~Pump() override { DestroyWindow(); }

   protected:
    LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;

   private:
    WindowThreadQueue& queue_;
  };

  void RunOne();

  const std::size_t capacity_;
  const std::function<void()> after_;
  std::mutex mutex_;
  std::deque<Job> jobs_;
  Pump pump_;
  HWND pump_handle_ = nullptr;
};

// One window of a session as the page shows it.
struct ViewSnapshot {
  std::string title;   // UTF-8
  std::string status;  // UTF-8: the window's summary line
  std::string html;    // the live form
  std::string formats; // downloads offered, "xlsx,csv"
  bool dialog = false; // a modal dialog over the others
  bool closed = false;
  std::uint64_t version = 0;
};

// What the window thread publishes and the HTTP threads read.
class SnapshotBoard {
 public:
  void AddSession(const std::string& id);
  bool HasSession(const std::string& id) const;
  void EndSession(const std::string& id);
  // The page's request or stream: the session is in use.
  void Touch(const std::string& id);
  // Seconds since the last touch and the open streams; nullopt when unknown.
  std::optional<std::pair<double, int>> Activity(const std::string& id) const;

  // Window thread: a view's state; its version moves only when it changed.
  void Publish(const std::string& session, int view, ViewSnapshot snapshot);
  // A line the page shows once (a message box, a document opened); UTF-8 JSON object.
  void Notice(const std::string& session, const std::string& json);
  // The open pop-up menu as JSON, "" for none.
  void SetMenu(const std::string& session, const std::string& json);

  // HTTP thread: the server-sent events of what changed after *since (which
  // moves on), waiting at most wait_ms for a change; "" when nothing changed;
  // nullopt when the session ended.
  std::optional<std::string> Changes(const std::string& session, std::uint64_t* since, int wait_ms);
  void StreamOpened(const std::string& session, int delta);
  // Wakes every waiting stream (the server stops).
  void WakeAll();

 private:
  struct PendingNotice {
    std::uint64_t version;
    std::string json;
  };
  struct Session {
    std::map<int, ViewSnapshot> views;
    std::vector<PendingNotice> notices;  // the last few
    std::string menu;
    std::uint64_t menu_version = 0;
    std::chrono::steady_clock::time_point touched = std::chrono::steady_clock::now();
    int streams = 0;
    bool ended = false;
  };

  std::uint64_t Next() { return ++version_; }

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::map<std::string, Session> sessions_;
  std::uint64_t version_ = 0;
};

}  // namespace orbe::terminal

#endif  // ORBE_TOOLS_TERMINAL_SERVE_BRIDGE_H_
