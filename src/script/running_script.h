// Marks the span in which a thread runs script code for a container (a call
// of one of its functions, the import of its module), so that a watchdog on
// another thread can stop a script that does not return (StopRunningScript).
#ifndef ORBE_SCRIPT_RUNNING_SCRIPT_H_
#define ORBE_SCRIPT_RUNNING_SCRIPT_H_

namespace orbe {

// Constructed and destroyed with the interpreter held; scopes nest.
class RunningScriptScope {
 public:
  RunningScriptScope();
  ~RunningScriptScope();
  RunningScriptScope(const RunningScriptScope&) = delete;
  RunningScriptScope& operator=(const RunningScriptScope&) = delete;
};

}  // namespace orbe

#endif  // ORBE_SCRIPT_RUNNING_SCRIPT_H_
