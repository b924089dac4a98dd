#include "file_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/stat.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "file_server_session.h"
#include "protocol/frame_splitter.h"
#include "protocol/replies.h"
#include "protocol/wire_format.h"
#include "server_log.h"

namespace orbe::server {

struct FileServer::Client {
  UniqueFd fd;
  std::string peer;
  bool admitted = true;
  std::thread thread;
  std::atomic<bool> finished{false};
};

namespace {

// Waits until `fd` is ready for `events` or the stop fd fires; false on stop,
// time-out or error.
bool WaitFor(int fd, short events, int stop_fd, int timeout_ms) {
  pollfd entries[2] = {{fd, events, 0}, {stop_fd, POLLIN, 0}};
  const int ready = ::poll(entries, 2, timeout_ms);
  return ready > 0 && entries[1].revents == 0 && (entries[0].revents & (events | POLLHUP | POLLERR)) != 0;
}

bool SendAll(int fd, std::string_view bytes, int stop_fd, int timeout_ms) {
  while (!bytes.empty()) {
    const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    if (sent > 0) {
      bytes.remove_prefix(static_cast<std::size_t>(sent));
      continue;
    }
    if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) && WaitFor(fd, POLLOUT, stop_fd, timeout_ms)) {
      continue;
    }
    return false;
  }
  return true;
}

UniqueFd Listen(const FileServerConfig& config, std::uint16_t* port, std::string* error) {
  UniqueFd fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  const int on = 1;
  ::setsockopt(fd.Get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(config.port);
  if (::inet_pton(AF_INET, config.bind_address.c_str(), &address.sin_addr) != 1) {
    *error = "file server: bad bind address " + config.bind_address;
    return {};
  }
  if (!fd.Valid() || ::bind(fd.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(fd.Get(), 64) != 0) {
    *error =
        "file server: cannot listen on port " + std::to_string(config.port) + ": " + std::strerror(errno);
    return {};
  }
  socklen_t size = sizeof address;
  ::getsockname(fd.Get(), reinterpret_cast<sockaddr*>(&address), &size);
  *port = ntohs(address.sin_port);
  return fd;
}

}  // namespace

std::unique_ptr<FileServer> FileServer::Start(const FileServerConfig& config, std::string* error) {
  std::error_code made;
  std::filesystem::create_directories(config.root, made);
  if (!std::filesystem::is_directory(config.root)) {
    *error = "file server: root is not a folder: " + config.root;
    return nullptr;
  }
  std::unique_ptr<FileServer> server(new FileServer());
  server->config_ = config;
  server->listener_ = Listen(config, &server->port_, error);
  if (!server->listener_.Valid()) return nullptr;
  server->stop_ = UniqueFd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
  if (!server->stop_.Valid()) {
    *error = "file server: no eventfd";
    return nullptr;
  }
  server->acceptor_ = std::thread([raw = server.get()] { raw->AcceptLoop(); });
  return server;
}

FileServer::~FileServer() {
  if (stop_.Valid()) {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(stop_.Get(), &one, sizeof one);
  }
  if (acceptor_.joinable()) acceptor_.join();
  std::lock_guard<std::mutex> hold(mutex_);
  for (auto& client : clients_) client->thread.join();
  clients_.clear();
}

void FileServer::AcceptLoop() {
  for (;;) {
    if (!WaitFor(listener_.Get(), POLLIN, stop_.Get(), -1)) return;
    sockaddr_in peer{};
    socklen_t length = sizeof peer;
    UniqueFd fd(::accept4(listener_.Get(), reinterpret_cast<sockaddr*>(&peer), &length,
                          SOCK_CLOEXEC | SOCK_NONBLOCK));
    if (!fd.Valid()) continue;
    ReapFinished();
    std::lock_guard<std::mutex> hold(mutex_);
    if (clients_.size() >= config_.max_clients) {
      LogLine(LogLevel::kWarn, "file server: %zu clients, one more refused", clients_.size());
      continue;
    }
    auto client = std::make_unique<Client>();
    client->fd = std::move(fd);
    client->peer = PeerText(peer);
    client->admitted = config_.access.Admits(peer);
    if (!client->admitted) LogLine(LogLevel::kWarn, "file server: %s refused: not in the allow list", client->peer.c_str());
    Client* raw = client.get();
    client->thread = std::thread([this, raw] { Serve(raw); });
    clients_.push_back(std::move(client));
  }
}

void FileServer::ReapFinished() {
  std::lock_guard<std::mutex> hold(mutex_);
  for (auto it = clients_.begin(); it != clients_.end();) {
    if (!(*it)->finished) {
      ++it;
      continue;
    }
    (*it)->thread.join();
    it = clients_.erase(it);
  }
}

// A client outside the allow list hears status 106 and is let go; a write
// on a read-only server hears 106 and the client may go on reading.
FileServer::Access FileServer::Check(const Client& client, const wire::RequestFrame& frame,
                                     const ReplySink& sink) const {
  const bool write = !wire::IsReadRequest(frame.code);
  if (client.admitted && (config_.access.writable || !write)) return Access::kServe;
  if (client.admitted) {
    LogLine(LogLevel::kWarn, "file server: %s: request %u refused: the server is read-only (no --writable)",
            client.peer.c_str(), frame.code);
  }
  std::string reply;
  wire::AppendEndPacket(&reply, {frame.header.request_id, frame.code}, wire::kStatusRefused);
  return sink(reply) && client.admitted ? Access::kRefused : Access::kClose;
}

void FileServer::Serve(Client* client) {
  const int fd = client->fd.Get();
  const int stop = stop_.Get();
  const int idle_ms = config_.idle_seconds * 1000;
  FileServerSession session(config_.root, config_.max_file_bytes);
  const ReplySink sink = [&](std::string_view bytes) { return SendAll(fd, bytes, stop, idle_ms); };
  // File-server frames are 16-bit long: a header announcing more closes the
  // connection before any of its body is awaited.
  wire::RequestSplitter splitter(wire::kMaxFileServerLength);
  char buffer[65536];
  bool open = true;
  while (open && WaitFor(fd, POLLIN, stop, idle_ms)) {
    const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
    if (got <= 0) {
      if (got < 0 && (errno == EAGAIN || errno == EINTR)) continue;
      break;
    }
    splitter.Append(buffer, static_cast<std::size_t>(got));
    wire::RequestFrame frame;
    for (;;) {
      const wire::SplitResult result = splitter.Next(&frame);
      if (result == wire::SplitResult::kNeedMore) break;
      // The splitter refuses a header longer than the port's frames.
      if (result == wire::SplitResult::kBad) {
        open = false;
        break;
      }
      const Access access = Check(*client, frame, sink);
      if (access == Access::kClose || (access == Access::kServe && !session.Handle(frame, sink))) {
        open = false;
        break;
      }
    }
  }
  client->fd.Reset();
  client->finished = true;
}

}  // namespace orbe::server
