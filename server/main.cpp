// orbe-dataserver: the data service of docs/protocol.md over an SQLite database.
#include <signal.h>
#include <sys/signalfd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "data_server.h"
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

int Serve(const orbe::server::ServerOptions& options) {
  const orbe::server::UniqueFd stop = BlockStopSignals();
  if (!stop.Valid()) {
    LogLine(LogLevel::kError, "cannot take the stop signals");
    return 1;
  }
  std::string error;
  const auto server = orbe::server::DataServer::Create(options.config, &error);
  if (!server) {
    LogLine(LogLevel::kError, "%s", error.c_str());
    return 1;
  }
  if (options.file_port >= 0) {
    LogLine(LogLevel::kWarn, "the file server (port %d) is not served by this version", options.file_port);
  }
  std::printf("listening on %s:%u\n", options.config.bind_address.c_str(), server->Port());
  std::fflush(stdout);
  LogLine(LogLevel::kInfo, "serving %s on port %u, capacity %u", options.config.db_path.c_str(),
          server->Port(), options.config.capacity);
  return server->Run(stop.Get()) ? 0 : 1;
}

int MakeSample(const orbe::server::ServerOptions& options) {
  std::string error;
  if (!orbe::sample::MakeSampleMarket(options.sample_path, options.sample_scale, &error)) {
    std::fprintf(stderr, "orbe-dataserver: %s\n", error.c_str());
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  orbe::server::ServerOptions options;
  std::string error;
  if (!orbe::server::ParseServerOptions(arguments, &options, &error)) {
    std::fprintf(stderr, "orbe-dataserver: %s\n(see --help)\n", error.c_str());
    return 2;
  }
  orbe::server::SetLogLevel(options.log_level);
  switch (options.mode) {
    case orbe::server::ServerMode::kHelp:
      std::fputs(orbe::server::ServerUsage().c_str(), stdout);
      return 0;
    case orbe::server::ServerMode::kMakeSample:
      return MakeSample(options);
    case orbe::server::ServerMode::kServe:
      break;
  }
  return Serve(options);
}
