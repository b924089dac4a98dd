// vtParam values to and from interpreter objects, by DATA_TYPE: 0 and 2 cross
// as float (truncated back to a 32-bit integer), 1 as float, 3 as str (GBK),
// 4 as int. The interpreter must be held.
#ifndef ORBE_INDICATORS_USR_CALC_VALUES_H_
#define ORBE_INDICATORS_USR_CALC_VALUES_H_

#include "script/python_api.h"

#include <cstdint>
#include <string>
#include <vector>

#include "orbe/indicators/index_calc.h"

namespace orbe {

inline constexpr char kArgumentTypeError[] = "参数类型错误";
inline constexpr char kResultTypeError[] = "返回值类型错误";
inline constexpr char kNoReturnValue[] = "没有返回值";

bool IsValueType(int type);

// A new reference; null with no interpreter error when `value.type` has no
// conversion, null with the error pending when the interpreter failed.
PyObject* NewArgument(const vtParam& value);

// Converts `object` by `type` into `result` (type set). False with the
// interpreter error pending when the object does not convert.
bool ConvertResult(PyObject* object, int type, vtParam& result);

// The float-to-integer truncation of the result conversion: towards zero,
// saturated at the limits, NaN as 0.
std::int32_t TruncateToInt32(double value);

// Calls `function` with one argument per value. kError with `err` set to
// kArgumentTypeError or the interpreter text; kNone for None; otherwise the
// returned object is converted by `result_type` (outside 0..4: type 5).
ScriptCallResult CallWithValues(PyObject* function, const std::vector<vtParam>& args, int result_type,
                                vtParam& result, std::string& err);

}  // namespace orbe

#endif  // ORBE_INDICATORS_USR_CALC_VALUES_H_
