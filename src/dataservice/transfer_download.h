// Download: a start request with the MD5 of the local copy; a status reply
// starts the transfer, then data packets (8-byte prefix, zlib stream) follow
// until the request ends. The bytes go to a temporary file beside the target,
// renamed over it only when the whole file has arrived, so a broken download
// never costs the previous copy.
#ifndef ORBE_DATASERVICE_TRANSFER_DOWNLOAD_H_
#define ORBE_DATASERVICE_TRANSFER_DOWNLOAD_H_

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "dataservice/transfer_handle.h"

namespace orbe {

// Sent for a local file whose digest cannot be taken: it matches no file.
inline constexpr const char* kNoDigest = "01234567890123450123456789012345";

class DownloadRpy final : public TransferRpy {
 public:
  DownloadRpy(HWND window, UINT message, TransferContext& context, std::string remote_path,
              std::string local_path);

 private:
  struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };

  StartResult SendStart() override;
  void OnPacket(std::string_view body, int progress) override;
  void OnRequestEnd(int code) override;
  // A download that did not complete leaves no partial file.
  void CloseLocalFile() override { DropPartialFile(); }
  bool Append(std::string_view data);
  void DropPartialFile();

  const std::string remote_path_;
  const std::string local_path_;
  const std::string partial_path_;
  bool started_ = false;
  std::string start_details_;  // the 47 bytes behind the start status
  std::unique_ptr<std::FILE, FileCloser> output_;
  std::uint64_t written_ = 0;
};

}  // namespace orbe

#endif  // ORBE_DATASERVICE_TRANSFER_DOWNLOAD_H_
