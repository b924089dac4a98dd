#include "host/host_session.h"

#include <cstdlib>
#include <filesystem>

#include "host/host_callbacks.h"
#include "orbe/env.h"
#include "orbe/platform/profile.h"

namespace orbe {
namespace {

bool WriteCommIni(const std::string& path, const HostSessionOptions& options) {
  const HostAddress& data = options.data_service;
  bool ok = WriteProfileString(path, "CWSYS", "CWHostNum", "1") &&
            WriteProfileString(path, "CWSYS", "PrimaryCWHost", "0") &&
            WriteProfileString(path, "CWSYS", "CWHost01", data.host) &&
            WriteProfileString(path, "CWSYS", "CWPort01", std::to_string(data.port));
  // Without a file server the list is empty rather than the loopback default.
  const HostAddress files = options.file_server.value_or(HostAddress{});
  ok = ok && WriteProfileString(path, "FILESRV", "Num", options.file_server ? "1" : "0") &&
       WriteProfileString(path, "FILESRV", "Primary", "0");
  if (ok && options.file_server) {
    ok = WriteProfileString(path, "FILESRV", "Host01", files.host) &&
         WriteProfileString(path, "FILESRV", "Port01", std::to_string(files.port));
  }
  return ok;
}

}  // namespace

std::optional<HostAddress> ParseHostAddress(const std::string& text) {
  const std::size_t colon = text.rfind(':');
  if (colon == std::string::npos || colon == 0 || colon + 1 == text.size()) return std::nullopt;
  const std::string port_text = text.substr(colon + 1);
  if (port_text.find_first_not_of("0123456789") != std::string::npos || port_text.size() > 5)
    return std::nullopt;
  const int port = std::atoi(port_text.c_str());
  if (port <= 0 || port > 65535) return std::nullopt;
  return HostAddress{text.substr(0, colon), port};
}

std::unique_ptr<HostSession> HostSession::Start(const HostSessionOptions& options, HostMarket* market,
                                                std::string* error) {
  std::error_code failure;
  std::filesystem::create_directories(options.private_folder, failure);
  const std::string comm_ini = options.private_folder + kCommIniName;
  if (failure || !WriteCommIni(comm_ini, options)) {
    if (error) *error = "cannot write " + comm_ini;
    return nullptr;
  }
  SetCallbackMarket(market);
  SetPrivPath(options.private_folder);
  RegisterCallBack(HostDataFunc, HostSwitchFunc, HostCallbackFunc);
  std::unique_ptr<HostSession> session(new HostSession(comm_ini));
  if (InitDataEngin(options.private_folder + "cache", comm_ini, 0, nullptr) == 0) {
    if (error) {
      *error = "the data environment did not start (data service " + options.data_service.host + ":" +
               std::to_string(options.data_service.port) + ")";
    }
    return nullptr;  // the destructor tears down what InitDataEngin made
  }
  return session;
}

HostSession::~HostSession() {
  UnInitDataEngin();
  RegisterCallBack(nullptr, nullptr, nullptr);
  SetCallbackMarket(nullptr);
}

OrbeClientSession* HostSession::Session() const { return GetGlobalMainOrbeClientSession(); }

}  // namespace orbe
