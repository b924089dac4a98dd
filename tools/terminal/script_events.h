// The events file of `orbe-terminal script`: one user action a line, played
// on the script's container after it loaded (format in docs/usage.md):
//
//   # a comment; blank lines are skipped
//   10002 click 3 1          a widget by its id, an action, its arguments
//   container rclick 40 60   the container itself
//   wait 500                 pump for half a second
//
// Arguments are separated by blanks; "double quotes" keep blanks and take \"
// and \\ inside. Texts are UTF-8.
#ifndef ORBE_TOOLS_TERMINAL_SCRIPT_EVENTS_H_
#define ORBE_TOOLS_TERMINAL_SCRIPT_EVENTS_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orbe::terminal {

struct ScriptEventLine {
  enum class Target { kWidget, kContainer, kWait };
  Target target = Target::kWidget;
  int widget = 0;  // the widget id for kWidget
  std::string action;
  std::vector<std::string> args;
};

// Lines longer than this are refused.
inline constexpr std::size_t kMaxEventLineBytes = 4096;

// nullopt for a blank or comment line (error empty) and for a line that is
// not an event (error set).
std::optional<ScriptEventLine> ParseScriptEventLine(std::string_view line, std::string* error);

// An argument as an int (decimal, optionally signed, within int); nullopt otherwise.
std::optional<int> EventInt(const std::string& text);

}  // namespace orbe::terminal

#endif  // ORBE_TOOLS_TERMINAL_SCRIPT_EVENTS_H_
