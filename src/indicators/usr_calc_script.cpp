// User indicators of the catalogue: the script of one indicator and the test
// a script passes before it is saved.
#include "script/python_api.h"

#include <optional>

#include "indicators/usr_calc_values.h"
#include "orbe/indicators/index_calc.h"
#include "orbe/platform/file.h"
#include "orbe/script/script_call.h"
#include "orbe/script/script_env.h"
#include "script/py_ptr.h"
#include "script/script_text.h"

namespace orbe {
namespace {

constexpr char kScriptMissing[] = "找不到py文件";
constexpr char kMentionsErrorLog[] = "不能引用errorlog字符串";
constexpr char kSyntaxError[] = "语法错误";

std::string ScriptFileOf(const std::string& script_dir, const std::string& codefile) {
  std::string path = script_dir;
  if (!path.empty() && path.back() != '/' && path.back() != '\\') path += '/';
  return path + codefile + ".py";
}

// The value a test call passes for an indicator of this datatype.
std::optional<vtParam> TestArgument(int datatype) {
  vtParam value;
  switch (datatype) {
    case 0:
    case 1:
    case 2:
      value.type = 1;
      value.dbl = 1.0;
      return value;
    case 3:
      value.type = 3;
      value.str = "test";
      return value;
    case 4:
      value.type = 4;
      value.i64 = 1;
      return value;
    default:
      return std::nullopt;
  }
}

// An edited script must be what the test (and the catalogue after it) runs,
// so a module imported before is executed again.
bool IsImported(const std::string& name) {
  const ScriptLock lock;
  if (!lock.running()) return false;
  const PyPtr text(NewScriptText(name));
  const PyPtr module(text ? PyImport_GetModule(text.get()) : nullptr);
  PyErr_Clear();
  return module != nullptr;
}

}  // namespace

bool LoadUsrFunction(const std::string& codefile, ScriptRef& module, ScriptRef& function, CString& err) {
  function.reset();
  module.reset();
  return LoadScriptFunction(codefile, false, module, function, err, kMaxUsrFunctionName);
}

ScriptCallResult CallUsrFunction(const ScriptRef& function, const std::vector<vtParam>& args, int result_type,
                                 vtParam& result, CString& err) {
  const ScriptLock lock;
  PyObject* const callable = function.get();
  // Nothing loaded (or an ended interpreter run) fails without a text.
  if (!lock.running() || callable == nullptr) return ScriptCallResult::kError;
  return CallWithValues(callable, args, result_type, result, err);
}

bool TestUsrScriptFile(const std::string& script_dir, const std::string& codefile,
                       const std::vector<int>& ref_datatypes, CString& err) {
  // A name with a separator would reach outside the script directory.
  const bool plain_name = !codefile.empty() && codefile.find_first_of("/\\") == std::string::npos;
  const std::optional<std::string> text =
      plain_name ? ReadWholeFile(ScriptFileOf(script_dir, codefile)) : std::nullopt;
  if (!text) {
    err = kScriptMissing;
    return false;
  }
  if (text->find("errorlog") != std::string::npos) {
    err = kMentionsErrorLog;
    return false;
  }
  std::vector<vtParam> args;
  for (const int datatype : ref_datatypes) {
    std::optional<vtParam> argument = TestArgument(datatype);
    if (!argument) {
      err = kSyntaxError;
      return false;
    }
    args.push_back(std::move(*argument));
  }
  const ScriptLock lock;
  ScriptRef module;
  ScriptRef function;
  std::string ignored;
  if (!LoadScriptFunction(codefile, IsImported(codefile), module, function, ignored, kMaxUsrFunctionName)) {
    err = kSyntaxError;
    return false;
  }
  vtParam result;
  switch (CallWithValues(function.get(), args, kNoValueType, result, ignored)) {
    case ScriptCallResult::kValue:
      return true;
    case ScriptCallResult::kNone:
      err = kNoReturnValue;
      return false;
    case ScriptCallResult::kError:
      break;
  }
  err = kSyntaxError;
  return false;
}

}  // namespace orbe
