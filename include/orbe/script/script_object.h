// The script object ("pycontainer"): what a script function of a container
// receives as its first argument. A fresh object is made for each call into
// the script and loses its container when the call returns, so an object a
// script keeps answers every method with its empty result.
#ifndef ORBE_SCRIPT_SCRIPT_OBJECT_H_
#define ORBE_SCRIPT_SCRIPT_OBJECT_H_

#include <string>
#include <vector>

#include "orbe/script/script_ref.h"

struct _object;
class IContainerFun;

namespace orbe {

// A script object bound to a container for the span of one call. Needs the
// interpreter held (ScriptLock) for its whole life.
class BoundScriptObject {
 public:
  explicit BoundScriptObject(IContainerFun* container);
  // Clears the container pointer and drops this reference.
  ~BoundScriptObject();
  BoundScriptObject(const BoundScriptObject&) = delete;
  BoundScriptObject& operator=(const BoundScriptObject&) = delete;

  // Null when the object could not be made (interpreter error pending).
  _object* get() const { return object_; }

 private:
  _object* object_ = nullptr;
};

// Calls module.function(object, texts...) with a fresh object bound to the
// container; the result is dropped. False when the function is missing, not
// callable or raised; `error` then holds the interpreter's error text. When
// the outermost such call returns, a changed freeze store is written.
// The function keeps its own reference to `module`: the call may replace the
// caller's.
bool CallContainerFunction(const ScriptRef& module, const std::string& function, IContainerFun& container,
                           const std::vector<std::string>& texts, std::string& error);

// The container of a script object, or null when the object is of another
// type or has lost its container.
IContainerFun* ContainerOfScriptObject(_object* object);

}  // namespace orbe

#endif  // ORBE_SCRIPT_SCRIPT_OBJECT_H_
