// How a row of the method table reaches its operation: the arguments are
// read by the C++ parameter types of the operation (which the row's format
// must name, checked when the table is compiled), the operation is called on
// the container, and its result (or, when it has out-parameters, those) is
// built into the interpreter's value of the row's shape.
#ifndef ORBE_SCRIPT_SCRIPT_BINDING_H_
#define ORBE_SCRIPT_SCRIPT_BINDING_H_

#include "script/python_api.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "orbe/script/container_fun.h"
#include "orbe/script/script_methods.h"
#include "orbe/script/script_ref.h"
#include "script/script_arguments.h"

class CKVXContainer;

namespace orbe::script {

struct MethodRow;
// Calls the row's operation on the container; a new reference, or null with
// the interpreter error set.
using MethodInvoke = PyObject* (*)(IContainerFun& owner, PyObject* const* args, Py_ssize_t nargs,
                                   const ScriptMethodInfo& row);

struct MethodRow {
  ScriptMethodInfo info;
  ScriptArity arity;    // of info.format
  MethodInvoke invoke;  // null: answer the empty result
};

// The rows in table order (script_method_table.cpp).
extern const MethodRow kMethodRows[kScriptMethodCount];

// --- Parameters: how a C++ parameter type takes its argument ---

template <typename T>
struct Param;  // no specialisation: the type cannot be a script argument

template <typename V, char Letter, bool Out = false>
struct ParamOf {
  using Value = V;
  static constexpr char kLetter = Letter;
  static constexpr bool kOut = Out;
};

template <> struct Param<int> : ParamOf<int, 'i'> {};
// Colours (COLORREF) cross as ints: -1 is CLR_NONE.
template <> struct Param<unsigned int> : ParamOf<unsigned int, 'i'> {};
template <> struct Param<bool> : ParamOf<bool, 'i'> {};
template <> struct Param<std::int64_t> : ParamOf<std::int64_t, 'L'> {};
template <> struct Param<double> : ParamOf<double, 'd'> {};
template <> struct Param<float> : ParamOf<float, 'f'> {};
template <> struct Param<char> : ParamOf<char, 'c'> {};
template <> struct Param<const std::string&> : ParamOf<std::string, 's'> {};
template <> struct Param<_object*> : ParamOf<_object*, 'O'> {};
// Out-parameters are not script arguments; they come back as the result.
template <> struct Param<int&> : ParamOf<int, 'i', true> {};
template <> struct Param<bool&> : ParamOf<bool, 'i', true> {};
template <> struct Param<std::int64_t&> : ParamOf<std::int64_t, 'L', true> {};
template <> struct Param<double&> : ParamOf<double, 'd', true> {};
template <> struct Param<float&> : ParamOf<float, 'f', true> {};
template <> struct Param<std::string&> : ParamOf<std::string, 's', true> {};

inline bool ReadValue(PyObject* arg, int& value, const ArgumentPlace& place) { return ReadIntArgument(arg, value, place); }
inline bool ReadValue(PyObject* arg, unsigned int& value, const ArgumentPlace& place) {
  int number = 0;
  if (!ReadIntArgument(arg, number, place)) return false;
  value = static_cast<unsigned int>(number);
  return true;
}
inline bool ReadValue(PyObject* arg, bool& value, const ArgumentPlace& place) {
  int number = 0;
  if (!ReadIntArgument(arg, number, place)) return false;
  value = number != 0;
  return true;
}
inline bool ReadValue(PyObject* arg, std::int64_t& value, const ArgumentPlace& place) {
  return ReadInt64Argument(arg, value, place);
}
inline bool ReadValue(PyObject* arg, double& value, const ArgumentPlace& place) {
  return ReadDoubleArgument(arg, value, place);
}
inline bool ReadValue(PyObject* arg, float& value, const ArgumentPlace& place) {
  double number = 0;
  if (!ReadDoubleArgument(arg, number, place)) return false;
  value = static_cast<float>(number);
  return true;
}
inline bool ReadValue(PyObject* arg, char& value, const ArgumentPlace& place) {
  return ReadCharArgument(arg, value, place);
}
inline bool ReadValue(PyObject* arg, std::string& value, const ArgumentPlace& place) {
  return ReadTextArgument(arg, value, place);
}
inline bool ReadValue(PyObject* arg, _object*& value, const ArgumentPlace&) {
  value = arg;
  return true;
}

// --- Results: how a C++ value becomes the script's value ---

template <typename T>
struct Result;  // no specialisation: the type cannot be a script result

template <> struct Result<int> {
  static constexpr std::string_view kShape = "i";
  static PyObject* Make(int value) { return PyLong_FromLong(value); }
};
template <> struct Result<bool> {
  static constexpr std::string_view kShape = "i";
  static PyObject* Make(bool value) { return PyLong_FromLong(value ? 1 : 0); }
};
template <> struct Result<std::int64_t> {
  static constexpr std::string_view kShape = "L";
  static PyObject* Make(std::int64_t value) { return PyLong_FromLongLong(value); }
};
template <> struct Result<double> {
  static constexpr std::string_view kShape = "d";
  static PyObject* Make(double value) { return PyFloat_FromDouble(value); }
};
template <> struct Result<float> {
  static constexpr std::string_view kShape = "f";
  static PyObject* Make(float value) { return PyFloat_FromDouble(value); }
};
template <> struct Result<std::string> {
  static constexpr std::string_view kShape = "s";
  static PyObject* Make(const std::string& value) { return MakeText(value); }
};
template <> struct Result<ScriptRef> {
  static constexpr std::string_view kShape = "object";
  static PyObject* Make(ScriptRef& value) {
    PyObject* object = value.release();
    return object != nullptr ? object : Py_NewRef(Py_None);
  }
};
template <typename... T>
struct Result<std::tuple<T...>> {
  static PyObject* Make(const std::tuple<T...>& values) {
    return MakeTuple(values, std::index_sequence_for<T...>{});
  }
  template <std::size_t... I>
  static PyObject* MakeTuple(const std::tuple<T...>& values, std::index_sequence<I...>) {
    PyObject* items[] = {Result<T>::Make(std::get<I>(values))...};
    return TupleOf(items, sizeof...(T));
  }
};
template <typename T>
struct Result<std::vector<T>> {
  static constexpr std::string_view kShape = "list";
  static PyObject* Make(const std::vector<T>& values) {
    PyObject* list = PyList_New(static_cast<Py_ssize_t>(values.size()));
    if (list == nullptr) return nullptr;
    for (std::size_t i = 0; i < values.size(); ++i) {
      PyObject* item = Result<T>::Make(values[i]);
      if (item == nullptr) {
        Py_DECREF(list);
        return nullptr;
      }
      PyList_SET_ITEM(list, static_cast<Py_ssize_t>(i), item);
    }
    return list;
  }
};

// --- Compile-time checks of a row against its operation ---

template <typename... T>
struct TypeList {};

template <typename F>
struct FnTraits;
template <typename C, typename R, typename... A>
struct FnTraits<R (C::*)(A...)> {
  using Class = C;
  using Return = R;
  using Params = TypeList<A...>;
  static constexpr bool kMember = true;
};
template <typename C, typename R, typename... A>
struct FnTraits<R (C::*)(A...) const> {
  using Class = C;
  using Return = R;
  using Params = TypeList<A...>;
  static constexpr bool kMember = true;
};
template <typename C, typename R, typename... A>
struct FnTraits<R (*)(C&, A...)> {
  using Class = C;
  using Return = R;
  using Params = TypeList<A...>;
  static constexpr bool kMember = false;
};

constexpr std::string_view FormatLetters(std::string_view format, char* buffer, std::size_t size) {
  std::size_t n = 0;
  for (const char c : format) {
    if (c != '|' && n < size) buffer[n++] = c;
  }
  return std::string_view(buffer, n);
}

template <typename... P>
constexpr bool FormatFits(std::string_view format, TypeList<P...>) {
  char letters[32] = {};
  const std::string_view expected = FormatLetters(format, letters, sizeof letters);
  const char params[] = {(Param<P>::kOut ? '\0' : Param<P>::kLetter)..., '\0'};
  std::size_t n = 0;
  for (std::size_t i = 0; i + 1 < sizeof params; ++i) {
    if (params[i] == '\0') continue;
    if (n >= expected.size() || expected[n] != params[i]) return false;
    ++n;
  }
  return n == expected.size();
}

// A tuple shape "(a,b,...)" whose items are the given letters, in order.
constexpr bool TupleShapeIs(std::string_view shape, std::string_view letters) {
  if (shape.size() != letters.size() * 2 + 1 || shape.front() != '(' || shape.back() != ')') return false;
  for (std::size_t i = 0; i < letters.size(); ++i) {
    if (shape[1 + 2 * i] != letters[i]) return false;
    if (shape[2 + 2 * i] != (i + 1 == letters.size() ? ')' : ',')) return false;
  }
  return true;
}

template <typename... T>
constexpr bool TupleLettersFit(std::string_view shape, std::tuple<T...>*) {
  const char letters[] = {Result<T>::kShape[0]..., '\0'};
  return ((Result<T>::kShape.size() == 1) && ...) && TupleShapeIs(shape, std::string_view(letters, sizeof...(T)));
}

template <typename R>
constexpr bool ReturnFits(std::string_view shape) {
  if constexpr (std::is_void_v<R>) {
    return shape == "None";
  } else if constexpr (std::is_same_v<R, ScriptRef>) {
    return shape == "object" || shape == "object or None";
  } else if constexpr (requires { Result<R>::kShape; }) {
    return shape == Result<R>::kShape;
  } else {
    return TupleLettersFit(shape, static_cast<R*>(nullptr));
  }
}

template <typename R, typename... P>
constexpr bool ShapeFits(std::string_view shape, TypeList<P...>) {
  constexpr std::size_t outs = (0 + ... + (Param<P>::kOut ? 1 : 0));
  if constexpr (outs == 0) {
    return ReturnFits<R>(shape);
  } else {
    const char letters[] = {(Param<P>::kOut ? Param<P>::kLetter : '\0')..., '\0'};
    char kept[sizeof...(P) + 1] = {};
    std::size_t n = 0;
    for (std::size_t i = 0; i < sizeof...(P); ++i) {
      if (letters[i] != '\0') kept[n++] = letters[i];
    }
    if (n == 1) return shape.size() == 1 && shape[0] == kept[0];
    return TupleShapeIs(shape, std::string_view(kept, n));
  }
}

template <auto Fn>
constexpr bool RowFits(std::string_view format, std::string_view shape) {
  if constexpr (std::is_same_v<decltype(Fn), std::nullptr_t>) {
    return true;
  } else {
    using Traits = FnTraits<decltype(Fn)>;
    return FormatFits(format, typename Traits::Params{}) &&
           ShapeFits<typename Traits::Return>(shape, typename Traits::Params{});
  }
}

// --- Calling ---

template <typename C>
C* TargetOf(IContainerFun& owner) {
  if constexpr (std::is_base_of_v<C, IContainerFun>) {
    return &owner;
  } else {
    return owner.ContainerWidgets();
  }
}

template <typename P>
bool ReadParam(typename Param<P>::Value& value, PyObject* const* args, Py_ssize_t nargs,
               const ScriptMethodInfo& row, Py_ssize_t& next) {
  if constexpr (Param<P>::kOut) {
    return true;
  } else {
    const Py_ssize_t index = next++;
    if (index >= nargs) return true;  // an optional argument left out
    const ArgumentPlace place{row.name, static_cast<int>(index), DisplayMark(row.display, index)};
    return ReadValue(args[index], value, place);
  }
}

template <typename P, typename V>
void AddOut(PyObject** items, std::size_t& n, const V& value) {
  if constexpr (Param<P>::kOut) items[n++] = Result<typename Param<P>::Value>::Make(value);
}

template <auto Fn, typename C, typename R, typename... P, std::size_t... I>
PyObject* CallParams(C& target, [[maybe_unused]] PyObject* const* args, [[maybe_unused]] Py_ssize_t nargs,
                     [[maybe_unused]] const ScriptMethodInfo& row, TypeList<P...>, std::index_sequence<I...>) {
  std::tuple<typename Param<P>::Value...> values{};
  [[maybe_unused]] Py_ssize_t next = 0;
  if (!(ReadParam<P>(std::get<I>(values), args, nargs, row, next) && ...)) return nullptr;
  const auto call = [&]() -> R {
    if constexpr (FnTraits<decltype(Fn)>::kMember) {
      return (target.*Fn)(std::get<I>(values)...);
    } else {
      return Fn(target, std::get<I>(values)...);
    }
  };
  constexpr std::size_t outs = (0 + ... + (Param<P>::kOut ? 1 : 0));
  if constexpr (outs > 0) {
    call();
    PyObject* items[outs] = {};
    std::size_t n = 0;
    (AddOut<P>(items, n, std::get<I>(values)), ...);
    return outs == 1 ? items[0] : TupleOf(items, outs);
  } else if constexpr (std::is_void_v<R>) {
    call();
    return Py_NewRef(Py_None);
  } else {
    R result = call();
    // An adapter that reads an argument itself (a list) reports a bad one as
    // the interpreter's error.
    if constexpr (!FnTraits<decltype(Fn)>::kMember) {
      if (PyErr_Occurred() != nullptr) return nullptr;
    }
    return Result<R>::Make(result);
  }
}

template <auto Fn, typename C, typename R, typename... P>
PyObject* CallTarget(C& target, PyObject* const* args, Py_ssize_t nargs, const ScriptMethodInfo& row,
                     TypeList<P...> params) {
  return CallParams<Fn, C, R>(target, args, nargs, row, params, std::index_sequence_for<P...>{});
}

template <auto Fn>
PyObject* Invoke(IContainerFun& owner, PyObject* const* args, Py_ssize_t nargs, const ScriptMethodInfo& row) {
  using Traits = FnTraits<decltype(Fn)>;
  using C = typename Traits::Class;
  C* target = TargetOf<C>(owner);
  if (target == nullptr) return EmptyResult(row.result);
  return CallTarget<Fn, C, typename Traits::Return>(*target, args, nargs, row, typename Traits::Params{});
}

template <auto Fn>
constexpr MethodInvoke InvokerOf() {
  if constexpr (std::is_same_v<decltype(Fn), std::nullptr_t>) {
    return nullptr;
  } else {
    return &Invoke<Fn>;
  }
}

}  // namespace orbe::script

#endif  // ORBE_SCRIPT_SCRIPT_BINDING_H_
