// CPyLogicCalc: a scheme's logical expression as a generated Python function.
#include "script/python_api.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "indicators/logic_script_helpers.h"
#include "orbe/dictionary/cw_file_util.h"
#include "orbe/indicators/index_calc.h"
#include "orbe/platform/file.h"
#include "orbe/platform/text.h"
#include "orbe/script/script_call.h"
#include "orbe/script/script_env.h"
#include "script/py_ptr.h"

namespace {

constexpr char kFunctionPrefix[] = "FunLogicCalc";

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// "import time,math", the definition line and the return line, without a
// line end after the expression.
std::string GeneratedSource(const std::string& name, const std::string& expression, int count) {
  std::string parameters;
  for (int i = 1; i <= count; ++i) parameters += orbe::Format(i == 1 ? "param%d" : ",param%d", i);
  return "import time,math\ndef " + name + "(" + parameters + "):\n\treturn " + expression;
}

std::string NewFunctionName() {
  std::string uuid = CwFileUtil::GenUUID();
  std::erase(uuid, '-');
  return uuid.empty() ? std::string() : kFunctionPrefix + uuid;
}

// Calls with one bool per condition; a new reference or null (error pending).
PyObject* CallWithConditions(PyObject* function, const std::vector<bool>& conditions) {
  std::vector<PyObject*> arguments;
  arguments.reserve(conditions.size());
  for (const bool condition : conditions) arguments.push_back(condition ? Py_True : Py_False);
  return PyObject_Vectorcall(function, arguments.data(), arguments.size(), nullptr);
}

}  // namespace

CPyLogicCalc::CPyLogicCalc(const CString& dir) : dir_(dir) {
  if (dir_.size() > 1 && !IsSeparator(dir_.back())) dir_ += '/';
}

CPyLogicCalc::~CPyLogicCalc() { Release(); }

CString CPyLogicCalc::ScriptFile() const { return name_.empty() ? CString() : dir_ + name_ + ".py"; }

bool CPyLogicCalc::Compile(const CString& expression, int count) {
  if (!name_.empty() || count < 0) return false;  // the caller releases first
  const orbe::ScriptLock lock;
  if (!lock.running() || !orbe::IsAllowedLogicExpression(expression, count)) return false;
  name_ = NewFunctionName();
  if (name_.empty()) return false;
  if (!orbe::WriteFileAtomically(ScriptFile(), GeneratedSource(name_, expression, count))) {
    name_.clear();
    return false;
  }
  module_ = orbe::ScriptRef(orbe::LoadModuleFromFile(name_, ScriptFile()));
  if (module_) {
    std::string err;
    function_ = orbe::GetScriptFunction(module_, name_, err);
  }
  const std::vector<bool> all_true(static_cast<std::size_t>(count), true);
  const orbe::PyPtr result(function_ ? CallWithConditions(function_.get(), all_true) : nullptr);
  const bool compiled = result && result.get() != Py_None;
  if (PyErr_Occurred() != nullptr) Py_PrintAndGetErr();  // captured; the caller says "表达式错误"
  if (!compiled) Release();
  return compiled;
}

bool CPyLogicCalc::Calc(const std::vector<bool>& conditions) {
  if (conditions.empty()) return false;
  const orbe::ScriptLock lock;
  PyObject* const function = function_.get();
  if (!lock.running() || function == nullptr) return false;
  const orbe::PyPtr result(CallWithConditions(function, conditions));
  if (!result) {
    Py_PrintAndGetErr();
    return false;
  }
  if (result.get() == Py_None) return false;
  // The integer value decides, as for a count of true conditions.
  const orbe::PyPtr number(PyNumber_Long(result.get()));
  const long value = number ? PyLong_AsLong(number.get()) : 0;
  PyErr_Clear();
  return value != 0;
}

void CPyLogicCalc::Release() {
  function_.reset();
  module_.reset();
  if (name_.empty()) return;
  std::error_code ignored;
  const std::filesystem::path dir = dir_.empty() ? std::filesystem::path(".") : std::filesystem::path(dir_);
  std::filesystem::remove(dir / (name_ + ".py"), ignored);
  std::filesystem::remove(dir / (name_ + ".pyc"), ignored);
  const std::filesystem::path cache = dir / "__pycache__";
  std::filesystem::remove(cache / (name_ + "." + PyImport_GetMagicTag() + ".pyc"), ignored);
  std::filesystem::remove(cache, ignored);  // only when nothing else is cached there
  name_.clear();
}
