#include "indicators/logic_script_helpers.h"

#include <cstdint>

#include "script/py_entironment.h"
#include "script/py_ptr.h"
#include "script/script_text.h"

namespace orbe {
namespace {

// Walks the parsed expression and accepts only the listed node kinds.
constexpr char kHelperSource[] = R"PY(
import ast, importlib.util

_BOOL_OPS = (ast.And, ast.Or)
_UNARY_OPS = (ast.Not, ast.USub, ast.UAdd)
_BINARY_OPS = (ast.Add, ast.Sub, ast.Mult, ast.Div, ast.FloorDiv, ast.Mod, ast.Pow)
_COMPARE_OPS = (ast.Eq, ast.NotEq, ast.Lt, ast.LtE, ast.Gt, ast.GtE)
_MODULES = ('math', 'time')

def _allowed_call(node, names):
    f = node.func
    if node.keywords or not isinstance(f, ast.Attribute) or not isinstance(f.value, ast.Name):
        return False
    if f.value.id not in _MODULES or f.attr.startswith('_'):
        return False
    if not callable(getattr(importlib.import_module(f.value.id), f.attr, None)):
        return False
    return all(_allowed(a, names) for a in node.args)

def _allowed(node, names):
    if isinstance(node, ast.BoolOp):
        return isinstance(node.op, _BOOL_OPS) and all(_allowed(v, names) for v in node.values)
    if isinstance(node, ast.UnaryOp):
        return isinstance(node.op, _UNARY_OPS) and _allowed(node.operand, names)
    if isinstance(node, ast.BinOp):
        return isinstance(node.op, _BINARY_OPS) and _allowed(node.left, names) and _allowed(node.right, names)
    if isinstance(node, ast.Compare):
        return (all(isinstance(op, _COMPARE_OPS) for op in node.ops) and _allowed(node.left, names)
                and all(_allowed(c, names) for c in node.comparators))
    if isinstance(node, ast.Name):
        return node.id in names
    if isinstance(node, ast.Constant):
        return type(node.value) in (bool, int, float)
    if isinstance(node, ast.Call):
        return _allowed_call(node, names)
    return False

def check(expression, count):
    try:
        if not all(' ' <= c <= '~' and c not in '\\#;' for c in expression):
            return False
        names = set('param%d' % i for i in range(1, count + 1))
        return _allowed(ast.parse(expression, mode='eval').body, names)
    except Exception:
        return False

def load(name, path):
    spec = importlib.util.spec_from_file_location(name, path)
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module
)PY";

// The helpers' namespace of the current run. A dictionary of an ended run
// went with its interpreter and is never touched again.
struct HelperNamespace {
  std::uint64_t run = 0;
  PyObject* globals = nullptr;
};

PyObject* HelperFunction(const char* name) {
  static HelperNamespace helpers;
  const std::uint64_t run = CurrentScriptRun();
  if (helpers.run != run || helpers.globals == nullptr) {
    PyPtr globals(PyDict_New());
    if (!globals || PyDict_SetItemString(globals.get(), "__builtins__", PyEval_GetBuiltins()) != 0) return nullptr;
    const PyPtr result(PyRun_String(kHelperSource, Py_file_input, globals.get(), globals.get()));
    if (!result) return nullptr;
    helpers = HelperNamespace{run, globals.release()};
  }
  return PyDict_GetItemString(helpers.globals, name);  // borrowed
}

}  // namespace

bool IsAllowedLogicExpression(const std::string& expression, int count) {
  PyObject* const check = HelperFunction("check");
  const PyPtr text(NewScriptText(expression));
  const PyPtr verdict(check != nullptr && text ? PyObject_CallFunction(check, "Oi", text.get(), count) : nullptr);
  const bool allowed = verdict && verdict.get() == Py_True;
  PyErr_Clear();
  return allowed;
}

PyObject* LoadModuleFromFile(const std::string& name, const std::string& path) {
  PyObject* const load = HelperFunction("load");
  if (load == nullptr) return nullptr;
  const PyPtr module_name(NewScriptText(name));
  const PyPtr file(NewScriptPath(path));
  if (!module_name || !file) return nullptr;
  return PyObject_CallFunctionObjArgs(load, module_name.get(), file.get(), nullptr);
}

}  // namespace orbe
