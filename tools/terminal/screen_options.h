// The options of `orbe-terminal screen`, read in one place from one table.
#ifndef ORBE_TOOLS_TERMINAL_SCREEN_OPTIONS_H_
#define ORBE_TOOLS_TERMINAL_SCREEN_OPTIONS_H_

#include <string>
#include <vector>

#include "commands.h"

namespace orbe::terminal {

// One --cond row: "INDICATOR [OP VALUE [UNIT]]" (UTF-8 as given).
struct ConditionRow {
  std::string indicator;
  std::string op;  // the operator word ("大于") or a symbol (">")
  std::string value;
  std::string unit;
};

struct ScreenOptions {
  std::string schemes;       // system scheme store; default the shipped one
  std::string user_schemes;  // the user's store; default in the home folder
  std::string indicators;    // catalogue folder; default a copy in the home folder
  std::string scheme;        // a scheme of either store, by name (or number in the system store)
  std::string scheme_file;   // a scheme of its own in an XML file
  std::vector<std::string> boards;
  std::vector<ConditionRow> conditions;
  bool join_and = true;  // --join and|or: the radio the --cond rows are joined by
  bool stats = false;
  bool list = false;  // --list: print the schemes with their numbers, screen nothing
  std::string xlsx;
  std::string csv;
  std::string save_board;
  std::string save_scheme;
  std::string html;
  int timeout_seconds = 600;
};

inline constexpr const char* kScreenUsage =
    "usage: orbe-terminal screen --list | [--scheme NAME|NUMBER | --scheme-file FILE.xml] [--cond \"INDICATOR OP VALUE [UNIT]\"]... "
    "[--join and|or] "
    "[--board NAME]... [--stats] [--xlsx OUT] [--csv OUT] [--save-board NAME] [--save-scheme NAME] [--html OUT] "
    "[--schemes FILE] [--user-schemes FILE] [--indicators DIR] [--timeout SECONDS] ";

// Reads every option of args (connection options already taken out); false
// with *error for an unknown option, a missing value or a bad row.
bool TakeScreenOptions(const CommandArgs& args, ScreenOptions& options, std::string* error);
// "INDICATOR [OP VALUE [UNIT]]" split at blanks; false for another count.
bool ParseConditionRow(const std::string& text, ConditionRow& row, std::string* error);

}  // namespace orbe::terminal

#endif  // ORBE_TOOLS_TERMINAL_SCREEN_OPTIONS_H_
