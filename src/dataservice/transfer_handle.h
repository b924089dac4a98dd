// The reply handle behind one file transfer. It is also the connect handle of
// the transfer's own request session, so OnStatus hears both the connection
// (2 connected, 0 lost) and the end of each request (100, or a failure).
// Progress and completion reach the window as (message, transfer id, value).
#ifndef ORBE_DATASERVICE_TRANSFER_HANDLE_H_
#define ORBE_DATASERVICE_TRANSFER_HANDLE_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "dataservice/transfer_context.h"
#include "dataservice/transfer_texts.h"
#include "protocol/reply_handle.h"
#include "orbe/platform/types.h"

namespace orbe {

inline constexpr LPARAM kTransferConnectionLost = -8;
inline constexpr LPARAM kTransferDone = 100;

class TransferRpy : public IReplyHandle {
 public:
  enum State { kNew = 0, kConnected = 2, kFinished = 100 };

  TransferRpy(TransferKind kind, HWND window, UINT message, TransferContext& context);

  void OnReply(ICwReply* reply) final;
  void OnStatus(int code) final;

  // Builds and sends the start request; the engine keeps it until the session
  // connects. Called with the context's mutex held. False when nothing went out.
  virtual bool SendStart() = 0;
  // Ends the transfer without a message (cancel, manager shut down). Mutex held.
  void Abandon() { state_ = kFinished; }

 protected:
  // Mutex held, state not finished.
  virtual void OnPacket(std::string_view body, int progress) = 0;
  virtual void OnRequestEnd(int code);
  // Lets a download drop its partial file.
  virtual void OnConnectionLost() {}

  // Frames `body` into the context's request and sends it with this handle.
  bool SendBody(std::string_view body);
  void SetText(const char* text) { context_.status_text = text; }
  void Post(LPARAM value);
  // Posts −status with its text, then ends.
  void FailWithStatus(std::uint8_t status);
  // Detaches from the session and quits it; state finished.
  void Finish();
  void LoseConnection();

  TransferContext& context_;
  int state_ = kNew;

 private:
  const TransferKind kind_;
  const HWND window_;
  const UINT message_;
};

}  // namespace orbe

#endif  // ORBE_DATASERVICE_TRANSFER_HANDLE_H_
