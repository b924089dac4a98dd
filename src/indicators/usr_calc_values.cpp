#include "indicators/usr_calc_values.h"

#include <cmath>
#include <limits>

#include "orbe/script/script_env.h"
#include "script/py_ptr.h"
#include "script/script_text.h"

namespace orbe {
namespace {

// Most scripts take a few arguments; they go on the stack.
constexpr std::size_t kInlineArguments = 8;

class ArgumentArray {
 public:
  explicit ArgumentArray(std::size_t count) : count_(count) {
    if (count > kInlineArguments) heap_.resize(count, nullptr);
  }
  ~ArgumentArray() {
    for (std::size_t i = 0; i < count_; ++i) Py_XDECREF(data()[i]);
  }
  ArgumentArray(const ArgumentArray&) = delete;
  ArgumentArray& operator=(const ArgumentArray&) = delete;

  PyObject** data() { return heap_.empty() ? inline_ : heap_.data(); }

 private:
  std::size_t count_;
  PyObject* inline_[kInlineArguments] = {};
  std::vector<PyObject*> heap_;
};

}  // namespace

bool IsValueType(int type) { return type >= 0 && type <= 4; }

std::int32_t TruncateToInt32(double value) {
  if (std::isnan(value)) return 0;
  constexpr double kLow = std::numeric_limits<std::int32_t>::min();
  constexpr double kHigh = std::numeric_limits<std::int32_t>::max();
  if (value <= kLow) return std::numeric_limits<std::int32_t>::min();
  if (value >= kHigh) return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(value);
}

PyObject* NewArgument(const vtParam& value) {
  switch (value.type) {
    case 0:
    case 2:
      return PyFloat_FromDouble(static_cast<double>(value.i32));
    case 1:
      return PyFloat_FromDouble(value.dbl);
    case 3:
      return NewScriptText(value.str);
    case 4:
      return PyLong_FromLongLong(value.i64);
    default:
      return nullptr;
  }
}

bool ConvertResult(PyObject* object, int type, vtParam& result) {
  switch (type) {
    case 0:
    case 2: {
      const double value = PyFloat_AsDouble(object);
      if (value == -1.0 && PyErr_Occurred() != nullptr) return false;
      result.i32 = TruncateToInt32(value);
      break;
    }
    case 1: {
      const double value = PyFloat_AsDouble(object);
      if (value == -1.0 && PyErr_Occurred() != nullptr) return false;
      result.dbl = value;
      break;
    }
    case 3:
      if (!ScriptTextToGbk(object, result.str)) return false;
      break;
    case 4: {
      // A float result is truncated as int() would.
      const PyPtr number(PyLong_Check(object) ? Py_NewRef(object) : PyNumber_Long(object));
      if (!number) return false;
      const long long value = PyLong_AsLongLong(number.get());
      if (value == -1 && PyErr_Occurred() != nullptr) return false;
      result.i64 = value;
      break;
    }
    default:
      result.type = kNoValueType;
      return true;
  }
  result.type = type;
  return true;
}

ScriptCallResult CallWithValues(PyObject* function, const std::vector<vtParam>& args, int result_type,
                                vtParam& result, std::string& err) {
  ArgumentArray arguments(args.size());
  for (std::size_t i = 0; i < args.size(); ++i) {
    arguments.data()[i] = NewArgument(args[i]);
    if (arguments.data()[i] != nullptr) continue;
    err = PyErr_Occurred() != nullptr ? Py_PrintAndGetErr() : std::string(kArgumentTypeError);
    return ScriptCallResult::kError;
  }
  const PyPtr returned(PyObject_Vectorcall(function, arguments.data(), args.size(), nullptr));
  if (!returned) {
    err = Py_PrintAndGetErr();
    return ScriptCallResult::kError;
  }
  if (returned.get() == Py_None) return ScriptCallResult::kNone;
  if (!ConvertResult(returned.get(), result_type, result)) {
    err = Py_PrintAndGetErr();
    return ScriptCallResult::kError;
  }
  return ScriptCallResult::kValue;
}

}  // namespace orbe
