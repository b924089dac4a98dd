// The embedded interpreter: start at load, restart, the error log, search
// paths, module loading and calls from another thread.
#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "env/module_state.h"
#include "orbe/env.h"
#include "orbe/script/script_call.h"
#include "orbe/script/script_env.h"
#include "orbe/script/script_ref.h"

// CPython does not free everything of a finalised interpreter; what a restart
// leaves behind is its own, not ours.
extern "C" const char* __lsan_default_suppressions() { return "leak:libpython3"; }

namespace {

std::string MakeTempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "orbe-script-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) return std::string();
  return pattern + "/";
}

// Evaluates a Python expression in __main__ and gives its str().
std::string Eval(const std::string& expression) {
  const orbe::ScriptLock lock;
  if (!lock.running()) return "<stopped>";
  PyObject* globals = PyModule_GetDict(PyImport_AddModule("__main__"));
  orbe::ScriptRef result(PyRun_String(expression.c_str(), Py_eval_input, globals, globals));
  orbe::ScriptRef text(result ? PyObject_Str(result.get()) : nullptr);
  if (!text) return "<error> " + Py_PrintAndGetErr();
  return PyUnicode_AsUTF8(text.get());
}

int SysPathCount(const std::string& entry) {
  return std::stoi(Eval("sys.path.count(" + std::string("'") + entry + "')"));
}

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

