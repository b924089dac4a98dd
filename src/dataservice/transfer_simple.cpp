#include "dataservice/transfer_simple.h"

#include <algorithm>

#include "protocol/file_frames.h"

namespace orbe {

SingleRequestRpy::SingleRequestRpy(TransferKind kind, HWND window, UINT message, TransferContext& context,
                                   const char* done_text)
    : TransferRpy(kind, window, message, context), done_text_(done_text) {}

void SingleRequestRpy::OnPacket(std::string_view body, int /*progress*/) {
  if (!body.empty() && body[0] != 0) FailWithStatus(static_cast<std::uint8_t>(body[0]));
}

void SingleRequestRpy::OnRequestEnd(int code) {
  if (code != kCwStatusComplete) {
    FailWithStatus(1);
    return;
  }
  SetText(done_text_);
  Post(kTransferDone);
  Finish();
}

DeleteRpy::DeleteRpy(HWND window, UINT message, TransferContext& context, std::string remote_path)
    : SingleRequestRpy(TransferKind::kDelete, window, message, context, kTextDeleted),
      remote_path_(std::move(remote_path)) {}

TransferRpy::StartResult DeleteRpy::SendStart() {
  wire::DeleteFileBody body{};
  body.code = wire::kCodeDeleteFile;
  if (!wire::PutFixedText(body.remote_path, sizeof body.remote_path, remote_path_)) {
    return StartResult::kRemotePathTooLong;
  }
  SetText(kTextDeleteSent);
  return SendStartRecord(body);
}

ReloadPathRpy::ReloadPathRpy(HWND window, UINT message, TransferContext& context, std::string tag,
                             std::uint8_t option, std::string remote_path)
    : SingleRequestRpy(TransferKind::kReload, window, message, context, kTextReloaded),
      tag_(std::move(tag)),
      option_(option),
      remote_path_(std::move(remote_path)) {}

TransferRpy::StartResult ReloadPathRpy::SendStart() {
  wire::ReloadPathBody body{};
  body.code = wire::kCodeReloadPath;
  std::copy_n(tag_.begin(), std::min(tag_.size(), sizeof body.tag), body.tag);
  body.option = option_;
  if (!wire::PutFixedText(body.remote_path, sizeof body.remote_path, remote_path_)) {
    return StartResult::kRemotePathTooLong;
  }
  SetText(kTextReloadSent);
  return SendStartRecord(body);
}

}  // namespace orbe
