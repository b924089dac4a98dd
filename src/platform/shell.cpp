#include "orbe/platform/shell.h"

#include <cstdint>
#include <cstdio>
#include <deque>
#include <mutex>
#include <utility>

#include "orbe/platform/text.h"
#include "platform/no_destructor.h"
#include "platform/replaceable_handler.h"

namespace orbe {
namespace {

constexpr std::size_t kRecordedRequests = 64;

int RecordAndPrint(const ShellRequest& request);

struct ShellState {
  ReplaceableHandler<ShellExecuteHandler> handler{RecordAndPrint};
  std::mutex mutex;  // guards the record
  std::deque<ShellRequest> recorded;
};

ShellState& State() {
  static NoDestructor<ShellState> state;
  return *state.get();
}

int RecordAndPrint(const ShellRequest& request) {
  {
    ShellState& state = State();
    const std::lock_guard lock(state.mutex);
    state.recorded.push_back(request);
    if (state.recorded.size() > kRecordedRequests) state.recorded.pop_front();
  }
  std::string line = "[" + GbkToUtf8(request.operation) + "] " + GbkToUtf8(request.file);
  if (!request.parameters.empty()) line += " " + GbkToUtf8(request.parameters);
  line += "\n";
  std::fputs(line.c_str(), stderr);
  std::fflush(stderr);
  return kShellExecuteDone;
}

std::string TextOf(LPCSTR text) { return text != nullptr ? text : ""; }

}  // namespace

ShellExecuteHandler SetShellExecuteHandler(ShellExecuteHandler handler) {
  return State().handler.Set(std::move(handler));
}

std::vector<ShellRequest> RecordedShellRequests() {
  ShellState& state = State();
  const std::lock_guard lock(state.mutex);
  return {state.recorded.begin(), state.recorded.end()};
}

void ClearRecordedShellRequests() {
  ShellState& state = State();
  const std::lock_guard lock(state.mutex);
  state.recorded.clear();
}

}  // namespace orbe

HMODULE ShellExecuteA(HWND hwnd, LPCSTR operation, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                      int show_command) {
  int result = SE_ERR_FNF;
  if (file != nullptr && file[0] != '\0') {
    const orbe::ShellRequest request{hwnd,
                                     operation != nullptr ? operation : "open",
                                     file,
                                     orbe::TextOf(parameters),
                                     orbe::TextOf(directory),
                                     show_command};
    // Called outside the lock: a handler may show boxes or open more.
    result = orbe::State().handler.Get()(request);
  }
  return reinterpret_cast<HMODULE>(static_cast<std::intptr_t>(result));
}
