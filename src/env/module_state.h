// The module's global state, one instance per loaded module, and the order in
// which it comes up and goes down with the library.
#ifndef ORBE_ENV_MODULE_STATE_H_
#define ORBE_ENV_MODULE_STATE_H_

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "env/sibling_components.h"
#include "protocol/cw_host_info.h"
#include "orbe/dataservice/orbe_client_session.h"
#include "orbe/env.h"
#include "orbe/platform/sync.h"
#include "script/py_entironment.h"

namespace orbe {

inline constexpr std::uint64_t kMebibyte = 1048576;

// The file servers read at start-up, waiting for the file-transfer manager.
struct FileServerList {
  std::vector<CWHOSTINFO> hosts;
  int primary = 0;
  std::uint64_t max_file_bytes = 10 * kMebibyte;
};

struct ModuleState {
  // The private path and the user communication file inside it.
  void SetPrivatePath(const std::string& path) {
    private_path = path;
    user_comm_file = path + "usercomm.ini";
  }

  std::string main_cache_directory;
  std::string sub_cache_directory;
  std::string private_path;
  std::string configuration_file;
  std::string user_comm_file;
  CriticalSection lock;  // start-up, tear-down and pass-through requests
  std::string module_directory;

  BOOL init_flag = FALSE;
  int init_count = 0;
  std::unique_ptr<OrbeClientSession> main_session;
  std::unique_ptr<OrbeClientSession> sub_session;
  DataFuncProc data_func = nullptr;
  SwitchFuncProc switch_func = nullptr;
  CallbackFuncProc callback_func = nullptr;
  std::atomic<int> cur_report_index{0};
  FileServerList file_servers;
  // The receiver of pushed messages: the container message manager.
  IClientNotify* push_notify = nullptr;
};

// Members come up in the load order and go down in reverse.
class ModuleEnvironment {
 public:
  // The container message manager becomes the receiver of pushed messages.
  ModuleEnvironment();
  // Sessions still alive are deleted while their cache component is loaded.
  ~ModuleEnvironment();
  ModuleEnvironment(const ModuleEnvironment&) = delete;
  ModuleEnvironment& operator=(const ModuleEnvironment&) = delete;

  ModuleState state;                           // 1. paths, lock, module directory
  DllEntironment siblings;                     // 2. sibling components, drawing state
  ScriptPathRegistry script_paths;             // 3. search paths added to the interpreter
  PyEntironment python{script_paths};          // 4. the embedded interpreter (IsCBaseEnvInit)
};

ModuleEnvironment& Environment();
inline ModuleState& State() { return Environment().state; }
inline const DllEntironment& Siblings() { return Environment().siblings; }

// The module directory into a caller buffer; taken from the process's current
// directory on first use. Always terminated when size > 0.
void GetModuleDirectory(char* buffer, std::size_t size);
std::string ModuleDirectory();

// Lets the container message manager receive pushed messages from the next
// InitDataEngin on; null detaches it.
void SetPushNotifyReceiver(IClientNotify* notify);

}  // namespace orbe

#endif  // ORBE_ENV_MODULE_STATE_H_
