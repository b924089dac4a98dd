// Our binding of the grid loader's script to its grid: the module "pygrid",
// whose functions are the IPyGrid operations of the grid handed over last.
// (Where the sibling grid-script component is installed it gets the same
// grid through its SetPyGrid entry point.)
#ifndef ORBE_SCRIPT_PY_GRID_BINDING_H_
#define ORBE_SCRIPT_PY_GRID_BINDING_H_

#include "orbe/script/py_grid.h"

namespace orbe::script {

// The grid the module's functions reach; the module is made on first use.
void SetCurrentPyGrid(IPyGrid* grid);
IPyGrid* CurrentPyGrid();
// A grid going away: the module no longer reaches it.
void ForgetPyGrid(IPyGrid* grid);

// While a loader calls its own script, the module reaches that loader's grid.
class CurrentPyGridScope {
 public:
  explicit CurrentPyGridScope(IPyGrid* grid) : previous_(CurrentPyGrid()) { SetCurrentPyGrid(grid); }
  ~CurrentPyGridScope();
  CurrentPyGridScope(const CurrentPyGridScope&) = delete;
  CurrentPyGridScope& operator=(const CurrentPyGridScope&) = delete;

 private:
  IPyGrid* previous_;
};

}  // namespace orbe::script

#endif  // ORBE_SCRIPT_PY_GRID_BINDING_H_
