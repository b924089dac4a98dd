// The module "pygrid": one function per IPyGrid operation, with the script
// object's calling convention (argument checks, GBK texts, empty results
// without a grid), bound by the same row checks as the method table.
#include "script/python_api.h"

#include "script/py_grid_binding.h"

#include <set>

#include "orbe/script/script_ref.h"
#include "script/script_arguments.h"
#include "script/script_binding.h"

namespace orbe::script {
namespace {

IPyGrid* g_current = nullptr;
std::set<IPyGrid*>& LiveGrids() {
  static std::set<IPyGrid*> live;
  return live;
}

// (name, format, result): the rows of the module, in IPyGrid's slot order.
#define ORBE_PYGRID_ROWS(X)                                                                    \
  X(SetDebug, "i", "None")                                                                     \
  X(FetchData, "ssis", "i")                                                                    \
  X(PostLayout, "", "None")                                                                    \
  X(GetRecordCount, "", "i")                                                                   \
  X(GetFieldAsString, "is", "s")                                                               \
  X(GetFieldAsInt, "is", "i")                                                                  \
  X(GetFieldAsDouble, "is", "d")                                                               \
  X(ReleaseReply, "", "None")                                                                  \
  X(RedrawGrid, "", "None")                                                                    \
  X(ClearGrid, "", "None")                                                                     \
  X(SortGrid, "ii", "i")                                                                       \
  X(ResizeZeroWidthColumns, "", "None")                                                        \
  X(SetFixedColumnCount, "i", "i")                                                             \
  X(InsertHead, "siiidiiidiii", "i")                                                           \
  X(InsertHeadSimple, "sii", "i")                                                              \
  X(SetCellText, "iis", "i")                                                                   \
  X(SetCellTextColor, "iisi", "i")                                                             \
  X(SetCellInt, "iii", "i")                                                                    \
  X(SetCellIntColor, "iiii", "i")                                                              \
  X(SetCellDouble, "iid", "i")                                                                 \
  X(SetCellDoubleColor, "iidi", "i")                                                           \
  X(SetCellInt64, "iiL", "i")                                                                  \
  X(SetCellDate, "iii", "i")                                                                   \
  X(UpdateCellDouble, "iid", "i")                                                              \
  X(SetOptionValue, "i", "None")                                                               \
  X(SetFixedRowCount, "i", "i")                                                                \
  X(GetRowCount, "", "i")                                                                      \
  X(GetHeadRowCount, "", "i")                                                                  \
  X(GetDataRowCount, "", "i")                                                                  \
  X(GetCellText, "ii", "s")                                                                    \
  X(GetDataCellText, "ii", "s")                                                                \
  X(FindRow, "is", "i")                                                                        \
  X(HostQuote, "si", "s")                                                                      \
  X(HostQuoteOnMarket, "sii", "s")                                                             \
  X(HostBoardCodes, "s", "s")                                                                  \
  X(HostSecurityText, "si", "s")                                                               \
  X(DebugMessageBox, "s", "None")

#define ORBE_PYGRID_ROW_INFO(name, format, result)                                                   \
  constexpr ScriptMethodInfo kRow_##name{#name, format, result, "", ScriptMethodFamily::kUtility, true}; \
  static_assert(RowFits<&IPyGrid::name>(format, result), #name ": the operation does not fit the row");
ORBE_PYGRID_ROWS(ORBE_PYGRID_ROW_INFO)
#undef ORBE_PYGRID_ROW_INFO

template <auto Fn, const ScriptMethodInfo* Row>
PyObject* GridFunction(PyObject*, PyObject* const* args, Py_ssize_t nargs) {
  static constexpr ScriptArity kArity = ArityOfFormat(Row->format);
  if (!CheckArity(*Row, kArity, nargs)) return nullptr;
  IPyGrid* grid = g_current;
  if (grid == nullptr) {
    // No grid (its loader is gone): the arguments are still checked.
    if (!CheckArguments(*Row, args, nargs)) return nullptr;
    return EmptyResult(Row->result);
  }
  using Traits = FnTraits<decltype(Fn)>;
  return CallTarget<Fn, IPyGrid, typename Traits::Return>(*grid, args, nargs, *Row, typename Traits::Params{});
}

#define ORBE_PYGRID_DEF(name, format, result) \
  {#name, reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(&GridFunction<&IPyGrid::name, &kRow_##name>)), \
   METH_FASTCALL, nullptr},
PyMethodDef kMethods[] = {ORBE_PYGRID_ROWS(ORBE_PYGRID_DEF){nullptr, nullptr, 0, nullptr}};
#undef ORBE_PYGRID_DEF

PyModuleDef kModule = {PyModuleDef_HEAD_INIT, "pygrid", "The grid loader's grid.", -1, kMethods,
                       nullptr, nullptr, nullptr, nullptr};

// Puts the module into sys.modules once per interpreter run.
void EnsureModule() {
  static ScriptRef module;
  const ScriptLock lock;
  if (!lock.running() || module) return;
  PyObject* made = PyModule_Create(&kModule);
  if (made == nullptr) {
    PyErr_Clear();
    return;
  }
  PyObject* modules = PyImport_GetModuleDict();
  if (PyDict_SetItemString(modules, "pygrid", made) != 0) PyErr_Clear();
  module = ScriptRef(made);
}

}  // namespace

void SetCurrentPyGrid(IPyGrid* grid) {
  if (grid != nullptr) {
    LiveGrids().insert(grid);
    EnsureModule();
  }
  g_current = grid;
}

IPyGrid* CurrentPyGrid() { return g_current; }

void ForgetPyGrid(IPyGrid* grid) {
  LiveGrids().erase(grid);
  if (g_current == grid) g_current = nullptr;
}

CurrentPyGridScope::~CurrentPyGridScope() {
  // The grid in use before may have gone during the call.
  g_current = LiveGrids().count(previous_) > 0 ? previous_ : nullptr;
}

}  // namespace orbe::script
