#include "request_session.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "engine_log.h"
#include "engine_request.h"
#include "orbe/platform/text.h"
#include "protocol/byte_order.h"
#include "protocol/requests.h"
#include "protocol/wire_format.h"

namespace orbe::engine {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

// After every host failed once in a row, the next round waits this long.
constexpr Clock::duration kRetryDelay = milliseconds(500);
// A connection lost sooner than this after it was made counts as a failed
// attempt, so a host that accepts and drops at once is not hammered.
constexpr Clock::duration kShortLived = seconds(1);
// Well inside the server's 60-second keep-alive rule.
constexpr Clock::duration kKeepAliveInterval = seconds(30);
constexpr std::size_t kReadChunk = 64 * 1024;
constexpr int kReadRoundsPerEvent = 16;

std::string PacketBytes(const wire::ReplyPacket& packet) {
  std::string bytes(reinterpret_cast<const char*>(&packet.header), sizeof packet.header);
  bytes.append(packet.payload);
  return bytes;
}

// Folds a packet into a running digest (64-bit words, multiply and rotate):
// enough to tell the reply a handle heard from another host's.
std::uint64_t FoldDigest(std::uint64_t digest, std::string_view bytes) {
  constexpr std::uint64_t kPrime = 0x9E3779B97F4A7C15ull;
  std::size_t i = 0;
  for (; i + 8 <= bytes.size(); i += 8) {
    std::uint64_t word = 0;
    std::memcpy(&word, bytes.data() + i, 8);
    digest = ((digest ^ word) * kPrime);
    digest ^= digest >> 29;
  }
  std::uint64_t tail = bytes.size();
  for (; i < bytes.size(); ++i) tail = (tail << 8) | static_cast<unsigned char>(bytes[i]);
  digest = (digest ^ tail) * kPrime;
  return digest ^ (digest >> 32);
}

}  // namespace

RequestSession::RequestSession(EngineCore& core, SessionKind kind, HostList hosts, IReplyHandle* connect,
                               std::function<void()> start_loop)
    : core_(core),
      kind_(kind),
      hosts_(std::move(hosts.hosts)),
      start_loop_(std::move(start_loop)),
      connect_handle_(connect),
      host_index_(hosts.first),
      disconnected_since_(Clock::now()),
      read_buffer_(kReadChunk) {
  for (int i = 0; i < static_cast<int>(hosts_.size()); ++i) {
    if (UsableHost(i)) {
      ++usable_hosts_;
      continue;
    }
    const EngineHost& host = hosts_[i];
    if (host.proxy_type != 0) {
      LogLine("host %d (%s:%s) asks for proxy type %d at %s; this engine connects only directly, so the host is "
              "not used", i, host.address.c_str(), host.port.c_str(), host.proxy_type, host.proxy_address.c_str());
      refusal_status_ = wire::kStatusProxyUnsupported;
    } else {
      LogLine("host %d (%s): port \"%s\" is not a port number; the host is not used", i, host.address.c_str(),
              host.port.c_str());
    }
  }
  if (usable_hosts_ == 0) {
    LogLine("no usable host: the session stays unconnected");
    link_ = Link::kRefused;
  }
  // Start from the first usable host at or after the configured one.
  if (usable_hosts_ > 0 && !UsableHost(host_index_)) AdvanceHost();
}

// ---- operations of the module ----

bool RequestSession::Send(IReplyHandle* handle, ICwRequest* request) {
  return Submit(handle, request, nullptr);
}

bool RequestSession::SendAndWait(IReplyHandle* handle, ICwRequest* request) {
  if (core_.OnIoThread()) {
    // The reply would have to arrive on the very thread that waits for it.
    LogLine("a waiting send from an engine callback cannot complete; refused");
    return false;
  }
  auto completion = std::make_shared<Completion>();
  if (!Submit(handle, request, completion)) return false;
  Lock lock(core_.mutex);
  const InCall in_call(*this);
  // Every way out marks it done: the end of the request, or the sessions
  // closing when the engine stops (after any callback in progress).
  core_.changed.wait(lock, [&] { return completion->done; });
  return completion->delivered;
}

