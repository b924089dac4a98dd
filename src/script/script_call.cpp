#include "script/python_api.h"

#include "orbe/script/script_call.h"

#include "orbe/script/script_env.h"
#include "script/py_ptr.h"
#include "script/script_function_lookup.h"
#include "script/script_text.h"

namespace orbe {

// Without a running interpreter, or without a module to work on, there is no
// interpreter error to tell: the text stays empty.
ScriptRef ImportScriptModule(const std::string& name, std::string& err) {
  const ScriptLock lock;
  if (!lock.running()) {
    err.clear();
    return ScriptRef();
  }
  const PyPtr text(NewScriptText(name));
  ScriptRef module(text ? PyImport_Import(text.get()) : nullptr);
  if (!module) err = Py_PrintAndGetErr();
  return module;
}

ScriptRef ReloadScriptModule(const ScriptRef& module, std::string& err) {
  const ScriptLock lock;
  if (!lock.running() || !module) {
    err.clear();
    return ScriptRef();
  }
  ScriptRef reloaded(PyImport_ReloadModule(module.get()));
  if (!reloaded) err = Py_PrintAndGetErr();
  return reloaded;
}

PyObject* LookUpScriptFunction(PyObject* module, std::string_view name, std::string& err, std::size_t max_name) {
  PyObject* interned = NewScriptText(name.substr(0, GbkCutLength(name, max_name)));
  // The module's own names are interned: the interned text is found by
  // identity in the type's attribute cache and in the module's dictionary.
  if (interned != nullptr) PyUnicode_InternInPlace(&interned);
  const PyPtr text(interned);
  PyObject* function = text ? PyObject_GetAttr(module, text.get()) : nullptr;
  if (function != nullptr && PyCallable_Check(function) == 0) {
    PyErr_Format(PyExc_TypeError, "'%U' is not callable", text.get());
    Py_CLEAR(function);
  }
  if (function == nullptr) err = Py_PrintAndGetErr();
  return function;
}

ScriptRef GetScriptFunction(const ScriptRef& module, const std::string& name, std::string& err,
                            std::size_t max_name) {
  const ScriptLock lock;
  if (!lock.running() || !module) {
    err.clear();
    return ScriptRef();
  }
  return ScriptRef(LookUpScriptFunction(module.get(), name, err, max_name));
}

bool HasScriptFunction(const ScriptRef& module, const std::string& name, std::size_t max_name) {
  const ScriptLock lock;
  if (!lock.running() || !module) return false;
  const PyPtr text(NewScriptText(CutGbk(name, max_name)));
  const int has = text ? PyObject_HasAttr(module.get(), text.get()) : 0;
  PyErr_Clear();
  return has == 1;
}

void ForgetScriptFolderCaches() {
  const ScriptLock lock;
  if (!lock.running()) return;
  const PyPtr importlib(PyImport_ImportModule("importlib"));
  const PyPtr done(importlib ? PyObject_CallMethod(importlib.get(), "invalidate_caches", nullptr) : nullptr);
  PyErr_Clear();
}

bool LoadScriptFunction(const std::string& module_name, bool reload, ScriptRef& module, ScriptRef& function,
                        std::string& err, std::size_t max_name) {
  const ScriptLock lock;  // one hold for the three steps
  ScriptRef loaded = ImportScriptModule(module_name, err);
  if (loaded && reload) loaded = ReloadScriptModule(loaded, err);
  if (!loaded) return false;
  ScriptRef found = GetScriptFunction(loaded, module_name, err, max_name);
  if (!found) return false;
  module = std::move(loaded);
  function = std::move(found);
  return true;
}

}  // namespace orbe
