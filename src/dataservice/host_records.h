// Host records read from the communication INI file. The host test, the sub
// session and the file-server list read the same shape of keys with their
// own names and defaults, given as data.
#ifndef ORBE_DATASERVICE_HOST_RECORDS_H_
#define ORBE_DATASERVICE_HOST_RECORDS_H_

#include <string>

#include "protocol/cw_host_info.h"

namespace orbe {

inline constexpr const char* kLoopbackAddress = "127.0.0.1";

struct HostKeys {
  const char* section;
  // Key names; "%02d" in them takes the host's number (from 1).
  const char* host;
  const char* port;
  const char* proxy_type;
  const char* proxy_ip;
  const char* proxy_port;
  const char* proxy_user;
  const char* proxy_pass;
  const char* default_host;
  const char* default_port;
  const char* default_proxy_ip;
  const char* default_proxy_port;
  // The data-host list reads the proxy type as a one-character text and the
  // proxy keys only for a non-zero type; the others read everything.
  bool proxy_type_one_character;
  bool proxy_only_when_typed;
};

// The data-host list of CWSYS as the host test reads it.
extern const HostKeys kDataHostKeys;
// The single host of SUBCWSYS.
extern const HostKeys kSubHostKeys;
// File servers from CWSYS (UserTPHost set) or from FILESRV.
extern const HostKeys kTpFileServerKeys;
extern const HostKeys kFileServerKeys;

// A zero-filled record with host `number` (from 1) of `keys`.
CWHOSTINFO ReadHostRecord(const std::string& file, const HostKeys& keys, int number);

// Replaces the host's proxy with a global proxy that has an address; type 0
// becomes 3.
void ApplyGlobalProxy(CWHOSTINFO& host, const CWPROXYINFO& global);

CWHOSTINFO ZeroHostRecord();

}  // namespace orbe

#endif  // ORBE_DATASERVICE_HOST_RECORDS_H_
