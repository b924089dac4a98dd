// PyEntironment: the module's one interpreter, started when the module is
// loaded and stopped when it is unloaded, and the registry of the search
// paths the module added to sys.path. Both live in the module environment
// (src/env/module_state.h), in the load order.
#ifndef ORBE_SCRIPT_PY_ENTIRONMENT_H_
#define ORBE_SCRIPT_PY_ENTIRONMENT_H_

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace orbe {

// The directories this module added to sys.path, keyed by the path without
// one trailing separator, upper-cased. It outlives interpreter runs: a new
// run gets the same directories again.
class ScriptPathRegistry {
 public:
  struct Entry {
    std::string key;
    std::string path;  // as handed to sys.path: the given case and bytes
  };

  // The entry of a path; its key is empty when nothing is left of the path.
  static Entry MakeEntry(const std::string& path);

  bool Contains(const std::string& key) const;
  void Add(Entry entry);
  void Remove(const std::string& key);
  void Clear() { entries_.clear(); }
  const std::vector<Entry>& entries() const { return entries_; }

 private:
  std::vector<Entry> entries_;  // in the order they were added
};

class PyEntironment {
 public:
  explicit PyEntironment(ScriptPathRegistry& paths);
  ~PyEntironment();
  PyEntironment(const PyEntironment&) = delete;
  PyEntironment& operator=(const PyEntironment&) = delete;

  // Starts or stops the interpreter; a second start or stop does nothing.
  // Start and stop run on the thread that owns the module's windows. Stop
  // admits no new user, waits until every thread that holds the interpreter
  // has let it go, and only then finalises it. A thread that holds the
  // interpreter itself cannot stop it: Stop then does nothing.
  void Start();
  void Stop();

  // The gate every ScriptLock passes. Enter admits the calling thread unless
  // the interpreter is stopped or a stop is under way (a thread that already
  // holds it is admitted again, so nested locks work during a stop); each
  // admitted Enter is paired with one Leave after the thread gave the
  // interpreter back. Check and admission are one step under one lock, so a
  // stop can never finalise under an admitted thread.
  bool Enter();
  void Leave();
  bool stop_pending() const;

  bool started() const { return run_.load(std::memory_order_acquire) != 0; }
  // Tells interpreter runs apart: 0 while stopped, a new number per start.
  std::uint64_t run() const { return run_.load(std::memory_order_acquire); }
  // The error log of the current run ("" while stopped).
  const std::string& error_log_path() const { return error_log_path_; }
  // The private directory changed: the error log moves there, and the one
  // left behind goes when nothing was written to it. Window thread.
  void FollowPrivateDirectory();

 private:
  bool Initialize();
  bool RedirectStandardError();
  void ApplySearchPaths();

  ScriptPathRegistry& paths_;
  mutable std::mutex gate_;
  std::condition_variable gate_changed_;
  int holders_ = 0;      // admitted Enters not yet left, over all threads
  bool stopping_ = false;
  std::atomic<std::uint64_t> run_{0};
  std::uint64_t runs_started_ = 0;
  void* main_thread_state_ = nullptr;  // PyThreadState of the starting thread
  std::string error_log_path_;
};

// The module's instances (members of the module environment).
PyEntironment& Python();
ScriptPathRegistry& ScriptPaths();
inline std::uint64_t CurrentScriptRun() { return Python().run(); }

// sys.path changes of AddPyScriptPath/DelPyScriptPath; the interpreter must
// be held. False when the interpreter refused (nothing is reported then).
bool AppendToSysPath(const std::string& path);
bool RemoveFromSysPath(const std::string& path);

}  // namespace orbe

#endif  // ORBE_SCRIPT_PY_ENTIRONMENT_H_
