#include "screen_options.h"

#include <cstdlib>
#include <functional>
#include <sstream>

#include "orbe/platform/echo_text.h"

namespace orbe::terminal {
namespace {

// What an option does with its value; options without a value get "".
using Setter = std::function<bool(ScreenOptions&, const std::string&, std::string*)>;

struct OptionSpec {
  const char* name;
  bool takes_value;
  Setter set;
};

Setter Text(std::string ScreenOptions::*field) {
  return [field](ScreenOptions& o, const std::string& v, std::string*) {
    o.*field = v;
    return true;
  };
}

bool SetTimeout(ScreenOptions& o, const std::string& value, std::string* error) {
  char* end = nullptr;
  const long seconds = std::strtol(value.c_str(), &end, 10);
  if (end == value.c_str() || *end != '\0' || seconds < 1 || seconds > 86400) {
    *error = "--timeout needs a number of seconds from 1 to 86400, not '" + value + "'";
    return false;
  }
  o.timeout_seconds = static_cast<int>(seconds);
  return true;
}

const std::vector<OptionSpec>& Options() {
  static const std::vector<OptionSpec> options = {
      {"--schemes", true, Text(&ScreenOptions::schemes)},
      {"--user-schemes", true, Text(&ScreenOptions::user_schemes)},
      {"--indicators", true, Text(&ScreenOptions::indicators)},
      {"--scheme", true, Text(&ScreenOptions::scheme)},
      {"--scheme-file", true, Text(&ScreenOptions::scheme_file)},
      {"--board", true,
       [](ScreenOptions& o, const std::string& v, std::string*) {
         o.boards.push_back(v);
         return true;
       }},
      {"--cond", true,
       [](ScreenOptions& o, const std::string& v, std::string* error) {
         ConditionRow row;
         if (!ParseConditionRow(v, row, error)) return false;
         o.conditions.push_back(row);
         return true;
       }},
      {"--stats", false,
       [](ScreenOptions& o, const std::string&, std::string*) {
         o.stats = true;
         return true;
       }},
      {"--list", false,
       [](ScreenOptions& o, const std::string&, std::string*) {
         o.list = true;
         return true;
       }},
      {"--xlsx", true, Text(&ScreenOptions::xlsx)},
      {"--csv", true, Text(&ScreenOptions::csv)},
      {"--save-board", true, Text(&ScreenOptions::save_board)},
      {"--save-scheme", true, Text(&ScreenOptions::save_scheme)},
      {"--html", true, Text(&ScreenOptions::html)},
      {"--timeout", true, SetTimeout},
      {"--join", true,
       [](ScreenOptions& o, const std::string& v, std::string* error) {
         if (v != "and" && v != "or") *error = "--join takes and or or, not '" + v + "'";
         o.join_and = v == "and";
         return error->empty();
       }},
  };
  return options;
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

bool CheckCombination(const ScreenOptions& o, std::string* error) {
  if (o.list) return true;
  if (o.scheme.empty() && o.scheme_file.empty() && o.conditions.empty())
    *error = "nothing to screen: give --scheme, --scheme-file or --cond";
  else if (!o.scheme.empty() && !o.scheme_file.empty())
    *error = "--scheme and --scheme-file exclude each other";
  else if (!o.xlsx.empty() && !EndsWith(o.xlsx, ".xlsx"))
    *error = "--xlsx needs a file name ending in .xlsx";
  else if (!o.csv.empty() && !EndsWith(o.csv, ".csv"))
    *error = "--csv needs a file name ending in .csv";
  else if (!o.scheme_file.empty() && !EndsWith(o.scheme_file, ".xml"))
    *error = "--scheme-file needs an .xml file";
  return error->empty();
}

}  // namespace

bool ParseConditionRow(const std::string& text, ConditionRow& row, std::string* error) {
  std::istringstream words(text);
  std::vector<std::string> parts;
  for (std::string word; words >> word;) parts.push_back(word);
  if (parts.empty() || parts.size() == 2 || parts.size() > 4) {
    *error = "--cond needs \"INDICATOR [OP VALUE [UNIT]]\", not '" + text + "'";
    return false;
  }
  row = ConditionRow{parts[0], parts.size() > 1 ? parts[1] : "", parts.size() > 2 ? parts[2] : "",
                     parts.size() > 3 ? parts[3] : ""};
  return true;
}

bool TakeScreenOptions(const CommandArgs& args, ScreenOptions& options, std::string* error) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const std::size_t equals = arg.find('=');
    const std::string name = arg.substr(0, equals);
    const OptionSpec* spec = nullptr;
    for (const OptionSpec& candidate : Options()) {
      if (name == candidate.name) spec = &candidate;
    }
    if (spec == nullptr) {
      *error = "unknown option " + EchoText(arg);
      return false;
    }
    std::string value;
    if (spec->takes_value) {
      if (equals != std::string::npos) {
        value = arg.substr(equals + 1);
      } else if (i + 1 < args.size()) {
        value = args[++i];
      } else {
        *error = name + " needs a value";
        return false;
      }
    } else if (equals != std::string::npos) {
      *error = name + " takes no value";
      return false;
    }
    if (!spec->set(options, value, error)) return false;
  }
  return CheckCombination(options, error);
}

}  // namespace orbe::terminal
