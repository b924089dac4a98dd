#include "script/python_api.h"

#include "script/py_entironment.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <system_error>

#include "env/module_state.h"
#include "orbe/platform/text.h"
#include "orbe/script/script_ref.h"
#include "script/py_ptr.h"
#include "script/script_text.h"

namespace orbe {
namespace {

// Everything the interpreter writes to its standard error, tracebacks
// included, goes to the log; the file name comes in as bytes so that it is
// the file the module names. The log also keeps what this process wrote
// since it was last read: before a private path is set the file is the
// current folder's, which every process started there opens, empties and
// writes too, so the texts the callers get are never read back from it.
// Without a writable log, errors still collect in memory.
constexpr char kRedirectStandardError[] =
    "import sys, io\n"
    "class _OrbeErrorLog(io.TextIOWrapper):\n"
    "    def __init__(self, path):\n"
    "        super().__init__(open(path,'wb'),encoding='utf-8',errors='backslashreplace')\n"
    "        self.written=[]\n"
    "    def write(self, text):\n"
    "        self.written.append(text)\n"
    "        return super().write(text)\n"
    "    def getvalue(self):\n"
    "        return ''.join(self.written)\n"
    "    def truncate(self, size=None):\n"
    "        self.written.clear()\n"
    "        return super().truncate(size)\n"
    "oldstderr=sys.stderr\n"
    "try:\n"
    "    errorlog=_OrbeErrorLog(_orbe_pyerr_path)\n"
    "except OSError:\n"
    "    errorlog=io.StringIO()\n"
    "sys.stderr=errorlog\n";
constexpr char kMoveStandardError[] =
    "import os\n"
    "_orbe_old=errorlog\n"
    "try:\n"
    "    errorlog=_OrbeErrorLog(_orbe_pyerr_path)\n"
    "except OSError:\n"
    "    errorlog=_orbe_old\n"
    "else:\n"
    "    sys.stderr=errorlog\n"
    "    _orbe_old.close()\n"
    "    _orbe_name=getattr(_orbe_old,'name',None)\n"
    "    try:\n"
    "        if isinstance(_orbe_name,(str,bytes)) and os.path.getsize(_orbe_name)==0:\n"
    "            os.remove(_orbe_name)\n"
    "    except OSError:\n"
    "        pass\n"
    "del _orbe_old\n";
constexpr char kRestoreStandardError[] = "errorlog.close()\nsys.stderr=oldstderr\n";

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// How many admitted ScriptLocks the calling thread holds.
thread_local int held_by_this_thread = 0;

// The private directory; while the host has set none, the current directory
// becomes the private path, as the host would see it through GetPrivPath.
std::string PrivateDirectory() {
  ModuleState& state = State();
  if (state.private_path.empty()) {
    char current[PATH_MAX];
    // As SetPrivPath would: the user communication file follows the path.
    if (getcwd(current, sizeof current) != nullptr) state.SetPrivatePath(std::string(current) + "/");
  }
  return state.private_path;
}

std::string ErrorLogPath() {
  std::string directory = PrivateDirectory();
  if (!directory.empty() && !IsSeparator(directory.back())) directory += '/';
  return directory + "pyerr";
}

// The prefix of the CPython that this module is linked with, found from the
// loaded libpython itself: never the first python3 on PATH (a pyenv shim) nor
// PYTHONHOME, whose standard library would not match the linked runtime.
std::string LinkedPythonHome() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&Py_InitializeFromConfig), &info) == 0 || info.dli_fname == nullptr) {
    return std::string();
  }
  std::error_code error;
  std::filesystem::path folder = std::filesystem::canonical(info.dli_fname, error).parent_path();
  if (error) return std::string();
  const std::string landmark = Format("lib/python%d.%d/os.py", PY_MAJOR_VERSION, PY_MINOR_VERSION);
  for (; !folder.empty(); folder = folder.parent_path()) {
    if (std::filesystem::exists(folder / landmark, error)) return folder.string();
    if (folder == folder.root_path()) break;
  }
  return std::string();
}

bool SetConfigText(PyConfig& config, wchar_t** field, const std::string& text) {
  return !PyStatus_Exception(PyConfig_SetBytesString(&config, field, text.c_str()));
}

}  // namespace

ScriptPathRegistry::Entry ScriptPathRegistry::MakeEntry(const std::string& path) {
  Entry entry;
  entry.path = path;
  if (!entry.path.empty() && IsSeparator(entry.path.back())) entry.path.pop_back();
  entry.key = AsciiUpper(entry.path);
  return entry;
}

bool ScriptPathRegistry::Contains(const std::string& key) const {
  for (const Entry& entry : entries_) {
    if (entry.key == key) return true;
  }
  return false;
}

void ScriptPathRegistry::Add(Entry entry) {
  if (!Contains(entry.key)) entries_.push_back(std::move(entry));
}

void ScriptPathRegistry::Remove(const std::string& key) {
  std::erase_if(entries_, [&key](const Entry& entry) { return entry.key == key; });
}

PyEntironment::PyEntironment(ScriptPathRegistry& paths) : paths_(paths) { Start(); }

PyEntironment::~PyEntironment() { Stop(); }

void PyEntironment::Start() {
  if (started()) return;
  error_log_path_ = ErrorLogPath();
  if (!Initialize()) {
    error_log_path_.clear();
    return;
  }
  if (!RedirectStandardError()) error_log_path_.clear();
  ApplySearchPaths();
  // The interpreter is released between calls: every user takes ScriptLock,
  // from whichever thread it runs on.
  main_thread_state_ = PyEval_SaveThread();
  const std::lock_guard lock(gate_);
  run_.store(++runs_started_, std::memory_order_release);
}

