// DllEntironment: the sibling components the module loads when it is loaded.
// Any of them may be missing; a missing library or entry point stays null and
// every caller tests the pointer it needs.
#ifndef ORBE_ENV_SIBLING_COMPONENTS_H_
#define ORBE_ENV_SIBLING_COMPONENTS_H_

#include "protocol/component_entry_points.h"
#include "orbe/platform/types.h"

namespace orbe {

// Entry points of the other siblings; their signatures belong to the features
// that call them, so they are kept untyped here.
struct OtherEntryPoints {
  void* CreateSearchBox = nullptr;
  void* DeleteSearchBox = nullptr;
  void* ShowIndexMgr = nullptr;
  void* GetIdxNameMapping = nullptr;
  void* GetSelectIndexBasePtr = nullptr;
  void* SetPyGrid = nullptr;
  void* ShowReportSearchDLG = nullptr;
  void* ShowSaveSchemeDLG = nullptr;
};

class DllEntironment {
 public:
  // Loads every sibling in the fixed order, then starts the widget library's
  // drawing state.
  DllEntironment();
  // Stops the drawing state, then unloads in the fixed order.
  ~DllEntironment();
  DllEntironment(const DllEntironment&) = delete;
  DllEntironment& operator=(const DllEntironment&) = delete;

  const EngineEntryPoints& Engine() const { return engine_; }
  const CacheEntryPoints& Cache() const { return cache_; }
  const OtherEntryPoints& Others() const { return others_; }
  bool HasEngineLibrary() const { return engine_library_ != nullptr; }
  bool HasCacheLibrary() const { return cache_library_ != nullptr; }
  bool HasPanelPlugin() const { return panel_plugin_loaded_; }

 private:
  void Load();
  void Unload();

  HMODULE engine_library_ = nullptr;
  HMODULE cache_library_ = nullptr;
  HMODULE widgets_library_ = nullptr;
  HMODULE indicator_admin_library_ = nullptr;
  HMODULE indicator_pick_library_ = nullptr;
  HMODULE script_grid_library_ = nullptr;
  HMODULE util_library_ = nullptr;
  bool panel_plugin_loaded_ = false;
  EngineEntryPoints engine_;
  CacheEntryPoints cache_;
  OtherEntryPoints others_;
};

}  // namespace orbe

#endif  // ORBE_ENV_SIBLING_COMPONENTS_H_
