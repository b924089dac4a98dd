#include "script/python_api.h"

#include "orbe/script/script_call.h"

#include <cstdint>
#include <string>
#include <unordered_map>

#include "orbe/script/script_env.h"
#include "script/py_entironment.h"
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

namespace {

// The names of the functions called in this run of the interpreter, interned
// (so found by identity in the type's attribute cache and the module's
// dictionary) and kept: an event calls the same few names again and again.
// Guarded by the interpreter lock; names of an ended run went with it and
// are never touched again.
struct CalledNames {
  static constexpr std::size_t kMost = 512;
  std::uint64_t run = 0;
  std::unordered_map<std::string, PyObject*> names;
};

// A new reference to the interned name; null with the interpreter error set.
PyObject* CalledName(std::string_view name) {
  static CalledNames called;
  if (called.run != CurrentScriptRun()) called = CalledNames{CurrentScriptRun(), {}};
  const std::string key(name);
  if (const auto found = called.names.find(key); found != called.names.end()) return Py_NewRef(found->second);
  PyObject* text = NewScriptText(name);
  if (text == nullptr) return nullptr;
  PyUnicode_InternInPlace(&text);
  if (called.names.size() < CalledNames::kMost) called.names.emplace(key, Py_NewRef(text));
  return text;
}

}  // namespace

PyObject* LookUpScriptFunction(PyObject* module, std::string_view name, std::string& err, std::size_t max_name) {
  const PyPtr text(CalledName(name.substr(0, GbkCutLength(name, max_name))));
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
