// A data engine for tests, written against the public engine interfaces. It
// talks to no network: hosts answer as the control block scripts them, on
// the engine's own thread, as a real engine's callbacks arrive.
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <functional>
#include <memory>
#include <thread>

#include "test_engine_control.h"
#include "protocol/component_entry_points.h"
#include "protocol/replies.h"
#include "protocol/request_objects.h"
#include "support/fake_reply.h"

namespace {

using Clock = std::chrono::steady_clock;

TestEngineControl g_control;

using orbe_test::FakeReply;
using orbe_test::FakeRequest;
namespace wire = orbe::wire;

// Room for what the module sends to this engine: host-load queries.
constexpr std::size_t kRequestCapacity = 1024;

// Runs scheduled callbacks on one thread. After Stop returns no callback
// starts and none is running on another thread.
class Dispatcher {
 public:
  Dispatcher() : thread_([this] { Run(); }) {}
  ~Dispatcher() {
    Stop();
    {
      std::lock_guard<std::mutex> hold(queue_mutex_);
      quit_ = true;
    }
    wake_.notify_all();
    thread_.join();
  }

  void Schedule(int delay_ms, std::function<void()> action) {
    std::lock_guard<std::mutex> hold(queue_mutex_);
    queue_.push_back({Clock::now() + std::chrono::milliseconds(delay_ms), std::move(action)});
    wake_.notify_all();
  }

  void Stop() {
    {
      std::lock_guard<std::recursive_mutex> hold(delivery_mutex_);
      stopped_ = true;
    }
    std::lock_guard<std::mutex> hold(queue_mutex_);
    queue_.clear();
  }

 private:
  struct Event {
    Clock::time_point due;
    std::function<void()> action;
  };

  void Run() {
    std::unique_lock<std::mutex> lock(queue_mutex_);
    while (!quit_) {
      if (queue_.empty()) {
        wake_.wait(lock);
        continue;
      }
      auto next = std::min_element(queue_.begin(), queue_.end(),
                                   [](const Event& a, const Event& b) { return a.due < b.due; });
      if (Clock::now() < next->due) {
        wake_.wait_until(lock, next->due);
        continue;
      }
      std::function<void()> action = std::move(next->action);
      queue_.erase(next);
      lock.unlock();
      {
        std::lock_guard<std::recursive_mutex> hold(delivery_mutex_);
        if (!stopped_) action();
      }
      lock.lock();
    }
  }

  std::recursive_mutex delivery_mutex_;
  bool stopped_ = false;
  std::mutex queue_mutex_;
  std::condition_variable wake_;
  std::vector<Event> queue_;
  bool quit_ = false;
  std::thread thread_;
};

class TestEngine;

class TestSession : public ICwRequestSession {
 public:
  TestSession(TestEngine* engine, const CWHOSTINFO* host, IReplyHandle* connect)
      : engine_(engine), connect_(connect) {
    if (host != nullptr) host_ = *host;
  }
  ~TestSession() override = default;

  bool Send(IReplyHandle* handle, ICwRequest* request) override;
  bool SendAndWait(IReplyHandle* /*handle*/, ICwRequest* /*request*/) override { return false; }
  void SetReplyHandle(IReplyHandle* /*handle*/) override {}
  void Quit() override { Count(&TestEngineControl::quits); }
  int GetConnectState() override {
    std::lock_guard<std::mutex> hold(g_control.mutex);
    return g_control.connect_state;
  }
  void ResetReplyHandleQueue() override { Count(&TestEngineControl::queue_resets); }
  void ResetSecondReplyHandleQueue() override { Count(&TestEngineControl::second_queue_resets); }
  int GetHostIndex() override {
    std::lock_guard<std::mutex> hold(g_control.mutex);
    return g_control.host_index;
  }

  IReplyHandle* connect() const { return connect_; }
  const char* address() const { return host_.host; }

 private:
  static void Count(int TestEngineControl::*counter) {
    std::lock_guard<std::mutex> hold(g_control.mutex);
    ++(g_control.*counter);
  }

