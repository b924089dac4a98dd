// A thin test helper over the real container window: it loads a script from
// a text (written as a module file of its own folder), calls its functions,
// records every script call and, instead of opening real dialogs, what the
// window's dialog hooks were asked, so tests can drive every method of the
// script object from Python and read the script's globals back.
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
#include "script/py_container_wnd.h"

namespace orbe_test {

class HarnessContainer : public CPyContainerWnd {
 public:
  HarnessContainer() {
    folder_ = (std::filesystem::temp_directory_path() / ("orbe_harness_" + std::to_string(::getpid()) + "_" +
                                                         std::to_string(NextNumber())))
                  .string();
    std::filesystem::create_directories(folder_);
    AddPyScriptPath(folder_);
    Create(nullptr, RECT{0, 0, 800, 600}, WS_VISIBLE, 1);
  }
  ~HarnessContainer() override {
    DestroyWindow();
    DelPyScriptPath(folder_);
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  // Loads the text (UTF-8) as a new module through the window, calling no
  // entry function; false with the error text kept.
  bool Load(const std::string& source) {
    const std::string path = folder_ + "/orbe_harness_script_" + std::to_string(NextNumber()) + ".py";
    std::ofstream(path, std::ios::binary) << source;
    return LoadScript(path, "", "");
  }
  // Calls a function of the loaded script: (fresh object, texts...).
  bool Call(const std::string& function, const std::vector<std::string>& texts = {}) {
    return CallScript(function, texts);
  }
  // str() of an expression over the loaded script's globals, as UTF-8;
  // "<error: ...>" when it cannot be evaluated.
  std::string Eval(const std::string& expression) const {
    const orbe::ScriptLock lock;
    if (!IsScriptLoaded()) return "<no script>";
    const std::string name = ModuleName();
    PyObject* module = PyImport_AddModule(name.c_str());  // borrowed: the loaded module
    if (module == nullptr) return "<no script>";
    PyObject* globals = PyModule_GetDict(module);
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
  const std::string& LastError() const { return LastScriptError(); }
  const std::string& Folder() const { return folder_; }

  // The script functions called, in order (replies, timers and pushes too).
  std::vector<std::string> calls;
  // What the window hooks were asked: "PopModalDlg title 300 200 s.py arg".
  std::vector<std::string> hooks;

  bool CallScript(const std::string& name, const std::vector<std::string>& args) override {
    calls.push_back(name);
    return CPyContainerWnd::CallScript(name, args);
  }

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

  // The module the window loaded: its file's name without ".py".
  std::string ModuleName() const {
    const std::string file = ScriptPath().substr(ScriptPath().find_last_of('/') + 1);
    return file.substr(0, file.size() - 3);
  }

  std::string folder_;
};

}  // namespace orbe_test

#endif  // ORBE_TESTS_SUPPORT_SCRIPT_HARNESS_H_
