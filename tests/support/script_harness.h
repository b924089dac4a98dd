// A script container for tests: a widget container window that owns the
// container-side state (IContainerFun), loads a script module from a text and
// calls its functions as the container window does, each with a fresh script
// object. It routes the container's messages and records what the window
// hooks (dialogs, other scripts) were asked, so tests can drive every method
// of the script object from Python.
#ifndef ORBE_TESTS_SUPPORT_SCRIPT_HARNESS_H_
#define ORBE_TESTS_SUPPORT_SCRIPT_HARNESS_H_

#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "orbe/platform/text.h"
#include "orbe/platform/window.h"
#include "orbe/script/container_fun.h"
#include "orbe/script/script_call.h"
#include "orbe/script/script_env.h"
#include "orbe/script/script_object.h"
#include "orbe/script/script_ref.h"
#include "orbe/widgets/kvx_container.h"

namespace orbe_test {

class HarnessContainer : public CKVXContainer, public IContainerFun {
 public:
  HarnessContainer() : CKVXContainer(0) {
    folder_ = (std::filesystem::temp_directory_path() / ("orbe_harness_" + std::to_string(::getpid()) + "_" +
                                                         std::to_string(NextNumber())))
                  .string();
    std::filesystem::create_directories(folder_);
    AddPyScriptPath(folder_);
    Create(nullptr, RECT{0, 0, 800, 600}, WS_VISIBLE, 1);
  }
  ~HarnessContainer() override {
    module_.reset();
    DestroyWindow();
    DelPyScriptPath(folder_);
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  // Imports the text (UTF-8) as a new module; false with the error text kept.
  bool Load(const std::string& source) {
    const std::string name = "orbe_harness_script_" + std::to_string(NextNumber());
    std::ofstream(folder_ + "/" + name + ".py", std::ios::binary) << source;
    {
      // The import system caches folder listings; the file is new.
      const orbe::ScriptLock lock;
      PyRun_SimpleString("import importlib\nimportlib.invalidate_caches()\n");
    }
    module_ = orbe::ImportScriptModule(name, error_);
    return static_cast<bool>(module_);
  }
  // Calls a function of the loaded script: (fresh object, texts...).
  bool Call(const std::string& function, const std::vector<std::string>& texts = {}) {
    calls.push_back(function);
    return orbe::CallContainerFunction(module_, function, *this, texts, error_);
  }
  // str() of an expression over the loaded script's globals, as UTF-8;
  // "<error: ...>" when it cannot be evaluated.
  std::string Eval(const std::string& expression) const {
    const orbe::ScriptLock lock;
    if (!module_) return "<no script>";
    PyObject* globals = PyModule_GetDict(module_.get());
    PyObject* value = PyRun_String(expression.c_str(), Py_eval_input, globals, globals);
    PyObject* text = value != nullptr ? PyObject_Str(value) : nullptr;
    const char* utf8 = text != nullptr ? PyUnicode_AsUTF8(text) : nullptr;
    std::string result = utf8 != nullptr ? utf8 : "<error: " + expression + ">";
    Py_XDECREF(text);
    Py_XDECREF(value);
    PyErr_Clear();
    return result;
  }
  std::string Global(const std::string& name) const { return Eval(name); }
  const std::string& LastError() const { return error_; }
  const std::string& Folder() const { return folder_; }

  // The script functions called, in order (replies, timers and pushes too).
  std::vector<std::string> calls;
  // What the window hooks were asked: "PopModalDlg title 300 200 s.py arg".
  std::vector<std::string> hooks;

  HWND ContainerWindow() const override { return GetSafeHwnd(); }
  CKVXContainer* ContainerWidgets() override { return this; }
  bool CallScript(const std::string& name, const std::vector<std::string>& args) override { return Call(name, args); }

  void PopModalDlg(const std::string& title, int width, int height, const std::string& script,
                   const std::string& argument) override {
    Hook("PopModalDlg", {title, Number(width), Number(height), script, argument});
  }
  void ShowWaitDlg(int x, int y) override { Hook("ShowWaitDlg", {Number(x), Number(y)}); }
  void HideWaitDlg() override { Hook("HideWaitDlg", {}); }
  void ContainerDlgRunScript(const std::string& title, const std::string& script,
                             const std::string& argument) override {
    Hook("ContainerDlgRunScript", {title, script, argument});
  }
  void ShowContainerDlg(int x, int y, int width, int height) override {
    Hook("ShowContainerDlg", {Number(x), Number(y), Number(width), Number(height)});
  }
  void HideContainerDlg() override { Hook("HideContainerDlg", {}); }
  void GlobalDlgRunScript(const std::string& title, const std::string& script, const std::string& argument) override {
    Hook("GlobalDlgRunScript", {title, script, argument});
  }
  void ShowGlobalDlg(int x, int y, int width, int height) override {
    Hook("ShowGlobalDlg", {Number(x), Number(y), Number(width), Number(height)});
  }
  void HideGlobalDlg() override { Hook("HideGlobalDlg", {}); }
  void RunOtherScript(const std::string& script, const std::string& argument) override {
    Hook("RunOtherScript", {script, argument});
  }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (HandleScriptMessage(message, wparam, lparam)) return 0;
    return CKVXContainer::WindowProc(message, wparam, lparam);
  }

 private:
  static int NextNumber() {
    static std::atomic<int> number{0};
    return ++number;
  }
  static std::string Number(int value) { return std::to_string(value); }
  void Hook(const std::string& name, const std::vector<std::string>& args) {
    std::string line = name;
    for (const std::string& arg : args) line += " " + orbe::GbkToUtf8(arg);
    hooks.push_back(line);
  }

  std::string folder_;
  orbe::ScriptRef module_;
  std::string error_;
};

}  // namespace orbe_test

#endif  // ORBE_TESTS_SUPPORT_SCRIPT_HARNESS_H_
