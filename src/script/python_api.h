// The CPython embedding interface. Included first in every file that calls
// the interpreter, as CPython asks, and only by code of liborbe.
#ifndef ORBE_SCRIPT_PYTHON_API_H_
#define ORBE_SCRIPT_PYTHON_API_H_

#define PY_SSIZE_T_CLEAN
#include <Python.h>

#endif  // ORBE_SCRIPT_PYTHON_API_H_
