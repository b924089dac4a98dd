// A new reference held for the span of one call, inside a held interpreter.
// Longer-lived references are orbe::ScriptRef (orbe/script/script_ref.h).
#ifndef ORBE_SCRIPT_PY_PTR_H_
#define ORBE_SCRIPT_PY_PTR_H_

#include "script/python_api.h"

#include <memory>

namespace orbe {

struct PyDecRef {
  void operator()(PyObject* object) const { Py_XDECREF(object); }
};
using PyPtr = std::unique_ptr<PyObject, PyDecRef>;

}  // namespace orbe

#endif  // ORBE_SCRIPT_PY_PTR_H_
