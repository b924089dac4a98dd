// A host's connection of the module to the data service, for as long as the
// object lives: writes the comm INI into the private folder, hands the module
// the private path and the callbacks, and starts the data environment.
#ifndef ORBE_TOOLS_TERMINAL_HOST_HOST_SESSION_H_
#define ORBE_TOOLS_TERMINAL_HOST_HOST_SESSION_H_

#include <memory>
#include <optional>
#include <string>

class OrbeClientSession;

namespace orbe {

class HostMarket;

struct HostAddress {
  std::string host;
  int port = 0;
};
// "HOST:PORT" (the last ':' separates); nullopt when malformed.
std::optional<HostAddress> ParseHostAddress(const std::string& text);

struct HostSessionOptions {
  HostAddress data_service;
  std::optional<HostAddress> file_server;  // the dictionary comes from here
  std::string private_folder;              // ends with '/'; created when missing
};

class HostSession {
 public:
  static constexpr const char* kCommIniName = "comm.ini";

  // Null with *error set when the folder cannot be made or the data
  // environment does not come up. `market` (may be null) answers the
  // callbacks while the session lives.
  static std::unique_ptr<HostSession> Start(const HostSessionOptions& options, HostMarket* market,
                                            std::string* error);
  ~HostSession();
  HostSession(const HostSession&) = delete;
  HostSession& operator=(const HostSession&) = delete;

  // The module's main session.
  OrbeClientSession* Session() const;
  const std::string& CommIni() const { return comm_ini_; }

 private:
  explicit HostSession(std::string comm_ini) : comm_ini_(std::move(comm_ini)) {}
  const std::string comm_ini_;
};

}  // namespace orbe

#endif  // ORBE_TOOLS_TERMINAL_HOST_HOST_SESSION_H_
