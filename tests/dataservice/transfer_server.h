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
#include <string>
#include <vector>

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

  // False when the server did not come up with both ports.
  bool Start(const std::string& folder) {
    const std::string program = std::string(ORBE_TEST_BIN_DIR) + "/orbe-dataserver";
    db_ = folder + "market.db";
    root_ = folder + "files";
    const std::string make = program + " --make-sample " + db_ + " --scale 0.002 >/dev/null 2>&1";
    if (!std::filesystem::exists(db_) && std::system(make.c_str()) != 0) return false;
    std::vector<std::string> arguments = {program, "--db", db_, "--port", "0", "--file-port", "0",
                                          "--file-root", root_, "--log-level", "warn"};
    int out[2];
    if (::pipe(out) != 0) return false;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::prctl(PR_SET_PDEATHSIG, SIGKILL);
      ::dup2(out[1], STDOUT_FILENO);
      ::close(out[0]);
      ::close(out[1]);
      std::vector<char*> argv;
      for (std::string& argument : arguments) argv.push_back(argument.data());
      argv.push_back(nullptr);
      ::execv(program.c_str(), argv.data());
      ::_exit(127);
    }
    ::close(out[1]);
    FILE* stream = ::fdopen(out[0], "r");
    char first[256] = {};
    char second[256] = {};
    const bool got = std::fgets(first, sizeof first, stream) && std::fgets(second, sizeof second, stream);
    std::fclose(stream);
    unsigned data = 0;
    unsigned files = 0;
    if (!got || std::sscanf(first, "listening on 127.0.0.1:%u", &data) != 1 ||
        std::sscanf(second, "file server listening on 127.0.0.1:%u", &files) != 1) {
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
};

}  // namespace orbe_test

#endif  // ORBE_TESTS_DATASERVICE_TRANSFER_SERVER_H_
