// A panel plug-in for the LoadPluginDll tests. It reports its start and stop
// through an environment variable, which outlives the library being unloaded.
#include <cstdlib>
#include <string>

namespace {

constexpr const char* kEventsVariable = "KVX_TEST_PLUGIN_EVENTS";

void Record(const char* event) {
  const char* before = std::getenv(kEventsVariable);
  const std::string events = std::string(before ? before : "") + event + ";";
  setenv(kEventsVariable, events.c_str(), 1);
}

}  // namespace

extern "C" int PluginInit() {
  Record("init");
  return std::getenv("KVX_TEST_PLUGIN_REFUSE") == nullptr ? 1 : 0;
}

extern "C" void PluginUninit() { Record("uninit"); }
