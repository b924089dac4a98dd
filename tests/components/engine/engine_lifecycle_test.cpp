// Engine and session life: instances, the start of private engines, Stop and
// Quit from callbacks and from other threads, and the queue resets.
#include <atomic>
#include <thread>

#include "components/engine/engine_fixture.h"

namespace orbe_test {
namespace {

class LifecycleTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(server_.port(), 0); }

  ICwRequestSession* Session(ICwDataEngin* engine, IReplyHandle* connect) {
    CWHOSTINFO host = LoopbackHost(server_.port());
    return engine->CreateRequestSession(&host, connect);
  }

  EngineLibrary library_;
  TestServer server_{"life"};
};

TEST_F(LifecycleTest, SharedInstanceLivesUntilReleased) {
  ICwDataEngin* shared = library_.get();
  ASSERT_NE(shared, nullptr);
  EXPECT_EQ(library_.get(), shared);
  // Not a private engine: deleting it that way is ignored.
  library_.destroy(shared);
  {
    ICwRequestSession* session = Session(shared, nullptr);
    RecordingHandle handle;
    RequestHolder request(shared, HostLoadFrame());
    ASSERT_TRUE(session->SendAndWait(&handle, request.get()));
    EXPECT_EQ(handle.Statuses(), std::vector<int>{kCwStatusComplete});
    shared->Shutdown();
    EXPECT_FALSE(session->Send(&handle, request.get()));
  }
  library_.del();
  library_.del();  // twice is harmless

  ICwDataEngin* again = library_.get();
  {
    RecordingHandle second;
    RequestHolder another(again, HostLoadFrame());
    ASSERT_TRUE(Session(again, nullptr)->SendAndWait(&second, another.get()));
    EXPECT_EQ(second.Statuses(), std::vector<int>{kCwStatusComplete});
  }
  library_.del();
}

// The host test's pattern: sessions of a private engine first, then the
// start; each connect handle sends its query from the engine's thread.
class QueryOnConnect : public RecordingHandle {
 public:
  QueryOnConnect(ICwRequestSession** session, ICwRequest* request, RecordingHandle* replies)
      : session_(session), request_(request), replies_(replies) {}
  void OnStatus(int code) override {
    if (code == kCwStateConnected) {
      waiting_send_refused_ = !(*session_)->SendAndWait(replies_, request_);
      (*session_)->Send(replies_, request_);
    }
    RecordingHandle::OnStatus(code);
  }
  bool waiting_send_refused() const { return waiting_send_refused_; }

 private:
  ICwRequestSession** session_;
  ICwRequest* request_;
  RecordingHandle* replies_;
  std::atomic<bool> waiting_send_refused_{false};
};

TEST_F(LifecycleTest, PrivateEngineStartsItsSessionsTogether) {
  PrivateEngine engine(library_);
  RecordingHandle replies[2];
  RequestHolder request0(engine.engine, HostLoadFrame());
  RequestHolder request1(engine.engine, HostLoadFrame());
  ICwRequestSession* sessions[2] = {};
  QueryOnConnect connect0(&sessions[0], request0.get(), &replies[0]);
  QueryOnConnect connect1(&sessions[1], request1.get(), &replies[1]);
  sessions[0] = Session(engine.engine, &connect0);
  sessions[1] = Session(engine.engine, &connect1);
  EXPECT_NE(sessions[0]->GetConnectState(), kCwStateConnected);
  engine->StartSessions(2);
  for (RecordingHandle& reply : replies) {
    ASSERT_TRUE(reply.WaitStatuses());
    EXPECT_EQ(reply.Statuses(), std::vector<int>{kCwStatusComplete});
    EXPECT_EQ(reply.Bodies().size(), 1u);
  }
  // A waiting send on the engine's own thread could never see its reply.
  EXPECT_TRUE(connect0.waiting_send_refused());
  EXPECT_TRUE(connect1.waiting_send_refused());
}

class StopOnStatus : public RecordingHandle {
 public:
  explicit StopOnStatus(ICwDataEngin* engine) : engine_(engine) {}
  void OnStatus(int code) override {
    RecordingHandle::OnStatus(code);
    engine_->Stop();
  }

 private:
  ICwDataEngin* engine_;
};

TEST_F(LifecycleTest, StopFromACallbackEndsTheEngine) {
  PrivateEngine engine(library_);
  ICwRequestSession* session = Session(engine.engine, nullptr);
  engine->StartSessions(1);
  StopOnStatus handle(engine.engine);
  RequestHolder request(engine.engine, HostLoadFrame());
  ASSERT_TRUE(session->SendAndWait(&handle, request.get()));
  EXPECT_EQ(handle.Statuses(), std::vector<int>{kCwStatusComplete});
  EXPECT_FALSE(session->Send(&handle, request.get()));
  EXPECT_EQ(Session(engine.engine, nullptr), nullptr);
}

