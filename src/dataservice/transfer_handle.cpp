#include "dataservice/transfer_handle.h"

#include <cstring>

#include "protocol/file_frames.h"
#include "protocol/request_objects.h"
#include "orbe/platform/window.h"

namespace orbe {

TransferRpy::TransferRpy(TransferKind kind, HWND window, UINT message, TransferContext& context)
    : context_(context), kind_(kind), window_(window), message_(message) {}

void TransferRpy::OnReply(ICwReply* reply) {
  std::lock_guard<std::mutex> hold(context_.mutex);
  if (state_ == kFinished || reply == nullptr) return;
  const std::string_view body(reinterpret_cast<const char*>(reply->GetBody()), reply->GetBodyLength());
  OnPacket(body, reply->GetProgress());
}

void TransferRpy::OnStatus(int code) {
  std::lock_guard<std::mutex> hold(context_.mutex);
  if (state_ == kFinished) return;
  if (code == kCwStateConnected) {
    if (state_ == kNew) {
      state_ = kConnected;
      SetText(kTextConnected);
    }
    return;
  }
  // 0 from the connection, or a request ended by the engine (lost, timed out,
  // no usable host): the server is gone either way.
  if (code <= 0) {
    LoseConnection();
    return;
  }
  OnRequestEnd(code);
}

void TransferRpy::OnRequestEnd(int code) {
  // The file server ends its requests with 100; any other end means it did not
  // take the request as a transfer step.
  if (code != kCwStatusComplete) FailWithStatus(1);
}

bool TransferRpy::SendBody(std::string_view body) {
  ICwRequest* request = context_.request.get();
  if (request == nullptr || context_.session == nullptr || !wire::FillFileRequest(*request, body)) return false;
  return context_.session->Send(this, request);
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

void TransferRpy::Finish() {
  state_ = kFinished;
  if (context_.session == nullptr) return;
  context_.session->SetReplyHandle(nullptr);
  context_.session->Quit();
}

void TransferRpy::LoseConnection() {
  // The next transfer tries the next server.
  if (context_.server_index != nullptr) context_.server_index->fetch_add(1);
  SetText(ConnectionLostText(kind_));
  OnConnectionLost();
  Post(kTransferConnectionLost);
  Finish();
}

}  // namespace orbe
