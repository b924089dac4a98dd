#include "dataservice/transfer_upload.h"

#include <algorithm>
#include <vector>

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

bool UploadRpy::SendStart() {
  file_.open(local_path_, std::ios::binary);
  const std::string digest = FileMd5Hex(local_path_);
  if (!file_ || digest.empty()) return false;
  wire::UploadStartBody body{};
  body.code = wire::kCodeUploadStart;
  body.one = 1;
  body.two = 2;
  wire::PutFixedText(body.remote_name, sizeof body.remote_name,
                     std::string_view(remote_name_).substr(0, wire::kRemotePathMax));
  std::copy_n(digest.begin(), std::min(digest.size(), sizeof body.digest), body.digest);
  body.file_length = static_cast<std::uint32_t>(length_);
  body.chunk_count = chunk_count_;
  body.chunk_size = wire::kUploadChunkSize;
  return SendBody(std::string_view(reinterpret_cast<const char*>(&body), sizeof body));
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
  if (!SendChunk()) {
    FailWithStatus(1);
    return;
  }
  Post(static_cast<LPARAM>(100.0 / chunk_count_ * (next_chunk_ - 1)));
  ++next_chunk_;
}

bool UploadRpy::SendChunk() {
  std::vector<char> raw(wire::kUploadChunkSize);
  file_.seekg(static_cast<std::streamoff>(next_chunk_ - 1) * wire::kUploadChunkSize);
  file_.read(raw.data(), static_cast<std::streamsize>(raw.size()));
  raw.resize(static_cast<std::size_t>(file_.gcount()));
  file_.clear();
  if (raw.empty()) return false;  // the file shrank under the upload
  const std::string_view raw_view(raw.data(), raw.size());
  const std::string packed = Compress(raw_view);
  const bool use_packed = !packed.empty() && packed.size() < raw.size();
  SetText(use_packed ? kTextUploading : kTextCompressFailed);
  const wire::UploadChunkHead head{wire::kCodeUploadChunk, next_chunk_,
                                   static_cast<std::uint32_t>(raw.size())};
  std::string body(reinterpret_cast<const char*>(&head), sizeof head);
  body += use_packed ? std::string_view(packed) : raw_view;
  return SendBody(body);
}

}  // namespace orbe
