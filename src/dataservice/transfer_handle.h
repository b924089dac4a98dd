// The reply handle behind one file transfer. It is also the connect handle of
// the transfer's own request session, so OnStatus hears both the connection
// (2 connected, 0 lost) and the end of each request (100, or a failure).
// Progress and completion reach the window as (message, transfer id, value).
//
// The start request goes out when the session reports the connection, after
// "连接成功.". Until then a keep-alive request watches the connection: the
// engine ends it with a failure when no connection comes within its time-out,
// which fails the transfer with −8 like a connection lost later.
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
// The local file could not be read (upload) or written (download).
inline constexpr LPARAM kTransferLocalFileFailed = -13;

class TransferRpy : public IReplyHandle {
 public:
  enum State { kNew = 0, kConnected = 2, kFinished = 100 };

  TransferRpy(TransferKind kind, HWND window, UINT message, TransferContext& context);

  void OnReply(ICwReply* reply) final;
  void OnStatus(int code) final;

  // Sends the keep-alive that watches the connection until it is reported.
  // Called by the manager with the context's mutex held; false when the
  // engine took nothing.
  bool WatchConnection();
  // Ends the transfer without a message (cancel, manager shut down): what it
  // holds goes, the session is left to the caller to quit. Mutex held.
  void Abandon();

 protected:
  enum class StartResult { kSent, kRemotePathTooLong, kLocalFileUnreadable, kNotSent };

  // Builds and sends the kind's start request, once connected. Mutex held.
  virtual StartResult SendStart() = 0;
  // Mutex held, state not finished.
  virtual void OnPacket(std::string_view body, int progress) = 0;
  virtual void OnRequestEnd(int code);
  // Closes the kind's local file; a download also drops its partial file.
  virtual void CloseLocalFile() {}

  // Frames `body` into the context's request and sends it with this handle.
  bool SendBody(std::string_view body);
  // Sends a start request record as its bytes.
  template <typename Record>
  StartResult SendStartRecord(const Record& record) {
    const std::string_view bytes(reinterpret_cast<const char*>(&record), sizeof record);
    return SendBody(bytes) ? StartResult::kSent : StartResult::kNotSent;
  }
  void SetText(const char* text) { context_.status_text = text; }
  void Post(LPARAM value);
  // Posts −status with its text, then ends.
  void FailWithStatus(std::uint8_t status);
  // Posts the local-file failure with its text, then ends.
  void FailLocally(const char* text);
  // Gives back what the transfer holds, detaches from the session and quits
  // it; state finished.
  void Finish();
  void LoseConnection();

  TransferContext& context_;
  int state_ = kNew;

 private:
  void Start();

  const TransferKind kind_;
  const HWND window_;
  const UINT message_;
  bool watching_ = false;  // the keep-alive has not ended yet
};

}  // namespace orbe

#endif  // ORBE_DATASERVICE_TRANSFER_HANDLE_H_