bool RequestSession::Submit(IReplyHandle* handle, ICwRequest* request, std::shared_ptr<Completion> completion) {
  if (handle == nullptr || request == nullptr) return false;
  std::string error;
  std::optional<std::string> frame = FrameOfRequest(*request, &error);
  if (!frame) {
    LogLine("request refused: %s", error.c_str());
    return false;
  }
  {
    Lock lock(core_.mutex);
    const InCall in_call(*this);
    if (core_.stopped.load() || quit_requested_ || link_ == Link::kClosed) return false;
    PendingRequest entry;
    entry.id = next_id_++;
    wire::StampRequestHeader(reinterpret_cast<unsigned char*>(frame->data()), entry.id);
    wire::StoreAt<std::uint32_t>(&*frame, offsetof(wire::RequestHeader, reserved), 0);
    entry.code = wire::LoadAt<std::uint16_t>(*frame, wire::kRequestHeaderSize);
    entry.handle = handle;
    entry.resendable = wire::IsReadRequest(entry.code);
    entry.frame = std::move(*frame);
    entry.queued_at = Clock::now();
    entry.completion = std::move(completion);
    pending_.push_back(std::move(entry));
    if (link_ == Link::kConnected) TransmitReady(pending_.back().queued_at);
    // The I/O thread must poll for writability, or has something to decide.
    if (link_ != Link::kConnected || outbox_sent_ < outbox_.size() || broken_) core_.wake.Raise();
  }
  start_loop_();
  return true;
}

void RequestSession::SetReplyHandle(IReplyHandle* handle) {
  Lock lock(core_.mutex);
  const InCall in_call(*this);
  connect_handle_ = handle;
  core_.WaitForCallbacks(lock);
}

void RequestSession::Quit() {
  Lock lock(core_.mutex);
  const InCall in_call(*this);
  quit_requested_ = true;
  if (closed_) return;
  // From a callback the quit takes effect when the callback returns.
  if (core_.OnIoThread()) return;
  if (core_.loop_running) {
    core_.wake.Raise();
    // Closed means the pending requests have heard their end, not merely
    // that the link is down.
    core_.changed.wait(lock, [this] { return closed_ || !core_.loop_running; });
  }
  if (!closed_) Close(lock);
}

int RequestSession::GetConnectState() {
  Lock lock(core_.mutex);
  const InCall in_call(*this);
  switch (link_) {
    case Link::kConnected: return kCwStateConnected;
    case Link::kConnecting: return 1;
    default: return 0;
  }
}

void RequestSession::ResetReplyHandleQueue() { DropHandles(false); }

void RequestSession::ResetSecondReplyHandleQueue() { DropHandles(true); }

// A dropped asynchronous send hears that its request ended for it, before
// the call returns: its owner may be waiting for that end (a handle that
// must outlive its request, a window building on the reply), and nothing
// else would ever tell it. A dropped waiting send returns false instead.
void RequestSession::DropHandles(bool waiting) {
  Lock lock(core_.mutex);
  const InCall in_call(*this);
  std::vector<IReplyHandle*> dropped;
  for (PendingRequest& entry : pending_) {
    if ((entry.completion != nullptr) != waiting || entry.handle == nullptr) continue;
    if (!waiting && !entry.internal) dropped.push_back(entry.handle);
    entry.handle = nullptr;
  }
  // No callback to a dropped handle is still running when it hears its end.
  core_.WaitForCallbacks(lock);
  for (IReplyHandle* handle : dropped) core_.Deliver(lock, [&] { handle->OnStatus(wire::kStatusDropped); });
}

int RequestSession::GetHostIndex() {
  Lock lock(core_.mutex);
  const InCall in_call(*this);
  return host_index_;
}

// ---- the I/O thread ----

void RequestSession::Tick(Lock& lock, Clock::time_point now) {
  if (closed_) return;
  if (quit_requested_) {
    Close(lock);
    return;
  }
  if (broken_) LoseConnection(lock, "cannot write", wire::kStatusConnectionLost, now);
  switch (link_) {
    case Link::kIdle:
      if (now >= retry_at_) StartConnecting(lock, now);
      break;
    case Link::kConnecting:
      if (now >= connect_deadline_) ConnectFailed("no connection within the time-out", now);
      break;
    case Link::kConnected:
      if (InFlight() && now - silent_since_ >= core_.time_out) {
        LoseConnection(lock, "no reply within the time-out", wire::kStatusTimedOut, now);
      } else {
        SendKeepAliveWhenIdle(now);
      }
      break;
    case Link::kRefused:
      EndEach(lock, refusal_status_, [](const PendingRequest&) { return true; });
      break;
    case Link::kClosed:
      break;
  }
  FailStaleQueued(lock, now);
}

