// Looking up a script function with the interpreter already held: the calls
// of one event take the interpreter once and do their steps inside it.
#ifndef ORBE_SCRIPT_SCRIPT_FUNCTION_LOOKUP_H_
#define ORBE_SCRIPT_SCRIPT_FUNCTION_LOOKUP_H_

#include "script/python_api.h"

#include <cstddef>
#include <string>
#include <string_view>

#include "orbe/script/script_call.h"

namespace orbe {

// The callable attribute `name` (cut to `max_name` bytes) of `module`, a new
// reference; null with `err` holding the interpreter's error text.
PyObject* LookUpScriptFunction(PyObject* module, std::string_view name, std::string& err,
                               std::size_t max_name = kMaxScriptFunctionName);

}  // namespace orbe

#endif  // ORBE_SCRIPT_SCRIPT_FUNCTION_LOOKUP_H_
