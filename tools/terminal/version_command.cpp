#include <string>

#include "commands.h"
#include "orbe/env.h"
#include "terminal_output.h"

namespace orbe::terminal {

int RunVersion(const CommandArgs&) {
  PrintLine("orbe module " + GetThisMoudleVersion());
  PrintLine(std::string("orbe-terminal ") + ORBE_TOOLS_VERSION);
  return 0;
}

}  // namespace orbe::terminal
