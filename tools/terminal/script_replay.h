// Plays one line of an events file on a script container as its user would:
// through the widgets' own injection functions, so each raises exactly the
// notifications the real control raises.
#ifndef ORBE_TOOLS_TERMINAL_SCRIPT_REPLAY_H_
#define ORBE_TOOLS_TERMINAL_SCRIPT_REPLAY_H_

#include <string>

#include "script_events.h"

class IF10Fun;

namespace orbe::terminal {

// False with *error when the target does not exist, the action is not one of
// its kind, the arguments do not fit it, or the widget refused the action.
bool PlayScriptEvent(IF10Fun& window, const ScriptEventLine& event, std::string* error);

// "kind action arguments" for every action, for the usage text.
std::string ScriptEventActions();

}  // namespace orbe::terminal

#endif  // ORBE_TOOLS_TERMINAL_SCRIPT_REPLAY_H_
