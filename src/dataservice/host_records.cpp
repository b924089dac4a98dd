#include "dataservice/host_records.h"

#include <cstdlib>
#include <cstring>

#include "orbe/platform/profile.h"
#include "orbe/platform/text.h"

namespace orbe {
namespace {

constexpr unsigned char kGlobalProxyDefaultType = 3;

// The key names come from the tables below, never from input.
std::string KeyName(const char* pattern, int number) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
  return Format(pattern, number);
#pragma GCC diagnostic pop
}

int ProxyType(const std::string& file, const HostKeys& keys, int number) {
  const std::string key = KeyName(keys.proxy_type, number);
  if (!keys.proxy_type_one_character) return ProfileInt(file, keys.section, key, 0);
  const std::string text = ProfileString(file, keys.section, key, "0").substr(0, 1);
  return std::atoi(text.c_str());
}

}  // namespace

const HostKeys kDataHostKeys = {"CWSYS",       "CWHost%02d",    "CWPort%02d",    "ProxyType%02d",
                                "ProxyIP%02d", "ProxyPort%02d", "ProxyUser%02d", "ProxyPass%02d",
                                kLoopbackAddress, "7722",       kLoopbackAddress, "8080",
                                true,          true};
const HostKeys kSubHostKeys = {"SUBCWSYS", "CWHost",    "CWPort",    "ProxyType", "ProxyIP",
                               "ProxyPort", "ProxyUser", "ProxyPass", kLoopbackAddress, "7722",
                               "",          "",          false,       false};
const HostKeys kTpFileServerKeys = {"CWSYS",       "CWHost%02d",    "CWPort%02d",    "ProxyType%02d",
                                    "ProxyIP%02d", "ProxyPort%02d", "ProxyUser%02d", "ProxyPass%02d",
                                    kLoopbackAddress, "8368",       "",              "",
                                    false,         false};
const HostKeys kFileServerKeys = {"FILESRV",     "Host%02d",      "Port%02d",      "ProxyType%02d",
                                  "ProxyIP%02d", "ProxyPort%02d", "ProxyUser%02d", "ProxyPass%02d",
                                  kLoopbackAddress, "8368",       "",              "",
                                  false,         false};

CWHOSTINFO ZeroHostRecord() {
  CWHOSTINFO host;
  std::memset(&host, 0, sizeof host);
  return host;
}

CWHOSTINFO ReadHostRecord(const std::string& file, const HostKeys& keys, int number) {
  CWHOSTINFO host = ZeroHostRecord();
  CopyToField(host.host, ProfileString(file, keys.section, KeyName(keys.host, number), keys.default_host));
  CopyToField(host.port, ProfileString(file, keys.section, KeyName(keys.port, number), keys.default_port));
  const int type = ProxyType(file, keys, number);
  host.proxy.proxyType = static_cast<unsigned char>(type);
  if (keys.proxy_only_when_typed && type == 0) return host;
  CWPROXYINFO& proxy = host.proxy;
  CopyToField(proxy.proxyAddress,
              ProfileString(file, keys.section, KeyName(keys.proxy_ip, number), keys.default_proxy_ip));
  CopyToField(proxy.proxyPort,
              ProfileString(file, keys.section, KeyName(keys.proxy_port, number), keys.default_proxy_port));
  CopyToField(proxy.proxyUser, ProfileString(file, keys.section, KeyName(keys.proxy_user, number)));
  CopyToField(proxy.proxyPassword, ProfileString(file, keys.section, KeyName(keys.proxy_pass, number)));
  return host;
}

void ApplyGlobalProxy(CWHOSTINFO& host, const CWPROXYINFO& global) {
  if (global.proxyAddress[0] == '\0') return;
  host.proxy = global;
  if (host.proxy.proxyType == 0) host.proxy.proxyType = kGlobalProxyDefaultType;
}

}  // namespace orbe