  TestEngine* engine_;
  IReplyHandle* connect_;
  CWHOSTINFO host_{};
};

std::optional<TestHostScript> ScriptFor(const char* address) {
  std::lock_guard<std::mutex> hold(g_control.mutex);
  for (const TestHostScript& script : g_control.hosts) {
    if (script.address == address) return script;
  }
  return std::nullopt;
}

class TestEngine : public ICwDataEngin {
 public:
  explicit TestEngine(bool shared) : shared_(shared) {}
  ~TestEngine() override { dispatcher_.reset(); }

  bool SetConfigFile(const char* path) override {
    std::lock_guard<std::mutex> hold(g_control.mutex);
    g_control.config_file = path != nullptr ? path : "";
    return true;
  }
  void SetTimeOut(int seconds) override {
    std::lock_guard<std::mutex> hold(g_control.mutex);
    g_control.private_time_out = seconds;
  }
  void SetOption(int option) override {
    std::lock_guard<std::mutex> hold(g_control.mutex);
    g_control.options.push_back(option);
  }
  void Shutdown() override {
    std::lock_guard<std::mutex> hold(g_control.mutex);
    ++g_control.shutdowns;
  }
  void StartSessions(int count) override {
    {
      std::lock_guard<std::mutex> hold(g_control.mutex);
      g_control.started_sessions = count;
    }
    for (const auto& session : sessions_) {
      const std::optional<TestHostScript> script = ScriptFor(session->address());
      if (!script || !script->connects || session->connect() == nullptr) continue;
      IReplyHandle* connect = session->connect();
      dispatcher_->Schedule(0, [connect] { connect->OnStatus(kCwStateConnected); });
    }
  }
  void Stop() override {
    dispatcher_->Stop();
    std::lock_guard<std::mutex> hold(g_control.mutex);
    ++g_control.stops;
  }
  ICwRequestSession* CreateRequestSession(CWHOSTINFO* host, IReplyHandle* connect) override {
    {
      std::lock_guard<std::mutex> hold(g_control.mutex);
      if (shared_) g_control.host_sessions.push_back(*host);
      else g_control.tested_hosts.push_back(*host);
    }
    return AddSession(host, connect);
  }
  ICwRequestSession* CreateConfiguredRequestSession(IReplyHandle* connect) override {
    Count(&TestEngineControl::configured_sessions);
    return AddSession(nullptr, connect);
  }
  ICwRequestSession* CreateAltRequestSession(CWHOSTINFO* host, IReplyHandle* connect) override {
    Count(&TestEngineControl::alt_host_sessions);
    return AddSession(host, connect);
  }
  ICwRequestSession* CreateAltConfiguredRequestSession(IReplyHandle* connect) override {
    Count(&TestEngineControl::alt_configured_sessions);
    return AddSession(nullptr, connect);
  }
  ICwRequest* CreateRequest() override { return new FakeRequest(kRequestCapacity); }
  void ReleaseRequest(ICwRequest* request) override { delete static_cast<FakeRequest*>(request); }

  void Answer(const char* address, IReplyHandle* handle, ICwRequest* request) {
    const bool good = QueryIsWellFormed(request);
    Count(good ? &TestEngineControl::good_queries : &TestEngineControl::bad_queries);
    if (!IsHostLoad(request)) {
      // Every accepted request ends with a status; this engine serves only the
      // host test, so anything else (a dictionary fetch) is "not found".
      dispatcher_->Schedule(0, [handle] { handle->OnStatus(kStatusNotFound); });
      return;
    }
    const std::optional<TestHostScript> script = ScriptFor(address);
    if (!good || !script || !script->replies) return;
    const std::string body = wire::EncodeHostLoadBody({script->load, script->capacity});
    std::lock_guard<std::mutex> hold(held_mutex_);
    held_.push_back({script->reply_after_queries, script->reply_delay_ms, handle, body});
    ReleaseDueReplies();
  }

 private:
  static void Count(int TestEngineControl::*counter) {
    std::lock_guard<std::mutex> hold(g_control.mutex);
    ++(g_control.*counter);
  }

  static constexpr int kStatusNotFound = wire::kStatusNotFound;

  struct HeldReply {
    int after_queries;
    int delay_ms;
    IReplyHandle* handle;
    std::string body;
  };

