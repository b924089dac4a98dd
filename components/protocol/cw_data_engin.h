// The data engine (libFinDataComm) as the module calls it. Slot 0 is the
// virtual destructor; numbered operations keep their slot order and unused
// slots are reserved, so an engine built separately plugs in.
#ifndef ORBE_PROTOCOL_CW_DATA_ENGIN_H_
#define ORBE_PROTOCOL_CW_DATA_ENGIN_H_

#include <cstdint>
#include <memory>

#include "protocol/cw_host_info.h"
#include "protocol/reply_handle.h"

// One connection of the engine; owned by the engine.
class ICwRequestSession {
 protected:
  virtual ~ICwRequestSession() = default;  // 0

 public:
  // Sends and returns at once; the reply reaches `handle` on an engine thread.
  virtual bool Send(IReplyHandle* handle, ICwRequest* request) = 0;        // 1
  // Sends and returns after the reply was delivered to `handle`.
  virtual bool SendAndWait(IReplyHandle* handle, ICwRequest* request) = 0; // 2
  // Null before quitting.
  virtual void SetReplyHandle(IReplyHandle* handle) = 0;                   // 3
  virtual int ReservedSlot4() { return 0; }                                // 4
  virtual void Quit() = 0;                                                 // 5
  // kCwStateConnected when connected.
  virtual int GetConnectState() = 0;                                       // 6
  virtual void ResetReplyHandleQueue() = 0;                                // 7
  virtual void ResetSecondReplyHandleQueue() = 0;                          // 8
  // Zero-based index of the host in use, as in PrimaryCWHost.
  virtual int GetHostIndex() = 0;                                          // 9
};

class ICwDataEngin {
 protected:
  virtual ~ICwDataEngin() = default;  // 0

 public:
  // The engine reads its host list and PrimaryCWHost from this INI file.
  virtual bool SetConfigFile(const char* path) = 0;                        // 1
  virtual void SetTimeOut(int seconds) = 0;                                // 2
  virtual void SetOption(int option) = 0;                                  // 3
  virtual void Shutdown() = 0;                                             // 4
  virtual void StartSessions(int count) = 0;                               // 5
  // No callback starts after Stop returns (Stop may be called from one).
  virtual void Stop() = 0;                                                 // 6
  virtual int ReservedSlot7() { return 0; }                                // 7
  // `connect` (may be null) hears the connection state in OnStatus.
  virtual ICwRequestSession* CreateRequestSession(CWHOSTINFO* host, IReplyHandle* connect) = 0;  // 8
  virtual ICwRequestSession* CreateConfiguredRequestSession(IReplyHandle* connect) = 0;          // 9
  virtual int ReservedSlot10() { return 0; }                               // 10
  virtual int ReservedSlot11() { return 0; }                               // 11
  virtual int ReservedSlot12() { return 0; }                               // 12
  virtual int ReservedSlot13() { return 0; }                               // 13
  // The alternative session kind (SMT below 5).
  virtual ICwRequestSession* CreateAltRequestSession(CWHOSTINFO* host, IReplyHandle* connect) = 0;  // 14
  virtual ICwRequestSession* CreateAltConfiguredRequestSession(IReplyHandle* connect) = 0;          // 15
  virtual int ReservedSlot16() { return 0; }                               // 16
  virtual int ReservedSlot17() { return 0; }                               // 17
  virtual int ReservedSlot18() { return 0; }                               // 18
  virtual int ReservedSlot19() { return 0; }                               // 19
  virtual int ReservedSlot20() { return 0; }                               // 20
  virtual int ReservedSlot21() { return 0; }                               // 21
  virtual ICwRequest* CreateRequest() = 0;                                 // 22
  virtual void ReleaseRequest(ICwRequest* request) = 0;                    // 23
};

// A request object owned by the code that asked the engine for it and
// released through the same engine (slot 23).
struct EngineRequestReleaser {
  ICwDataEngin* engine = nullptr;
  void operator()(ICwRequest* request) const {
    if (engine != nullptr) engine->ReleaseRequest(request);
  }
};
using EngineRequestPtr = std::unique_ptr<ICwRequest, EngineRequestReleaser>;
// Null without an engine or when it makes no request.
inline EngineRequestPtr MakeEngineRequest(ICwDataEngin* engine) {
  return EngineRequestPtr(engine != nullptr ? engine->CreateRequest() : nullptr, EngineRequestReleaser{engine});
}

// Receiver of messages the service pushes (the container message manager).
class IClientNotify {
 public:
  virtual ~IClientNotify() = default;                                      // 0
  virtual void OnPushMessage(const unsigned char* data, std::uint32_t length) = 0;  // 1
};

#endif  // ORBE_PROTOCOL_CW_DATA_ENGIN_H_
