#include "script/python_api.h"

#include "orbe/script/script_ref.h"

#include "script/py_entironment.h"

namespace orbe {

// Admission comes first: while this lock is admitted the interpreter cannot
// be finalised, so taking and giving back its GIL is always safe.
ScriptLock::ScriptLock() {
  if (!Python().Enter()) return;
  state_ = static_cast<int>(PyGILState_Ensure());
  held_ = true;
}

ScriptLock::~ScriptLock() {
  if (!held_) return;
  PyGILState_Release(static_cast<PyGILState_STATE>(state_));
  Python().Leave();
}

ScriptRef::ScriptRef(_object* owned) : object_(owned), run_(owned != nullptr ? CurrentScriptRun() : 0) {}

ScriptRef::ScriptRef(ScriptRef&& other) noexcept : object_(other.object_), run_(other.run_) {
  other.object_ = nullptr;
  other.run_ = 0;
}

ScriptRef& ScriptRef::operator=(ScriptRef&& other) noexcept {
  if (this != &other) {
    reset();
    object_ = other.object_;
    run_ = other.run_;
    other.object_ = nullptr;
    other.run_ = 0;
  }
  return *this;
}

_object* ScriptRef::get() const {
  return object_ != nullptr && run_ != 0 && run_ == CurrentScriptRun() ? object_ : nullptr;
}

_object* ScriptRef::release() {
  _object* const object = get();
  object_ = nullptr;
  run_ = 0;
  return object;
}

void ScriptRef::reset() {
  // A reference of an ended run went with its interpreter.
  if (PyObject* const object = release()) {
    const ScriptLock lock;
    if (lock.running()) Py_DECREF(object);
  }
}

}  // namespace orbe
