// The invokers of the widget rows of the method table, one per row, defined
// family by family in script_widget_rows_*.cpp (each file checks its rows
// against the CKVXContainer operations when it is compiled).
#ifndef ORBE_SCRIPT_SCRIPT_WIDGET_ROWS_H_
#define ORBE_SCRIPT_SCRIPT_WIDGET_ROWS_H_

#include "script/python_api.h"

#include "orbe/script/container_fun.h"
#include "orbe/script/script_methods.h"

namespace orbe::script {

#define ORBE_WIDGET_INVOKER_DECLARATION(name) \
  PyObject* WidgetInvoke_##name(IContainerFun& owner, PyObject* const* args, Py_ssize_t nargs, \
                                const ScriptMethodInfo& row);
#define ORBE_DECLARE_WIDGET(name) ORBE_WIDGET_INVOKER_DECLARATION(name)
#define ORBE_DECLARE_ADAPTER(name) ORBE_WIDGET_INVOKER_DECLARATION(name)
#define ORBE_DECLARE_OWN(name)
#define ORBE_DECLARE_MEMBER(name)
#define ORBE_DECLARE_LOOKUP_TEXT(name)
#define ORBE_DECLARE_LOOKUP_LIST(name)
#define ORBE_DECLARE_LOOKUP_BOND(name)
#define ORBE_DECLARE_HOST_BOARDS(name)
#define ORBE_DECLARE_HOST_BOARD(name)
#define ORBE_DECLARE_PENDING(name)
#define ORBE_SCRIPT_METHOD(name, format, result, display, family, binder, arg) ORBE_DECLARE_##binder(name)
#include "script/script_method_table.inc"
#undef ORBE_SCRIPT_METHOD

// A widget row's definition: the compile-time check of the row against its
// operation, then the invoker. WIDGET rows call the container operation of
// the same name, ADAPTER rows the named function over the container.
#define ORBE_WIDGET_ROW_DEFINITION(name, format, result, fn)                                            \
  static_assert(RowFits<fn>(format, result), #name ": the operation's parameters or result do not fit the row"); \
  PyObject* WidgetInvoke_##name(IContainerFun& owner, PyObject* const* args, Py_ssize_t nargs,          \
                                const ScriptMethodInfo& row) {                                           \
    return Invoke<fn>(owner, args, nargs, row);                                                          \
  }
#define ORBE_DEFINE_WIDGET(name, format, result, arg) ORBE_WIDGET_ROW_DEFINITION(name, format, result, &CKVXContainer::name)
#define ORBE_DEFINE_ADAPTER(name, format, result, fn) ORBE_WIDGET_ROW_DEFINITION(name, format, result, &fn)
#define ORBE_DEFINE_PENDING(name, format, result, arg)
#define ORBE_WIDGET_ROWS_DEFINE(name, format, result, display, family, binder, arg) \
  ORBE_DEFINE_##binder(name, format, result, arg)

}  // namespace orbe::script

#endif  // ORBE_SCRIPT_SCRIPT_WIDGET_ROWS_H_
