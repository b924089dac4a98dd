#include "host_list.h"

#include <algorithm>
#include <cstdlib>

#include "orbe/platform/profile.h"
#include "orbe/platform/text.h"

namespace orbe::engine {
namespace {

constexpr const char* kSection = "CWSYS";
constexpr const char* kDefaultAddress = "127.0.0.1";
constexpr const char* kDefaultPort = "7722";
// Keys are numbered "%02d".
constexpr int kMaxHosts = 99;
constexpr int kDefaultTimeOutSeconds = 6;

EngineHost ReadHost(const std::string& file, int number) {
  EngineHost host;
  host.address = ProfileString(file, kSection, Format("CWHost%02d", number), kDefaultAddress);
  host.port = ProfileString(file, kSection, Format("CWPort%02d", number), kDefaultPort);
  const std::string type = ProfileString(file, kSection, Format("ProxyType%02d", number), "0").substr(0, 1);
  host.proxy_type = std::atoi(type.c_str());
  if (host.proxy_type != 0) host.proxy_address = ProfileString(file, kSection, Format("ProxyIP%02d", number));
  return host;
}

}  // namespace

HostList ReadConfiguredHosts(const std::string& configuration_file) {
  HostList list;
  const int count = std::clamp(ProfileInt(configuration_file, kSection, "CWHostNum", 1), 0, kMaxHosts);
  for (int number = 1; number <= count; ++number) list.hosts.push_back(ReadHost(configuration_file, number));
  const int first = ProfileInt(configuration_file, kSection, "PrimaryCWHost", 0);
  list.first = first >= 0 && first < count ? first : 0;
  return list;
}

EngineHost HostFromRecord(const CWHOSTINFO& record) {
  EngineHost host;
  host.address = FieldText(record.host);
  host.port = FieldText(record.port);
  host.proxy_type = record.proxy.proxyType;
  host.proxy_address = FieldText(record.proxy.proxyAddress);
  return host;
}

void ApplyGlobalProxy(HostList& list, const std::optional<CWPROXYINFO>& proxy) {
  if (!proxy || proxy->proxyAddress[0] == '\0') return;
  for (EngineHost& host : list.hosts) {
    host.proxy_type = proxy->proxyType != 0 ? proxy->proxyType : 3;
    host.proxy_address = FieldText(proxy->proxyAddress);
  }
}

int ReadTimeOutSeconds(const std::string& configuration_file) {
  if (configuration_file.empty()) return kDefaultTimeOutSeconds;
  return std::max(1, ProfileInt(configuration_file, kSection, "TimeOut", kDefaultTimeOutSeconds));
}

int PortNumber(const EngineHost& host) {
  const std::string_view text = TrimBlanks(host.port);
  if (text.empty() || text.size() > 5) return 0;
  int port = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return 0;
    port = port * 10 + (c - '0');
  }
  return port >= 1 && port <= 65535 ? port : 0;
}

}  // namespace orbe::engine