void PyEntironment::Stop() {
  if (!started() || held_by_this_thread > 0) return;
  {
    std::unique_lock lock(gate_);
    if (stopping_) return;
    stopping_ = true;
    // Threads inside finish their work; none gets in meanwhile.
    gate_changed_.wait(lock, [this] { return holders_ == 0; });
    run_.store(0, std::memory_order_release);
    stopping_ = false;
  }
  PyEval_RestoreThread(static_cast<PyThreadState*>(main_thread_state_));
  PyRun_SimpleString(kRestoreStandardError);
  Py_FinalizeEx();
  main_thread_state_ = nullptr;
  error_log_path_.clear();
}

bool PyEntironment::Enter() {
  const std::lock_guard lock(gate_);
  if (run_.load(std::memory_order_relaxed) == 0) return false;
  if (stopping_ && held_by_this_thread == 0) return false;
  ++holders_;
  ++held_by_this_thread;
  return true;
}

void PyEntironment::Leave() {
  {
    const std::lock_guard lock(gate_);
    --holders_;
    --held_by_this_thread;
  }
  gate_changed_.notify_all();
}

bool PyEntironment::stop_pending() const {
  const std::lock_guard lock(gate_);
  return stopping_;
}

bool PyEntironment::Initialize() {
  PyPreConfig preconfig;
  PyPreConfig_InitIsolatedConfig(&preconfig);
  preconfig.utf8_mode = 1;  // the same text and path handling whatever the host's locale
  if (PyStatus_Exception(Py_PreInitialize(&preconfig))) return false;

  PyConfig config;
  PyConfig_InitIsolatedConfig(&config);
  config.install_signal_handlers = 0;  // signals belong to the host
  const std::string home = LinkedPythonHome();
  bool configured = true;
  if (!home.empty()) {
    configured = SetConfigText(config, &config.home, home);
    const std::string executable = home + Format("/bin/python%d.%d", PY_MAJOR_VERSION, PY_MINOR_VERSION);
    if (configured && access(executable.c_str(), X_OK) == 0) {
      configured = SetConfigText(config, &config.program_name, executable);
    }
  }
  const bool initialized = configured && !PyStatus_Exception(Py_InitializeFromConfig(&config));
  PyConfig_Clear(&config);
  return initialized;
}

bool PyEntironment::RedirectStandardError() {
  PyObject* globals = PyModule_GetDict(PyImport_AddModule("__main__"));
  const PyPtr path(PyBytes_FromStringAndSize(error_log_path_.data(),
                                             static_cast<Py_ssize_t>(error_log_path_.size())));
  if (!path || PyDict_SetItemString(globals, "_orbe_pyerr_path", path.get()) != 0) {
    PyErr_Clear();
    return false;
  }
  const PyPtr result(PyRun_String(kRedirectStandardError, Py_file_input, globals, globals));
  PyDict_DelItemString(globals, "_orbe_pyerr_path");
  PyErr_Clear();
  if (!result) return false;
  // A log in memory has no file name.
  const PyPtr log_name(PyRun_String("getattr(errorlog,'name',None)", Py_eval_input, globals, globals));
  PyErr_Clear();
  return log_name && log_name.get() != Py_None;
}

void PyEntironment::FollowPrivateDirectory() {
  if (!started() || error_log_path_.empty()) return;
  const std::string moved = ErrorLogPath();
  if (moved == error_log_path_) return;
  const ScriptLock lock;
  if (!lock.running()) return;
  PyObject* globals = PyModule_GetDict(PyImport_AddModule("__main__"));
  const PyPtr path(PyBytes_FromStringAndSize(moved.data(), static_cast<Py_ssize_t>(moved.size())));
  if (!path || PyDict_SetItemString(globals, "_orbe_pyerr_path", path.get()) != 0) {
    PyErr_Clear();
    return;
  }
  const PyPtr result(PyRun_String(kMoveStandardError, Py_file_input, globals, globals));
  PyDict_DelItemString(globals, "_orbe_pyerr_path");
  PyErr_Clear();
  // The log read back is the one the interpreter writes, whatever happened.
  const PyPtr log_name(PyRun_String("getattr(errorlog,'name',None)", Py_eval_input, globals, globals));
  PyErr_Clear();
  if (log_name && PyBytes_Check(log_name.get())) {
    error_log_path_.assign(PyBytes_AS_STRING(log_name.get()),
                           static_cast<std::size_t>(PyBytes_GET_SIZE(log_name.get())));
  } else if (result) {
    error_log_path_ = moved;
  }
}

void PyEntironment::ApplySearchPaths() {
  for (const ScriptPathRegistry::Entry& entry : paths_.entries()) AppendToSysPath(entry.path);
}

bool AppendToSysPath(const std::string& path) {
  PyObject* sys_path = PySys_GetObject("path");
  const PyPtr item(NewScriptPath(path));
  const bool appended = sys_path != nullptr && PyList_Check(sys_path) && item &&
                        PyList_Append(sys_path, item.get()) == 0;
  PyErr_Clear();
  return appended;
}

bool RemoveFromSysPath(const std::string& path) {
  PyObject* sys_path = PySys_GetObject("path");
  const PyPtr item(NewScriptPath(path));
  if (sys_path == nullptr || !PyList_Check(sys_path) || !item) {
    PyErr_Clear();
    return false;
  }
  const Py_ssize_t index = PySequence_Index(sys_path, item.get());
  const bool removed = index >= 0 && PySequence_DelItem(sys_path, index) == 0;
  PyErr_Clear();
  return removed;
}

PyEntironment& Python() { return Environment().python; }
ScriptPathRegistry& ScriptPaths() { return Environment().script_paths; }

}  // namespace orbe
