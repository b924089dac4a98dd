#include "dataservice/transfer_upload.h"

#include <algorithm>

#include "protocol/file_frames.h"
#include "orbe/platform/crypto.h"

namespace orbe {

UploadRpy::UploadRpy(HWND window, UINT message, TransferContext& context, std::string local_path,
                     std::string remote_name, std::uint64_t length)
    : TransferRpy(TransferKind::kUpload, window, message, context),
      local_path_(std::move(local_path)),
      remote_name_(std::move(remote_name)),
      length_(length),
      chunk_count_(wire::UploadChunkCount(length)) {}

TransferRpy::StartResult UploadRpy::SendStart() {
  if (remote_name_.size() > wire::kRemotePathMax) return StartResult::kRemotePathTooLong;
  file_.open(local_path_, std::ios::binary);
  const std::string digest = FileMd5Hex(local_path_);
  if (!file_ || digest.size() != sizeof(wire::UploadStartBody::digest)) return StartResult::kLocalFileUnreadable;
  wire::UploadStartBody body{};
  body.code = wire::kCodeUploadStart;
  body.one = 1;
  body.two = 2;
  wire::PutFixedText(body.remote_name, sizeof body.remote_name, remote_name_);
  std::copy_n(digest.begin(), sizeof body.digest, body.digest);
  body.file_length = static_cast<std::uint32_t>(length_);
  body.chunk_count = chunk_count_;
  body.chunk_size = wire::kUploadChunkSize;
  return SendStartRecord(body);
}

void UploadRpy::OnPacket(std::string_view body, int /*progress*/) {
  if (body.empty()) return;
  const auto status = static_cast<std::uint8_t>(body[0]);
  if (status != 0) {
    FailWithStatus(status);
    return;
  }
  if (next_chunk_ - 1 == chunk_count_) {
    SetText(kTextUploaded);
    Post(kTransferDone);
    Finish();
    return;
  }
  std::string raw;
  if (!ReadChunk(&raw)) {
    FailLocally(kTextLocalReadFailed);
    return;
  }
  if (!SendChunk(raw)) {
    LoseConnection();
    return;
  }
  Post(static_cast<LPARAM>(100.0 / chunk_count_ * (next_chunk_ - 1)));
  ++next_chunk_;
}

bool UploadRpy::ReadChunk(std::string* raw) {
  raw->resize(wire::kUploadChunkSize);
  file_.seekg(static_cast<std::streamoff>(next_chunk_ - 1) * wire::kUploadChunkSize);
  file_.read(raw->data(), static_cast<std::streamsize>(raw->size()));
  raw->resize(static_cast<std::size_t>(file_.gcount()));
  file_.clear();
  return !raw->empty();
}

bool UploadRpy::SendChunk(std::string_view raw) {
  const std::string packed = Compress(raw);
  const bool use_packed = !packed.empty() && packed.size() < raw.size();
  SetText(use_packed ? kTextUploading : kTextCompressFailed);
  const wire::UploadChunkHead head{wire::kCodeUploadChunk, next_chunk_, static_cast<std::uint32_t>(raw.size())};
  std::string body(reinterpret_cast<const char*>(&head), sizeof head);
  body += use_packed ? std::string_view(packed) : raw;
  return SendBody(body);
}

}  // namespace orbe
