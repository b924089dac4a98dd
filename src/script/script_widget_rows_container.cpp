// The container rows of the method table, bound to the container's operations.
#include "script/python_api.h"

#include "orbe/widgets/kvx_container.h"
#include "script/script_binding.h"
#include "script/script_widget_rows.h"

namespace orbe::script {
namespace {

// SetWndTabList takes a list (or any sequence) of widget ids; an empty list
// clears the tab order. An item that is not an int raises TypeError.
bool SetWndTabListOf(CKVXContainer& container, _object* list) {
  PyObject* items = PySequence_Fast(list, "SetWndTabList() argument must be a list of widget ids");
  if (items == nullptr) return false;
  std::vector<int> ids;
  const Py_ssize_t count = PySequence_Fast_GET_SIZE(items);
  for (Py_ssize_t i = 0; i < count; ++i) {
    int id = 0;
    if (!ReadIntArgument(PySequence_Fast_GET_ITEM(items, i), id, ArgumentPlace{"SetWndTabList", 0, '-'})) {
      Py_DECREF(items);
      return false;
    }
    ids.push_back(id);
  }
  Py_DECREF(items);
  return container.SetWndTabList(ids);
}

// The script's DeleteWnd returns None whether or not the id was known.
void DeleteWndOf(CKVXContainer& container, int id) { container.DeleteWnd(id); }

}  // namespace

#define ORBE_SCRIPT_METHOD ORBE_WIDGET_ROWS_DEFINE
#include "script/script_widget_rows_container.inc"
#undef ORBE_SCRIPT_METHOD

}  // namespace orbe::script
