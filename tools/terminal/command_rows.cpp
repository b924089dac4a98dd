#include "command_rows.h"

#include <vector>

namespace orbe::terminal {
namespace {

using tools::CommandLineSpec;
using tools::OptionRow;

const std::vector<OptionRow> kConnectionRows = {
    {"--server", "HOST:PORT", "the data service, default 127.0.0.1:7722"},
    {"--files", "HOST:PORT", "the file server, default the data service's host, port 8368"},
    {"--market", "PATH", "the host's market database, default market.db in the home folder"},
    {"--home", "DIR", "the host's private folder, default $ORBE_HOME, else ~/.orbe-terminal"},
};

// A command not in the table (a newly added one) reads its own arguments.
const std::vector<CommandLineSpec>& Specs() {
  static const std::vector<CommandLineSpec> specs = {
      {"version", "print the tools' and the module's version", {}, {}, 0, nullptr},
      {"report-config",
       "print a report INI's cells and expanded statements",
       {{"--company", "CODE", "the company code the statements use (default: the security's)"}},
       kConnectionRows,
       3,
       "FILE [SECURITY [TERM]]"},
      {"report",
       "show a report for a security; print it, write HTML and .xlsx",
       {{"--ini", "FILE", "the report INI (GBK), required"},
        {"--code", "CODE", "the security, required"},
        {"--term", "TERM", "choose a report term as the page names it (repeatable, in order)"},
        {"--unit", "N", "choose the money unit, 0 (yuan) to 6 (100 million yuan)"},
        {"--rotate", nullptr, "press the rotate button"},
        {"--split", nullptr, "press the split button"},
        {"--click", "CELL,ROW,COL", "click a cell, numbered from 1 as printed (repeatable)"},
        {"--html", "OUT", "write the page as HTML"},
        {"--xlsx", "OUT", "export the lists as .xlsx"}},
       kConnectionRows,
       0,
       nullptr},
      {"lookup",
       "look securities, companies, industries and boards up",
       {{"--sub", nullptr, "industry: with the sub-industries"}},
       kConnectionRows,
       3,
       "code CODE | company CODE | industry CLASS CODE | board NAME | concept"},
      {"screen",
       "drive the screening window: boards, scheme, run, statistics, export",
       {{"--list", nullptr, "print the schemes with their numbers and stop"},
        {"--scheme", "NAME|NUMBER", "a scheme by name, or a system scheme by its --list number"},
        {"--scheme-file", "FILE.xml", "a scheme of its own in an XML file"},
        {"--cond", "\"INDICATOR [OP VALUE [UNIT]]\"", "a condition row (repeatable); OP is > < = != >= <= ~ !~ or an operator word"},
        {"--join", "and|or", "how the --cond rows are joined, default and"},
        {"--board", "NAME", "check a board of the pane (repeatable; default the pane's own choice)"},
        {"--stats", nullptr, "compute and print every statistic"},
        {"--xlsx", "OUT.xlsx", "export the result grid"},
        {"--csv", "OUT.csv", "export the result grid"},
        {"--save-board", "NAME", "save the result as a host board (at most 19 GBK bytes)"},
        {"--save-scheme", "NAME", "save the conditions as a user scheme"},
        {"--html", "OUT", "write the window as HTML"},
        {"--schemes", "FILE", "the system scheme store, default the shipped one"},
        {"--user-schemes", "FILE", "the user's scheme store, default in the home folder"},
        {"--indicators", "DIR", "the indicator catalogue, default a copy in the home folder"},
        {"--timeout", "SECONDS", "longest wait for the screening, 1 to 86400, default 600"}},
       kConnectionRows,
       0,
       nullptr},
      {"topics",
       "build a topic selection tree, check and click items, print the selection",
       {{"--kind", "gg|jj|qh|zq", "the tree: stocks, funds, futures or bonds; required"},
        {"--check", "NAME", "check an item (repeatable)"},
        {"--click", "ITEM", "click an item (repeatable)"},
        {"--dblclick", "ITEM", "double-click an item of the fund tree (repeatable)"},
        {"--categories", "FILE", "the bond categories, default the shipped ones"},
        {"--no-head", nullptr, "without the tree's head item"},
        {"--html", "OUT", "write the tree as HTML"}},
       kConnectionRows,
       0,
       nullptr},
      {"script",
       "run a script container page (or, with --grid, a grid loader page), play user events, write it as HTML",
       {{"--file", "F", "the page's script, required"},
        {"--arg", "A", "the page's argument"},
        {"--entry", "NAME", "the entry function"},
        {"--events", "FILE", "user events to play, one a line"},
        {"--html", "OUT", "write the page as HTML"},
        {"--size", "WxH", "the window's size, each 1 to 10000"},
        {"--timeout", "MS", "longest wait for the page, 0 to 3600000 ms, default 20000"},
        {"--run", "MS", "keep the page running this long, 0 to 3600000 ms"},
        {"--grid", "F", "load F into a grid loader instead of a container (the options below)"},
        {"--grid-only", nullptr, "grid loader: the grid without its histogram"},
        {"--click", "ROW,COL", "grid loader: click a cell, from 0 (repeatable)"},
        {"--dblclick", "ROW,COL", "grid loader: double-click a cell, from 0 (repeatable)"},
        {"--update", nullptr, "grid loader: send a quote update"}},
       kConnectionRows,
       0,
       nullptr},
  };
  return specs;
}

}  // namespace

std::optional<int> ReadCommandArgs(const std::string& command, const CommandArgs& arguments, CommandArgs* args) {
  for (CommandLineSpec spec : Specs()) {
    if (spec.program != command) continue;
    spec.program = "orbe-terminal " + command;
    return tools::ReadCommandLine(spec, arguments, args, ORBE_TOOLS_VERSION);
  }
  *args = arguments;
  return std::nullopt;
}

}  // namespace orbe::terminal
