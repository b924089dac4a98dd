// The real orbe-dataserver with its file server, for the transfer tests: a
// sample database made once, a file root, and both ports read from the
// server's first two lines.
#ifndef ORBE_TESTS_DATASERVICE_TRANSFER_SERVER_H_
#define ORBE_TESTS_DATASERVICE_TRANSFER_SERVER_H_

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "orbe/platform/profile.h"
#include "support/server_process.h"

namespace orbe_test {

inline std::string ScratchFolder(const std::string& name) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("orbe_xfr_" + name + "_" + std::to_string(::getpid()));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir.string() + "/";
}

class TransferServer {
 public:
  TransferServer() = default;
  TransferServer(const TransferServer&) = delete;
  TransferServer& operator=(const TransferServer&) = delete;
  ~TransferServer() { Stop(SIGTERM); }

  // False when the server did not come up with both ports. With a request
  // log, every request is written to folder + "server.log" (CallsLogged).
  // `extra` follows the usual arguments (e.g. {"--browse-stamps", "off"}).
  bool Start(const std::string& folder, bool requestLog = false, const std::vector<std::string>& extra = {}) {
    const std::string program = std::string(ORBE_TEST_BIN_DIR) + "/orbe-dataserver";
    db_ = folder + "market.db";
    root_ = folder + "files";
    const std::string make = program + " --make-sample " + db_ + " --scale 0.002 >/dev/null 2>&1";
    if (!std::filesystem::exists(db_) && std::system(make.c_str()) != 0) return false;
    log_ = requestLog ? folder + "server.log" : "";
    std::vector<std::string> arguments = {"--db",        db_,   "--port",      "0", "--file-port", "0",
                                          "--file-root", root_, "--log-level", requestLog ? "info" : "warn"};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    const ServerProcess process = SpawnDataServer(arguments, log_, 2);
    pid_ = process.pid;
    unsigned data = 0;
    unsigned files = 0;
    if (process.lines.size() != 2 ||
        std::sscanf(process.lines[0].c_str(), "listening on 127.0.0.1:%u", &data) != 1 ||
        std::sscanf(process.lines[1].c_str(), "file server listening on 127.0.0.1:%u", &files) != 1) {
      return false;
    }
    data_port_ = static_cast<int>(data);
    file_port_ = static_cast<int>(files);
    return true;
  }

  void Stop(int signal) {
    if (pid_ <= 0) return;
    ::kill(pid_, signal);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

  int Pid() const { return pid_; }

  // Procedure calls (2023) in the request log so far. The server logs a
  // request before its reply goes out.
  int CallsLogged() const {
    std::ifstream in(log_);
    int calls = 0;
    for (std::string line; std::getline(in, line);) calls += line.find("code=2023 ") != std::string::npos ? 1 : 0;
    return calls;
  }

  int DataPort() const { return data_port_; }
  int FilePort() const { return file_port_; }
  const std::string& Root() const { return root_; }
  const std::string& Database() const { return db_; }

 private:
  pid_t pid_ = -1;
  int data_port_ = 0;
  int file_port_ = 0;
  std::string db_;
  std::string root_;
  std::string log_;
};

// Points a configuration file's data host and file server at `server`.
inline bool WriteServerHosts(const std::string& ini, const TransferServer& server) {
  const std::pair<const char*, const char*> keys[][3] = {
      {{"CWSYS", "CWHostNum"}, {"CWSYS", "CWHost01"}, {"CWSYS", "CWPort01"}},
      {{"FILESRV", "Num"}, {"FILESRV", "Host01"}, {"FILESRV", "Port01"}}};
  const int ports[] = {server.DataPort(), server.FilePort()};
  for (int i = 0; i < 2; ++i) {
    if (!orbe::WriteProfileString(ini, keys[i][0].first, keys[i][0].second, "1") ||
        !orbe::WriteProfileString(ini, keys[i][1].first, keys[i][1].second, "127.0.0.1") ||
        !orbe::WriteProfileString(ini, keys[i][2].first, keys[i][2].second, std::to_string(ports[i]))) {
      return false;
    }
  }
  return true;
}

}  // namespace orbe_test

#endif  // ORBE_TESTS_DATASERVICE_TRANSFER_SERVER_H_
