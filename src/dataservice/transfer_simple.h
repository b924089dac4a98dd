// Delete and reload-path transfers: one request, one status, one completion.
#ifndef ORBE_DATASERVICE_TRANSFER_SIMPLE_H_
#define ORBE_DATASERVICE_TRANSFER_SIMPLE_H_

#include <cstdint>
#include <string>

#include "dataservice/transfer_handle.h"

namespace orbe {

// Shared by both: a non-zero status fails the transfer, the end 100 completes it.
class SingleRequestRpy : public TransferRpy {
 public:
  SingleRequestRpy(TransferKind kind, HWND window, UINT message, TransferContext& context,
                   const char* done_text);

 private:
  void OnPacket(std::string_view body, int progress) override;
  void OnRequestEnd(int code) override;

  const char* const done_text_;
};

class DeleteRpy final : public SingleRequestRpy {
 public:
  DeleteRpy(HWND window, UINT message, TransferContext& context, std::string remote_path);

 private:
  StartResult SendStart() override;

  const std::string remote_path_;
};

class ReloadPathRpy final : public SingleRequestRpy {
 public:
  // `tag` is the caller's 32-character text, sent as it is.
  ReloadPathRpy(HWND window, UINT message, TransferContext& context, std::string tag, std::uint8_t option,
                std::string remote_path);

 private:
  StartResult SendStart() override;

  const std::string tag_;
  const std::uint8_t option_;
  const std::string remote_path_;
};

}  // namespace orbe

#endif  // ORBE_DATASERVICE_TRANSFER_SIMPLE_H_
