// Opening documents and addresses with the user's programs. Headless there
// is nobody's desktop to open them on: a replaceable handler receives each
// request, as with message boxes. The default handler records the request
// and prints what would open; a GUI or the browser front end opens it.
#ifndef ORBE_PLATFORM_SHELL_H_
#define ORBE_PLATFORM_SHELL_H_

#include <functional>
#include <string>
#include <vector>

#include "orbe/platform/types.h"

// Results of ShellExecuteA; values above 32 mean success.
constexpr int SE_ERR_FNF = 2;
constexpr int SE_ERR_ACCESSDENIED = 5;
constexpr int SE_ERR_NOASSOC = 31;
constexpr int kShellExecuteDone = 42;

// The request goes to the handler with operation "open" when null; a null or
// empty file is refused with SE_ERR_FNF before any handler sees it. The
// result is the handler's, cast to the instance handle the platform returns.
HMODULE ShellExecuteA(HWND hwnd, LPCSTR operation, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                      int show_command);

namespace orbe {

// Texts are GBK bytes as the module passed them.
struct ShellRequest {
  HWND hwnd = nullptr;
  std::string operation;
  std::string file;
  std::string parameters;
  std::string directory;
  int show_command = 0;
};

// Returns the ShellExecuteA result (> 32: opened).
using ShellExecuteHandler = std::function<int(const ShellRequest& request)>;

// Replaces the handler for the whole process and returns the previous one. An
// empty function restores the default: it keeps the request (the last 64,
// see RecordedShellRequests), writes "[open] file parameters" in UTF-8 to
// stderr and answers kShellExecuteDone, since the request reached the user.
ShellExecuteHandler SetShellExecuteHandler(ShellExecuteHandler handler);

// What the default handler received, oldest first; emptied by Clear.
std::vector<ShellRequest> RecordedShellRequests();
void ClearRecordedShellRequests();

}  // namespace orbe

#endif  // ORBE_PLATFORM_SHELL_H_
