#include "data_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>

#include "orbe/platform/sync.h"
#include "orbe/platform/text.h"
#include "protocol/local_socket.h"
#include "protocol/replies.h"
#include "server_log.h"

namespace orbe::server {
namespace {

constexpr std::size_t kReadChunk = 64 * 1024;
constexpr std::size_t kMaxConnections = 20000;
// Frames read and waiting beyond this many bytes stop the reading too: a
// frame may be 16 MiB long, so a count alone would not bound them.
constexpr std::size_t kMaxRequestBytesQueued = 32u << 20;

// epoll keys; connection ids start above them.
constexpr std::uint64_t kListenerKey = 1;
constexpr std::uint64_t kStopKey = 2;
constexpr std::uint64_t kAnsweredKey = 3;
constexpr std::uint64_t kLocalListenerKey = 4;
constexpr std::uint64_t kFirstConnectionId = 16;

// Every connection may hold this much of a frame it is still sending (the
// engine's largest request is 64 KiB); beyond it, the incomplete frames of all
// connections share one budget, so that clients announcing large frames and
// sending them slowly cannot make the server hold 16 MiB each.
constexpr std::size_t kPartialFrameAllowance = 256 * 1024;
constexpr std::size_t kPartialFrameBudget = 64u << 20;

std::string ErrnoText() { return std::strerror(errno); }

bool Watch(int epoll, int fd, std::uint64_t key, std::uint32_t events) {
  epoll_event event{};
  event.events = events;
  event.data.u64 = key;
  return ::epoll_ctl(epoll, EPOLL_CTL_ADD, fd, &event) == 0;
}

// Answered on the epoll thread when nothing else of the connection is in
// flight: they read a row at most.
bool IsQuick(std::uint16_t code) {
  return code == wire::kCodeTableTimeStamp || code == wire::kCodeKeepAlive || code == wire::kCodeHostLoad;
}

int WorkerCount(int configured) {
  if (configured > 0) return configured;
  return std::max(2, static_cast<int>(std::thread::hardware_concurrency()));
}

}  // namespace

// A request read and waiting for its turn. The splitter's frames view its
// buffer, which moves on with the next read, so a waiting one owns its bytes.
struct DataServer::WaitingRequest {
  wire::RequestHeader header{};
  std::uint16_t code = 0;
  std::string body;

  explicit WaitingRequest(const wire::RequestFrame& frame)
      : header(frame.header), code(frame.code), body(frame.body) {}
  wire::RequestFrame View() const { return {header, code, body}; }
};

// A connection's requests between the epoll thread, which reads them, and the
// worker that runs them. Shared, so that a worker may finish with it after
// the connection closed.
struct DataServer::RequestLine {
  RequestLine(std::uint64_t connection_id, std::string connection_peer)
      : id(connection_id), peer(std::move(connection_peer)) {}

  const std::uint64_t id;
  const std::string peer;
  std::mutex mutex;
  std::deque<WaitingRequest> queued;  // read, waiting for their turn
  std::size_t queued_bytes = 0;
  bool running = false;      // a worker has it, or a task of it waits for one
  bool closed = false;       // the connection is gone: nothing more is run
  std::size_t untaken = 0;   // reply bytes of answers the epoll thread has not taken
  std::size_t unsent = 0;    // reply bytes taken and not yet written to the client
  int fd = -1;               // the client's socket, valid while !closed
  bool direct = false;       // the epoll thread needs no word of answers written by workers

  std::size_t Backlog() const { return untaken + unsent; }

