#include "connection_options.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "host/host_callbacks.h"
#include "orbe/platform/file.h"

namespace orbe::terminal {
namespace {

std::string* OptionField(ConnectionOptions& options, const std::string& name) {
  if (name == "--server") return &options.server;
  if (name == "--files") return &options.files;
  if (name == "--market") return &options.market;
  if (name == "--home") return &options.home;
  return nullptr;
}

std::string DefaultHome() {
  if (const char* home = std::getenv("ORBE_HOME"); home != nullptr && *home != '\0') return home;
  const char* user_home = std::getenv("HOME");
  return std::string(user_home != nullptr && *user_home != '\0' ? user_home : ".") + "/.orbe-terminal";
}

std::string WithSeparator(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

constexpr int kProbeTimeoutMs = 3000;

// 0 when a TCP connection to the address opens within the time, else errno.
int ConnectOnce(const addrinfo& address) {
  const int fd = ::socket(address.ai_family, address.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, address.ai_protocol);
  if (fd < 0) return errno;
  int failure = 0;
  if (::connect(fd, address.ai_addr, address.ai_addrlen) != 0) {
    failure = errno;
    if (failure == EINPROGRESS) {
      pollfd wait{fd, POLLOUT, 0};
      socklen_t size = sizeof failure;
      failure = ::poll(&wait, 1, kProbeTimeoutMs) == 1 && ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &failure, &size) == 0
                    ? failure
                    : ETIMEDOUT;
    }
  }
  ::close(fd);
  return failure;
}

}  // namespace

bool ProbeDataService(const ConnectionOptions& options, std::string* error) {
  const std::optional<HostAddress> server = ParseHostAddress(options.server);
  if (!server) {
    *error = "bad --server address '" + options.server + "' (HOST:PORT)";
    return false;
  }
  addrinfo hints{};
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (::getaddrinfo(server->host.c_str(), std::to_string(server->port).c_str(), &hints, &found) != 0) {
    *error = "unknown data service host '" + server->host + "'";
    return false;
  }
  int failure = EHOSTUNREACH;
  for (const addrinfo* address = found; address != nullptr && failure != 0; address = address->ai_next)
    failure = ConnectOnce(*address);
  ::freeaddrinfo(found);
  if (failure != 0) *error = "the data service " + options.server + " cannot be reached: " + std::strerror(failure);
  return failure == 0;
}

bool HasConnectionOption(const CommandArgs& args) {
  ConnectionOptions probe;
  for (const std::string& arg : args) {
    if (OptionField(probe, arg.substr(0, arg.find('='))) != nullptr) return true;
  }
  return false;
}

bool TakeConnectionOptions(CommandArgs& args, ConnectionOptions& options, std::string* error) {
  CommandArgs rest;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const std::size_t equals = arg.find('=');
    std::string* field = OptionField(options, arg.substr(0, equals));
    if (field == nullptr) {
      rest.push_back(arg);
    } else if (equals != std::string::npos) {
      *field = arg.substr(equals + 1);
    } else if (i + 1 < args.size()) {
      *field = args[++i];
    } else {
      *error = arg + " needs a value";
      return false;
    }
    if (field != nullptr && field->empty()) {
      // An empty --home would quietly fall back to the default home and rewrite its comm INI.
      *error = arg.substr(0, equals) + " needs a value";
      return false;
    }
  }
  args = std::move(rest);
  return true;
}

std::string HomeFolderOf(const CommandArgs& args) {
  ConnectionOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i].starts_with("--home=")) options.home = args[i].substr(7);
    if (args[i] == "--home" && i + 1 < args.size()) options.home = args[i + 1];
  }
  return HomeFolder(options);
}

std::string HomeFolder(const ConnectionOptions& options) {
  return WithSeparator(options.home.empty() ? DefaultHome() : options.home);
}

std::unique_ptr<TerminalHost> ConnectHost(const ConnectionOptions& options, std::string* error) {
  HostSessionOptions session;
  session.private_folder = HomeFolder(options);
  const std::optional<HostAddress> server = ParseHostAddress(options.server);
  if (!server) {
    *error = "bad --server address '" + options.server + "' (HOST:PORT)";
    return nullptr;
  }
  session.data_service = *server;
  session.file_server =
      options.files.empty() ? HostAddress{server->host, 8368} : ParseHostAddress(options.files);
  if (!session.file_server) {
    *error = "bad --files address '" + options.files + "' (HOST:PORT)";
    return nullptr;
  }
  std::error_code failure;
  std::filesystem::create_directories(session.private_folder, failure);
  if (failure) {
    *error = "--home: cannot create the folder " + session.private_folder + ": " + failure.message();
    return nullptr;
  }
  // A service that is not there is told at once; the module's own start-up
  // wait (the comm INI's TimeOut) then only covers a service that answers.
  std::fprintf(stderr, "orbe-terminal: connecting to the data service %s\n", options.server.c_str());
  if (!ProbeDataService(options, error)) return nullptr;
  auto host = std::make_unique<TerminalHost>();
  const std::string market = options.market.empty() ? session.private_folder + "market.db" : options.market;
  if (!options.market.empty() && !std::filesystem::is_regular_file(options.market, failure)) {
    *error = "--market " + options.market + ": no such file";
    return nullptr;
  }
  if (!options.market.empty() || FileExists(market)) {
    std::string why;
    host->market = HostMarket::Open(market, session.private_folder, &why);
    if (!host->market) {
      *error = "--market " + market + ": not a market database (" + why + ")";
      return nullptr;
    }
  }
  // What the module asks the host to show is shown as a line of output.
  SetSwitchEcho(stdout);
  host->session = HostSession::Start(session, host->market.get(), error);
  if (!host->session) return nullptr;
  return host;
}

}  // namespace orbe::terminal
