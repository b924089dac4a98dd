#include "data_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <vector>

#include "orbe/platform/text.h"
#include "server_log.h"

namespace orbe::server {
namespace {

constexpr std::size_t kReadChunk = 64 * 1024;
// A client that pipelines requests but does not read its replies stops
// being read from once this much is waiting for it.
constexpr std::size_t kMaxPendingOutput = 32u << 20;
constexpr std::size_t kMaxConnections = 20000;
// Every connection may hold this much of a frame it is still sending (the
// engine's largest request is 64 KiB); beyond it, the incomplete frames of all
// connections share one budget, so that clients announcing large frames and
// sending them slowly cannot make the server hold 16 MiB each.
constexpr std::size_t kPartialFrameAllowance = 256 * 1024;
constexpr std::size_t kPartialFrameBudget = 64u << 20;

std::string ErrnoText() { return std::strerror(errno); }

}  // namespace

struct DataServer::Connection {
  UniqueFd fd;
  std::string peer;
  wire::RequestSplitter splitter;
  std::string output;
  std::size_t output_sent = 0;
  Clock::time_point last_input;
  std::uint32_t interest = 0;
  bool closing = false;  // no more input; close once the output is written
  bool broken = false;   // framing lost: nothing more is read from the stream
  std::size_t partial_held = 0;  // this connection's share of the partial-frame budget

