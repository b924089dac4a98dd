// A data engine inside the fuzzer's process that answers every request at
// once, with reply packets cut from bytes the fuzzer chooses: the session it
// serves is live (requests are sent and answered, replies reach their
// handles and their windows) without a network.
#ifndef ORBE_TESTS_FUZZ_SCRIPT_LOOPBACK_ENGINE_H_
#define ORBE_TESTS_FUZZ_SCRIPT_LOOPBACK_ENGINE_H_

#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "orbe/dataservice/cw_data_engin.h"
#include "protocol/wire_format.h"

namespace orbe_fuzz {

class LoopbackRequest final : public ICwRequest {
 public:
  static constexpr std::uint32_t kCapacity = 65536;
  unsigned char* GetHeader() override { return header_; }
  unsigned char* GetBody() override { return body_.data(); }
  void Reset() override {
    std::memset(header_, 0, sizeof header_);
    std::fill(body_.begin(), body_.end(), 0);
  }
  std::uint32_t GetCapacity() override { return kCapacity; }
  ~LoopbackRequest() override = default;

 private:
  unsigned char header_[orbe::wire::kRequestHeaderSize] = {};
  std::vector<unsigned char> body_ = std::vector<unsigned char>(kCapacity, 0);
};

class LoopbackReply final : public ICwReply {
 public:
  explicit LoopbackReply(std::string body) : body_(std::move(body)) {}
  ~LoopbackReply() override = default;
  unsigned char* GetHeader() override { return header_; }
  unsigned char* GetBody() override { return reinterpret_cast<unsigned char*>(body_.data()); }
  std::uint32_t GetBodyLength() override { return static_cast<std::uint32_t>(body_.size()); }
  int GetProgress() override { return 50; }
  std::uint32_t GetTotalLength() override { return GetBodyLength() + orbe::wire::kReplyHeaderSize; }

 private:
  unsigned char header_[orbe::wire::kReplyHeaderSize] = {};
  std::string body_;
};

// Replies: up to three packets per request, each a piece of the material;
// the file fetch gets none and a failed end, so nothing is written.
class LoopbackSession final : public ICwRequestSession {
 public:
  void SetMaterial(std::string material) {
    const std::lock_guard<std::mutex> hold(mutex_);
    material_ = std::move(material);
    at_ = 0;
  }
  bool Send(IReplyHandle* handle, ICwRequest* request) override { return Answer(handle, request); }
  bool SendAndWait(IReplyHandle* handle, ICwRequest* request) override { return Answer(handle, request); }
  void SetReplyHandle(IReplyHandle*) override {}
  void Quit() override {}
  int GetConnectState() override { return kCwStateConnected; }
  void ResetReplyHandleQueue() override {}
  void ResetSecondReplyHandleQueue() override {}
  int GetHostIndex() override { return 0; }
  ~LoopbackSession() override = default;

 private:
  std::string Take(std::size_t size) {
    if (material_.empty()) return std::string();
    std::string piece;
    for (std::size_t i = 0; i < size; ++i) piece.push_back(material_[at_++ % material_.size()]);
    return piece;
  }
  bool Answer(IReplyHandle* handle, ICwRequest* request) {
    if (handle == nullptr || request == nullptr) return false;
    std::uint16_t code = 0;
    std::memcpy(&code, request->GetBody(), sizeof code);
    if (code == orbe::wire::kCodeFileFetch) {
      handle->OnStatus(0);
      return true;
    }
    std::vector<std::string> packets;
    {
      const std::lock_guard<std::mutex> hold(mutex_);
      const std::size_t count = material_.empty() ? 0 : static_cast<unsigned char>(Take(1)[0]) % 4;
      for (std::size_t i = 0; i < count; ++i) packets.push_back(Take(static_cast<unsigned char>(Take(1)[0])));
    }
    for (std::string& packet : packets) {
      LoopbackReply reply(std::move(packet));
      handle->OnReply(&reply);
    }
    handle->OnStatus(kCwStatusComplete);
    return true;
  }

  std::mutex mutex_;
  std::string material_;
  std::size_t at_ = 0;
};

class LoopbackEngine final : public ICwDataEngin {
 public:
  LoopbackSession& Session() { return session_; }
  bool SetConfigFile(const char*) override { return true; }
  void SetTimeOut(int) override {}
  void SetOption(int) override {}
  void Shutdown() override {}
  void StartSessions(int) override {}
  void Stop() override {}
  ICwRequestSession* CreateRequestSession(CWHOSTINFO*, IReplyHandle*) override { return &session_; }
  ICwRequestSession* CreateConfiguredRequestSession(IReplyHandle*) override { return &session_; }
  ICwRequestSession* CreateAltRequestSession(CWHOSTINFO*, IReplyHandle*) override { return &session_; }
  ICwRequestSession* CreateAltConfiguredRequestSession(IReplyHandle*) override { return &session_; }
  ICwRequest* CreateRequest() override { return new LoopbackRequest(); }
  void ReleaseRequest(ICwRequest* request) override { delete static_cast<LoopbackRequest*>(request); }
  ~LoopbackEngine() override = default;

 private:
  LoopbackSession session_;
};

}  // namespace orbe_fuzz

#endif  // ORBE_TESTS_FUZZ_SCRIPT_LOOPBACK_ENGINE_H_
