#include "commands.h"
#include "orbe/env.h"
#include "terminal_output.h"

namespace orbe::terminal {

int RunVersion(const CommandArgs&) {
  PrintLine("orbe module " + GetThisMoudleVersion());
  return 0;
}

}  // namespace orbe::terminal
