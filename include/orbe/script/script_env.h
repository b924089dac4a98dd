// The embedded script environment: one Python interpreter per process, shared
// by script containers, the grid loader and the indicator calculations. It
// starts when the module is loaded; the host may stop and start it again.
// Texts cross as Python str decoded from GBK and are encoded back to GBK.
#ifndef ORBE_SCRIPT_SCRIPT_ENV_H_
#define ORBE_SCRIPT_SCRIPT_ENV_H_

#include <string>

extern "C" {

// Starts the interpreter unless it runs; its standard error goes to the file
// "pyerr" in the private directory (the current directory while none is set).
void InitScriptEvn();
// Stops the interpreter if it runs. References taken before become inert.
void UnInitScriptEvn();

// Adds a directory to sys.path once: a trailing separator and letter case do
// not make another entry. The entry keeps the bytes and case it was given.
void AddPyScriptPath(const std::string& path);
// Removes a directory that AddPyScriptPath added, in any of its spellings.
void DelPyScriptPath(const std::string& path);

// The traceback of the pending script error of the calling thread, one
// "\r\n"-terminated line per line, GBK; the error is cleared. "" when none.
std::string Py_PrintAndGetErr();

// From any thread: the script code a container is running now (one of its
// functions, or its module being loaded) raises TimeoutError at its next
// line; a script waiting inside a system call notices it when the call
// returns. 1 when a script was running, else 0 (nothing is left pending).
int StopRunningScript();

}  // extern "C"

namespace orbe {

// True while the interpreter runs (what IsCBaseEnvInit reports).
bool ScriptEnvironmentStarted();

}  // namespace orbe

#endif  // ORBE_SCRIPT_SCRIPT_ENV_H_
