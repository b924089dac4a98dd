// IndexCalcParticle: one user-indicator script loaded from a file path, for
// components that calculate outside the catalogue.
#include "script/python_api.h"

#include <memory>

#include "indicators/usr_calc_values.h"
#include "orbe/indicators/index_calc.h"
#include "orbe/script/script_call.h"
#include "orbe/script/script_env.h"

namespace orbe {
namespace {

constexpr std::size_t kScriptSuffixLength = 3;  // ".py"

class IndexCalcParticle final : public IIndexCalcParticle {
 public:
  ~IndexCalcParticle() override { Release(); }

  bool LoadScript(const std::string& path, std::string& err) override { return Load(path, false, err); }

  bool ReloadScript() override {
    const std::string path = path_;
    std::string ignored;
    return !path.empty() && Load(path, true, ignored);
  }

  void Release() override {
    function_.reset();
    module_.reset();
  }

  bool Calc(const std::vector<vtParam>& args, vtParam& result, std::string& err) override;

 private:
  bool Load(const std::string& path, bool reload, std::string& err);

  std::string path_;
  ScriptRef module_;
  ScriptRef function_;
};

bool IndexCalcParticle::Load(const std::string& path, bool reload, std::string& err) {
  path_.clear();
  Release();
  const std::size_t separator = path.find_last_of("/\\");
  const std::string name = separator == std::string::npos ? path : path.substr(separator + 1);
  if (separator != std::string::npos && separator > 0) AddPyScriptPath(path.substr(0, separator));
  if (name.size() <= kScriptSuffixLength) return false;
  const std::string module_name = name.substr(0, name.size() - kScriptSuffixLength);
  if (!LoadScriptFunction(module_name, reload, module_, function_, err)) return false;
  path_ = path;
  return true;
}

bool IndexCalcParticle::Calc(const std::vector<vtParam>& args, vtParam& result, std::string& err) {
  const ScriptLock lock;
  PyObject* const function = function_.get();
  if (!lock.running() || function == nullptr) return false;
  const int result_type = result.type;
  vtParam converted = result;
  switch (CallWithValues(function, args, result_type, converted, err)) {
    case ScriptCallResult::kNone:
      err = kNoReturnValue;
      return false;
    case ScriptCallResult::kError:
      return false;
    case ScriptCallResult::kValue:
      break;
  }
  if (!IsValueType(result_type)) {
    err = kResultTypeError;
    return false;
  }
  result = std::move(converted);
  return true;
}

}  // namespace
}  // namespace orbe

IIndexCalcParticle* CreateIndexCalcParticle() {
  return std::make_unique<orbe::IndexCalcParticle>().release();
}

void DeleteIndexCalcParticle(IIndexCalcParticle* particle) {
  // Made here by CreateIndexCalcParticle; ownership returns with the call.
  std::unique_ptr<IIndexCalcParticle> owned(particle);
}