int RequestSession::PollFd() const {
  const bool polled = link_ == Link::kConnecting || link_ == Link::kConnected;
  return polled && connection_ != nullptr ? connection_->fd() : -1;
}

short RequestSession::PollEvents() const {
  if (link_ == Link::kConnecting) return POLLOUT;
  return static_cast<short>(POLLIN | (outbox_sent_ < outbox_.size() ? POLLOUT : 0));
}

Clock::time_point RequestSession::NextWake() const {
  Clock::time_point next = Clock::time_point::max();
  switch (link_) {
    case Link::kIdle: next = retry_at_; break;
    case Link::kConnecting: next = connect_deadline_; break;
    case Link::kConnected:
      next = InFlight() ? silent_since_ + core_.time_out : last_transmit_ + kKeepAliveInterval;
      break;
    default: break;
  }
  if (link_ != Link::kConnected) {
    for (const PendingRequest& entry : pending_) {
      next = std::min(next, std::max(entry.queued_at, disconnected_since_) + core_.time_out);
    }
  }
  return next;
}

void RequestSession::OnEvents(Lock& lock, int fd, short revents, Clock::time_point now) {
  if (fd != PollFd()) return;  // the connection changed since the poll
  if (link_ == Link::kConnecting) {
    std::string error;
    if (!connection_->AdvanceConnect(&error)) {
      ConnectFailed(error, now);
    } else if (connection_->connected()) {
      OnConnected(lock, now);
    }
    return;
  }
  if ((revents & POLLOUT) != 0) FlushOutbox();
  if ((revents & (POLLIN | POLLERR | POLLHUP)) != 0) ReadAvailable(lock, now);
  if (broken_ && link_ == Link::kConnected) LoseConnection(lock, "cannot write", wire::kStatusConnectionLost, now);
}

void RequestSession::CloseSilently() {
  ResetLink();
  link_ = Link::kClosed;
  closed_ = true;
  for (PendingRequest& entry : pending_) {
    if (entry.completion != nullptr) entry.completion->done = true;
  }
  pending_.clear();
  core_.changed.notify_all();
}

// ---- connecting ----

bool RequestSession::UsableHost(int index) const {
  if (index < 0 || index >= static_cast<int>(hosts_.size())) return false;
  const EngineHost& host = hosts_[index];
  return host.proxy_type == 0 && PortNumber(host) != 0;
}

void RequestSession::AdvanceHost() {
  const int count = static_cast<int>(hosts_.size());
  for (int step = 1; step <= count; ++step) {
    const int candidate = (host_index_ + step) % count;
    if (UsableHost(candidate)) {
      host_index_ = candidate;
      return;
    }
  }
}

std::string RequestSession::HostName() const {
  if (host_index_ < 0 || host_index_ >= static_cast<int>(hosts_.size())) return "no host";
  const EngineHost& host = hosts_[host_index_];
  return Format("host %d (%s:%s)", host_index_, host.address.c_str(), host.port.c_str());
}

void RequestSession::StartConnecting(Lock& lock, Clock::time_point now) {
  const EngineHost& host = hosts_[host_index_];
  std::string error;
  connection_ = TcpConnection::StartConnect(host.address, PortNumber(host), &error);
  if (connection_ == nullptr) {
    ConnectFailed(error, now);
    return;
  }
  link_ = Link::kConnecting;
  connect_deadline_ = now + core_.time_out;
  if (connection_->connected()) OnConnected(lock, now);
}

void RequestSession::ConnectFailed(const std::string& error, Clock::time_point now) {
  // One round of failures is worth reporting; a host that stays down is not
  // reported again every half second.
  if (failures_in_row_ < usable_hosts_) LogLine("%s: %s", HostName().c_str(), error.c_str());
  ResetLink();
  ++failures_in_row_;
  AdvanceHost();
  retry_at_ = failures_in_row_ % usable_hosts_ == 0 ? now + kRetryDelay : now;
}

void RequestSession::OnConnected(Lock& lock, Clock::time_point now) {
  // The first connection is the normal case; any later one is news.
  if (failures_in_row_ > 0 || was_connected_) LogLine("%s: connected", HostName().c_str());
  was_connected_ = true;
  link_ = Link::kConnected;
  failures_in_row_ = 0;
  connected_at_ = now;
  silent_since_ = now;
  last_transmit_ = now;
  TransmitReady(now);
  NotifyConnectHandle(lock, kCwStateConnected);
}

