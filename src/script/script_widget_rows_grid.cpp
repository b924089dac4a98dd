// The grid rows of the method table, bound to the container's operations.
#include "script/python_api.h"

#include "orbe/widgets/kvx_container.h"
#include "script/script_binding.h"
#include "script/script_widget_rows.h"

namespace orbe::script {
namespace {

// Grid_SaveAsExcel(grids, path, title): the path goes in and comes back as
// the text the operation gives (the file written, "" when nothing was).
std::string SaveAsExcelOf(CKVXContainer& container, const std::string& grids, const std::string& path,
                          const std::string& title) {
  std::string written = path;
  return container.Grid_SaveAsExcel(grids, written, title) ? written : std::string();
}

}  // namespace

#define ORBE_SCRIPT_METHOD ORBE_WIDGET_ROWS_DEFINE
#include "script/script_widget_rows_grid.inc"
#undef ORBE_SCRIPT_METHOD

}  // namespace orbe::script
