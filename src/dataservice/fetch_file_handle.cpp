#include "dataservice/fetch_file_handle.h"

#include <cstdint>
#include <cstring>

#include "orbe/dataservice/orbe_client_session.h"
#include "orbe/dictionary/cw_file_util.h"
#include "orbe/platform/window.h"
#include "protocol/request_objects.h"
#include "protocol/requests.h"

namespace {

constexpr std::size_t kMaxLocalPath = 256;
// The module zero-fills the name field up to this body offset, so its names
// end there.
constexpr std::size_t kNameEnd = 294;

}  // namespace

ReplyUpdateHandle::ReplyUpdateHandle(OrbeClientSession* session, HWND window, UINT message,
                                     std::string directory)
    : session_(session), window_(window), message_(message), directory_(std::move(directory)) {
  if (session_ != nullptr) request_ = MakeEngineRequest(session_->GetEngine());
}

ReplyUpdateHandle::~ReplyUpdateHandle() {
  DropPartialFile();
}

BOOL ReplyUpdateHandle::FetchFile(const char* name, const char* digest) {
  const std::string file_name = name != nullptr ? name : "";
  const std::string local_path = directory_ + file_name;
  if (local_path.size() >= kMaxLocalPath) {
    Post(0, 1);
    return FALSE;
  }
  ICwRequestSession* session = session_ != nullptr ? session_->GetSession() : nullptr;
  if (session == nullptr || request_ == nullptr || file_name.empty() ||
      orbe::wire::kFetchNameOffset + file_name.size() > kNameEnd) {
    return FALSE;
  }
  std::string md5 = digest != nullptr ? digest : "";
  if (md5.empty()) md5 = CwFileUtil::GetFileMD5(local_path.c_str());
  if (md5.size() != orbe::wire::kDigestTextSize) md5 = kUnmatchableDigest;

  DropPartialFile();
  local_path_ = local_path;
  partial_path_ = local_path + ".part";
  write_failed_ = false;
  if (!orbe::wire::FillRequest(*request_, orbe::wire::EncodeFileFetchBody(md5, file_name))) return FALSE;
  return session->Send(this, request_.get()) ? TRUE : FALSE;
}

void ReplyUpdateHandle::OnReply(ICwReply* reply) {
  if (reply == nullptr || local_path_.empty()) return;
  if (!output_ && !write_failed_) {
    output_.reset(std::fopen(partial_path_.c_str(), "wb"));
    write_failed_ = !output_;
  }
  const std::uint32_t length = reply->GetBodyLength();
  if (output_ && length > 0 && std::fwrite(reply->GetBody(), 1, length, output_.get()) != length) {
    write_failed_ = true;
  }
  Post(static_cast<WPARAM>(reply->GetProgress()), 0);
}

void ReplyUpdateHandle::OnStatus(int code) {
  if (output_) {
    const bool flushed = std::fflush(output_.get()) == 0;
    output_.reset();
    if (code == kCwStatusComplete && flushed && !write_failed_ &&
        std::rename(partial_path_.c_str(), local_path_.c_str()) == 0) {
      Post(static_cast<WPARAM>(code), 1);
      return;
    }
    std::remove(partial_path_.c_str());
    // The file did not arrive whole: a completion would install a broken file.
    if (code == kCwStatusComplete) code = 0;
  }
  Post(static_cast<WPARAM>(code), 1);
}

void ReplyUpdateHandle::Post(WPARAM wparam, LPARAM lparam) const {
  if (window_ != nullptr) PostMessage(window_, message_, wparam, lparam);
}

void ReplyUpdateHandle::DropPartialFile() {
  if (!output_) return;
  output_.reset();
  std::remove(partial_path_.c_str());
}
