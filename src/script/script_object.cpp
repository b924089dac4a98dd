// The "pycontainer" type: one field (the container), a deallocator, and the
// method table as the type's methods. Each method is a fast-call trampoline
// that knows its row; the row parses the arguments, answers the empty result
// without container, and otherwise calls the container's operation.
#include "script/python_api.h"

#include "orbe/script/script_object.h"

#include <array>
#include <new>
#include <utility>

#include "orbe/script/container_fun.h"
#include "orbe/script/freeze_store.h"
#include "orbe/script/script_call.h"
#include "orbe/script/script_env.h"
#include "script/container_data.h"
#include "script/py_ptr.h"
#include "script/running_script.h"
#include "script/script_binding.h"
#include "script/script_function_lookup.h"
#include "script/script_text.h"

namespace orbe {
namespace {

using script::kMethodRows;
using script::MethodRow;

struct PyContainerObject {
  PyObject_HEAD IContainerFun* container;
};

constexpr const char kTypeName[] = "pycontainer";

PyObject* CallRow(PyObject* self, const MethodRow& row, PyObject* const* args, Py_ssize_t nargs) {
  if (nargs < row.arity.minimum || nargs > row.arity.maximum) {
    script::CheckArity(row.info, row.arity, nargs);
    return nullptr;
  }
  IContainerFun* container = reinterpret_cast<PyContainerObject*>(self)->container;
  if (container == nullptr || row.invoke == nullptr) {
    if (!script::CheckArguments(row.info, args, nargs)) return nullptr;
    return script::EmptyResult(row.info.result);
  }
  try {
    return row.invoke(*container, args, nargs, row.info);
  } catch (const std::bad_alloc&) {
    return PyErr_NoMemory();
  } catch (...) {
    PyErr_Format(PyExc_RuntimeError, "%s() failed inside the container", row.info.name.data());
    return nullptr;
  }
}

template <std::size_t I>
PyObject* Trampoline(PyObject* self, PyObject* const* args, Py_ssize_t nargs) {
  return CallRow(self, kMethodRows[I], args, nargs);
}

template <std::size_t... I>
std::array<PyMethodDef, sizeof...(I) + 1> MakeMethodDefs(std::index_sequence<I...>) {
  return {{{kMethodRows[I].info.name.data(),
            reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(&Trampoline<I>)), METH_FASTCALL,
            nullptr}...,
           {nullptr, nullptr, 0, nullptr}}};
}

PyMethodDef* MethodDefs() {
  static std::array<PyMethodDef, kScriptMethodCount + 1> defs =
      MakeMethodDefs(std::make_index_sequence<kScriptMethodCount>{});
  return defs.data();
}

void Dealloc(PyObject* self) {
  PyTypeObject* type = Py_TYPE(self);
  reinterpret_cast<PyContainerObject*>(self)->container = nullptr;
  type->tp_free(self);
  Py_DECREF(type);
}

// The type of the current interpreter run, made on first use.
PyTypeObject* ContainerType() {
  static ScriptRef type;
  if (!type) {
    PyType_Slot slots[] = {{Py_tp_dealloc, reinterpret_cast<void*>(&Dealloc)},
                           {Py_tp_methods, MethodDefs()},
                           {0, nullptr}};
    PyType_Spec spec{kTypeName, sizeof(PyContainerObject), 0,
                     Py_TPFLAGS_DEFAULT | Py_TPFLAGS_DISALLOW_INSTANTIATION, slots};
    type = ScriptRef(PyType_FromSpec(&spec));
  }
  return reinterpret_cast<PyTypeObject*>(type.get());
}

bool IsScriptObject(PyObject* object) {
  return object != nullptr && std::string_view(Py_TYPE(object)->tp_name) == kTypeName;
}

// Calls into scripts nest (a reply callback that sends a subscribed message);
// the freeze store is written when the outermost returns.
thread_local int g_call_depth = 0;

}  // namespace

BoundScriptObject::BoundScriptObject(IContainerFun* container) {
  PyTypeObject* type = ContainerType();
  if (type == nullptr) return;
  auto* object = PyObject_New(PyContainerObject, type);
  if (object == nullptr) return;
  object->container = container;
  object_ = reinterpret_cast<PyObject*>(object);
  if (container != nullptr) ContainerData::Of(*container).bound_objects.push_back(object_);
}

BoundScriptObject::~BoundScriptObject() {
  if (object_ == nullptr) return;
  auto* object = reinterpret_cast<PyContainerObject*>(object_);
  // A container destroyed during the call has already cleared the pointer.
  if (object->container != nullptr) {
    ContainerData::Of(*object->container).ForgetBoundObject(object_);
    object->container = nullptr;
  }
  Py_DECREF(object_);
}

void ClearBoundScriptObject(PyObject* object) {
  if (IsScriptObject(object)) reinterpret_cast<PyContainerObject*>(object)->container = nullptr;
}

IContainerFun* ContainerOfScriptObject(PyObject* object) {
  const ScriptLock lock;
  if (!lock.running() || !IsScriptObject(object)) return nullptr;
  return reinterpret_cast<PyContainerObject*>(object)->container;
}

bool CallContainerFunction(const ScriptRef& module, const std::string& function, IContainerFun& container,
                           const std::vector<std::string>& texts, std::string& error) {
  const ScriptLock lock;
  if (!lock.running() || !module) {
    error = "no script is loaded";
    return false;
  }
  // The call may load another script into the caller, dropping its module:
  // this reference keeps it for the call.
  const PyPtr held(Py_NewRef(module.get()));
  ++g_call_depth;
  bool ok = false;
  {
    const RunningScriptScope running;
    const PyPtr callable(LookUpScriptFunction(held.get(), function, error));
    if (callable) {
      const BoundScriptObject object(&container);
      PyPtr args(object.get() != nullptr ? PyTuple_New(static_cast<Py_ssize_t>(texts.size() + 1)) : nullptr);
      bool built = args != nullptr;
      if (built) PyTuple_SET_ITEM(args.get(), 0, Py_NewRef(object.get()));
      for (std::size_t i = 0; built && i < texts.size(); ++i) {
        PyObject* text = NewScriptText(texts[i]);
        built = text != nullptr;
        if (built) PyTuple_SET_ITEM(args.get(), static_cast<Py_ssize_t>(i + 1), text);
      }
      const PyPtr result(built ? PyObject_CallObject(callable.get(), args.get()) : nullptr);
      ok = result != nullptr;
      if (!ok) error = Py_PrintAndGetErr();
    }
  }
  if (--g_call_depth == 0) FreezeStore::Module().Flush();
  return ok;
}

}  // namespace orbe
