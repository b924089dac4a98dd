// The hosts a request session may connect to: one host record given by the
// caller, or the CWSYS list of the configuration file with its first choice.
#ifndef ORBE_COMPONENTS_ENGINE_HOST_LIST_H_
#define ORBE_COMPONENTS_ENGINE_HOST_LIST_H_

#include <optional>
#include <string>
#include <vector>

#include "protocol/cw_host_info.h"

namespace orbe::engine {

struct EngineHost {
  std::string address;
  std::string port;     // decimal text as configured; checked when connecting
  int proxy_type = 0;   // anything but 0 is refused: there is no proxy client
  std::string proxy_address;
};

struct HostList {
  std::vector<EngineHost> hosts;
  int first = 0;  // zero-based, as PrimaryCWHost
};

// CWSYS: CWHostNum (default 1, at most 99), CWHost%02d (default 127.0.0.1),
// CWPort%02d (default 7722), ProxyType%02d (one character, default 0),
// ProxyIP%02d, PrimaryCWHost (default 0; outside the list means 0).
HostList ReadConfiguredHosts(const std::string& configuration_file);

// The session's single host from a caller's record.
EngineHost HostFromRecord(const CWHOSTINFO& record);

// A global proxy with an address replaces every host's proxy, as the module's
// host test applies it.
void ApplyGlobalProxy(HostList& list, const std::optional<CWPROXYINFO>& proxy);

// CWSYS TimeOut in seconds (default 6, at least 1).
int ReadTimeOutSeconds(const std::string& configuration_file);

// The port number of a host, or 0 when its text is not 1..65535.
int PortNumber(const EngineHost& host);

}  // namespace orbe::engine

#endif  // ORBE_COMPONENTS_ENGINE_HOST_LIST_H_
