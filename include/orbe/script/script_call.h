// Loading a script module and calling one of its functions. Each helper takes
// the interpreter lock itself and turns an interpreter error into its text
// (Py_PrintAndGetErr) so no error stays pending between calls.
#ifndef ORBE_SCRIPT_SCRIPT_CALL_H_
#define ORBE_SCRIPT_SCRIPT_CALL_H_

#include <cstddef>
#include <string>

#include "orbe/script/script_ref.h"

namespace orbe {

// Function names are cut to this many bytes before the lookup.
inline constexpr std::size_t kMaxScriptFunctionName = 250;

// Imports the module by name from sys.path; empty with `err` set on failure.
ScriptRef ImportScriptModule(const std::string& name, std::string& err);
// Re-executes an imported module's file so an edited script takes effect.
ScriptRef ReloadScriptModule(const ScriptRef& module, std::string& err);
// The callable attribute `name` (cut to `max_name` bytes) of a module.
ScriptRef GetScriptFunction(const ScriptRef& module, const std::string& name, std::string& err,
                            std::size_t max_name = kMaxScriptFunctionName);
// Whether the module has an attribute `name` (cut as above); no error stays.
bool HasScriptFunction(const ScriptRef& module, const std::string& name,
                       std::size_t max_name = kMaxScriptFunctionName);
// Makes the import system look at the script folders afresh (a file added
// since the last import is found).
void ForgetScriptFolderCaches();
// Imports a module and fetches its function named like the module.
bool LoadScriptFunction(const std::string& module_name, bool reload, ScriptRef& module, ScriptRef& function,
                        std::string& err, std::size_t max_name = kMaxScriptFunctionName);

}  // namespace orbe

#endif  // ORBE_SCRIPT_SCRIPT_CALL_H_
