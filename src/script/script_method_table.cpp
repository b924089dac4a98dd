// The method table, expanded from script_method_table.inc: a compile-time
// check of every row against its operation, then the rows themselves.
#include "script/python_api.h"

#include <string_view>
#include <type_traits>
#include <unordered_map>

#include "orbe/dictionary/cw_file_util.h"
#include "orbe/script/script_methods.h"
#include "script/lookup_bindings.h"
#include "script/script_binding.h"
#include "script/script_widget_rows.h"

namespace orbe::script {
namespace {

#define ORBE_BINDER_OWN(name, ...) &IContainerFun::name
#define ORBE_BINDER_MEMBER(name, op) &IContainerFun::op
#define ORBE_BINDER_LOOKUP_TEXT(name, fn) &LookupText<&CwFileUtil::fn>
#define ORBE_BINDER_LOOKUP_LIST(name, fn) &LookupList<&CwFileUtil::fn>
#define ORBE_BINDER_LOOKUP_BOND(name, fn) &LookupBond<&CwFileUtil::fn>
#define ORBE_BINDER_HOST_BOARDS(name, fn) &HostBoards<&CwFileUtil::fn>
#define ORBE_BINDER_HOST_BOARD(name, fn) &HostBoard<&CwFileUtil::fn>
#define ORBE_BINDER_PENDING(name, ...) nullptr
#define ORBE_BINDING(name, binder, arg) ORBE_BINDER_##binder(name, arg)

// Widget rows are bound (and checked against their operations) in
// script_widget_rows_*.cpp; here they are their invokers.
#define ORBE_INVOKER_WIDGET(name, ...) &WidgetInvoke_##name
#define ORBE_INVOKER_ADAPTER(name, ...) &WidgetInvoke_##name
#define ORBE_INVOKER_DATA(name, binder, arg) InvokerOf<ORBE_BINDING(name, binder, arg)>()
#define ORBE_INVOKER_OWN(name, arg) ORBE_INVOKER_DATA(name, OWN, arg)
#define ORBE_INVOKER_MEMBER(name, arg) ORBE_INVOKER_DATA(name, MEMBER, arg)
#define ORBE_INVOKER_LOOKUP_TEXT(name, arg) ORBE_INVOKER_DATA(name, LOOKUP_TEXT, arg)
#define ORBE_INVOKER_LOOKUP_LIST(name, arg) ORBE_INVOKER_DATA(name, LOOKUP_LIST, arg)
#define ORBE_INVOKER_LOOKUP_BOND(name, arg) ORBE_INVOKER_DATA(name, LOOKUP_BOND, arg)
#define ORBE_INVOKER_HOST_BOARDS(name, arg) ORBE_INVOKER_DATA(name, HOST_BOARDS, arg)
#define ORBE_INVOKER_HOST_BOARD(name, arg) ORBE_INVOKER_DATA(name, HOST_BOARD, arg)
#define ORBE_INVOKER_PENDING(name, ...) nullptr
#define ORBE_INVOKER(name, binder, arg) ORBE_INVOKER_##binder(name, arg)
#define ORBE_BUILT_PENDING false
#define ORBE_BUILT_WIDGET true
#define ORBE_BUILT_ADAPTER true
#define ORBE_BUILT_OWN true
#define ORBE_BUILT_MEMBER true
#define ORBE_BUILT_LOOKUP_TEXT true
#define ORBE_BUILT_LOOKUP_LIST true
#define ORBE_BUILT_LOOKUP_BOND true
#define ORBE_BUILT_HOST_BOARDS true
#define ORBE_BUILT_HOST_BOARD true

#define ORBE_CHECK_WIDGET(name, format, result, arg)
#define ORBE_CHECK_ADAPTER(name, format, result, arg)
#define ORBE_CHECK_OWN(name, format, result, arg) ORBE_CHECK_DATA(name, format, result, OWN, arg)
#define ORBE_CHECK_MEMBER(name, format, result, arg) ORBE_CHECK_DATA(name, format, result, MEMBER, arg)
#define ORBE_CHECK_LOOKUP_TEXT(name, format, result, arg) ORBE_CHECK_DATA(name, format, result, LOOKUP_TEXT, arg)
#define ORBE_CHECK_LOOKUP_LIST(name, format, result, arg) ORBE_CHECK_DATA(name, format, result, LOOKUP_LIST, arg)
#define ORBE_CHECK_LOOKUP_BOND(name, format, result, arg) ORBE_CHECK_DATA(name, format, result, LOOKUP_BOND, arg)
#define ORBE_CHECK_HOST_BOARDS(name, format, result, arg) ORBE_CHECK_DATA(name, format, result, HOST_BOARDS, arg)
#define ORBE_CHECK_HOST_BOARD(name, format, result, arg) ORBE_CHECK_DATA(name, format, result, HOST_BOARD, arg)
#define ORBE_CHECK_PENDING(name, format, result, arg)
#define ORBE_CHECK_DATA(name, format, result, binder, arg)                            \
  static_assert(RowFits<ORBE_BINDING(name, binder, arg)>(format, result),            \
                #name ": the operation's parameters or result do not fit the row");

#define ORBE_SCRIPT_METHOD(name, format, result, display, family, binder, arg)                     \
  ORBE_CHECK_##binder(name, format, result, arg)                                                   \
  static_assert(std::string_view(display).empty() ||                                             \
                    static_cast<int>(std::string_view(display).size()) == ArityOfFormat(format).maximum,          \
                #name ": one display mark per argument");
#include "script/script_method_table.inc"
#undef ORBE_SCRIPT_METHOD

#define ORBE_SCRIPT_METHOD(name, format, result, display, family, binder, arg) +1
constexpr std::size_t kRowsInTable = 0
#include "script/script_method_table.inc"
    ;
#undef ORBE_SCRIPT_METHOD
static_assert(kRowsInTable == kScriptMethodCount, "the table has one row per method");

}  // namespace

#define ORBE_SCRIPT_METHOD(name, format, result, display, family, binder, arg)                         \
  {{#name, format, result, display, ScriptMethodFamily::family, ORBE_BUILT_##binder},                  \
   ArityOfFormat(format), ORBE_INVOKER(name, binder, arg)},
const MethodRow kMethodRows[kScriptMethodCount] = {
#include "script/script_method_table.inc"
};
#undef ORBE_SCRIPT_METHOD

namespace {

#define ORBE_SCRIPT_METHOD(name, format, result, display, family, binder, arg) \
  ScriptMethodInfo{#name, format, result, display, ScriptMethodFamily::family, ORBE_BUILT_##binder},
constexpr ScriptMethodInfo kMethodInfos[kScriptMethodCount] = {
#include "script/script_method_table.inc"
};
#undef ORBE_SCRIPT_METHOD

}  // namespace
}  // namespace orbe::script

namespace orbe {

std::span<const ScriptMethodInfo> ScriptMethods() { return script::kMethodInfos; }

const ScriptMethodInfo* FindScriptMethod(std::string_view name) {
  static const std::unordered_map<std::string_view, const ScriptMethodInfo*> index = [] {
    std::unordered_map<std::string_view, const ScriptMethodInfo*> map;
    for (const ScriptMethodInfo& info : script::kMethodInfos) map.emplace(info.name, &info);
    return map;
  }();
  const auto found = index.find(name);
  return found != index.end() ? found->second : nullptr;
}

std::string_view ScriptMethodFamilyName(ScriptMethodFamily family) {
  static constexpr std::string_view kNames[] = {
      "utility",  "sql",        "timestamp", "tql",       "buffer",    "lookup",     "message",
      "container", "grid",      "chart",     "edit",      "navigate",  "title",      "switch",
      "web",      "pie",        "vchart",    "combo",     "checkcombo", "check",     "radio",
      "button",   "spin",       "datetime",  "paging",    "xpaging",   "monthcal",   "pictureex",
      "updownstream", "picturebtn", "combotree", "listtree", "trade",   "plugin"};
  const auto index = static_cast<std::size_t>(family);
  return index < std::size(kNames) ? kNames[index] : std::string_view("?");
}

}  // namespace orbe
