#include "command_line.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <map>

#include "orbe/platform/echo_text.h"

namespace orbe::tools {
namespace {

int Usage(const CommandLineSpec& spec, const std::string& message) {
  std::fprintf(stderr, "%s: %s (see %s --help)\n", spec.program.c_str(), message.c_str(), spec.program.c_str());
  return kExitUsage;
}

// "--scheme: 1 required TEXT missing" and the like, in the tools' words.
std::string MissingValue(const std::string& what) {
  const std::size_t colon = what.find(':');
  return (colon == std::string::npos ? what : what.substr(0, colon)) + " needs a value";
}

}  // namespace

std::optional<int> ReadCommandLine(const CommandLineSpec& spec, const std::vector<std::string>& args,
                                   std::vector<std::string>* canonical, const char* version) {
  CLI::App app(spec.about, spec.program);
  app.set_help_flag("-h,--help", "print this help and exit");
  app.allow_windows_style_options(false);
  app.positionals_at_end(false);
  app.footer("exit status: 0 done, 1 failed, 2 bad command line");
  if (version != nullptr) app.set_version_flag("--version", std::string(version), "print the version and exit");
  std::vector<std::vector<std::string>> values(spec.options.size() + spec.extra.size());
  std::vector<int> flags(values.size(), 0);
  std::map<const CLI::Option*, const OptionRow*> rows;
  std::size_t slot = 0;
  for (const std::vector<OptionRow>* table : {&spec.options, &spec.extra}) {
    for (const OptionRow& row : *table) {
      CLI::Option* option = nullptr;
      if (row.value == nullptr) {
        option = app.add_flag(row.name, flags[slot], row.help);
      } else {
        option = app.add_option(row.name, values[slot], row.help)
                     ->type_name(row.value)
                     ->expected(1)
                     ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
                     ->allow_extra_args(false);
      }
      rows[option] = &row;
      ++slot;
    }
  }
  std::vector<std::string> positional;
  if (spec.most_positional > 0) {
    app.add_option("arguments", positional)
        ->type_name(spec.positional != nullptr ? spec.positional : "ARG")
        ->expected(0, spec.most_positional);
  }
  // CLI11 reads the arguments from the back.
  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::CallForHelp&) {
    std::fputs(app.help().c_str(), stdout);
    return kExitDone;
  } catch (const CLI::CallForVersion&) {
    std::printf("%s %s\n", spec.program.c_str(), version);
    return kExitDone;
  } catch (const CLI::ExtrasError&) {
    const std::vector<std::string> extras = app.remaining();
    const std::string first = extras.empty() ? std::string() : extras.front();
    return Usage(spec, (first.starts_with("-") ? "unknown option " : "unexpected argument ") + EchoText(first));
  } catch (const CLI::ArgumentMismatch& error) {
    const std::string what = error.what();
    if (what.starts_with("arguments")) {
      return Usage(spec, std::string("too many arguments (it takes ") + spec.positional + ")");
    }
    return Usage(spec, MissingValue(what));
  } catch (const CLI::ParseError& error) {
    return Usage(spec, EchoText(error.what(), 200));
  }
  // The options again in the order given, each with its own value.
  canonical->clear();
  std::map<const CLI::Option*, std::size_t> taken;
  for (const CLI::Option* option : app.parse_order()) {
    const auto row = rows.find(option);
    if (row == rows.end()) continue;
    canonical->push_back(row->second->name);
    if (row->second->value == nullptr) continue;
    const std::vector<std::string>& results = option->results();
    const std::size_t next = taken[option]++;
    canonical->push_back(next < results.size() ? results[next] : std::string());
  }
  canonical->insert(canonical->end(), positional.begin(), positional.end());
  return std::nullopt;
}

}  // namespace orbe::tools
