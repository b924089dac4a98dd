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

# The expression runs on the window thread, once per security: only what
# answers at once and stays small may pass. Powers (9**9**9) and every call
# but the math functions below (time.sleep, math.factorial) are refused.
_MAX_LENGTH = 8192
_MAX_DEPTH = 100
_BOOL_OPS = (ast.And, ast.Or)
_UNARY_OPS = (ast.Not, ast.USub, ast.UAdd)
_BINARY_OPS = (ast.Add, ast.Sub, ast.Mult, ast.Div, ast.FloorDiv, ast.Mod)
_COMPARE_OPS = (ast.Eq, ast.NotEq, ast.Lt, ast.LtE, ast.Gt, ast.GtE)
_MATH = frozenset(('fabs', 'sqrt', 'floor', 'ceil', 'trunc', 'exp', 'log', 'log10', 'fmod', 'copysign',
                   'isfinite', 'isinf', 'isnan'))

def _children(node, names):
    if isinstance(node, ast.BoolOp) and isinstance(node.op, _BOOL_OPS):
        return node.values
    if isinstance(node, ast.UnaryOp) and isinstance(node.op, _UNARY_OPS):
        return [node.operand]
    if isinstance(node, ast.BinOp) and isinstance(node.op, _BINARY_OPS):
        return [node.left, node.right]
    if isinstance(node, ast.Compare) and all(isinstance(op, _COMPARE_OPS) for op in node.ops):
        return [node.left] + node.comparators
    if isinstance(node, ast.Name) and node.id in names:
        return []
    if isinstance(node, ast.Constant) and type(node.value) in (bool, int, float):
        return []
    if (isinstance(node, ast.Call) and not node.keywords and isinstance(node.func, ast.Attribute)
            and isinstance(node.func.value, ast.Name) and node.func.value.id == 'math'
            and node.func.attr in _MATH):
        return node.args
    return None

def _allowed(tree, names):
    pending = [(tree, 1)]
    while pending:
        node, depth = pending.pop()
        children = _children(node, names)
        if children is None or depth > _MAX_DEPTH:
            return False
        pending.extend((child, depth + 1) for child in children)
    return True

def check(expression, count):
    try:
        if len(expression) > _MAX_LENGTH:
            return False
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
