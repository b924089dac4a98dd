// The file server of orbe-dataserver (requests 2500-2504 on its own port):
// its own accepting thread and one thread per client, since transfers are
// few, long and bulk, unlike the data port's many short requests.
#ifndef ORBE_SERVER_FILE_SERVER_H_
#define ORBE_SERVER_FILE_SERVER_H_

#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "access_control.h"
#include "file_server_session.h"
#include "unique_fd.h"

namespace orbe::server {

struct FileServerConfig {
  std::string root;  // created when missing
  std::string bind_address = "127.0.0.1";
  std::uint16_t port = 0;  // 0 picks a free port
  std::uint64_t max_file_bytes = 500ull << 20;
  int idle_seconds = 300;
  std::size_t max_clients = 64;
  AccessPolicy access;  // who is served; uploads and deletes need access.writable
};

class FileServer {
 public:
  // Binds the port and starts serving; null with `error` set on failure.
  static std::unique_ptr<FileServer> Start(const FileServerConfig& config, std::string* error);
  // Stops accepting, closes every client and joins all threads.
  ~FileServer();
  FileServer(const FileServer&) = delete;
  FileServer& operator=(const FileServer&) = delete;

  std::uint16_t Port() const { return port_; }

 private:
  struct Client;

  FileServer() = default;
  void AcceptLoop();
  void Serve(Client* client);
  enum class Access { kServe, kRefused, kClose };
  Access Check(const Client& client, const wire::RequestFrame& frame, const ReplySink& sink) const;
  void ReapFinished();

  FileServerConfig config_;
  UniqueFd listener_;
  UniqueFd stop_;  // eventfd: readable once the server stops
  std::uint16_t port_ = 0;
  std::mutex mutex_;
  std::list<std::unique_ptr<Client>> clients_;
  std::thread acceptor_;
};

}  // namespace orbe::server

#endif  // ORBE_SERVER_FILE_SERVER_H_
