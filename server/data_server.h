// The data service's network side: one epoll loop that accepts clients,
// cuts their byte streams into request frames, answers them in order and
// writes the replies back without ever blocking on a slow client.
#ifndef ORBE_SERVER_DATA_SERVER_H_
#define ORBE_SERVER_DATA_SERVER_H_

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

#include "file_store.h"
#include "protocol/frame_splitter.h"
#include "request_handlers.h"
#include "storage.h"
#include "unique_fd.h"

namespace orbe::server {

inline constexpr std::uint16_t kDefaultPort = 7722;
inline constexpr std::uint32_t kDefaultCapacity = 3000;

struct ServerConfig {
  std::string db_path;
  std::string bind_address = "127.0.0.1";
  std::uint16_t port = kDefaultPort;  // 0 picks a free port
  std::string file_root;              // "" means db_path + ".files"
  std::uint32_t capacity = kDefaultCapacity;
  int idle_seconds = 300;
};

class DataServer {
 public:
  // Opens the storage, publishes the dictionary files and binds the port.
  // Null with `error` set when any step fails.
  static std::unique_ptr<DataServer> Create(const ServerConfig& config, std::string* error);
  ~DataServer();

  std::uint16_t Port() const { return port_; }
  // Serves until `stop_fd` (a signalfd, eventfd or pipe) becomes readable;
  // every client connection is closed on return.
  bool Run(int stop_fd);

 private:
  struct Connection;
  using Clock = std::chrono::steady_clock;

  DataServer() = default;
  void AcceptAll();
  void OnReadable(Connection* connection);
  void ProcessFrames(Connection* connection);
  bool Flush(Connection* connection);
  void UpdateInterest(Connection* connection);
  void Close(int fd);
  void CloseIdle();
  bool HoldPartialFrame(Connection* connection);

  ServerConfig config_;
  std::unique_ptr<Storage> storage_;
  std::unique_ptr<FileStore> files_;
  ServiceContext context_;
  UniqueFd listener_;
  UniqueFd epoll_;
  UniqueFd spare_fd_;  // released to accept and drop a client when descriptors run out
  std::uint16_t port_ = 0;
  std::unordered_map<int, std::unique_ptr<Connection>> connections_;
  // Bytes of incomplete frames held beyond each connection's allowance.
  std::size_t partial_bytes_held_ = 0;
};

}  // namespace orbe::server

#endif  // ORBE_SERVER_DATA_SERVER_H_
