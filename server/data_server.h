// The data service's network side: one epoll thread accepts clients, cuts
// their byte streams into request frames and writes the replies back without
// ever blocking on a slow client; a pool of workers, each with its own
// database connection, runs the requests. The requests of one connection run
// one after another, in order, so its replies keep the order of its requests;
// requests of different connections run side by side. A worker that ends a
// request goes on with the same connection's next one while no other
// connection waits for a worker, so a client's pipelined requests do not each
// wait for two hand-overs through the epoll thread. A worker also writes its
// answer to the socket itself while nothing is owed to the client before it,
// and the epoll thread answers quick requests (time stamps, load, keep-alive)
// of an idle connection over SQLite on the spot: a time stamp costs less than
// waking a worker for it.
#ifndef ORBE_SERVER_DATA_SERVER_H_
#define ORBE_SERVER_DATA_SERVER_H_

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "access_control.h"
#include "file_store.h"
#include "output_queue.h"
#include "protocol/frame_splitter.h"
#include "request_handlers.h"
#include "storage.h"
#include "unique_fd.h"
#include "worker_pool.h"

namespace orbe::server {

inline constexpr std::uint16_t kDefaultPort = 7722;
inline constexpr std::uint32_t kDefaultCapacity = 3000;

struct ServerConfig {
  StorageLocation storage;
  std::string bind_address = "127.0.0.1";
  std::uint16_t port = kDefaultPort;  // 0 picks a free port
  std::string file_root;              // "" means the SQLite file's path + ".files"
  std::uint32_t capacity = kDefaultCapacity;
  int idle_seconds = 300;
  AccessPolicy access;
  int workers = 0;  // 0: one per processor, at least two
  // The network thread runs as background work (orbe::BackgroundWork): its
  // wake-ups are short hand-offs and quick answers, which need not preempt
  // the thread a processor is running, such as a terminal's interface on the
  // same machine. The workers keep the normal policy: a statement starts as
  // soon as a processor is free.
  bool background_thread = true;
  // Per connection: requests read and not yet answered, and reply bytes not
  // yet taken by the client. Past either the server stops reading from it.
  std::size_t max_requests_queued = 64;
  std::size_t max_reply_bytes_queued = 32u << 20;

  std::string FileRoot() const { return file_root.empty() ? storage.sqlite_path + ".files" : file_root; }
};

class DataServer {
 public:
  // Opens the storage and a connection per worker, publishes the dictionary
  // files and binds the port. Null with `error` set when any step fails.
  static std::unique_ptr<DataServer> Create(const ServerConfig& config, std::string* error);
  ~DataServer();

  std::uint16_t Port() const { return port_; }
  std::size_t Workers() const { return contexts_.size(); }
  // Serves until `stop_fd` (a signalfd, eventfd or pipe) becomes readable;
  // every client connection is closed on return. The calling thread is
  // background work meanwhile when the configuration says so.
  bool Run(int stop_fd);

 private:
  struct Connection;
  struct RequestLine;
  struct WaitingRequest;
  struct Answer {
    std::uint64_t connection;
    std::string reply;
  };
  using Clock = std::chrono::steady_clock;

  DataServer() = default;
  // Accepts every pending client of the local socket (`local`) or the TCP one.
  void AcceptAll(bool local);
  bool ListenLocally();
  void OnReadable(Connection* connection);
  void TakeFrames(Connection* connection);
  void Dispatch(Connection* connection);
  void SubmitLine(std::shared_ptr<RequestLine> line, WaitingRequest request);
  // The complete reply to `request`, logged.
  std::string AnswerOf(const ServiceContext& context, const WaitingRequest& request, const std::string& peer);
  // On a worker: runs `request` and the connection's requests behind it.
  void RunLine(const std::shared_ptr<RequestLine>& line, WaitingRequest request, std::size_t worker);
  void TakeAnswers();
  bool Flush(Connection* connection);
  bool Reading(const Connection& connection) const;
  void AllowDirectAnswers(Connection* connection);
  void UpdateInterest(Connection* connection);
  void Close(std::uint64_t id);
  void CloseIdle();
  bool HoldPartialFrame(Connection* connection);

  ServerConfig config_;
  std::unique_ptr<Storage> storage_;
  std::unique_ptr<FileStore> files_;
  std::vector<std::unique_ptr<SqlConnection>> readers_;
  std::vector<ServiceContext> contexts_;        // one per worker
  std::optional<ServiceContext> quick_context_;  // the epoll thread's, for quick requests
  std::atomic<std::uint32_t> live_connections_{0};
  UniqueFd listener_;
  UniqueFd local_listener_;  // invalid when the local socket is not offered
  UniqueFd epoll_;
  UniqueFd spare_fd_;  // released to accept and drop a client when descriptors run out
  UniqueFd answered_;  // eventfd: a worker finished a request
  std::uint16_t port_ = 0;
  std::uint64_t next_id_ = 1;
  std::unordered_map<std::uint64_t, std::unique_ptr<Connection>> connections_;
  std::mutex answers_mutex_;
  std::vector<Answer> answers_;
  // Last member: its threads stop before anything they use goes away.
  std::unique_ptr<WorkerPool> workers_;
  // Bytes of incomplete frames held beyond each connection's allowance.
  std::size_t partial_bytes_held_ = 0;
};

}  // namespace orbe::server

#endif  // ORBE_SERVER_DATA_SERVER_H_
