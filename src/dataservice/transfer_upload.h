// Upload: a start request with the file's MD5 and chunk count, then one
// 8192-byte chunk (zlib-compressed when that is smaller) per status-0 reply.
#ifndef ORBE_DATASERVICE_TRANSFER_UPLOAD_H_
#define ORBE_DATASERVICE_TRANSFER_UPLOAD_H_

#include <cstdint>
#include <fstream>
#include <string>

#include "dataservice/transfer_handle.h"

namespace orbe {

class UploadRpy final : public TransferRpy {
 public:
  UploadRpy(HWND window, UINT message, TransferContext& context, std::string local_path,
            std::string remote_name, std::uint64_t length);

 private:
  StartResult SendStart() override;
  void OnPacket(std::string_view body, int progress) override;
  void CloseLocalFile() override { file_.close(); }
  // The next chunk's bytes; false when the file gives none (it shrank or
  // cannot be read any more).
  bool ReadChunk(std::string* raw);
  bool SendChunk(std::string_view raw);

  const std::string local_path_;
  const std::string remote_name_;
  const std::uint64_t length_;
  const std::uint32_t chunk_count_;
  std::uint32_t next_chunk_ = 1;
  std::ifstream file_;
};

}  // namespace orbe

#endif  // ORBE_DATASERVICE_TRANSFER_UPLOAD_H_
