// The reply cache (libFinCacheStore), one instance per cache directory. Slot 0
// is the virtual destructor; numbered operations keep their slot order.
#ifndef ORBE_PROTOCOL_CW_CACHE_H_
#define ORBE_PROTOCOL_CW_CACHE_H_

#include <cstdint>
#include <string>
#include <vector>

// The reply packets of one request, each kept as its bytes.
using CwPacketList = std::vector<std::string>;

class ITCwcache {
 protected:
  virtual ~ITCwcache() = default;  // 0

 public:
  virtual bool Store(const char* key, const CwPacketList& packets, std::int64_t timeStamp) = 0;  // 1
  // The time stamp stored for `key`; -1 when there is none.
  virtual std::int64_t GetTimeStamp(const char* key) = 0;                  // 2
  virtual int ReservedSlot3() { return 0; }                                // 3
  virtual bool Load(const char* key, CwPacketList& packets) = 0;           // 4
  // Whether the entry may be used without asking the server.
  virtual bool IsUsable(const char* key) = 0;                              // 5
  virtual int ReservedSlot6() { return 0; }                                // 6
  virtual int ReservedSlot7() { return 0; }                                // 7
  virtual int ReservedSlot8() { return 0; }                                // 8
  virtual int ReservedSlot9() { return 0; }                                // 9
  virtual void Maintain() = 0;                                             // 10
  virtual void SaveState() = 0;                                            // 11
  virtual int ReservedSlot12() { return 0; }                               // 12
  virtual int ReservedSlot13() { return 0; }                               // 13
  virtual int ReservedSlot14() { return 0; }                               // 14
  virtual int ReservedSlot15() { return 0; }                               // 15
  virtual int ReservedSlot16() { return 0; }                               // 16
  virtual int ReservedSlot17() { return 0; }                               // 17
  virtual int ReservedSlot18() { return 0; }                               // 18
  virtual int ReservedSlot19() { return 0; }                               // 19
  virtual int ReservedSlot20() { return 0; }                               // 20
  virtual int ReservedSlot21() { return 0; }                               // 21
  virtual int ReservedSlot22() { return 0; }                               // 22
  virtual int ReservedSlot23() { return 0; }                               // 23
  virtual int ReservedSlot24() { return 0; }                               // 24
  virtual int ReservedSlot25() { return 0; }                               // 25
  virtual int ReservedSlot26() { return 0; }                               // 26
  virtual int ReservedSlot27() { return 0; }                               // 27
  virtual int ReservedSlot28() { return 0; }                               // 28
  virtual int ReservedSlot29() { return 0; }                               // 29
  virtual int ReservedSlot30() { return 0; }                               // 30
  virtual int ReservedSlot31() { return 0; }                               // 31
  virtual int ReservedSlot32() { return 0; }                               // 32
  virtual int ReservedSlot33() { return 0; }                               // 33
  virtual int ReservedSlot34() { return 0; }                               // 34
  virtual int ReservedSlot35() { return 0; }                               // 35
  virtual int ReservedSlot36() { return 0; }                               // 36
  virtual int ReservedSlot37() { return 0; }                               // 37
  virtual int ReservedSlot38() { return 0; }                               // 38
  // Saves a reply under a key with the server's time stamp, replacing any
  // earlier entry (the scripts' and reference loaders' cache save).
  virtual bool Save(const char* key, const CwPacketList& packets, std::int64_t timeStamp) = 0;  // 39
};

#endif  // ORBE_PROTOCOL_CW_CACHE_H_