  // Schedules every held reply whose query count has been reached.
  void ReleaseDueReplies() {
    int queries = 0;
    {
      std::lock_guard<std::mutex> hold(g_control.mutex);
      queries = g_control.good_queries;
    }
    for (auto it = held_.begin(); it != held_.end();) {
      if (it->after_queries > queries) {
        ++it;
        continue;
      }
      dispatcher_->Schedule(it->delay_ms, [handle = it->handle, body = it->body] {
        FakeReply reply = FakeReply::Plain(body);
        handle->OnReply(&reply);
        handle->OnStatus(kCwStatusComplete);
      });
      it = held_.erase(it);
    }
  }

  static std::uint16_t CodeOf(ICwRequest* request) {
    std::uint16_t code = 0;
    std::memcpy(&code, request->GetBody(), sizeof code);
    return code;
  }

  static bool IsHostLoad(ICwRequest* request) { return CodeOf(request) == wire::kCodeHostLoad; }

  static bool QueryIsWellFormed(ICwRequest* request) {
    return wire::RequestLength(*request) == wire::kMinRequestLength && IsHostLoad(request);
  }

  ICwRequestSession* AddSession(const CWHOSTINFO* host, IReplyHandle* connect) {
    sessions_.push_back(std::make_unique<TestSession>(this, host, connect));
    return sessions_.back().get();
  }

  bool shared_;
  std::vector<std::unique_ptr<TestSession>> sessions_;
  std::mutex held_mutex_;  // guards held_
  std::vector<HeldReply> held_;
  // Last member but destroyed first by the destructor: no callback may run
  // while the sessions go.
  std::unique_ptr<Dispatcher> dispatcher_ = std::make_unique<Dispatcher>();
};

bool TestSession::Send(IReplyHandle* handle, ICwRequest* request) {
  if (handle == nullptr || request == nullptr) return false;
  engine_->Answer(host_.host, handle, request);
  return true;
}

TestEngine* g_shared = nullptr;

}  // namespace

extern "C" {

__attribute__((visibility("default"))) TestEngineControl* TestEngineControlBlock() { return &g_control; }

__attribute__((visibility("default"))) ICwDataEngin* GetCwDataEnginInstance() {
  std::lock_guard<std::mutex> hold(g_control.mutex);
  if (g_shared == nullptr) {
    g_shared = new TestEngine(true);
    ++g_control.instances_made;
    g_control.instance_alive = true;
  }
  return g_shared;
}

__attribute__((visibility("default"))) void DelCwDataEnginInstance() {
  TestEngine* engine = nullptr;
  {
    std::lock_guard<std::mutex> hold(g_control.mutex);
    std::swap(engine, g_shared);
    if (engine != nullptr) ++g_control.instances_deleted;
    g_control.instance_alive = false;
  }
  delete engine;
}

__attribute__((visibility("default"))) ICwDataEngin* CreateCwDataEngin() {
  std::lock_guard<std::mutex> hold(g_control.mutex);
  ++g_control.private_made;
  ++g_control.private_alive;
  return new TestEngine(false);
}

__attribute__((visibility("default"))) void DeleteCwDataEngin(ICwDataEngin* engine) {
  if (engine == nullptr) return;
  delete static_cast<TestEngine*>(engine);
  std::lock_guard<std::mutex> hold(g_control.mutex);
  --g_control.private_alive;
}

__attribute__((visibility("default"))) void SetGlobalProxy(CWPROXYINFO* proxy) {
  std::lock_guard<std::mutex> hold(g_control.mutex);
  ++g_control.global_proxy_calls;
  if (proxy != nullptr) g_control.global_proxy = *proxy;
}

__attribute__((visibility("default"))) void SetTPPushClientNotify(IClientNotify* notify) {
  std::lock_guard<std::mutex> hold(g_control.mutex);
  ++g_control.push_notify_calls;
  g_control.push_notify = notify;
}

__attribute__((visibility("default"))) void SetTPSessionOption(int /*option*/) {}
__attribute__((visibility("default"))) void SetSSOHandle(void* /*handle*/) {}

}  // extern "C"
