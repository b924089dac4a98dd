#include "dataservice/tp_original_handle.h"

#include <algorithm>

#include "orbe/platform/text.h"
#include "orbe/platform/window.h"

namespace orbe {

TPOriginalHandle::TPOriginalHandle(HWND window, UINT message) : window_(window), message_(message) {}

TPOriginalHandle::TPOriginalHandle(std::uint16_t first, std::uint16_t second, SwitchFuncProc host)
    : answer_(std::make_pair(first, second)), host_(host) {}

void TPOriginalHandle::OnReply(ICwReply* reply) {
  if (reply == nullptr) return;
  const std::uint32_t length = reply->GetBodyLength();
  std::lock_guard<std::mutex> hold(mutex_);
  if (have_text_ || length < 1 || length > kMaxKeptBody) return;
  const char* body = reinterpret_cast<const char*>(reply->GetBody());
  // Kept as zero-terminated text: it ends at the first NUL of the body.
  text_ = std::string(body, std::find(body, body + length, '\0'));
  have_text_ = true;
}

void TPOriginalHandle::OnStatus(int code) {
  if (!answer_) {
    if (window_ != nullptr) PostMessage(window_, message_, static_cast<WPARAM>(code), 0);
    return;
  }
  const std::string key = AnswerKey();
  if (host_ != nullptr) host_(key.c_str(), -1, nullptr, -1, kSwitchOpenPage, 0, 0);
}

std::string TPOriginalHandle::Text() const {
  std::lock_guard<std::mutex> hold(mutex_);
  return text_;
}

std::string TPOriginalHandle::AnswerKey() const {
  if (!answer_) return "";
  return std::string(kTpAnswerPrefix) + Format("%d_%d", answer_->first, answer_->second);
}

}  // namespace orbe
