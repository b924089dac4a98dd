// The exported entry points of the script environment.
#include "script/python_api.h"

#include "orbe/script/script_env.h"

#include <optional>
#include <sstream>

#include "orbe/platform/file.h"
#include "orbe/platform/text.h"
#include "orbe/script/script_ref.h"
#include "script/py_entironment.h"
#include "script/py_ptr.h"

namespace {

// PyErr_Print would end the process on SystemExit (a script calling exit());
// displaying the exception writes the same traceback and returns.
void WritePendingErrorToLog() {
  if (PyErr_Occurred() == nullptr) return;
  PyObject* type = nullptr;
  PyObject* value = nullptr;
  PyObject* traceback = nullptr;
  PyErr_Fetch(&type, &value, &traceback);
  PyErr_NormalizeException(&type, &value, &traceback);
  if (traceback != nullptr && value != nullptr) PyException_SetTraceback(value, traceback);
  PyErr_Display(type, value, traceback);
  Py_XDECREF(type);
  Py_XDECREF(value);
  Py_XDECREF(traceback);
  PyErr_Clear();
}

bool CallLogMethod(PyObject* log, const char* method) {
  const orbe::PyPtr result(PyObject_CallMethod(log, method, nullptr));
  PyErr_Clear();
  return result != nullptr;
}

void TruncateLog(PyObject* log) {
  const orbe::PyPtr position(PyObject_CallMethod(log, "seek", "i", 0));
  if (position) CallLogMethod(log, "truncate");
  PyErr_Clear();
}

// What this process wrote to the log since it was last read (the log keeps
// it: the file may be shared with other processes).
std::optional<std::string> LogContent(PyObject* log) {
  const orbe::PyPtr value(PyObject_CallMethod(log, "getvalue", nullptr));
  Py_ssize_t size = 0;
  const char* utf8 = value ? PyUnicode_AsUTF8AndSize(value.get(), &size) : nullptr;
  PyErr_Clear();
  if (utf8 == nullptr) return std::nullopt;
  return std::string(utf8, static_cast<std::size_t>(size));
}

std::string ToCrLfGbkLines(const std::string& utf8) {
  std::string text;
  std::istringstream lines(utf8);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    text += orbe::Utf8ToGbk(line);
    text += "\r\n";
  }
  return text;
}

}  // namespace

void InitScriptEvn() { orbe::Python().Start(); }

void UnInitScriptEvn() { orbe::Python().Stop(); }

void AddPyScriptPath(const std::string& path) {
  orbe::ScriptPathRegistry::Entry entry = orbe::ScriptPathRegistry::MakeEntry(path);
  orbe::ScriptPathRegistry& registry = orbe::ScriptPaths();
  if (registry.Contains(entry.key)) return;
  {
    const orbe::ScriptLock lock;
    if (lock.running()) orbe::AppendToSysPath(entry.path);
  }
  registry.Add(std::move(entry));
}

void DelPyScriptPath(const std::string& path) {
  const orbe::ScriptPathRegistry::Entry probe = orbe::ScriptPathRegistry::MakeEntry(path);
  orbe::ScriptPathRegistry& registry = orbe::ScriptPaths();
  for (const orbe::ScriptPathRegistry::Entry& entry : registry.entries()) {
    if (entry.key != probe.key) continue;
    {
      const orbe::ScriptLock lock;
      if (lock.running()) orbe::RemoveFromSysPath(entry.path);
    }
    registry.Remove(probe.key);
    return;
  }
}

std::string Py_PrintAndGetErr() {
  const orbe::ScriptLock lock;
  if (!lock.running()) return std::string();
  WritePendingErrorToLog();
  PyObject* log = PyDict_GetItemString(PyModule_GetDict(PyImport_AddModule("__main__")), "errorlog");
  if (log == nullptr) {
    PyErr_Clear();
    return std::string();
  }
  std::string text;
  if (CallLogMethod(log, "flush")) {
    const std::optional<std::string> content = LogContent(log);
    if (content) text = ToCrLfGbkLines(*content);
  }
  // The next error starts from an empty log.
  TruncateLog(log);
  return text;
}

namespace orbe {

bool ScriptEnvironmentStarted() { return Python().started(); }

}  // namespace orbe
