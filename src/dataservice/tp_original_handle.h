// Pass-through requests: a reply handle that keeps the first reply body as
// text and hands the outcome to a window or, for an answer page, to the host.
#ifndef ORBE_DATASERVICE_TP_ORIGINAL_HANDLE_H_
#define ORBE_DATASERVICE_TP_ORIGINAL_HANDLE_H_

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

#include "orbe/host/host_callbacks.h"
#include "protocol/reply_handle.h"
#include "orbe/platform/types.h"

namespace orbe {

// The fixed prefix of the key handed to the host for an answer page.
inline constexpr const char* kTpAnswerPrefix = "orbe://tpanswer/";

class TPOriginalHandle final : public IReplyHandle {
 public:
  // Completion posts (message, status, 0) to `window`.
  TPOriginalHandle(HWND window, UINT message);
  // Completion passes the key of the answer page of the two identifiers to
  // the host's switch function (null: to nobody).
  TPOriginalHandle(std::uint16_t first, std::uint16_t second, SwitchFuncProc host);

  void OnReply(ICwReply* reply) override;
  void OnStatus(int code) override;

  std::string Text() const;
  // "orbe://tpanswer/<first>_<second>"; "" without identifiers.
  std::string AnswerKey() const;

 private:
  static constexpr std::uint32_t kMaxKeptBody = 65535;

  const HWND window_ = nullptr;
  const UINT message_ = 0;
  const std::optional<std::pair<std::uint16_t, std::uint16_t>> answer_;
  const SwitchFuncProc host_ = nullptr;
  mutable std::mutex mutex_;
  bool have_text_ = false;
  std::string text_;
};

}  // namespace orbe

#endif  // ORBE_DATASERVICE_TP_ORIGINAL_HANDLE_H_
