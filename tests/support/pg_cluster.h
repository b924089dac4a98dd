// A PostgreSQL cluster of a test's own: initdb into a temporary folder, a
// server on a free loopback port (no socket file), stopped and removed with
// the object. Run as root, the PostgreSQL programs (which refuse root) run
// as the "postgres" user of Debian's package, or as "nobody".
#ifndef ORBE_TESTS_SUPPORT_PG_CLUSTER_H_
#define ORBE_TESTS_SUPPORT_PG_CLUSTER_H_

#include <arpa/inet.h>
#include <fcntl.h>
#include <grp.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace orbe_test {

class PgCluster {
 public:
  // Starts at once; Ready() tells whether it came up, Problem() why not.
  PgCluster() { Start(); }
  ~PgCluster() { StopAndRemove(); }
  PgCluster(const PgCluster&) = delete;
  PgCluster& operator=(const PgCluster&) = delete;

  bool Ready() const { return ready_; }
  const std::string& Problem() const { return problem_; }
  std::uint16_t Port() const { return port_; }
  // A libpq URI of a database of the cluster, as the test's superuser.
  std::string Uri(const std::string& database) const {
    return "postgresql://orbe@127.0.0.1:" + std::to_string(port_) + "/" + database;
  }

 private:
  static std::string BinaryFolder() {
    std::vector<std::filesystem::path> found;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/usr/lib/postgresql", error)) {
      if (std::filesystem::exists(entry.path() / "bin" / "initdb")) found.push_back(entry.path() / "bin");
    }
    if (found.empty()) return {};
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
      return std::stoi(a.parent_path().filename()) < std::stoi(b.parent_path().filename());
    });
    return found.back().string();
  }

  static std::uint16_t FreePort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    std::uint16_t port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
      port = ntohs(address.sin_port);
    }
    ::close(fd);
    return port;
  }

  // Runs a PostgreSQL program, as the unprivileged user when we are root;
  // its output goes to the cluster's log. True when it exits with 0.
  bool RunAs(std::vector<std::string> arguments) const {
    const pid_t child = ::fork();
    if (child == 0) {
      const int log = ::open(log_.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
      ::dup2(log, STDOUT_FILENO);
      ::dup2(log, STDERR_FILENO);
      if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(gid_) != 0 || ::setuid(uid_) != 0)) {
        ::_exit(126);
      }
      std::vector<char*> argv;
      for (std::string& argument : arguments) argv.push_back(argument.data());
      argv.push_back(nullptr);
      ::execv(argv[0], argv.data());
      ::_exit(127);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }

  bool Fail(const std::string& what) {
    std::ifstream log(log_);
    std::stringstream text;
    text << log.rdbuf();
    problem_ = what + "\n" + text.str();
    return false;
  }

  bool Start() {
    const std::string bin = BinaryFolder();
    if (bin.empty()) return Fail("no PostgreSQL server programs under /usr/lib/postgresql (make deps)");
    folder_ = (std::filesystem::temp_directory_path() / ("orbe_pg_" + std::to_string(::getpid()))).string();
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    log_ = folder_ + "/log";
    if (::geteuid() == 0) {
      const passwd* user = ::getpwnam("postgres");
      if (user == nullptr) user = ::getpwnam("nobody");
      if (user == nullptr) return Fail("running as root, and no user to run PostgreSQL as");
      uid_ = user->pw_uid;
      gid_ = user->pw_gid;
      if (::chown(folder_.c_str(), uid_, gid_) != 0) return Fail("cannot hand the folder to the PostgreSQL user");
    }
    const std::string data = folder_ + "/data";
    // SQL_ASCII and C: the encoding and collation the data server needs.
    if (!RunAs({bin + "/initdb", "-D", data, "-U", "orbe", "-A", "trust", "-E", "SQL_ASCII", "--locale=C",
                "--no-sync", "--no-instructions"})) {
      return Fail("initdb failed");
    }
    for (int attempt = 0; attempt < 3 && !ready_; ++attempt) {
      port_ = FreePort();
      const std::string settings = "-c listen_addresses=127.0.0.1 -p " + std::to_string(port_) +
                                   " -c unix_socket_directories= -c fsync=off -c synchronous_commit=off"
                                   " -c full_page_writes=off -c shared_buffers=32MB -c max_connections=200";
      ready_ = RunAs({bin + "/pg_ctl", "-D", data, "-o", settings, "-l", folder_ + "/server.log", "-w", "-t", "60",
                      "start"});
    }
    pg_ctl_ = bin + "/pg_ctl";
    return ready_ || Fail("pg_ctl start failed");
  }

  void StopAndRemove() {
    if (ready_) RunAs({pg_ctl_, "-D", folder_ + "/data", "-m", "immediate", "-w", "stop"});
    ready_ = false;
    if (!folder_.empty()) {
      std::error_code ignored;
      std::filesystem::remove_all(folder_, ignored);
    }
  }

  std::string folder_;
  std::string log_;
  std::string pg_ctl_;
  uid_t uid_ = 0;
  gid_t gid_ = 0;
  std::uint16_t port_ = 0;
  bool ready_ = false;
  std::string problem_;
};

}  // namespace orbe_test

#endif  // ORBE_TESTS_SUPPORT_PG_CLUSTER_H_