  // Under the mutex, on a worker: writes what the socket takes of `reply` at
  // once, when the epoll thread allows it and the client is owed nothing
  // before it; what is left goes the usual way. False when not allowed.
  bool WriteDirectly(std::string* reply) const {
    if (!direct || closed || untaken != 0 || unsent != 0) return false;
    std::size_t sent = 0;
    while (sent < reply->size()) {
      const ssize_t got = ::send(fd, reply->data() + sent, reply->size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) break;  // full, or broken: the epoll thread finds out when it writes the rest
      sent += static_cast<std::size_t>(got);
    }
    reply->erase(0, sent);
    return true;
  }
};

struct DataServer::Connection {
  std::uint64_t id = 0;
  UniqueFd fd;
  std::string peer;
  bool admitted = true;  // in the allow list
  wire::RequestSplitter splitter;
  std::shared_ptr<RequestLine> line;
  OutputQueue output;
  Clock::time_point last_input;
  std::uint32_t interest = 0;
  bool closing = false;  // no more input; close once everything is answered and written
  bool broken = false;   // framing lost: nothing more is read from the stream
  std::size_t partial_held = 0;  // this connection's share of the partial-frame budget

  std::size_t Pending() const { return output.Pending(); }
  std::size_t Queued() const {
    const std::lock_guard lock(line->mutex);
    return line->queued.size();
  }
  bool Running() const {
    const std::lock_guard lock(line->mutex);
    return line->running;
  }
  bool Idle() const {
    const std::lock_guard lock(line->mutex);
    return !line->running && line->queued.empty() && line->untaken == 0 && Pending() == 0;
  }
};

DataServer::~DataServer() {
  // Workers first: a running request uses the storage and the readers.
  workers_.reset();
}

std::unique_ptr<DataServer> DataServer::Create(const ServerConfig& config, std::string* error) {
  std::unique_ptr<DataServer> server(new DataServer());
  server->config_ = config;
  server->storage_ = Storage::Open(config.storage, error);
  if (!server->storage_) return nullptr;
  if (const std::string problem = CheckSchema(server->storage_->Schema()); !problem.empty()) {
    *error = "dictionary schema refused: " + problem;
    return nullptr;
  }
  server->files_ = std::make_unique<FileStore>(config.FileRoot());
  if (!server->files_->Publish(server->storage_->Schema(), error)) return nullptr;
  // The epoll thread's own connection for quick requests; a server of
  // PostgreSQL leaves them to the workers, a round trip to it is not quick.
  if (server->storage_->Dialect() == SqlDialect::kSqlite) {
    auto reader = server->storage_->Connect(error);
    if (!reader) return nullptr;
    server->quick_context_ = ServiceContext{server->storage_.get(), reader.get(), server->files_.get(),
                                            config.capacity, &server->live_connections_, config.access.writable};
    server->readers_.push_back(std::move(reader));
  }
  const int workers = WorkerCount(config.workers);
  for (int i = 0; i < workers; ++i) {
    auto reader = server->storage_->Connect(error);
    if (!reader) return nullptr;
    server->contexts_.push_back({server->storage_.get(), reader.get(), server->files_.get(), config.capacity,
                                 &server->live_connections_, config.access.writable});
    server->readers_.push_back(std::move(reader));
  }

  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(config.port);
  if (inet_pton(AF_INET, config.bind_address.c_str(), &address.sin_addr) != 1) {
    *error = "not an IPv4 address: " + config.bind_address;
    return nullptr;
  }
  server->listener_ = UniqueFd(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  const int on = 1;
  ::setsockopt(server->listener_.Get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof(on));
  socklen_t length = sizeof(address);
  if (!server->listener_.Valid() ||
      ::bind(server->listener_.Get(), reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
      ::listen(server->listener_.Get(), SOMAXCONN) != 0 ||
      ::getsockname(server->listener_.Get(), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    *error = Format("cannot listen on %s:%u: %s", config.bind_address.c_str(), config.port, ErrnoText().c_str());
    return nullptr;
  }
  server->port_ = ntohs(address.sin_port);
  // Clients of 127.0.0.1 reach a server that listens there or on every
  // address; they get the quicker local socket as well.
  const std::uint32_t host = ntohl(address.sin_addr.s_addr);
  if ((host == INADDR_ANY || host == INADDR_LOOPBACK) && !server->ListenLocally()) {
    LogLine(LogLevel::kWarn, "no local socket for port %u (%s): local clients use TCP", server->port_,
            ErrnoText().c_str());
  }
  server->epoll_ = UniqueFd(::epoll_create1(EPOLL_CLOEXEC));
  server->answered_ = UniqueFd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
  server->spare_fd_ = UniqueFd(::open("/dev/null", O_RDONLY | O_CLOEXEC));
  if (!server->epoll_.Valid() || !server->answered_.Valid()) {
    *error = "epoll: " + ErrnoText();
    return nullptr;
  }
  server->workers_ = std::make_unique<WorkerPool>(static_cast<std::size_t>(workers));
  return server;
}

bool DataServer::ListenLocally() {
  sockaddr_un address{};
  const socklen_t length = wire::LocalSocketAddress(port_, &address);
  local_listener_ = UniqueFd(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  if (local_listener_.Valid() &&
      ::bind(local_listener_.Get(), reinterpret_cast<sockaddr*>(&address), length) == 0 &&
      ::listen(local_listener_.Get(), SOMAXCONN) == 0) {
    return true;
  }
  local_listener_.Reset();
  return false;
}

bool DataServer::Run(int stop_fd) {
  std::optional<BackgroundWork> background;
  if (config_.background_thread) background.emplace();
  if (local_listener_.Valid() && !Watch(epoll_.Get(), local_listener_.Get(), kLocalListenerKey, EPOLLIN))
    return false;
  if (!Watch(epoll_.Get(), listener_.Get(), kListenerKey, EPOLLIN) ||
      !Watch(epoll_.Get(), stop_fd, kStopKey, EPOLLIN) ||
      !Watch(epoll_.Get(), answered_.Get(), kAnsweredKey, EPOLLIN)) {
    return false;
  }
  std::array<epoll_event, 256> events{};
  auto last_sweep = Clock::now();
  bool stop = false;
  while (!stop) {
    const int count = ::epoll_wait(epoll_.Get(), events.data(), static_cast<int>(events.size()), 1000);
    if (count < 0 && errno != EINTR) {
      LogLine(LogLevel::kError, "epoll_wait: %s", ErrnoText().c_str());
      break;
    }
    for (int i = 0; i < count; ++i) {
      const std::uint64_t key = events[i].data.u64;
      if (key == kStopKey) {
        stop = true;
      } else if (key == kListenerKey || key == kLocalListenerKey) {
        AcceptAll(key == kLocalListenerKey);
      } else if (key == kAnsweredKey) {
        TakeAnswers();
      } else if (const auto found = connections_.find(key); found != connections_.end()) {
        Connection* connection = found->second.get();
        // Hung up or reset: nothing can reach the client any more.
        if (events[i].events & (EPOLLHUP | EPOLLERR)) {
          Close(key);
          continue;
        }
        if (events[i].events & EPOLLIN) OnReadable(connection);
        if (!Flush(connection)) Close(key);
      }
    }
    if (Clock::now() - last_sweep >= std::chrono::seconds(1)) {
      CloseIdle();
      last_sweep = Clock::now();
    }
  }
  LogLine(LogLevel::kInfo, "shutting down, closing %zu connection(s)", connections_.size());
  for (const auto& [id, connection] : connections_) {
    const std::lock_guard lock(connection->line->mutex);
    connection->line->closed = true;
  }
  workers_.reset();  // running requests end; their answers are dropped
  connections_.clear();
  live_connections_ = 0;
  return true;
}

void DataServer::AcceptAll(bool local) {
  const int listener = local ? local_listener_.Get() : listener_.Get();
  for (;;) {
    sockaddr_in peer{};
    socklen_t length = sizeof(peer);
    UniqueFd fd(::accept4(listener, local ? nullptr : reinterpret_cast<sockaddr*>(&peer),
                          local ? nullptr : &length, SOCK_NONBLOCK | SOCK_CLOEXEC));
    if (!fd.Valid()) {
      if (errno == EINTR || errno == ECONNABORTED) continue;
      if (errno == EMFILE || errno == ENFILE) {
        // Without a free descriptor the pending client would keep the
        // listener readable forever: accept it on the spare one and drop it.
        spare_fd_.Reset();
        UniqueFd dropped(::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC));
        spare_fd_ = UniqueFd(::open("/dev/null", O_RDONLY | O_CLOEXEC));
        LogLine(LogLevel::kWarn, "out of descriptors: a client was refused");
        continue;
      }
      return;  // EAGAIN: accepted everything pending
    }
    if (connections_.size() >= kMaxConnections) {
      LogLine(LogLevel::kWarn, "connection limit %zu reached: a client was refused", kMaxConnections);
      continue;
    }
    if (local) {
      // Admitted and logged as the loopback client it is.
      peer.sin_family = AF_INET;
      peer.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    } else {
      const int on = 1;
      ::setsockopt(fd.Get(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof(on));
    }
    auto connection = std::make_unique<Connection>();
    connection->id = kFirstConnectionId + next_id_++;
    connection->peer =
        local ? Format("local:%llu", static_cast<unsigned long long>(connection->id)) : PeerText(peer);
    connection->admitted = config_.access.Admits(peer);
    connection->line = std::make_shared<RequestLine>(connection->id, connection->peer);
    connection->last_input = Clock::now();
    connection->interest = EPOLLIN;
    if (!Watch(epoll_.Get(), fd.Get(), connection->id, EPOLLIN)) continue;
    connection->fd = std::move(fd);
    connection->line->fd = connection->fd.Get();
    if (!connection->admitted) {
      LogLine(LogLevel::kWarn, "%s: refused: not in the allow list", connection->peer.c_str());
    } else {
      LogLine(LogLevel::kDebug, "%s: connected", connection->peer.c_str());
      ++live_connections_;
    }
    connections_.emplace(connection->id, std::move(connection));
  }
}

bool DataServer::Reading(const Connection& connection) const {
  if (connection.closing || connection.broken || connection.Pending() >= config_.max_reply_bytes_queued) return false;
  const std::lock_guard lock(connection.line->mutex);
  return connection.line->queued.size() < config_.max_requests_queued &&
         connection.line->queued_bytes + connection.splitter.Buffered() < kMaxRequestBytesQueued;
}

void DataServer::OnReadable(Connection* connection) {
  if (Reading(*connection)) {
    char buffer[kReadChunk];
    // One chunk per wake-up keeps a busy client from starving the others;
    // level-triggered epoll brings us back for the rest.
    const ssize_t got = ::recv(connection->fd.Get(), buffer, sizeof(buffer), 0);
    if (got > 0) {
      connection->last_input = Clock::now();
      connection->splitter.Append(buffer, static_cast<std::size_t>(got));
    } else if (got == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
      connection->closing = true;
      if (connection->splitter.Buffered() != 0) {
        LogLine(LogLevel::kWarn, "%s closed in the middle of a frame", connection->peer.c_str());
      }
    }
  }
  TakeFrames(connection);
  if (!HoldPartialFrame(connection)) {
    LogLine(LogLevel::kWarn, "%s: %zu bytes of an unfinished frame exceed the server's budget; closing",
            connection->peer.c_str(), connection->splitter.Buffered());
    // Replies owed to its complete requests still go out before the close.
    connection->splitter = wire::RequestSplitter();
    connection->closing = true;
    connection->broken = true;
  }
}

// Takes this connection's unfinished frame into the shared budget; false when
// it does not fit. A full queue leaves complete frames in the splitter: those
// are valid requests, bounded by Reading(), and not counted here.
bool DataServer::HoldPartialFrame(Connection* connection) {
  const bool waiting_frames = connection->Queued() >= config_.max_requests_queued;
  const std::size_t held = connection->broken || waiting_frames ? 0 : connection->splitter.Held();
  const std::size_t wanted = held > kPartialFrameAllowance ? held - kPartialFrameAllowance : 0;
  partial_bytes_held_ -= connection->partial_held;
  connection->partial_held = 0;
  if (partial_bytes_held_ + wanted > kPartialFrameBudget) return false;
  partial_bytes_held_ += wanted;
  connection->partial_held = wanted;
  return true;
}

void DataServer::TakeFrames(Connection* connection) {
  wire::RequestFrame frame;
  while (!connection->broken && connection->Queued() < config_.max_requests_queued) {
    const wire::SplitResult result = connection->splitter.Next(&frame);
    if (result == wire::SplitResult::kNeedMore) break;
    if (result == wire::SplitResult::kBad) {
      LogLine(LogLevel::kWarn, "%s sent a malformed frame header; closing", connection->peer.c_str());
      connection->closing = true;
      connection->broken = true;
      break;
    }
    if (!connection->admitted) {
      // Answered here, without a worker: nothing else of this client is in
      // flight, so the order holds; the connection closes once it is written.
      std::string refusal;
      wire::AppendEndPacket(&refusal, {frame.header.request_id, frame.code}, wire::kStatusRefused);
      connection->output.Append(std::move(refusal));
      connection->closing = true;
      continue;
    }
    const std::lock_guard lock(connection->line->mutex);
    connection->line->queued_bytes += frame.header.total_length;
    connection->line->queued.emplace_back(frame);
  }
  Dispatch(connection);
}

void DataServer::Dispatch(Connection* connection) {
  const std::shared_ptr<RequestLine>& line = connection->line;
  std::unique_lock lock(line->mutex);
  line->unsent = connection->Pending();
  // Quick requests of an idle line are answered here: a worker's wake-up and
  // the hand-over of its answer would cost more than the answer itself.
  while (quick_context_ && !line->running && line->untaken == 0 && !line->queued.empty() &&
         IsQuick(line->queued.front().code) && line->Backlog() < config_.max_reply_bytes_queued) {
    const WaitingRequest request = std::move(line->queued.front());
    line->queued.pop_front();
    line->queued_bytes -= request.header.total_length;
    lock.unlock();
    std::string reply = AnswerOf(*quick_context_, request, line->peer);
    lock.lock();
    line->unsent += reply.size();
    connection->output.Append(std::move(reply));
  }
  if (line->running || line->queued.empty() || line->Backlog() >= config_.max_reply_bytes_queued) return;
  line->running = true;
  WaitingRequest request = std::move(line->queued.front());
  line->queued.pop_front();
  line->queued_bytes -= request.header.total_length;
  lock.unlock();
  SubmitLine(line, std::move(request));
}

void DataServer::SubmitLine(std::shared_ptr<RequestLine> line, WaitingRequest request) {
  workers_->Submit([this, line = std::move(line), request = std::move(request)](std::size_t worker) mutable {
    RunLine(line, std::move(request), worker);
  });
}

std::string DataServer::AnswerOf(const ServiceContext& context, const WaitingRequest& request,
                               const std::string& peer) {
  std::string reply;
  const wire::RequestFrame frame = request.View();
  const std::int32_t status = HandleRequest(context, frame, peer, &reply);
  LogLine(status == wire::kStatusComplete ? LogLevel::kInfo : LogLevel::kWarn,
          "%s: request id=%u code=%u %s length=%u -> status %d, %zu reply bytes", peer.c_str(),
          frame.header.request_id, frame.code, RequestName(frame.code), frame.header.total_length, status,
          reply.size());
  return reply;
}

void DataServer::RunLine(const std::shared_ptr<RequestLine>& line, WaitingRequest request, std::size_t worker) {
  for (;;) {
    std::string reply = AnswerOf(contexts_[worker], request, line->peer);
    // The next request is taken before this answer is handed over: once the
    // epoll thread has the last answer, the line no longer runs, and a
    // connection that is closing can close.
    std::optional<WaitingRequest> next;
    bool written = false;
    {
      const std::lock_guard lock(line->mutex);
      written = line->WriteDirectly(&reply);
      line->untaken += reply.size();
      if (!line->closed && !line->queued.empty() && line->Backlog() < config_.max_reply_bytes_queued) {
        next.emplace(std::move(line->queued.front()));
        line->queued.pop_front();
        line->queued_bytes -= next->header.total_length;
      } else {
        line->running = false;
      }
    }
    if (!written || !reply.empty()) {
      {
        const std::lock_guard lock(answers_mutex_);
        answers_.push_back({line->id, std::move(reply)});
      }
      const std::uint64_t one = 1;
      [[maybe_unused]] const ssize_t signalled = ::write(answered_.Get(), &one, sizeof(one));
    }
    if (!next) return;
    request = std::move(*next);
    if (workers_->HasWaiting()) {
      SubmitLine(line, std::move(request));  // other connections wait: this one queues behind them
      return;
    }
  }
}

void DataServer::TakeAnswers() {
  std::uint64_t count = 0;
  [[maybe_unused]] const ssize_t got = ::read(answered_.Get(), &count, sizeof(count));
  std::vector<Answer> answers;
  {
    const std::lock_guard lock(answers_mutex_);
    answers.swap(answers_);
  }
  for (Answer& answer : answers) {
    const auto found = connections_.find(answer.connection);
    if (found == connections_.end()) continue;  // closed while its request ran
    Connection* connection = found->second.get();
    {
      const std::lock_guard lock(connection->line->mutex);
      // Moves from one count to the other at once, so a worker never sees
      // it in neither.
      connection->line->untaken -= answer.reply.size();
      connection->line->unsent += answer.reply.size();
    }
    connection->output.Append(std::move(answer.reply));
    TakeFrames(connection);  // frames held back by the limits may go now
    if (!Flush(connection)) Close(answer.connection);
  }
}

bool DataServer::Flush(Connection* connection) {
  AllowDirectAnswers(connection);
  if (!connection->output.SendTo(connection->fd.Get())) return false;
  if (connection->Pending() == 0) {
    Dispatch(connection);  // a request held back while the output was full
    // Quick answers it gave go out now rather than on the next wake-up.
    if (connection->Pending() != 0 && !connection->output.SendTo(connection->fd.Get())) return false;
    if (connection->closing && connection->Idle()) return false;
  }
  UpdateInterest(connection);
  return true;
}

// Workers write an answer to the client themselves while nothing is owed
// before it, unless this thread must hear of it: a closing connection closes
// when its last answer is out, and a connection that stopped reading at its
// limits reads again when its requests are taken. Decided before the closing
// check below, so that no answer it waits for goes out unheard.
void DataServer::AllowDirectAnswers(Connection* connection) {
  const bool direct = !connection->closing && !connection->broken && connection->admitted && Reading(*connection);
  const std::lock_guard lock(connection->line->mutex);
  connection->line->direct = direct;
}

void DataServer::UpdateInterest(Connection* connection) {
  std::uint32_t wanted = 0;
  if (Reading(*connection)) wanted |= EPOLLIN;
  if (connection->Pending() != 0) wanted |= EPOLLOUT;
  if (wanted == connection->interest) return;
  epoll_event event{};
  event.events = wanted;
  event.data.u64 = connection->id;
  ::epoll_ctl(epoll_.Get(), EPOLL_CTL_MOD, connection->fd.Get(), &event);
  connection->interest = wanted;
}

void DataServer::Close(std::uint64_t id) {
  const auto found = connections_.find(id);
  if (found == connections_.end()) return;
  LogLine(LogLevel::kDebug, "%s: closed", found->second->peer.c_str());
  {
    const std::lock_guard lock(found->second->line->mutex);
    found->second->line->closed = true;
  }
  ::epoll_ctl(epoll_.Get(), EPOLL_CTL_DEL, found->second->fd.Get(), nullptr);
  if (found->second->admitted) --live_connections_;
  partial_bytes_held_ -= found->second->partial_held;
  connections_.erase(found);
}

void DataServer::CloseIdle() {
  const auto limit = Clock::now() - std::chrono::seconds(config_.idle_seconds);
  std::vector<std::uint64_t> idle;
  for (const auto& [id, connection] : connections_) {
    if (connection->last_input < limit && !connection->Running()) idle.push_back(id);
  }
  for (const std::uint64_t id : idle) {
    LogLine(LogLevel::kInfo, "%s: idle for %d s; closing", connections_.at(id)->peer.c_str(),
            config_.idle_seconds);
    Close(id);
  }
}

}  // namespace orbe::server
