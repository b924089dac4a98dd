// The command line of orbe-dataserver and its optional INI file.
#ifndef ORBE_SERVER_SERVER_OPTIONS_H_
#define ORBE_SERVER_SERVER_OPTIONS_H_

#include <string>
#include <vector>

#include "data_server.h"
#include "server_log.h"

namespace orbe::server {

enum class ServerMode { kServe, kMakeSample, kHelp, kVersion };

struct ServerOptions {
  ServerMode mode = ServerMode::kServe;
  ServerConfig config;
  LogLevel log_level = LogLevel::kInfo;
  int file_port = -1;  // -1: not asked for
  std::string sample_path;  // --make-sample: an SQLite file or a PostgreSQL URI
  double sample_scale = 1.0;
  bool sample_force = false;  // --force: --make-sample may replace an existing file
  // Access control as given; ParseServerOptions turns them into config.access.
  bool listen_given = false;
  bool allow_given = false;
  bool writable_given = false;
  // "TS|name" of KVX_DataBrowse; off answers it as a service without it would.
  bool browse_stamps = true;
};

// Values of --config's [server] section come first; the command line
// overrides them. False with `error` set on an unknown option, a missing
// value or a value out of range.
bool ParseServerOptions(const std::vector<std::string>& arguments, ServerOptions* options, std::string* error);

// Every command-line option with its value and help, for the option parser.
struct ServerOptionHelp {
  const char* flag;
  const char* value;  // nullptr: a flag without a value
  const char* help;
};
std::vector<ServerOptionHelp> ServerOptionHelps();

}  // namespace orbe::server

#endif  // ORBE_SERVER_SERVER_OPTIONS_H_
