// The small exports: paths, host callbacks, global sessions, caches.
#include "env/module_state.h"
#include "script/py_entironment.h"
#include "orbe/env.h"
#include "orbe/script/freeze_store.h"
#include "orbe/script/script_env.h"
#include "orbe/widgets/kvx_functions.h"

namespace {

OrbeClientSession* SessionOrNull(const std::unique_ptr<OrbeClientSession>& session) { return session.get(); }

ICwRequestSession* RequestSessionOf(const std::unique_ptr<OrbeClientSession>& session) {
  return session ? session->GetSession() : nullptr;
}

}  // namespace

void SetPrivPath(const std::string& path) {
  orbe::State().SetPrivatePath(path);
  orbe::Python().FollowPrivateDirectory();
  // The freeze store lives in the private folder (none without one).
  const bool separated = path.empty() || path.back() == '/' || path.back() == '\\';
  orbe::FreezeStore::Module().Load(path.empty() ? std::string()
                                                : path + (separated ? "" : "/") + orbe::FreezeStore::kFileName);
}

std::string GetPrivPath() { return orbe::State().private_path; }

std::string GetCommConfigPath() {
  const std::string& file = orbe::State().configuration_file;
  const std::size_t separator = file.find_last_of("/\\");
  if (separator == std::string::npos || separator == 0) return std::string();
  return file.substr(0, separator);
}

void RegisterCallBack(DataFuncProc dataFunc, SwitchFuncProc switchFunc, CallbackFuncProc callbackFunc) {
  orbe::ModuleState& state = orbe::State();
  state.data_func = dataFunc;
  state.switch_func = switchFunc;
  state.callback_func = callbackFunc;
}

DataFuncProc GetDataFunc() { return orbe::State().data_func; }
SwitchFuncProc GetSwitchFunc() { return orbe::State().switch_func; }
CallbackFuncProc GetCallbackFunc() { return orbe::State().callback_func; }

OrbeClientSession* GetGlobalMainOrbeClientSession() { return SessionOrNull(orbe::State().main_session); }
OrbeClientSession* GetGlobalSubOrbeClientSession() { return SessionOrNull(orbe::State().sub_session); }
ICwRequestSession* GetGlobalMainCwRequestSession() { return RequestSessionOf(orbe::State().main_session); }
ICwRequestSession* GetGlobalSub1CwRequestSession() { return RequestSessionOf(orbe::State().sub_session); }

void SetTPInfoBlock(unsigned char main, unsigned char a, unsigned char b, unsigned char c) {
  orbe::ModuleState& state = orbe::State();
  OrbeClientSession* session = main != 0 ? state.main_session.get() : state.sub_session.get();
  if (session != nullptr) session->SetInfoBlock(a, b, c);
}

bool SetTPSessionCheckOP() { return false; }
bool SetTPSessionUseSSO() { return false; }

bool IsCBaseEnvInit() { return orbe::ScriptEnvironmentStarted(); }

void SetKVXCtrlScrollBarType(int type) { KVXSetScrollBarType(type); }

void SaveCWCacheInfo() {
  for (OrbeClientSession* session : {GetGlobalMainOrbeClientSession(), GetGlobalSubOrbeClientSession()}) {
    if (session != nullptr && session->GetCwcache() != nullptr) session->GetCwcache()->SaveState();
  }
}

void DoCWCacheOption() {
  OrbeClientSession* session = GetGlobalMainOrbeClientSession();
  if (session != nullptr && session->GetCwcache() != nullptr) session->GetCwcache()->Maintain();
}
