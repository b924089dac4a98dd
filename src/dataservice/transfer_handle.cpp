#include "dataservice/transfer_handle.h"

#include <cstring>
#include <utility>

#include "protocol/file_frames.h"
#include "protocol/request_objects.h"
#include "orbe/platform/window.h"

namespace orbe {
namespace {

// The connect handle hears only these; every other status ends a request.
bool IsConnectionState(int code) { return code == kCwStateConnected || code == 0; }

}  // namespace

TransferRpy::TransferRpy(TransferKind kind, HWND window, UINT message, TransferContext& context)
    : context_(context), kind_(kind), window_(window), message_(message) {}

void TransferRpy::OnReply(ICwReply* reply) {
  std::lock_guard<std::mutex> hold(context_.mutex);
  // Requests are answered in order: until the keep-alive has ended, a packet
  // is its own, whatever it holds.
  if (state_ == kFinished || reply == nullptr || watching_) return;
  const std::string_view body(reinterpret_cast<const char*>(reply->GetBody()), reply->GetBodyLength());
  OnPacket(body, reply->GetProgress());
}

void TransferRpy::OnStatus(int code) {
  // Declared before the lock, so that the context can go after it is unlocked.
  std::shared_ptr<TransferContext> last_reference;
  std::lock_guard<std::mutex> hold(context_.mutex);
  if (!IsConnectionState(code) && context_.outstanding > 0) --context_.outstanding;
  if (state_ != kFinished) {
    if (code == kCwStateConnected) {
      if (state_ == kNew) Start();
    } else if (code <= 0) {
      // 0 from the connection, or a request ended by the engine (lost, timed
      // out, no usable host): the server is gone either way.
      LoseConnection();
    } else if (watching_) {
      watching_ = false;  // the keep-alive's end: the transfer goes on
    } else {
      OnRequestEnd(code);
    }
  }
  if (state_ == kFinished && context_.outstanding == 0 && !context_.released) {
    context_.released = true;
    last_reference = std::move(context_.self);
  }
}

void TransferRpy::Start() {
  state_ = kConnected;
  SetText(kTextConnected);
  switch (SendStart()) {
    case StartResult::kSent:
      return;
    case StartResult::kRemotePathTooLong:
      SetText(kTextBadRemotePath);
      Post(-1);
      Finish();
      return;
    case StartResult::kLocalFileUnreadable:
      FailLocally(kTextLocalReadFailed);
      return;
    case StartResult::kNotSent:
      LoseConnection();
      return;
  }
}

bool TransferRpy::WatchConnection() {
  const std::uint16_t code = wire::kCodeKeepAlive;
  char body[sizeof code];
  std::memcpy(body, &code, sizeof code);
  watching_ = SendBody(std::string_view(body, sizeof body));
  return watching_;
}

void TransferRpy::Abandon() {
  state_ = kFinished;
  CloseLocalFile();
  // The engine copies what it sends, so a request in flight does not need it.
  context_.request.reset();
}

void TransferRpy::OnRequestEnd(int code) {
  // The file server ends its requests with 100; any other end means it did not
  // take the request as a transfer step.
  if (code != kCwStatusComplete) FailWithStatus(1);
}

bool TransferRpy::SendBody(std::string_view body) {
  ICwRequest* request = context_.request.get();
  if (request == nullptr || context_.session == nullptr || !wire::FillFileRequest(*request, body)) return false;
  if (!context_.session->Send(this, request)) return false;
  ++context_.outstanding;
  return true;
}

void TransferRpy::Post(LPARAM value) {
  if (window_ != nullptr) PostMessage(window_, message_, static_cast<WPARAM>(context_.id), value);
}

void TransferRpy::FailWithStatus(std::uint8_t status) {
  if (status == 7) status = 6;
  SetText(ServerStatusText(kind_, status));
  Post(-static_cast<LPARAM>(status));
  Finish();
}

void TransferRpy::FailLocally(const char* text) {
  SetText(text);
  Post(kTransferLocalFileFailed);
  Finish();
}

void TransferRpy::Finish() {
  Abandon();
  // From an engine callback the quit takes effect when the callback returns;
  // the engine then ends what is still pending through this handle and frees
  // the session.
  ICwRequestSession* session = std::exchange(context_.session, nullptr);
  if (session == nullptr) return;
  session->SetReplyHandle(nullptr);
  session->Quit();
}

void TransferRpy::LoseConnection() {
  // The next transfer tries the next server.
  if (context_.server_index != nullptr) context_.server_index->fetch_add(1);
  SetText(ConnectionLostText(kind_));
  Post(kTransferConnectionLost);
  Finish();
}

}  // namespace orbe
