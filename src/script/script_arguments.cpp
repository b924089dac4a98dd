#include "script/script_arguments.h"

#include <climits>
#include <cstring>

#include "orbe/widgets/kvx_functions.h"
#include "script/py_ptr.h"
#include "script/script_text.h"

namespace orbe::script {
namespace {

bool WrongType(const ArgumentPlace& place, const char* expected, PyObject* arg) {
  PyErr_Format(PyExc_TypeError, "%.200s() argument %d must be %s, not %.50s", std::string(place.method).c_str(),
               place.index + 1, expected, Py_TYPE(arg)->tp_name);
  return false;
}

bool ApplyMark(std::string& value, char mark) {
  if (mark == 'F') value = _F(value);
  if (mark == 'N') value = _FFONT(value);
  return true;
}

// Empty value of one shape item ("i", "s", ...); null for an unknown shape.
PyObject* EmptyItem(std::string_view item) {
  if (item == "i" || item == "L") return PyLong_FromLong(0);
  if (item == "d" || item == "f") return PyFloat_FromDouble(0.0);
  if (item == "s") return PyUnicode_FromStringAndSize("", 0);
  if (item == "list") return PyList_New(0);
  if (item == "None" || item == "object" || item == "object or None") return Py_NewRef(Py_None);
  PyErr_Format(PyExc_SystemError, "unknown result shape '%.50s'", std::string(item).c_str());
  return nullptr;
}

}  // namespace

bool ReadIntArgument(PyObject* arg, int& value, const ArgumentPlace& place) {
  if (PyLong_CheckExact(arg)) {
    int overflow = 0;
    const long number = PyLong_AsLongAndOverflow(arg, &overflow);
    if (overflow == 0 && number <= INT_MAX && number >= INT_MIN) {
      value = static_cast<int>(number);
      return true;
    }
  }
  if (PyFloat_Check(arg)) return WrongType(place, "int", arg);
  const long number = PyLong_AsLong(arg);
  if (number == -1 && PyErr_Occurred() != nullptr) {
    if (PyErr_ExceptionMatches(PyExc_TypeError)) {
      PyErr_Clear();
      return WrongType(place, "int", arg);
    }
    return false;
  }
  if (number > INT_MAX || number < INT_MIN) {
    PyErr_Format(PyExc_OverflowError, "%.200s() argument %d: signed integer is %s", std::string(place.method).c_str(),
                 place.index + 1, number > INT_MAX ? "greater than maximum" : "less than minimum");
    return false;
  }
  value = static_cast<int>(number);
  return true;
}

bool ReadInt64Argument(PyObject* arg, std::int64_t& value, const ArgumentPlace& place) {
  if (PyFloat_Check(arg)) return WrongType(place, "int", arg);
  const long long number = PyLong_AsLongLong(arg);
  if (number == -1 && PyErr_Occurred() != nullptr) {
    if (PyErr_ExceptionMatches(PyExc_TypeError)) {
      PyErr_Clear();
      return WrongType(place, "int", arg);
    }
    return false;
  }
  value = number;
  return true;
}

bool ReadDoubleArgument(PyObject* arg, double& value, const ArgumentPlace& place) {
  if (PyFloat_CheckExact(arg)) {
    value = PyFloat_AS_DOUBLE(arg);
    return true;
  }
  const double number = PyFloat_AsDouble(arg);
  if (number == -1.0 && PyErr_Occurred() != nullptr) {
    if (PyErr_ExceptionMatches(PyExc_TypeError)) {
      PyErr_Clear();
      return WrongType(place, "float", arg);
    }
    return false;
  }
  value = number;
  return true;
}

bool ReadCharArgument(PyObject* arg, char& value, const ArgumentPlace& place) {
  if (PyBytes_Check(arg) && PyBytes_GET_SIZE(arg) == 1) {
    value = PyBytes_AS_STRING(arg)[0];
    return true;
  }
  if (PyByteArray_Check(arg) && PyByteArray_GET_SIZE(arg) == 1) {
    value = PyByteArray_AS_STRING(arg)[0];
    return true;
  }
  if (PyUnicode_Check(arg) && PyUnicode_GetLength(arg) == 1) {
    std::string gbk;
    if (!ScriptTextToGbk(arg, gbk)) return false;
    if (gbk.size() == 1) {
      value = gbk[0];
      return true;
    }
  }
  return WrongType(place, "a character of one byte", arg);
}

bool ReadTextArgument(PyObject* arg, std::string& value, const ArgumentPlace& place) {
  if (!PyUnicode_Check(arg)) return WrongType(place, "str", arg);
  bool embedded_zero = false;
  if (PyUnicode_IS_ASCII(arg)) {
    // ASCII reads the same in GBK: no encoding needed.
    const auto size = static_cast<std::size_t>(PyUnicode_GET_LENGTH(arg));
    const char* bytes = static_cast<const char*>(PyUnicode_DATA(arg));
    value.assign(bytes, size);
    for (std::size_t i = 0; i < size && !embedded_zero; ++i) embedded_zero = bytes[i] == '\0';
  } else if (!ScriptTextToGbk(arg, value)) {
    return false;
  } else {
    embedded_zero = value.find('\0') != std::string::npos;
  }
  if (embedded_zero) {
    PyErr_Format(PyExc_ValueError, "%.200s() argument %d: embedded null character", std::string(place.method).c_str(),
                 place.index + 1);
    return false;
  }
  return ApplyMark(value, place.mark);
}

bool CheckArity(const ScriptMethodInfo& row, const ScriptArity& arity, Py_ssize_t nargs) {
  if (nargs >= arity.minimum && nargs <= arity.maximum) return true;
  const char* how = arity.minimum == arity.maximum ? "exactly" : nargs < arity.minimum ? "at least" : "at most";
  const int expected = nargs < arity.minimum ? arity.minimum : arity.maximum;
  PyErr_Format(PyExc_TypeError, "%.200s() takes %s %d argument%s (%zd given)", std::string(row.name).c_str(), how,
               expected, expected == 1 ? "" : "s", nargs);
  return false;
}

bool CheckArguments(const ScriptMethodInfo& row, PyObject* const* args, Py_ssize_t nargs) {
  Py_ssize_t index = 0;
  for (const char letter : row.format) {
    if (letter == '|') continue;
    if (index >= nargs) break;
    const ArgumentPlace place{row.name, static_cast<int>(index), '-'};
    PyObject* arg = args[index++];
    bool ok = true;
    switch (letter) {
      case 'i': {
        int value = 0;
        ok = ReadIntArgument(arg, value, place);
        break;
      }
      case 'L': {
        std::int64_t value = 0;
        ok = ReadInt64Argument(arg, value, place);
        break;
      }
      case 'd':
      case 'f': {
        double value = 0;
        ok = ReadDoubleArgument(arg, value, place);
        break;
      }
      case 'c': {
        char value = 0;
        ok = ReadCharArgument(arg, value, place);
        break;
      }
      case 's': {
        std::string value;
        ok = ReadTextArgument(arg, value, place);
        break;
      }
      default:  // 'O' takes anything
        break;
    }
    if (!ok) return false;
  }
  return true;
}

PyObject* EmptyResult(std::string_view shape) {
  if (shape.size() < 2 || shape.front() != '(' || shape.back() != ')') return EmptyItem(shape);
  PyObject* items[16] = {};
  std::size_t count = 0;
  std::string_view rest = shape.substr(1, shape.size() - 2);
  while (!rest.empty() && count < std::size(items)) {
    const std::size_t comma = rest.find(',');
    items[count++] = EmptyItem(rest.substr(0, comma));
    rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
  }
  return TupleOf(items, count);
}

PyObject* MakeText(const std::string& gbk) { return NewScriptText(gbk); }

PyObject* TupleOf(PyObject** items, std::size_t count) {
  bool complete = true;
  for (std::size_t i = 0; i < count; ++i) complete = complete && items[i] != nullptr;
  PyObject* tuple = complete ? PyTuple_New(static_cast<Py_ssize_t>(count)) : nullptr;
  for (std::size_t i = 0; i < count; ++i) {
    if (tuple != nullptr) {
      PyTuple_SET_ITEM(tuple, static_cast<Py_ssize_t>(i), items[i]);
    } else {
      Py_XDECREF(items[i]);
    }
  }
  return tuple;
}

}  // namespace orbe::script
