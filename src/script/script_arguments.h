// The script object's calling convention at the level of one argument or one
// value: reading each format letter as the interpreter's argument parser
// would (same checks, same kinds of errors), and the empty result of a shape.
// The interpreter is held by every caller.
#ifndef ORBE_SCRIPT_SCRIPT_ARGUMENTS_H_
#define ORBE_SCRIPT_SCRIPT_ARGUMENTS_H_

#include "script/python_api.h"

#include <cstdint>
#include <string>
#include <string_view>

#include "orbe/script/script_methods.h"

namespace orbe::script {

// Where an argument stands, for error texts, and its display mark.
struct ArgumentPlace {
  std::string_view method;
  int index = 0;   // from 0
  char mark = '-';  // '-' unchanged, 'F' _F, 'N' _FFONT
};

inline char DisplayMark(std::string_view display, Py_ssize_t index) {
  return index >= 0 && static_cast<std::size_t>(index) < display.size() ? display[static_cast<std::size_t>(index)]
                                                                          : '-';
}

// Each gives false with the interpreter error set.
bool ReadIntArgument(PyObject* arg, int& value, const ArgumentPlace& place);
bool ReadInt64Argument(PyObject* arg, std::int64_t& value, const ArgumentPlace& place);
bool ReadDoubleArgument(PyObject* arg, double& value, const ArgumentPlace& place);
// A byte string of one byte, or a str of one character that is one byte in GBK.
bool ReadCharArgument(PyObject* arg, char& value, const ArgumentPlace& place);
// A str encoded to GBK ('?' for what GBK lacks), without embedded zero
// bytes; then through the place's display conversion.
bool ReadTextArgument(PyObject* arg, std::string& value, const ArgumentPlace& place);

// TypeError unless the count fits the row's format (whose arity is given).
bool CheckArity(const ScriptMethodInfo& row, const ScriptArity& arity, Py_ssize_t nargs);
// Every argument readable by its letter (what a call without container checks).
bool CheckArguments(const ScriptMethodInfo& row, PyObject* const* args, Py_ssize_t nargs);

// 0, "", 0.0, None, [] or a tuple of these, by the shape.
PyObject* EmptyResult(std::string_view shape);
// A str decoded from GBK.
PyObject* MakeText(const std::string& gbk);
// A tuple that takes over the items; null (the items dropped) if one is null.
PyObject* TupleOf(PyObject** items, std::size_t count);

}  // namespace orbe::script

#endif  // ORBE_SCRIPT_SCRIPT_ARGUMENTS_H_
