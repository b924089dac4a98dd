// Runs orbe-terminal as a user would from a shell and keeps what it printed.
#ifndef ORBE_TESTS_SUPPORT_TERMINAL_RUN_H_
#define ORBE_TESTS_SUPPORT_TERMINAL_RUN_H_

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace orbe_test {

struct TerminalRun {
  int status = -1;  // the exit status; 124 when it had to be stopped
  std::string out;  // standard output and error together
};

// Every run is bounded: a terminal that hangs is stopped after two minutes.
inline TerminalRun RunTerminal(const std::string& arguments) {
  const std::string command =
      "timeout -k 5 120 " + std::string(ORBE_TEST_BIN_DIR) + "/orbe-terminal " + arguments + " 2>&1";
  TerminalRun result;
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
