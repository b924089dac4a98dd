#include "env/global_proxy.h"

#include <cstring>

#include "orbe/platform/profile.h"
#include "orbe/platform/text.h"

namespace orbe {
namespace {

constexpr unsigned char kKvxProxyType = 4;

CWPROXYINFO EmptyProxy() {
  CWPROXYINFO proxy;
  std::memset(&proxy, 0, sizeof proxy);
  return proxy;
}

CWPROXYINFO ReadProxySection(const std::string& file) {
  CWPROXYINFO proxy = EmptyProxy();
  proxy.proxyType = static_cast<unsigned char>(ProfileInt(file, "PROXY", "SockType", 0));
  CopyToField(proxy.proxyAddress, ProfileString(file, "PROXY", "ProxyIP"));
  CopyToField(proxy.proxyPort, ProfileString(file, "PROXY", "ProxyPort"));
  CopyToField(proxy.proxyUser, ProfileString(file, "PROXY", "ProxyUser"));
  CopyToField(proxy.proxyPassword, ProfileString(file, "PROXY", "ProxyPass"));
  return proxy;
}

CWPROXYINFO ReadKvxProxySection(const std::string& file) {
  CWPROXYINFO proxy = EmptyProxy();
  proxy.proxyType = kKvxProxyType;
  const int primary = ProfileInt(file, "KVXPROXY", "Primary", 0);
  const std::string ip_key = primary == 0 ? "IP" : Format("IP%d", primary + 1);
  const std::string port_key = primary == 0 ? "Port" : Format("Port%d", primary + 1);
  CopyToField(proxy.proxyAddress, ProfileString(file, "KVXPROXY", ip_key));
  CopyToField(proxy.proxyPort, ProfileString(file, "KVXPROXY", port_key, "443"));
  return proxy;
}

}  // namespace

std::optional<CWPROXYINFO> ReadGlobalProxy(const std::string& user_comm_file) {
  if (user_comm_file.empty()) return std::nullopt;
  if (ProfileInt(user_comm_file, "PROXY", "HasProxy", 0) != 0) return ReadProxySection(user_comm_file);
  if (ProfileInt(user_comm_file, "KVXPROXY", "HasKvxProxy", 0) != 0 &&
      ProfileInt(user_comm_file, "KVXPROXY", "buse", 0) != 0) {
    return ReadKvxProxySection(user_comm_file);
  }
  return std::nullopt;
}

}  // namespace orbe
