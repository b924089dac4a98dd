// Host and proxy records handed to the data engine. Their layout is shared
// with engines built separately, so both are packed byte records.
#ifndef ORBE_PROTOCOL_CW_HOST_INFO_H_
#define ORBE_PROTOCOL_CW_HOST_INFO_H_

#include <cstddef>

#pragma pack(push, 1)

// Every text is zero-terminated; records are zero-filled before use.
struct CWPROXYINFO {
  unsigned char proxyType;  // 0 = direct
  char proxyAddress[100];
  char proxyPort[8];
  char proxyUser[100];
  char proxyPassword[100];
};

struct CWHOSTINFO {
  char port[8];
  char host[100];
  CWPROXYINFO proxy;  // the proxy half, laid out as CWPROXYINFO
};

#pragma pack(pop)

static_assert(sizeof(CWPROXYINFO) == 309);
static_assert(sizeof(CWHOSTINFO) == 417);
static_assert(offsetof(CWPROXYINFO, proxyAddress) == 1);
static_assert(offsetof(CWPROXYINFO, proxyPort) == 101);
static_assert(offsetof(CWPROXYINFO, proxyUser) == 109);
static_assert(offsetof(CWPROXYINFO, proxyPassword) == 209);
static_assert(offsetof(CWHOSTINFO, host) == 8);
static_assert(offsetof(CWHOSTINFO, proxy) == 108);

#endif  // ORBE_PROTOCOL_CW_HOST_INFO_H_
