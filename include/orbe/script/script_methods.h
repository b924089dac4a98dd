// The methods of the script object ("pycontainer"), as data: one row per
// method in the table's fixed order, each with its argument format, result
// shape and the text conversions its string arguments pass. Tools that list
// or document the methods read this; the object itself is built from it.
#ifndef ORBE_SCRIPT_SCRIPT_METHODS_H_
#define ORBE_SCRIPT_SCRIPT_METHODS_H_

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace orbe {

// Families in table order: the data and host-service methods come first,
// the widget methods after them.
enum class ScriptMethodFamily : std::uint8_t {
  kUtility,
  kSqlRequest,
  kTimestamp,
  kTql,
  kBuffer,
  kLookup,
  kMessage,
  kContainer,
  kGrid,
  kChart,
  kEdit,
  kNavigate,
  kTitle,
  kSwitch,
  kWeb,
  kPie,
  kVChart,
  kCombo,
  kCheckCombo,
  kCheck,
  kRadio,
  kButton,
  kSpin,
  kDateTime,
  kPaging,
  kXPaging,
  kMonthCal,
  kPictureEx,
  kUpDownStream,
  kPictureBtn,
  kComboTree,
  kListTree,
  kTrade,
  kPlugin,
};

// Argument format letters: i int, s string, d double, f float, L 64-bit int,
// c one character, O any object; '|' marks where optional arguments begin.
// Result shapes: i, s, d, f, L, "None", "object", "object or None", "list",
// or a tuple such as "(i,s)". Display marks, one per argument letter: '-'
// passes the argument unchanged, 'F' through _F, 'N' through _FFONT; an
// empty text marks none.
struct ScriptMethodInfo {
  std::string_view name;
  std::string_view format;
  std::string_view result;
  std::string_view display;
  ScriptMethodFamily family;
  // False while the method only parses its arguments and answers its empty
  // result (the widget methods that the container does not offer yet).
  bool built;
};

inline constexpr std::size_t kScriptMethodCount = 744;
// The data and host-service methods lead the table.
inline constexpr std::size_t kScriptDataMethodCount = 207;

// Every method, in table order.
std::span<const ScriptMethodInfo> ScriptMethods();
// The row of a method by its exact name; null when there is none.
const ScriptMethodInfo* FindScriptMethod(std::string_view name);
std::string_view ScriptMethodFamilyName(ScriptMethodFamily family);

// Argument counts a format accepts (its letters, and those before '|').
struct ScriptArity {
  int minimum = 0;
  int maximum = 0;
};
constexpr ScriptArity ArityOfFormat(std::string_view format) {
  ScriptArity arity;
  bool optional = false;
  for (const char letter : format) {
    if (letter == '|') {
      optional = true;
      continue;
    }
    ++arity.maximum;
    if (!optional) ++arity.minimum;
  }
  return arity;
}

}  // namespace orbe

#endif  // ORBE_SCRIPT_SCRIPT_METHODS_H_
