// The three callbacks a host registers with RegisterCallBack and the values
// they carry. They depend on nothing of the module, so every layer that asks
// the host (dictionary, data service, indicators, screening) and the host
// itself include them from here.
#ifndef ORBE_HOST_HOST_CALLBACKS_H_
#define ORBE_HOST_HOST_CALLBACKS_H_

#include <cstddef>

#pragma pack(push, 1)
// A 7-byte value the host callbacks take (a date or a security key).
struct HostValue7 {
  unsigned char bytes[7];
};
#pragma pack(pop)
static_assert(sizeof(HostValue7) == 7);

extern "C" {

// The host's callbacks; their arguments are fixed by the calls the module makes.
// (context or null, -1, code, result buffer or null, item count, two values,
// 1 or 0, 0).
using DataFuncProc = int (*)(int* context, int minusOne, int code, void* buffer, short count,
                             HostValue7 first, HostValue7 second, int flag, int zero);
// (code text, window value or null; market or -1; data or null; data length or
// -1; switch kind (HostSwitchKind); sub-kind; 0).
using SwitchFuncProc = int (*)(const void* target, int market, const void* data, int dataLength, int kind,
                               int subKind, int zero);
// (command (HostCallbackCommand), value, 60, result buffer, buffer length (64),
// 0); non-zero when the buffer was filled.
using CallbackFuncProc = int (*)(int command, const HostValue7* value, int size, void* buffer,
                                 int* bufferLength, int zero);

}  // extern "C"

namespace orbe {

// What the switch function is asked to do.
enum HostSwitchKind : int {
  kSwitchOpenPage = 0,       // the target is the key of a page to open
  kSwitchSaveBoard = 9,      // the data holds the codes to save as a board
  kSwitchQuoteBoard = 10,    // the target is a quote board to open
  kSwitchShowSecurity = 12,  // the target is the security to show
  kSwitchOpenUrl = 15,       // the target is an address to open (sub-kind 2)
  kSwitchDownloadDays = 17,  // the host is to download daily bars
  kSwitchFlush = 40,         // the host is to refresh its data (sub-kind 6)
  kSwitchFlushWaiting = 50,  // ditto, waiting until done (sub-kind 1)
};

// What the callback function is asked for.
enum HostCallbackCommand : int { kCallbackSecurityName = 11, kCallbackMarketName = 12 };

// The records of a switch request's data: the market byte (0xFF: not given)
// and six code characters.
inline constexpr std::size_t kSwitchRecordSize = 7;

}  // namespace orbe

#endif  // ORBE_HOST_HOST_CALLBACKS_H_