  std::size_t Pending() const { return output.size() - output_sent; }
};

DataServer::~DataServer() = default;

std::unique_ptr<DataServer> DataServer::Create(const ServerConfig& config, std::string* error) {
  std::unique_ptr<DataServer> server(new DataServer());
  server->config_ = config;
  server->storage_ = Storage::Open(config.db_path, error);
  if (!server->storage_) return nullptr;
  const auto schema = server->storage_->LoadSchema(error);
  if (!schema) return nullptr;
  if (const std::string problem = CheckSchema(*schema); !problem.empty()) {
    *error = "dictionary schema refused: " + problem;
    return nullptr;
  }
  server->files_ = std::make_unique<FileStore>(config.file_root.empty() ? config.db_path + ".files"
                                                                        : config.file_root);
  if (!server->files_->Publish(*schema, error)) return nullptr;
  server->context_ = {server->storage_.get(), server->files_.get(), config.capacity, 0};

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
  server->epoll_ = UniqueFd(::epoll_create1(EPOLL_CLOEXEC));
  server->spare_fd_ = UniqueFd(::open("/dev/null", O_RDONLY | O_CLOEXEC));
  if (!server->epoll_.Valid()) {
    *error = "epoll: " + ErrnoText();
    return nullptr;
  }
  return server;
}

bool DataServer::Run(int stop_fd) {
  epoll_event event{};
  event.events = EPOLLIN;
  event.data.fd = listener_.Get();
  if (::epoll_ctl(epoll_.Get(), EPOLL_CTL_ADD, listener_.Get(), &event) != 0) return false;
  event.data.fd = stop_fd;
  if (::epoll_ctl(epoll_.Get(), EPOLL_CTL_ADD, stop_fd, &event) != 0) return false;

  std::array<epoll_event, 256> events{};
  auto last_sweep = Clock::now();
  for (;;) {
    const int count = ::epoll_wait(epoll_.Get(), events.data(), static_cast<int>(events.size()), 1000);
    if (count < 0 && errno != EINTR) {
      LogLine(LogLevel::kError, "epoll_wait: %s", ErrnoText().c_str());
      break;
    }
    bool stop = false;
    for (int i = 0; i < count; ++i) {
      const int fd = events[i].data.fd;
      if (fd == stop_fd) {
        stop = true;
      } else if (fd == listener_.Get()) {
        AcceptAll();
      } else if (const auto found = connections_.find(fd); found != connections_.end()) {
        Connection* connection = found->second.get();
        if (events[i].events & (EPOLLIN | EPOLLHUP | EPOLLERR)) OnReadable(connection);
        if (connections_.count(fd) != 0 && !Flush(connection)) Close(fd);
      }
    }
    if (stop) break;
    if (Clock::now() - last_sweep >= std::chrono::seconds(1)) {
      CloseIdle();
      last_sweep = Clock::now();
    }
  }
  LogLine(LogLevel::kInfo, "shutting down, closing %zu connection(s)", connections_.size());
  connections_.clear();
  return true;
}

void DataServer::AcceptAll() {
  for (;;) {
    sockaddr_in peer{};
    socklen_t length = sizeof(peer);
    UniqueFd fd(::accept4(listener_.Get(), reinterpret_cast<sockaddr*>(&peer), &length,
                          SOCK_NONBLOCK | SOCK_CLOEXEC));
    if (!fd.Valid()) {
      if (errno == EINTR || errno == ECONNABORTED) continue;
      if (errno == EMFILE || errno == ENFILE) {
        // Without a free descriptor the pending client would keep the
        // listener readable forever: accept it on the spare one and drop it.
        spare_fd_.Reset();
        UniqueFd dropped(::accept4(listener_.Get(), nullptr, nullptr, SOCK_CLOEXEC));
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
    const int on = 1;
    ::setsockopt(fd.Get(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof(on));
    auto connection = std::make_unique<Connection>();
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &peer.sin_addr, text, sizeof(text));
    connection->peer = Format("%s:%u", text, ntohs(peer.sin_port));
    connection->last_input = Clock::now();
    connection->interest = EPOLLIN;
    epoll_event event{};
    event.events = EPOLLIN;
    event.data.fd = fd.Get();
    if (::epoll_ctl(epoll_.Get(), EPOLL_CTL_ADD, fd.Get(), &event) != 0) continue;
    const int key = fd.Get();
    connection->fd = std::move(fd);
    LogLine(LogLevel::kDebug, "fd %d: connected from %s", key, connection->peer.c_str());
    connections_.emplace(key, std::move(connection));
  }
}

void DataServer::OnReadable(Connection* connection) {
  const int fd = connection->fd.Get();
  char buffer[kReadChunk];
  // One chunk per wake-up keeps a busy client from starving the others;
  // level-triggered epoll brings us back for the rest.
  const ssize_t got = ::recv(fd, buffer, sizeof(buffer), 0);
  if (got > 0) {
    connection->last_input = Clock::now();
    connection->splitter.Append(buffer, static_cast<std::size_t>(got));
  } else if (got == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
    connection->closing = true;
    if (connection->splitter.Buffered() != 0) {
      LogLine(LogLevel::kWarn, "fd %d: %s closed in the middle of a frame", fd, connection->peer.c_str());
    }
  }
  ProcessFrames(connection);
  if (!HoldPartialFrame(connection)) {
    LogLine(LogLevel::kWarn, "fd %d: %s: %zu bytes of an unfinished frame exceed the server's budget; closing", fd,
            connection->peer.c_str(), connection->splitter.Buffered());
    // Replies owed to its complete requests still go out before the close.
    connection->splitter = wire::RequestSplitter();
    connection->closing = true;
    connection->broken = true;
  }
}

// Takes this connection's unfinished frame into the shared budget; false when
// it does not fit.
bool DataServer::HoldPartialFrame(Connection* connection) {
  const std::size_t held = connection->broken ? 0 : connection->splitter.Held();
  const std::size_t wanted = held > kPartialFrameAllowance ? held - kPartialFrameAllowance : 0;
  partial_bytes_held_ -= connection->partial_held;
  connection->partial_held = 0;
  if (partial_bytes_held_ + wanted > kPartialFrameBudget) return false;
  partial_bytes_held_ += wanted;
  connection->partial_held = wanted;
  return true;
}

void DataServer::ProcessFrames(Connection* connection) {
  const int fd = connection->fd.Get();
  context_.live_connections = static_cast<std::uint32_t>(connections_.size());
  wire::RequestFrame frame;
  while (!connection->broken && connection->Pending() < kMaxPendingOutput) {
    const wire::SplitResult result = connection->splitter.Next(&frame);
    if (result == wire::SplitResult::kNeedMore) break;
    if (result == wire::SplitResult::kBad) {
      LogLine(LogLevel::kWarn, "fd %d: %s sent a malformed frame header; closing", fd, connection->peer.c_str());
      connection->closing = true;
      connection->broken = true;
      break;
    }
    const std::size_t before = connection->output.size();
    const std::int32_t status = HandleRequest(context_, frame, &connection->output);
    const std::uint32_t id = frame.header.request_id;
    const std::uint32_t length = frame.header.total_length;
    LogLine(status == wire::kStatusComplete ? LogLevel::kInfo : LogLevel::kWarn,
            "fd %d: request id=%u code=%u %s length=%u -> status %d, %zu reply bytes", fd, id, frame.code,
            RequestName(frame.code), length, status, connection->output.size() - before);
  }
}

bool DataServer::Flush(Connection* connection) {
  for (;;) {
    while (connection->Pending() != 0) {
      const ssize_t sent = ::send(connection->fd.Get(), connection->output.data() + connection->output_sent,
                                  connection->Pending(), MSG_NOSIGNAL);
      if (sent < 0 && errno == EINTR) continue;
      if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
      if (sent < 0) return false;
      connection->output_sent += static_cast<std::size_t>(sent);
    }
    if (connection->Pending() != 0) break;
    connection->output.clear();
    connection->output_sent = 0;
    // Frames held back while the output was full can go now.
    ProcessFrames(connection);
    if (connection->Pending() == 0) {
      if (connection->closing) return false;
      break;
    }
  }
  UpdateInterest(connection);
  return true;
}

void DataServer::UpdateInterest(Connection* connection) {
  std::uint32_t wanted = 0;
  if (!connection->closing && connection->Pending() < kMaxPendingOutput) wanted |= EPOLLIN;
  if (connection->Pending() != 0) wanted |= EPOLLOUT;
  if (wanted == connection->interest) return;
  epoll_event event{};
  event.events = wanted;
  event.data.fd = connection->fd.Get();
  ::epoll_ctl(epoll_.Get(), EPOLL_CTL_MOD, connection->fd.Get(), &event);
  connection->interest = wanted;
}

void DataServer::Close(int fd) {
  LogLine(LogLevel::kDebug, "fd %d: closed", fd);
  ::epoll_ctl(epoll_.Get(), EPOLL_CTL_DEL, fd, nullptr);
  if (const auto found = connections_.find(fd); found != connections_.end()) {
    partial_bytes_held_ -= found->second->partial_held;
    connections_.erase(found);
  }
}

void DataServer::CloseIdle() {
  const auto limit = Clock::now() - std::chrono::seconds(config_.idle_seconds);
  std::vector<int> idle;
  for (const auto& [fd, connection] : connections_) {
    if (connection->last_input < limit) idle.push_back(fd);
  }
  for (const int fd : idle) {
    LogLine(LogLevel::kInfo, "fd %d: idle for %d s; closing", fd, config_.idle_seconds);
    Close(fd);
  }
}

}  // namespace orbe::server
