// Options of the commands that connect the module to a data service, and the
// host they set up: the market for the callbacks and the module's session.
#ifndef ORBE_TOOLS_TERMINAL_CONNECTION_OPTIONS_H_
#define ORBE_TOOLS_TERMINAL_CONNECTION_OPTIONS_H_

#include <memory>
#include <string>

#include "commands.h"
#include "host/host_market.h"
#include "host/host_session.h"

namespace orbe::terminal {

struct ConnectionOptions {
  std::string server = "127.0.0.1:7722";  // the module's default data port
  std::string files;                      // default: the server's host, port 8368
  std::string market;                     // default: market.db in the home folder, when present
  std::string home;                       // default: $ORBE_HOME, else $HOME/.orbe-terminal
};

inline constexpr const char* kConnectionUsage =
    "[--server HOST:PORT] [--files HOST:PORT] [--market PATH] [--home DIR]";

// True when args hold a connection option: the command then connects.
bool HasConnectionOption(const CommandArgs& args);

// Removes the connection options ("--name VALUE" or "--name=VALUE") from
// args, leaving the others in order. False with *error on a bad option.
bool TakeConnectionOptions(CommandArgs& args, ConnectionOptions& options, std::string* error);

// The host's private folder (with a trailing '/'): --home, else $ORBE_HOME,
// else $HOME/.orbe-terminal.
std::string HomeFolder(const ConnectionOptions& options);
// The same for a command line not parsed yet (the error log goes there from the start).
std::string HomeFolderOf(const CommandArgs& args);

// One connection attempt to the data service, bounded by a few seconds, so
// that a service that is not there is told at once rather than after the
// module's host test has tried it again and again. False with *error.
bool ProbeDataService(const ConnectionOptions& options, std::string* error);

// The market (null without a market file) and the session, in the order
// they must be torn down.
struct TerminalHost {
  std::unique_ptr<HostMarket> market;
  std::unique_ptr<HostSession> session;
};
// Null with *error when the market cannot be read or the session not started.
std::unique_ptr<TerminalHost> ConnectHost(const ConnectionOptions& options, std::string* error);

}  // namespace orbe::terminal

#endif  // ORBE_TOOLS_TERMINAL_CONNECTION_OPTIONS_H_
