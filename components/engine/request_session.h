// One connection of the engine to the data service, over a list of hosts.
// The engine's I/O thread drives it (Tick, OnEvents) with the core lock held;
// the module calls the ICwRequestSession operations from any thread. Callbacks
// run only on the I/O thread, with the lock released.
#ifndef ORBE_COMPONENTS_ENGINE_REQUEST_SESSION_H_
#define ORBE_COMPONENTS_ENGINE_REQUEST_SESSION_H_

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "engine_core.h"
#include "host_list.h"
#include "protocol/cw_data_engin.h"
#include "pending_request.h"
#include "protocol/frame_splitter.h"
#include "tcp_connection.h"

namespace orbe::engine {

enum class SessionKind {
  kPipelined,  // any number of requests on the wire at once
  kOneAtATime  // the alternative kind: the next request goes when the last has ended
};

using Lock = std::unique_lock<std::mutex>;

class RequestSession final : public ICwRequestSession {
 public:
  RequestSession(EngineCore& core, SessionKind kind, HostList hosts, IReplyHandle* connect,
                 std::function<void()> start_loop);
  ~RequestSession() override = default;
  RequestSession(const RequestSession&) = delete;
  RequestSession& operator=(const RequestSession&) = delete;

  bool Send(IReplyHandle* handle, ICwRequest* request) override;
  bool SendAndWait(IReplyHandle* handle, ICwRequest* request) override;
  void SetReplyHandle(IReplyHandle* handle) override;
  void Quit() override;
  int GetConnectState() override;
  void ResetReplyHandleQueue() override;
  void ResetSecondReplyHandleQueue() override;
  int GetHostIndex() override;

  // Driven by the I/O thread, lock held.
  void Tick(Lock& lock, Clock::time_point now);
  int PollFd() const;
  short PollEvents() const;
  Clock::time_point NextWake() const;
  void OnEvents(Lock& lock, int fd, short revents, Clock::time_point now);
  // The engine stopped: everything goes without a callback.
  void CloseSilently();
  // Quit, closed, and no call of the module inside it: the engine frees it.
  // Lock held.
  bool Released() const { return quit_requested_ && closed_ && callers_ == 0; }

 private:
  enum class Link { kIdle, kConnecting, kConnected, kRefused, kClosed };

  // Counts a call of the module for as long as it holds (or waits for) the
  // lock, so that a quit session is not freed under a Quit still returning.
  class InCall {
   public:
    explicit InCall(RequestSession& session) : session_(session) { ++session_.callers_; }
    ~InCall() { --session_.callers_; }
    InCall(const InCall&) = delete;
    InCall& operator=(const InCall&) = delete;

   private:
    RequestSession& session_;
  };

  bool Submit(IReplyHandle* handle, ICwRequest* request, std::shared_ptr<Completion> completion);
  void DropHandles(bool waiting);

  void StartConnecting(Lock& lock, Clock::time_point now);
  void OnConnected(Lock& lock, Clock::time_point now);
  void ConnectFailed(const std::string& error, Clock::time_point now);
  void LoseConnection(Lock& lock, const std::string& reason, int status, Clock::time_point now);
  void RequeueReads();
  void Close(Lock& lock);
  void ResetLink();
  void AdvanceHost();
  bool UsableHost(int index) const;

  void TransmitReady(Clock::time_point now);
  void FlushOutbox();
  bool InFlight() const;
  void SendKeepAliveWhenIdle(Clock::time_point now);

  void ReadAvailable(Lock& lock, Clock::time_point now);
  void ProcessPackets(Lock& lock, Clock::time_point now);
  bool HandlePacket(Lock& lock, const wire::ReplyPacket& packet, Clock::time_point now);

  // Ends requests with `status` one by one, so that a queue reset between two
  // callbacks is honoured. `which` picks the next one to end.
  void EndEach(Lock& lock, int status, const std::function<bool(const PendingRequest&)>& which);
  void EndRequest(Lock& lock, PendingRequest entry, int status);
  void NotifyConnectHandle(Lock& lock, int state);
  void FailStaleQueued(Lock& lock, Clock::time_point now);
  std::string HostName() const;

  EngineCore& core_;
  const SessionKind kind_;
  const std::vector<EngineHost> hosts_;
  const std::function<void()> start_loop_;

  // Guarded by core_.mutex.
  IReplyHandle* connect_handle_;
  int host_index_ = 0;
  int usable_hosts_ = 0;
  Link link_ = Link::kIdle;
  bool quit_requested_ = false;
  int callers_ = 0;  // module calls inside, see InCall
  bool closed_ = false;  // closed and every pending request ended
  bool broken_ = false;  // a write failed outside the I/O thread
  // What requests end with when no host can be used.
  int refusal_status_ = wire::kStatusConnectionLost;
  int failures_in_row_ = 0;
  bool was_connected_ = false;
  std::unique_ptr<TcpConnection> connection_;
  std::string outbox_;
  std::size_t outbox_sent_ = 0;
  std::deque<PendingRequest> pending_;
  std::uint32_t next_id_ = 1;
  Clock::time_point retry_at_{};
  Clock::time_point connect_deadline_{};
  Clock::time_point connected_at_{};
  Clock::time_point disconnected_since_;
  Clock::time_point silent_since_{};   // last byte received, or first request on the wire
  Clock::time_point last_transmit_{};

  // I/O thread only.
  wire::ReplySplitter splitter_;
  std::vector<char> read_buffer_;
};

}  // namespace orbe::engine

#endif  // ORBE_COMPONENTS_ENGINE_REQUEST_SESSION_H_