class ScriptEnvTest : public testing::Test {
 protected:
  void SetUp() override {
    folder_ = MakeTempFolder();
    ASSERT_FALSE(folder_.empty());
    SetPrivPath(folder_);
    // The log moves to the private directory with the next start.
    UnInitScriptEvn();
    InitScriptEvn();
    ASSERT_TRUE(IsCBaseEnvInit());
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::string folder_;
};

TEST_F(ScriptEnvTest, RestartGivesAWorkingInterpreterWithAnEmptyLog) {
  EXPECT_EQ(Eval("1+2"), "3");
  EXPECT_TRUE(std::filesystem::exists(folder_ + "pyerr"));
  std::string err;
  EXPECT_FALSE(orbe::ImportScriptModule("orbe_no_such_module_a", err));
  UnInitScriptEvn();
  EXPECT_FALSE(IsCBaseEnvInit());
  UnInitScriptEvn();  // a stop while stopped does nothing
  EXPECT_EQ(Eval("1"), "<stopped>");
  EXPECT_EQ(Py_PrintAndGetErr(), "");
  EXPECT_FALSE(orbe::ImportScriptModule("math", err));
  InitScriptEvn();
  InitScriptEvn();  // a second start does nothing
  EXPECT_TRUE(IsCBaseEnvInit());
  EXPECT_EQ(Eval("6*7"), "42");
  EXPECT_EQ(Py_PrintAndGetErr(), "");
  EXPECT_EQ(std::filesystem::file_size(folder_ + "pyerr"), 0u);
}

TEST_F(ScriptEnvTest, ReferencesOfAnEndedRunAreInert) {
  std::string err;
  orbe::ScriptRef module = orbe::ImportScriptModule("math", err);
  ASSERT_TRUE(module);
  UnInitScriptEvn();
  EXPECT_FALSE(module);
  InitScriptEvn();
  EXPECT_FALSE(module);  // not revived by a new run
  module.reset();        // and released without touching the new interpreter
  EXPECT_EQ(Eval("2**10"), "1024");
}

TEST_F(ScriptEnvTest, IsolatedFromTheEnvironmentAndThePythonOnPath) {
  EXPECT_EQ(Eval("sys.flags.isolated"), "1");
  EXPECT_EQ(Eval("sys.flags.no_user_site"), "1");
  EXPECT_EQ(Eval("'%d.%d' % sys.version_info[:2]"),
            std::to_string(PY_MAJOR_VERSION) + "." + std::to_string(PY_MINOR_VERSION));
  EXPECT_EQ(Eval("__import__('os').__file__.startswith(sys.prefix)"), "True");
  EXPECT_EQ(Eval("'.pyenv' in sys.prefix"), "False");
  EXPECT_EQ(Eval("sys.stderr is errorlog"), "True");
}

TEST_F(ScriptEnvTest, TwoErrorsGiveTwoTexts) {
  std::string first;
  std::string second;
  EXPECT_FALSE(orbe::ImportScriptModule("orbe_missing_first", first));
  EXPECT_FALSE(orbe::ImportScriptModule("orbe_missing_second", second));
  EXPECT_NE(first.find("ModuleNotFoundError"), std::string::npos) << first;
  EXPECT_NE(first.find("orbe_missing_first"), std::string::npos);
  EXPECT_NE(second.find("orbe_missing_second"), std::string::npos) << second;
  EXPECT_EQ(second.find("orbe_missing_first"), std::string::npos);
  EXPECT_EQ(first.substr(first.size() - 2), "\r\n");
  EXPECT_EQ(Py_PrintAndGetErr(), "");  // nothing pending, the log was emptied
}

TEST_F(ScriptEnvTest, SearchPathsAreAddedOnceWhateverTheSpelling) {
  const std::string dir = folder_ + "Scripts";
  const std::string upper = folder_ + "SCRIPTS";
  AddPyScriptPath(dir + "/");
  AddPyScriptPath(dir);
  AddPyScriptPath(upper + "\\");
  EXPECT_EQ(SysPathCount(dir), 1);
  EXPECT_EQ(SysPathCount(upper), 0);  // the entry keeps the case it was given
  // The registry outlives a restart and the new interpreter gets the entry.
  UnInitScriptEvn();
  InitScriptEvn();
  EXPECT_EQ(SysPathCount(dir), 1);
  DelPyScriptPath(folder_ + "scripts/");
  EXPECT_EQ(SysPathCount(dir), 0);
  DelPyScriptPath(dir);  // removing again does nothing
  EXPECT_EQ(SysPathCount(dir), 0);
  AddPyScriptPath(dir);  // and it can come back
  EXPECT_EQ(SysPathCount(dir), 1);
  DelPyScriptPath(dir);
}

TEST_F(ScriptEnvTest, PathsKeepTheirBytes) {
  // A backslash, a quote and a newline stand for themselves: nothing is
  // pasted into a statement.
  const std::string odd = folder_ + "a\\b'c\"d\ne";
  AddPyScriptPath(odd);
  EXPECT_EQ(Eval("sys.path[-1] == " + std::string("'") + folder_ + "a\\\\b\\'c\"d\\ne'"), "True");
  DelPyScriptPath(odd);
  EXPECT_EQ(Eval("sys.path[-1].endswith('e')"), "False");
}

TEST_F(ScriptEnvTest, ModulesLoadReloadAndCallFromAnyThread) {
  const std::string dir = folder_ + "mods";
  std::filesystem::create_directory(dir);
  WriteText(dir + "/orbe_env_mod.py", "def orbe_env_mod(a):\n    return a + 1\n");
  AddPyScriptPath(dir);
  orbe::ScriptRef module;
  orbe::ScriptRef function;
  std::string err;
  ASSERT_TRUE(orbe::LoadScriptFunction("orbe_env_mod", false, module, function, err)) << err;
  auto call = [&function](long argument) {
    const orbe::ScriptLock lock;
    orbe::ScriptRef result(PyObject_CallFunction(function.get(), "l", argument));
    return result ? PyLong_AsLong(result.get()) : -1;
  };
  EXPECT_EQ(call(41), 42);
  long from_worker = 0;
  std::thread worker([&] { from_worker = call(1); });
  worker.join();
  EXPECT_EQ(from_worker, 2);
  // An edited file takes effect with a reload only.
  WriteText(dir + "/orbe_env_mod.py", "def orbe_env_mod(a):\n    return a * 10\n");
  ASSERT_TRUE(orbe::LoadScriptFunction("orbe_env_mod", false, module, function, err));
  EXPECT_EQ(call(5), 6);
  ASSERT_TRUE(orbe::LoadScriptFunction("orbe_env_mod", true, module, function, err)) << err;
  EXPECT_EQ(call(5), 50);
  // A missing or non-callable attribute fails with a text.
  WriteText(dir + "/orbe_env_attr.py", "orbe_env_attr = 3\n");
  EXPECT_FALSE(orbe::LoadScriptFunction("orbe_env_attr", false, module, function, err));
  EXPECT_NE(err.find("not callable"), std::string::npos) << err;
  DelPyScriptPath(dir);
}

// The catalogue's load thread may hold the interpreter when the host stops it.
TEST_F(ScriptEnvTest, StopWaitsForAThreadThatHoldsTheInterpreter) {
  std::atomic<bool> holding{false};
  std::string before_stop;
  std::string during_stop;
  bool nested_admitted = false;
  bool newcomer_admitted = true;
  std::thread loader([&] {
    const orbe::ScriptLock lock;
    before_stop = Eval("'%d' % (6*7)");
    holding = true;
    // Bounded: a stop that never begins fails the checks below instead of hanging.
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!orbe::Python().stop_pending() && std::chrono::steady_clock::now() < give_up) std::this_thread::yield();
    // The interpreter is still alive for the thread inside, nested locks too,
    // but nobody new gets in.
    during_stop = Eval("'%d' % (2**5)");
    nested_admitted = orbe::ScriptLock().running();
    std::thread([&] { newcomer_admitted = orbe::ScriptLock().running(); }).join();
  });
  while (!holding) std::this_thread::yield();
  UnInitScriptEvn();
  loader.join();
  EXPECT_EQ(before_stop, "42");
  EXPECT_EQ(during_stop, "32");
  EXPECT_TRUE(nested_admitted);
  EXPECT_FALSE(newcomer_admitted);
  EXPECT_FALSE(IsCBaseEnvInit());
  EXPECT_FALSE(orbe::ScriptLock().running());
  InitScriptEvn();
  EXPECT_EQ(Eval("1+1"), "2");
}

