// The interpreter-side helpers of the logic evaluator: the check of a
// scheme's logical expression and the loading of its generated file. They
// are made once per interpreter run. The interpreter must be held.
#ifndef ORBE_INDICATORS_LOGIC_SCRIPT_HELPERS_H_
#define ORBE_INDICATORS_LOGIC_SCRIPT_HELPERS_H_

#include "script/python_api.h"

#include <string>

namespace orbe {

// Scheme files are shared between users and the expression is pasted into
// generated code that runs on the window thread, so it must be a plain
// formula that answers at once: the names param1..param<count>, True, False,
// numbers, boolean, comparison and arithmetic operators without powers
// (nested at most 100 deep), parentheses and calls of a few math functions,
// in printable ASCII on one line of at most 8192 characters
// (docs/indicators.md lists them). Anything else is refused like a syntax error.
bool IsAllowedLogicExpression(const std::string& expression, int count);

// Executes the file at `path` as a new module `name` (not entered in
// sys.modules, so repeated compiles leave nothing behind). New reference, or
// null with the interpreter error pending.
PyObject* LoadModuleFromFile(const std::string& name, const std::string& path);

}  // namespace orbe

#endif  // ORBE_INDICATORS_LOGIC_SCRIPT_HELPERS_H_
