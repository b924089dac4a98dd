#include "env/module_state.h"

#include <unistd.h>

#include <climits>

#include "orbe/platform/text.h"
#include "orbe/script/f10_fun.h"
#include "orbe/script/subscriptions.h"
#include "orbe/widgets/kvx_messages.h"

namespace orbe {
namespace {

// Constructed when the library is loaded, before any export can be called,
// and destroyed when it is unloaded.
ModuleEnvironment g_environment;

}  // namespace

ModuleEnvironment::ModuleEnvironment() {
  state.push_notify = &PyConMessageMgr::Instance();
  // The widgets' notification names, registered once for the whole module.
  RegisterKvxMessages();
}

ModuleEnvironment::~ModuleEnvironment() {
  // The module-wide pop-up goes while its interpreter and windows are there.
  DestroyGlobalDlg();
  state.sub_session.reset();
  state.main_session.reset();
}

ModuleEnvironment& Environment() { return g_environment; }

std::string ModuleDirectory() {
  ModuleState& state = State();
  CriticalSectionLock hold(state.lock);
  if (state.module_directory.empty()) {
    char current[PATH_MAX];
    if (getcwd(current, sizeof current) != nullptr) state.module_directory = current;
  }
  return state.module_directory;
}

void GetModuleDirectory(char* buffer, std::size_t size) {
  if (buffer == nullptr) return;
  CopyBounded(buffer, size, ModuleDirectory());
}

void SetPushNotifyReceiver(IClientNotify* notify) { State().push_notify = notify; }

}  // namespace orbe