TEST_F(ScriptEnvTest, AThreadInsideCannotStopTheInterpreterUnderItself) {
  {
    const orbe::ScriptLock lock;
    ASSERT_TRUE(lock.running());
    UnInitScriptEvn();
    EXPECT_TRUE(IsCBaseEnvInit());
    EXPECT_EQ(Eval("3*3"), "9");
  }
  UnInitScriptEvn();
  EXPECT_FALSE(IsCBaseEnvInit());
}

TEST_F(ScriptEnvTest, FailuresWithoutAnInterpreterErrorCarryNoInventedText) {
  std::string err = "stale";
  // A module that failed to load is not a stopped interpreter.
  EXPECT_FALSE(orbe::GetScriptFunction(orbe::ScriptRef(), "f", err));
  EXPECT_EQ(err, "");
  err = "stale";
  EXPECT_FALSE(orbe::ReloadScriptModule(orbe::ScriptRef(), err));
  EXPECT_EQ(err, "");
  UnInitScriptEvn();
  err = "stale";
  EXPECT_FALSE(orbe::ImportScriptModule("math", err));
  EXPECT_EQ(err, "");
}

TEST_F(ScriptEnvTest, TheCurrentFolderStandsInForAMissingPrivatePath) {
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(folder_);
  SetPrivPath("");
  UnInitScriptEvn();
  InitScriptEvn();
  std::filesystem::current_path(previous);
  const std::string current = std::filesystem::canonical(folder_).string() + "/";
  EXPECT_EQ(GetPrivPath(), current);
  EXPECT_EQ(orbe::State().user_comm_file, current + "usercomm.ini");
  EXPECT_TRUE(std::filesystem::exists(current + "pyerr"));

  // Another process started in that folder shares its log and may remove it
  // before the log moves to a private path: errors still reach their callers.
  std::filesystem::remove(current + "pyerr");
  const std::string moved = folder_ + "moved/";
  std::filesystem::create_directory(moved);
  SetPrivPath(moved);
  std::string err;
  EXPECT_FALSE(orbe::ImportScriptModule("orbe_no_such_module_moved", err));
  EXPECT_NE(err.find("orbe_no_such_module_moved"), std::string::npos) << err;
  EXPECT_TRUE(std::filesystem::exists(moved + "pyerr"));

  // What another process writes to a shared log is not this one's error.
  WriteText(moved + "pyerr", std::string(4096, 'x'));
  EXPECT_FALSE(orbe::ImportScriptModule("orbe_no_such_module_shared", err));
  EXPECT_NE(err.find("orbe_no_such_module_shared"), std::string::npos) << err;
  EXPECT_EQ(err.find("xxxx"), std::string::npos) << err;
}

TEST_F(ScriptEnvTest, SystemExitInAScriptDoesNotEndTheProcess) {
  const std::string dir = folder_ + "exit";
  std::filesystem::create_directory(dir);
  WriteText(dir + "/orbe_env_exit.py", "import sys\nsys.exit(3)\n");
  AddPyScriptPath(dir);
  std::string err;
  EXPECT_FALSE(orbe::ImportScriptModule("orbe_env_exit", err));
  EXPECT_NE(err.find("SystemExit"), std::string::npos) << err;
  DelPyScriptPath(dir);
}

}  // namespace