void RequestSession::ResetLink() {
  connection_.reset();
  outbox_.clear();
  outbox_sent_ = 0;
  splitter_ = wire::ReplySplitter{};
  broken_ = false;
  if (link_ != Link::kRefused) link_ = Link::kIdle;
}

void RequestSession::LoseConnection(Lock& lock, const std::string& reason, int status, Clock::time_point now) {
  LogLine("%s: %s; connection dropped", HostName().c_str(), reason.c_str());
  const bool short_lived = now - connected_at_ < kShortLived;
  ResetLink();
  disconnected_since_ = now;
  failures_in_row_ = short_lived ? 1 : 0;
  AdvanceHost();
  retry_at_ = short_lived && failures_in_row_ % usable_hosts_ == 0 ? now + kRetryDelay : now;
  RequeueReads();
  EndEach(lock, status, [](const PendingRequest& entry) { return entry.transmitted; });
  NotifyConnectHandle(lock, 0);
}

// Reads on the wire go to the next host: sent again, they cannot change
// anything. Each is sent at most once to every other host, so a request that
// takes servers down cannot go round for ever. Writes on the wire stay there
// to be ended as failed: whether the lost host applied them is unknown, and
// sending them again could apply them twice.
void RequestSession::RequeueReads() {
  if (usable_hosts_ < 2) return;
  for (PendingRequest& entry : pending_) {
    if (!entry.transmitted || !entry.resendable || entry.internal || entry.resends >= usable_hosts_ - 1) continue;
    entry.transmitted = false;
    ++entry.resends;
    entry.packets_to_skip = entry.packets_delivered;
    entry.skipped_digest = 0;
    entry.diverged = false;
  }
}

void RequestSession::Close(Lock& lock) {
  ResetLink();
  link_ = Link::kClosed;
  EndEach(lock, wire::kStatusConnectionLost, [](const PendingRequest&) { return true; });
  closed_ = true;
  core_.changed.notify_all();
}

// ---- writing ----

bool RequestSession::InFlight() const {
  return std::any_of(pending_.begin(), pending_.end(), [](const PendingRequest& e) { return e.transmitted; });
}

void RequestSession::TransmitReady(Clock::time_point now) {
  bool in_flight = InFlight();
  for (PendingRequest& entry : pending_) {
    if (entry.transmitted) continue;
    if (kind_ == SessionKind::kOneAtATime && in_flight) break;
    if (!in_flight) silent_since_ = now;
    in_flight = true;
    entry.transmitted = true;
    outbox_.append(entry.frame);
    if (!entry.resendable) std::string().swap(entry.frame);
  }
  last_transmit_ = now;
  FlushOutbox();
}

void RequestSession::FlushOutbox() {
  while (connection_ != nullptr && outbox_sent_ < outbox_.size()) {
    const ssize_t written = connection_->WriteSome(outbox_.data() + outbox_sent_, outbox_.size() - outbox_sent_);
    if (written < 0) {
      broken_ = true;
      return;
    }
    if (written == 0) return;
    outbox_sent_ += static_cast<std::size_t>(written);
  }
  outbox_.clear();
  outbox_sent_ = 0;
}

void RequestSession::SendKeepAliveWhenIdle(Clock::time_point now) {
  if (!pending_.empty() || now - last_transmit_ < kKeepAliveInterval) return;
  PendingRequest entry;
  entry.id = next_id_++;
  entry.code = wire::kCodeKeepAlive;
  entry.internal = true;
  entry.frame = wire::EncodeKeepAliveRequest(entry.id);
  entry.queued_at = now;
  pending_.push_back(std::move(entry));
  TransmitReady(now);
}

// ---- reading ----

void RequestSession::ReadAvailable(Lock& lock, Clock::time_point now) {
  for (int round = 0; round < kReadRoundsPerEvent && connection_ != nullptr; ++round) {
    const ssize_t got = connection_->ReadSome(read_buffer_.data(), read_buffer_.size());
    if (got == -2) break;
    if (got <= 0) {
      const std::string reason = got == 0 ? "closed by the host" : Format("read failed: %s", std::strerror(errno));
      ProcessPackets(lock, now);  // replies that arrived before the close still count
      if (link_ == Link::kConnected) LoseConnection(lock, reason, wire::kStatusConnectionLost, now);
      return;
    }
    splitter_.Append(read_buffer_.data(), static_cast<std::size_t>(got));
    silent_since_ = now;
    if (static_cast<std::size_t>(got) < read_buffer_.size()) break;
  }
  ProcessPackets(lock, now);
}

