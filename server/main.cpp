// orbe-dataserver: the data service of docs/protocol.md over an SQLite or a
// PostgreSQL database.
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "command_line.h"
#include "data_server.h"
#include "file_server.h"
#include "procedure_data_browse.h"
#include "sample/sample_market.h"
#include "server_log.h"
#include "server_options.h"
#include "unique_fd.h"

namespace {

using orbe::server::LogLevel;
using orbe::server::LogLine;

// The stop signals are taken through a signalfd, so the event loop sees them
// as one more readable descriptor and shuts down between requests.
orbe::server::UniqueFd BlockStopSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGINT);
  if (sigprocmask(SIG_BLOCK, &signals, nullptr) != 0) return {};
  signal(SIGPIPE, SIG_IGN);
  return orbe::server::UniqueFd(signalfd(-1, &signals, SFD_CLOEXEC | SFD_NONBLOCK));
}

// Uploads and downloads share the folder that request 2009 hands out.
orbe::server::FileServerConfig FileServerConfigOf(const orbe::server::ServerOptions& options) {
  orbe::server::FileServerConfig config;
  const orbe::server::ServerConfig& data = options.config;
  config.root = data.FileRoot();
  config.bind_address = data.bind_address;
  config.access = data.access;
  config.port = static_cast<std::uint16_t>(options.file_port);
  config.idle_seconds = data.idle_seconds;
  return config;
}

int Serve(const orbe::server::ServerOptions& options) {
  const orbe::server::UniqueFd stop = BlockStopSignals();
  if (!stop.Valid()) {
    LogLine(LogLevel::kError, "cannot take the stop signals");
    return 1;
  }
  orbe::server::SetBrowseStampsAnswered(options.browse_stamps);
  std::string error;
  const auto server = orbe::server::DataServer::Create(options.config, &error);
  if (!server) {
    LogLine(LogLevel::kError, "%s", error.c_str());
    return 1;
  }
  std::unique_ptr<orbe::server::FileServer> file_server;
  if (options.file_port >= 0) {
    file_server = orbe::server::FileServer::Start(FileServerConfigOf(options), &error);
    if (!file_server) {
      LogLine(LogLevel::kError, "%s", error.c_str());
      return 1;
    }
  }
  // The data port's line comes first: scripts and tests read it as the first line.
  std::printf("listening on %s:%u\n", options.config.bind_address.c_str(), server->Port());
  if (file_server) {
    std::printf("file server listening on %s:%u\n", options.config.bind_address.c_str(), file_server->Port());
  }
  std::fflush(stdout);
  LogLine(LogLevel::kInfo, "serving %s on port %u, capacity %u, %zu workers%s",
          options.config.storage.Describe().c_str(), server->Port(), options.config.capacity, server->Workers(),
          options.config.access.writable ? "" : ", read-only");
  return server->Run(stop.Get()) ? 0 : 1;
}

// The file a stopped --make-sample would leave behind; the handler may only
// touch what is async-signal-safe, so the path is a fixed buffer.
char g_building_path[4096];

void RemoveBuildingAndDie(int signal_number) {
  if (g_building_path[0] != '\0') ::unlink(g_building_path);
  ::signal(signal_number, SIG_DFL);
  ::raise(signal_number);
}

void RemoveBuildingOnStop(const std::string& target) {
  const std::string building = target + ".building";
  if (building.size() >= sizeof g_building_path) return;
  building.copy(g_building_path, building.size());
  for (const int stop : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) ::signal(stop, RemoveBuildingAndDie);
}

int MakeSample(const orbe::server::ServerOptions& options) {
  std::string error;
  const bool postgres = options.sample_path.starts_with("postgresql://") || options.sample_path.starts_with("postgres://");
  std::error_code failure;
  if (!postgres && std::filesystem::exists(options.sample_path, failure) && !options.sample_force) {
    std::fprintf(stderr, "orbe-dataserver: --make-sample %s: the file exists (give --force to replace it)\n",
                 options.sample_path.c_str());
    return 1;
  }
  if (!postgres && std::filesystem::is_directory(options.sample_path, failure)) {
    std::fprintf(stderr, "orbe-dataserver: --make-sample %s: a folder, not a file\n", options.sample_path.c_str());
    return 1;
  }
  if (!postgres) RemoveBuildingOnStop(options.sample_path);
  const bool made = postgres ? orbe::sample::MakeSampleMarketInPostgres(options.sample_path, options.sample_scale, &error)
                             : orbe::sample::MakeSampleMarket(options.sample_path, options.sample_scale, &error);
  if (!made) {
    std::fprintf(stderr, "orbe-dataserver: %s\n", error.c_str());
    return 1;
  }
  return 0;
}

// The command line as the option parser reads it, from the options' own table.
orbe::tools::CommandLineSpec CommandLine() {
  orbe::tools::CommandLineSpec spec{"orbe-dataserver",
                                    "the data service over an SQLite or a PostgreSQL database (docs/protocol.md); "
                                    "prints \"listening on ADDR:PORT\" once it accepts connections, and stops "
                                    "cleanly on SIGTERM or SIGINT",
                                    {},
                                    {},
                                    0,
                                    nullptr};
  for (const orbe::server::ServerOptionHelp& help : orbe::server::ServerOptionHelps()) {
    spec.options.push_back({help.flag, help.value, help.help});
  }
  spec.options.push_back({"--config", "FILE",
                          "INI file, section [server] (Port, FilePort, FileRoot, Capacity, LogLevel, BrowseStamps, "
                          "PostgreSQL, Listen, Allow, Writable, Workers); the command line overrides it"});
  return spec;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> arguments;
  if (const auto status = orbe::tools::ReadCommandLine(CommandLine(), {argv + 1, argv + argc}, &arguments,
                                                       ORBE_TOOLS_VERSION)) {
    return *status;
  }
  orbe::server::ServerOptions options;
  std::string error;
  if (!orbe::server::ParseServerOptions(arguments, &options, &error)) {
    std::fprintf(stderr, "orbe-dataserver: %s (see orbe-dataserver --help)\n", error.c_str());
    return 2;
  }
  orbe::server::SetLogLevel(options.log_level);
  switch (options.mode) {
    case orbe::server::ServerMode::kHelp:
    case orbe::server::ServerMode::kVersion:
      // The option parser answered these before.
      return 0;
    case orbe::server::ServerMode::kMakeSample:
      return MakeSample(options);
    case orbe::server::ServerMode::kServe:
      break;
  }
  return Serve(options);
}
