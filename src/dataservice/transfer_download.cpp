#include "dataservice/transfer_download.h"

#include <algorithm>
#include <cstring>

#include "protocol/file_frames.h"
#include "orbe/platform/crypto.h"

namespace orbe {
namespace {

constexpr std::size_t kShortStatus = 1;
constexpr std::size_t kLongStatus = sizeof(wire::DownloadStatusReply);

}  // namespace

DownloadRpy::DownloadRpy(HWND window, UINT message, TransferContext& context, std::string remote_path,
                         std::string local_path)
    : TransferRpy(TransferKind::kDownload, window, message, context),
      remote_path_(std::move(remote_path)),
      local_path_(std::move(local_path)),
      partial_path_(local_path_ + ".part") {}

TransferRpy::StartResult DownloadRpy::SendStart() {
  if (remote_path_.size() > wire::kRemotePathMax) return StartResult::kRemotePathTooLong;
  std::string digest = FileMd5Hex(local_path_);
  if (digest.size() != wire::kDigestTextSize) {
    digest = kNoDigest;
    SetText(kTextDigestFailed);
  }
  wire::DownloadStartBody body{};
  body.code = wire::kCodeDownloadStart;
  wire::PutFixedText(body.remote_path, sizeof body.remote_path, remote_path_);
  std::memcpy(body.digest, digest.data(), sizeof body.digest);
  return SendStartRecord(body);
}

void DownloadRpy::OnPacket(std::string_view body, int progress) {
  // Before the start only a status can come; after it every packet is data,
  // so a data packet that happens to be 48 bytes long is not taken for one.
  if (!started_) {
    if (body.size() != kShortStatus && body.size() != kLongStatus) return;
    const auto status = static_cast<std::uint8_t>(body[0]);
    if (status != 0) {
      FailWithStatus(status);
      return;
    }
    started_ = true;
    start_details_ = std::string(body.substr(1));
    SetText(kTextDownloadStarts);
  } else if (body.size() > wire::kDownloadDataPrefix) {
    const std::string_view stream = body.substr(wire::kDownloadDataPrefix);
    const std::optional<std::string> inflated = Uncompress(stream, wire::kDownloadRawMax);
    if (!inflated) {
      // Storing the stream as it came would finish with a corrupt file reported as downloaded.
      FailWithStatus(1);
      SetText(kTextInflateFailed);
      return;
    }
    if (!Append(*inflated)) {
      FailLocally(kTextLocalWriteFailed);
      return;
    }
  }
  if (progress != kTransferDone) Post(progress);
}

bool DownloadRpy::Append(std::string_view data) {
  if (!output_) output_.reset(std::fopen(partial_path_.c_str(), "wb+"));
  if (!output_) return false;
  if (!data.empty() && std::fwrite(data.data(), 1, data.size(), output_.get()) != data.size()) return false;
  written_ += data.size();
  return true;
}

void DownloadRpy::OnRequestEnd(int code) {
  if (code != kCwStatusComplete || !started_) {
    FailWithStatus(1);
    return;
  }
  // No data after the start: the local copy already is the server's file.
  if (output_) {
    const bool written = std::fflush(output_.get()) == 0 && std::fclose(output_.release()) == 0;
    if (!written || std::rename(partial_path_.c_str(), local_path_.c_str()) != 0) {
      std::remove(partial_path_.c_str());
      FailLocally(kTextLocalWriteFailed);
      return;
    }
  }
  SetText(kTextDownloaded);
  Post(kTransferDone);
  Finish();
}

void DownloadRpy::DropPartialFile() {
  if (!output_) return;
  output_.reset();
  std::remove(partial_path_.c_str());
}

}  // namespace orbe
