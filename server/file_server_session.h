// One client connection of the file server: answers requests 2500-2504 (and
// keep-alive) over the root folder, holding the upload in progress.
#ifndef ORBE_SERVER_FILE_SERVER_SESSION_H_
#define ORBE_SERVER_FILE_SERVER_SESSION_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "protocol/frame_splitter.h"

namespace orbe::server {

// Receives reply bytes as they are produced; false when the client is gone.
using ReplySink = std::function<bool(std::string_view bytes)>;

class FileServerSession {
 public:
  FileServerSession(std::string root, std::uint64_t max_file_bytes);
  // An upload left unfinished leaves no file behind.
  ~FileServerSession();
  FileServerSession(const FileServerSession&) = delete;
  FileServerSession& operator=(const FileServerSession&) = delete;

  // False when the sink refused bytes: the connection is to be closed.
  bool Handle(const wire::RequestFrame& frame, const ReplySink& sink);

 private:
  struct Upload;

  std::uint8_t StartUpload(std::string_view body);
  std::uint8_t TakeChunk(std::string_view body);
  std::uint8_t FinishUpload();
  bool Download(const wire::RequestFrame& frame, const ReplySink& sink);
  std::uint8_t DeleteFile(std::string_view body);
  std::uint8_t ReloadPath(std::string_view body);

  const std::string root_;
  const std::uint64_t max_file_bytes_;
  std::unique_ptr<Upload> upload_;
};

}  // namespace orbe::server

#endif  // ORBE_SERVER_FILE_SERVER_SESSION_H_
