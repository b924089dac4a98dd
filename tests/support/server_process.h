// Starts the real orbe-dataserver as a child process and reads the lines it
// prints once it listens ("listening on 127.0.0.1:PORT", then the file
// server's line when one was asked for).
#ifndef ORBE_TESTS_SUPPORT_SERVER_PROCESS_H_
#define ORBE_TESTS_SUPPORT_SERVER_PROCESS_H_

#include <sys/prctl.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

namespace orbe_test {

struct ServerProcess {
  pid_t pid = -1;                  // -1 when it could not be started
  std::vector<std::string> lines;  // the first lines it printed, without line ends
};

// arguments follow the program name; stderr goes to errorFile when it is not
// empty. The child dies with the test.
// Any program of the build's bin folder, started the same way.
inline ServerProcess SpawnProgram(const std::string& name, std::vector<std::string> arguments,
                                  const std::string& errorFile, int lineCount) {
  const std::string program = std::string(ORBE_TEST_BIN_DIR) + "/" + name;
  arguments.insert(arguments.begin(), program);
  ServerProcess process;
  int out[2];
  if (::pipe(out) != 0) return process;
  process.pid = ::fork();
  if (process.pid == 0) {
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    ::dup2(out[1], STDOUT_FILENO);
    if (!errorFile.empty()) {
      if (std::FILE* log = std::fopen(errorFile.c_str(), "w")) ::dup2(::fileno(log), STDERR_FILENO);
    }
    ::close(out[0]);
    ::close(out[1]);
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  ::close(out[1]);
  std::FILE* stream = ::fdopen(out[0], "r");
  char line[256] = {};
  while (static_cast<int>(process.lines.size()) < lineCount && std::fgets(line, sizeof line, stream) != nullptr) {
    std::string text(line);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    process.lines.push_back(text);
  }
  std::fclose(stream);
  return process;
}

inline ServerProcess SpawnDataServer(std::vector<std::string> arguments, const std::string& errorFile,
                                     int lineCount) {
  return SpawnProgram("orbe-dataserver", std::move(arguments), errorFile, lineCount);
}

}  // namespace orbe_test

#endif  // ORBE_TESTS_SUPPORT_SERVER_PROCESS_H_
