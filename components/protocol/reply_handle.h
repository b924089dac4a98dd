// Reply objects of the data engine and the callback interface the module
// implements. Slot 0 of each interface is its virtual destructor; the
// numbered operations follow in their slot order, unused slots reserved, so a
// component compiled separately against these headers plugs in.
#ifndef ORBE_PROTOCOL_REPLY_HANDLE_H_
#define ORBE_PROTOCOL_REPLY_HANDLE_H_

#include <cstdint>

#include "protocol/wire_format.h"

// Completion status of a request (the wire's final status 100).
inline constexpr int kCwStatusComplete = orbe::wire::kStatusComplete;
// Connection state reported to a connect handle and by ICwRequestSession.
inline constexpr int kCwStateConnected = 2;

// One reply packet: a 24-byte header, then the body.
class ICwReply {
 protected:
  virtual ~ICwReply() = default;  // 0

 public:
  virtual unsigned char* GetHeader() = 0;                  // 1; a wire::ReplyHeader
  virtual int ReservedSlot2() { return 0; }                // 2
  virtual unsigned char* GetBody() = 0;                    // 3
  virtual int ReservedSlot4() { return 0; }                // 4
  virtual std::uint32_t GetBodyLength() = 0;               // 5
  virtual int ReservedSlot6() { return 0; }                // 6
  virtual int GetProgress() = 0;                           // 7
  virtual std::uint32_t GetTotalLength() = 0;              // 8; 24 more than the payload
};

// Implemented by the module, called by the engine on its own threads.
class IReplyHandle {
 public:
  virtual ~IReplyHandle() = default;                       // 0
  // One reply packet has arrived.
  virtual void OnReply(ICwReply* reply) = 0;               // 1
  // The request ended (100 = complete); for a connect handle, the connection
  // state (2 = connected).
  virtual void OnStatus(int code) = 0;                     // 2
};

// A request being built: a wire::RequestHeader whose total length the module
// sets, then the body starting with the request code. The engine stamps the
// request id, marker and version when it sends the frame.
class ICwRequest {
 protected:
  virtual ~ICwRequest() = default;  // 0

 public:
  virtual unsigned char* GetHeader() = 0;                  // 1
  virtual int ReservedSlot2() { return 0; }                // 2
  virtual unsigned char* GetBody() = 0;                    // 3
  virtual int ReservedSlot4() { return 0; }                // 4
  virtual int ReservedSlot5() { return 0; }                // 5
  virtual void Reset() = 0;                                // 6
  virtual int ReservedSlot7() { return 0; }                // 7
  // Bytes the body can hold.
  virtual std::uint32_t GetCapacity() = 0;                 // 8
};

#endif  // ORBE_PROTOCOL_REPLY_HANDLE_H_
