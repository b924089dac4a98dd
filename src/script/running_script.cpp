#include "script/python_api.h"

#include "script/running_script.h"

#include "orbe/script/script_env.h"
#include "orbe/script/script_ref.h"

namespace orbe {
namespace {

// Both change only with the interpreter held, so a holder sees them settled.
unsigned long g_thread = 0;
int g_depth = 0;

}  // namespace

RunningScriptScope::RunningScriptScope() {
  if (g_depth++ == 0) g_thread = PyThread_get_thread_ident();
}

RunningScriptScope::~RunningScriptScope() { --g_depth; }

}  // namespace orbe

int StopRunningScript() {
  const orbe::ScriptLock lock;
  if (!lock.running() || orbe::g_depth == 0) return 0;
  return PyThreadState_SetAsyncExc(orbe::g_thread, PyExc_TimeoutError) > 0 ? 1 : 0;
}
