#include "env/sibling_components.h"

#include "orbe/platform/loader.h"
#include "orbe/widgets/kvx_functions.h"

namespace orbe {
namespace {

template <typename Fn>
void Bind(HMODULE library, const char* name, Fn& slot) {
  slot = GetProcAddressAs<Fn>(library, name);
}

void Release(HMODULE& library) {
  if (library != nullptr) FreeLibrary(library);
  library = nullptr;
}

}  // namespace

DllEntironment::DllEntironment() { Load(); }

DllEntironment::~DllEntironment() { Unload(); }

void DllEntironment::Load() {
  engine_library_ = LoadLibraryA("FinDataComm.dll");
  Bind(engine_library_, "GetCwDataEnginInstance", engine_.GetCwDataEnginInstance);
  Bind(engine_library_, "DelCwDataEnginInstance", engine_.DelCwDataEnginInstance);
  Bind(engine_library_, "CreateCwDataEngin", engine_.CreateCwDataEngin);
  Bind(engine_library_, "DeleteCwDataEngin", engine_.DeleteCwDataEngin);
  Bind(engine_library_, "SetGlobalProxy", engine_.SetGlobalProxy);
  Bind(engine_library_, "SetTPSessionOption", engine_.SetTPSessionOption);
  Bind(engine_library_, "SetSSOHandle", engine_.SetSSOHandle);
  Bind(engine_library_, "SetTPPushClientNotify", engine_.SetTPPushClientNotify);

  cache_library_ = LoadLibraryA("FinCacheStore.dll");
  Bind(cache_library_, "CreateTCwCacheInstance", cache_.CreateTCwCacheInstance);
  Bind(cache_library_, "DeleteTCwCacheInstance", cache_.DeleteTCwCacheInstance);

  panel_plugin_loaded_ = LoadPluginDll("PanelPlugin.dll") != FALSE;

  widgets_library_ = LoadLibraryA("KvxWidgets.dll");
  Bind(widgets_library_, "CreateSearchBox", others_.CreateSearchBox);
  Bind(widgets_library_, "DeleteSearchBox", others_.DeleteSearchBox);
  indicator_admin_library_ = LoadLibraryA("IndicatorAdmin.dll");
  Bind(indicator_admin_library_, "ShowIndexMgr", others_.ShowIndexMgr);
  Bind(indicator_admin_library_, "GetIdxNameMapping", others_.GetIdxNameMapping);
  indicator_pick_library_ = LoadLibraryA("IndicatorPick.dll");
  Bind(indicator_pick_library_, "GetSelectIndexBasePtr", others_.GetSelectIndexBasePtr);
  script_grid_library_ = LoadLibraryA("scriptGrid.dll");
  Bind(script_grid_library_, "SetPyGrid", others_.SetPyGrid);
  util_library_ = LoadLibraryA("KvxUtil.dll");
  Bind(util_library_, "ShowReportSearchDLG", others_.ShowReportSearchDLG);
  Bind(util_library_, "ShowSaveSchemeDLG", others_.ShowSaveSchemeDLG);

  InitGDIPlus();
}

void DllEntironment::Unload() {
  UninitGDIPlus();
  // The entry points are cleared with their library, so nothing can call
  // into an unloaded image.
  cache_ = CacheEntryPoints{};
  Release(cache_library_);
  engine_ = EngineEntryPoints{};
  Release(engine_library_);
  others_ = OtherEntryPoints{};
  Release(util_library_);
  Release(script_grid_library_);
  Release(indicator_pick_library_);
  Release(indicator_admin_library_);
  Release(widgets_library_);
  UnLoadPluginDll();
  panel_plugin_loaded_ = false;
}

}  // namespace orbe
