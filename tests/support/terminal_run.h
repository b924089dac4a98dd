// Runs orbe-terminal of the build with arguments (a shell command line) and
// collects its standard output and error.
#ifndef ORBE_TESTS_SUPPORT_TERMINAL_RUN_H_
#define ORBE_TESTS_SUPPORT_TERMINAL_RUN_H_

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace orbe_test {

struct RunResult {
  int status = -1;  // the exit status (124: stopped after the time limit); -1 when it did not exit
  std::string out;
};

// Every run is bounded: a terminal that hangs is stopped after two minutes.
inline RunResult RunTerminal(const std::string& arguments) {
  const std::string command =
      "timeout -k 5 120 " + std::string(ORBE_TEST_BIN_DIR) + "/orbe-terminal " + arguments + " 2>&1";
  RunResult result;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return result;
  char chunk[4096];
  for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) result.out.append(chunk, n);
  const int status = ::pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

}  // namespace orbe_test

#endif  // ORBE_TESTS_SUPPORT_TERMINAL_RUN_H_
