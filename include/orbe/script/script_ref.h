// Owned references to interpreter objects, and the lock that every thread
// holds while it uses the interpreter. No Python header is needed to hold one.
#ifndef ORBE_SCRIPT_SCRIPT_REF_H_
#define ORBE_SCRIPT_SCRIPT_REF_H_

#include <cstdint>

struct _object;  // PyObject

namespace orbe {

// Holds the interpreter for the calling thread (its GIL). Nests; any thread
// may take it, so the indicator catalogue can load on a worker thread while
// the window thread pumps messages. Does nothing while the interpreter is
// stopped; check running() before touching interpreter objects.
class ScriptLock {
 public:
  ScriptLock();
  ~ScriptLock();
  ScriptLock(const ScriptLock&) = delete;
  ScriptLock& operator=(const ScriptLock&) = delete;

  bool running() const { return held_; }

 private:
  bool held_ = false;
  int state_ = 0;  // PyGILState_STATE
};

// One strong reference. It remembers the interpreter run it came from: after
// a stop (and a new start) it is dropped without touching the interpreter.
class ScriptRef {
 public:
  ScriptRef() = default;
  // Takes over a new reference (null allowed). Needs the interpreter held.
  explicit ScriptRef(_object* owned);
  ~ScriptRef() { reset(); }
  ScriptRef(ScriptRef&& other) noexcept;
  ScriptRef& operator=(ScriptRef&& other) noexcept;
  ScriptRef(const ScriptRef&) = delete;
  ScriptRef& operator=(const ScriptRef&) = delete;

  // Null when empty or from an interpreter run that has ended.
  _object* get() const;
  explicit operator bool() const { return get() != nullptr; }
  // Gives the reference back to the caller; null when stale.
  _object* release();
  void reset();

 private:
  _object* object_ = nullptr;
  std::uint64_t run_ = 0;
};

}  // namespace orbe

#endif  // ORBE_SCRIPT_SCRIPT_REF_H_