void RequestSession::ProcessPackets(Lock& lock, Clock::time_point now) {
  wire::ReplyPacket packet;
  while (link_ == Link::kConnected && !quit_requested_) {
    const wire::SplitResult result = splitter_.Next(&packet);
    if (result == wire::SplitResult::kNeedMore) return;
    if (result == wire::SplitResult::kBad) {
      LoseConnection(lock, "malformed reply packet", wire::kStatusConnectionLost, now);
      return;
    }
    if (!HandlePacket(lock, packet, now)) return;
  }
}

bool RequestSession::HandlePacket(Lock& lock, const wire::ReplyPacket& packet, Clock::time_point now) {
  const std::uint32_t id = packet.header.request_id;
  auto it = std::find_if(pending_.begin(), pending_.end(),
                         [id](const PendingRequest& e) { return e.transmitted && e.id == id; });
  if (it == pending_.end() || it->code != packet.header.request_code) {
    LoseConnection(lock, Format("reply to request %u, which is not on the wire", id),
                   wire::kStatusConnectionLost, now);
    return false;
  }
  if (packet.header.kind == wire::kPacketData) {
    IReplyHandle* handle = it->internal ? nullptr : it->handle;
    if (handle == nullptr || it->diverged) return true;
    std::string bytes = PacketBytes(packet);
    if (it->packets_to_skip > 0) {
      // Sent again: the handle heard these packets from the lost host.
      it->skipped_digest = FoldDigest(it->skipped_digest, bytes);
      if (--it->packets_to_skip == 0 && it->skipped_digest != it->delivered_digest) {
        LogLine("%s: request %u: the reply differs from the one the lost host began; failed", HostName().c_str(), id);
        it->diverged = true;
      }
      return true;
    }
    if (it->resendable) {
      ++it->packets_delivered;
      it->delivered_digest = FoldDigest(it->delivered_digest, bytes);
    }
    EngineReply reply(std::move(bytes));
    core_.Deliver(lock, [&] { handle->OnReply(&reply); });
    return true;
  }
  PendingRequest entry = std::move(*it);
  pending_.erase(it);
  // A reply sent again that came out shorter or different than what the
  // handle already holds cannot be completed.
  const bool broken_reply = entry.diverged || entry.packets_to_skip > 0;
  EndRequest(lock, std::move(entry), broken_reply ? wire::kStatusConnectionLost : packet.header.status);
  if (kind_ == SessionKind::kOneAtATime && link_ == Link::kConnected) TransmitReady(Clock::now());
  return true;
}

// ---- ending requests ----

void RequestSession::EndEach(Lock& lock, int status, const std::function<bool(const PendingRequest&)>& which) {
  for (;;) {
    auto it = std::find_if(pending_.begin(), pending_.end(), which);
    if (it == pending_.end()) return;
    PendingRequest entry = std::move(*it);
    pending_.erase(it);
    EndRequest(lock, std::move(entry), status);
  }
}

void RequestSession::EndRequest(Lock& lock, PendingRequest entry, int status) {
  IReplyHandle* handle = entry.internal ? nullptr : entry.handle;
  bool delivered = false;
  if (handle != nullptr) delivered = core_.Deliver(lock, [&] { handle->OnStatus(status); });
  if (entry.completion != nullptr) {
    entry.completion->done = true;
    entry.completion->delivered = delivered;
    core_.changed.notify_all();
  }
}

void RequestSession::NotifyConnectHandle(Lock& lock, int state) {
  IReplyHandle* handle = connect_handle_;
  if (handle != nullptr) core_.Deliver(lock, [&] { handle->OnStatus(state); });
}

void RequestSession::FailStaleQueued(Lock& lock, Clock::time_point now) {
  if (link_ == Link::kConnected || link_ == Link::kClosed) return;
  const Clock::time_point since = disconnected_since_;
  const Clock::duration time_out = core_.time_out;
  EndEach(lock, wire::kStatusTimedOut, [&](const PendingRequest& entry) {
    return !entry.transmitted && now - std::max(entry.queued_at, since) >= time_out;
  });
}

}  // namespace orbe::engine
