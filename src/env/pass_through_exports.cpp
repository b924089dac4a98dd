// The pass-through exports take the global lock, which guards start-up and
// tear-down too, so they never see a half-built environment.
#include "env/module_state.h"
#include "orbe/dataservice/pass_through.h"

extern "C" {

int SendTPOriginalRequest() {
  orbe::CriticalSectionLock hold(orbe::State().lock);
  return 0;
}

const char* GetTPOriginalResult() {
  orbe::CriticalSectionLock hold(orbe::State().lock);
  return "";
}

}  // extern "C"
