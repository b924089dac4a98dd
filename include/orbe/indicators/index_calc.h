// Values of indicators and the three calculations that run Python: user
// indicators of the catalogue (LoadUsrFunction, TestUsrScriptFile), the
// logical expression of a scheme (CPyLogicCalc) and the stand-alone script
// calculator (IIndexCalcParticle) other components create by export.
#ifndef ORBE_INDICATORS_INDEX_CALC_H_
#define ORBE_INDICATORS_INDEX_CALC_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "orbe/platform/types.h"
#include "orbe/script/script_ref.h"

// One value. `type` is the DATA_TYPE of the value: 0 and 2 in i32, 1 in dbl,
// 3 in str (GBK), 4 in i64; 5 (or anything else) means no value.
struct vtParam {
  int type = 5;
  int updown = 0;  // colouring mark: 1 up, -1 down, 0 none
  std::int64_t i64 = 0;
  int i32 = 0;
  double dbl = 0.0;
  CString str;
};

// A user-indicator script loaded on its own: a module whose function has the
// module's name. Slots in this order.
class IIndexCalcParticle {
 public:
  virtual ~IIndexCalcParticle() = default;
  // Loads "<dir>/<name>.py" (either separator): the folder joins sys.path,
  // module <name> is imported and its function <name> fetched.
  virtual bool LoadScript(const std::string& path, std::string& err) = 0;
  // Loads the stored path again, re-executing the file.
  virtual bool ReloadScript() = 0;
  virtual void Release() = 0;
  // Arguments by their `type`; the result converted by the `type` the caller
  // preset in `result`. Failures: "参数类型错误", "没有返回值", "返回值类型错误"
  // or the interpreter's error text.
  virtual bool Calc(const std::vector<vtParam>& args, vtParam& result, std::string& err) = 0;
};

extern "C" {
IIndexCalcParticle* CreateIndexCalcParticle();
void DeleteIndexCalcParticle(IIndexCalcParticle* particle);
}

// Turns a scheme's logical expression (markers "#n" already spelled "paramn")
// into a generated function of param1..paramN and applies it to the condition
// results of each security. The expression is checked before it is compiled:
// only the names param1..paramN, True, False, numbers, boolean, comparison and
// arithmetic operators without powers, parentheses and calls of a few math
// functions, so that it can neither block nor grow without end.
class CPyLogicCalc {
 public:
  // `dir`: the script directory, as it is on disk.
  explicit CPyLogicCalc(const CString& dir);
  ~CPyLogicCalc();
  CPyLogicCalc(const CPyLogicCalc&) = delete;
  CPyLogicCalc& operator=(const CPyLogicCalc&) = delete;

  // False for a refused or broken expression (the caller says "表达式错误"),
  // while a function is still held, or when the call with all True gives None.
  bool Compile(const CString& expression, int count);
  // True when the function gives a value whose integer value is not 0.
  bool Calc(const std::vector<bool>& conditions);
  // Drops the function and deletes its generated files.
  void Release();

  // The generated file while a function is held; "" otherwise.
  CString ScriptFile() const;

 private:
  CString dir_;
  CString name_;
  orbe::ScriptRef module_;
  orbe::ScriptRef function_;
};

namespace orbe {

inline constexpr int kNoValueType = 5;
// User-indicator module names are cut to this many bytes for the lookup.
inline constexpr std::size_t kMaxUsrFunctionName = 255;

enum class ScriptCallResult { kValue, kNone, kError };

// A user indicator's `module` and `function`: imports module `codefile` from
// sys.path and fetches its function named like it. False with the
// interpreter's error text, both references empty.
bool LoadUsrFunction(const std::string& codefile, ScriptRef& module, ScriptRef& function, CString& err);

// Calls a user indicator's function with one argument per entry, converted by
// its `type` (the referenced indicator's datatype): 0, 1, 2 as float, 3 as str,
// 4 as int; another type fails with "参数类型错误". A value is converted by
// `result_type` into `result`, whose type becomes result_type (5 when it is
// outside 0..4). None gives kNone without text; an interpreter error kError
// with its text; an empty function (or an ended interpreter run) kError.
ScriptCallResult CallUsrFunction(const ScriptRef& function, const std::vector<vtParam>& args, int result_type,
                                 vtParam& result, CString& err);

// Steps of the catalogue's TestUsrScript after its reference checks: reads
// `script_dir`/`codefile`.py (the directory as it is on disk), refuses a text
// that mentions errorlog, imports it afresh (an edited file takes effect) and
// calls the function once with a test value per referenced datatype.
// Failures: "找不到py文件", "不能引用errorlog字符串", "语法错误", "没有返回值".
bool TestUsrScriptFile(const std::string& script_dir, const std::string& codefile,
                       const std::vector<int>& ref_datatypes, CString& err);

}  // namespace orbe

#endif  // ORBE_INDICATORS_INDEX_CALC_H_