// Blocks in OnReply until released; remembers whether it has returned.
class BlockingHandle : public RecordingHandle {
 public:
  void OnReply(ICwReply* reply) override {
    RecordingHandle::OnReply(reply);
    std::unique_lock<std::mutex> lock(mutex_);
    entered_ = true;
    changed_.notify_all();
    changed_.wait(lock, [this] { return released_; });
    returned_ = true;
  }
  bool WaitEntered() {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, kPatience, [this] { return entered_; });
  }
  void Release() {
    std::lock_guard<std::mutex> hold(mutex_);
    released_ = true;
    changed_.notify_all();
  }
  bool Returned() {
    std::lock_guard<std::mutex> hold(mutex_);
    return returned_;
  }

 private:
  bool entered_ = false;
  bool released_ = false;
  bool returned_ = false;
};

TEST_F(LifecycleTest, StopWaitsForARunningCallbackAndSilencesTheRest) {
  PrivateEngine engine(library_);
  ICwRequestSession* session = Session(engine.engine, nullptr);
  engine->StartSessions(1);
  BlockingHandle handle;
  RequestHolder request(engine.engine, HostLoadFrame());
  ASSERT_TRUE(session->Send(&handle, request.get()));
  ASSERT_TRUE(handle.WaitEntered());

  std::atomic<bool> callback_done_when_stop_returned{false};
  std::thread stopper([&] {
    engine->Stop();
    callback_done_when_stop_returned = handle.Returned();
  });
  // Stopped engines make no sessions: that shows Stop has begun.
  CWHOSTINFO probe = LoopbackHost(1);
  probe.proxy.proxyType = 1;
  ::testing::internal::CaptureStderr();
  EXPECT_TRUE(Eventually([&] { return engine->CreateRequestSession(&probe, nullptr) == nullptr; }));
  ::testing::internal::GetCapturedStderr();
  handle.Release();
  stopper.join();
  EXPECT_TRUE(callback_done_when_stop_returned);
  // The end packet came after Stop had begun: never delivered.
  EXPECT_TRUE(handle.Statuses().empty());
}

TEST_F(LifecycleTest, QuitEndsPendingRequestsBeforeItReturns) {
  PrivateEngine engine(library_);
  RecordingHandle connect;
  ICwRequestSession* session = Session(engine.engine, &connect);
  engine->StartSessions(1);
  ASSERT_TRUE(connect.WaitStatuses());
  server_.Pause();
  RecordingHandle handle;
  RequestHolder request(engine.engine, HostLoadFrame());
  ASSERT_TRUE(session->Send(&handle, request.get()));
  session->Quit();
  // The session is gone for the caller now; the engine frees it.
  EXPECT_EQ(handle.Statuses(), std::vector<int>{-1});
  EXPECT_EQ(connect.Statuses(), std::vector<int>{kCwStateConnected});
}

// Resets the queue again when it hears that a reset dropped it: a callback
// on the resetting thread that calls back must not wait for itself.
class ResettingHandle : public RecordingHandle {
 public:
  explicit ResettingHandle(ICwRequestSession* session) : session_(session) {}
  void OnStatus(int code) override {
    RecordingHandle::OnStatus(code);
    if (code == orbe::wire::kStatusDropped) session_->ResetReplyHandleQueue();
  }

 private:
  ICwRequestSession* const session_;
};

TEST_F(LifecycleTest, QueueResetsDropTheirOwnQueueOnly) {
  PrivateEngine engine(library_);
  RecordingHandle connect;
  ICwRequestSession* session = Session(engine.engine, &connect);
  engine->StartSessions(1);
  ASSERT_TRUE(connect.WaitStatuses());
  server_.Pause();
  ResettingHandle dropped(session);
  RecordingHandle kept;
  RequestHolder first(engine.engine, HostLoadFrame());
  RequestHolder second(engine.engine, HostLoadFrame());
  ASSERT_TRUE(session->Send(&dropped, first.get()));
  session->ResetReplyHandleQueue();
  // Told before the reset returns: whoever waits for its end is not left waiting.
  EXPECT_EQ(dropped.Statuses(), std::vector<int>{orbe::wire::kStatusDropped});
  ASSERT_TRUE(session->Send(&kept, second.get()));
  session->ResetSecondReplyHandleQueue();  // waiting sends only: `kept` stays
  server_.Resume();

  // Replies come in request order, so the later one ending means the
  // earlier one has been received and discarded.
  ASSERT_TRUE(kept.WaitStatuses());
  EXPECT_EQ(kept.Statuses(), std::vector<int>{kCwStatusComplete});
  EXPECT_EQ(kept.Bodies().size(), 1u);
  EXPECT_EQ(dropped.Statuses(), std::vector<int>{orbe::wire::kStatusDropped});
  EXPECT_TRUE(dropped.Bodies().empty());
}

}  // namespace
}  // namespace orbe_test
