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
    : link_(session != nullptr ? session->Link() : nullptr),
      window_(window),
      message_(message),
      directory_(std::move(directory)) {
  if (session != nullptr) request_ = MakeEngineRequest(session->GetEngine());
}

ReplyUpdateHandle::~ReplyUpdateHandle() {
  {
    std::unique_lock<std::mutex> hold(flight_mutex_);
    flight_ended_.wait(hold, [this] { return !in_flight_; });
  }
  DropPartialFile();
  // A session that ended took its engine's requests with it.
  if (link_ == nullptr || link_->session.load() == nullptr) (void)request_.release();
}

void ReplyUpdateHandle::Release() {
  {
    const std::lock_guard<std::mutex> hold(flight_mutex_);
    if (in_flight_) {
      released_ = true;
      return;
    }
  }
  const std::unique_ptr<ReplyUpdateHandle> owned(this);
}

BOOL ReplyUpdateHandle::FetchFile(const char* name, const char* digest) {
  const std::string file_name = name != nullptr ? name : "";
  const std::string local_path = directory_ + file_name;
  if (local_path.size() >= kMaxLocalPath) {
    Post(0, 1);
    return FALSE;
  }
  OrbeClientSession* const owner = link_ != nullptr ? link_->session.load() : nullptr;
  ICwRequestSession* session = owner != nullptr ? owner->GetSession() : nullptr;
  if (session == nullptr || request_ == nullptr || file_name.empty() ||
      orbe::wire::kFetchNameOffset + file_name.size() > kNameEnd) {
    return FALSE;
  }
  std::string md5 = digest != nullptr ? digest : "";
  if (md5.empty()) md5 = CwFileUtil::GetFileMD5(local_path.c_str());
  if (md5.size() != orbe::wire::kDigestTextSize) md5 = kUnmatchableDigest;

  {
    const std::lock_guard<std::mutex> hold(flight_mutex_);
    if (in_flight_) return FALSE;
    in_flight_ = true;
  }
  DropPartialFile();
  local_path_ = local_path;
  partial_path_ = local_path + ".part";
  write_failed_ = false;
  // Sent without the lock: an engine may answer before Send returns.
  if (orbe::wire::FillRequest(*request_, orbe::wire::EncodeFileFetchBody(md5, file_name)) &&
      session->Send(this, request_.get())) {
    return TRUE;
  }
  const std::lock_guard<std::mutex> hold(flight_mutex_);
  in_flight_ = false;
  flight_ended_.notify_all();
  return FALSE;
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
  bool abandoned = false;
  {
    const std::lock_guard<std::mutex> hold(flight_mutex_);
    abandoned = released_;
  }
  // The file did not arrive whole: a completion would install a broken file.
  if (!FinishFile(code == kCwStatusComplete && !abandoned) && code == kCwStatusComplete) code = 0;
  bool last_use = false;
  {
    // Posted under the lock, so that a Release either comes first and stops
    // the post, or comes after the completion was posted.
    const std::lock_guard<std::mutex> hold(flight_mutex_);
    last_use = released_;
    if (!last_use) Post(static_cast<WPARAM>(code), 1);
    in_flight_ = false;
    flight_ended_.notify_all();
  }
  // A released handle goes with its fetch; nothing of it is touched after.
  if (last_use) const std::unique_ptr<ReplyUpdateHandle> owned(this);
}

bool ReplyUpdateHandle::FinishFile(bool install) {
  if (!output_) return !write_failed_ && install;  // nothing arrived: the file is unchanged
  const bool flushed = std::fflush(output_.get()) == 0;
  output_.reset();
  const bool installed =
      install && flushed && !write_failed_ && std::rename(partial_path_.c_str(), local_path_.c_str()) == 0;
  if (!installed) std::remove(partial_path_.c_str());
  return installed;
}

void ReplyUpdateHandle::Post(WPARAM wparam, LPARAM lparam) const {
  if (window_ != nullptr) PostMessage(window_, message_, wparam, lparam);
}

void ReplyUpdateHandle::DropPartialFile() {
  if (!output_) return;
  output_.reset();
  std::remove(partial_path_.c_str());
}
