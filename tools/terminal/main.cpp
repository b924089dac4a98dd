// orbe-terminal: the command-line host. It loads liborbe.so the way a trading
// terminal does (by file, at run time) and drives it headless.
#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "orbe/platform/text.h"

namespace {

// The folder of this program, with a trailing '/'.
std::string ProgramFolder() {
  char path[PATH_MAX] = {};
  const ssize_t n = readlink("/proc/self/exe", path, sizeof(path) - 1);
  if (n <= 0) return "./";
  std::string exe(path, static_cast<size_t>(n));
  return exe.substr(0, exe.rfind('/') + 1);
}

struct ModuleCloser {
  void operator()(void* handle) const {
    if (handle) dlclose(handle);
  }
};
using ModuleHandle = std::unique_ptr<void, ModuleCloser>;

// The module lives in ../lib beside bin/ in the build tree and after install;
// a copy beside the program is accepted too.
ModuleHandle LoadModule(std::string* error) {
  const std::string folder = ProgramFolder();
  for (const std::string& candidate : {folder + "../lib/liborbe.so", folder + "liborbe.so"}) {
    if (access(candidate.c_str(), F_OK) != 0) continue;
    if (void* handle = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL)) return ModuleHandle(handle);
    const char* why = dlerror();
    *error = why ? why : candidate;
    return nullptr;
  }
  *error = "liborbe.so not found beside " + folder;
  return nullptr;
}

void PrintUtf8(const std::string& gbk) { std::printf("%s\n", orbe::GbkToUtf8(gbk).c_str()); }

int ShowVersion(void* module, const std::vector<std::string>&) {
  using VersionFn = std::string (*)();
  const auto version = reinterpret_cast<VersionFn>(dlsym(module, "GetThisMoudleVersion"));
  if (version == nullptr) {
    std::fprintf(stderr, "orbe-terminal: the module exports no GetThisMoudleVersion\n");
    return 1;
  }
  PrintUtf8("orbe module " + version());
  return 0;
}

// report-config FILE [SECURITY [TERM]] [--company=CODE]: the report's cells,
// columns and pop-ups with each statement expanded, for checking an INI
// file without a window. TERM is UTF-8 (e.g. "2011 中期").
int ShowReportConfig(void* module, const std::vector<std::string>& args) {
  using DescribeFn = bool (*)(const std::string&, const std::string&, const std::string&, const std::string&,
                              std::string&);
  std::vector<std::string> positional;
  std::string company;
  for (const std::string& arg : args) {
    if (arg.rfind("--company=", 0) == 0) {
      company = arg.substr(10);
    } else {
      positional.push_back(arg);
    }
  }
  if (positional.empty() || positional.size() > 3) {
    std::fprintf(stderr, "usage: orbe-terminal report-config FILE [SECURITY [TERM]] [--company=CODE]\n");
    return 2;
  }
  const auto describe = reinterpret_cast<DescribeFn>(dlsym(module, "DescribeIniReportConfig"));
  if (describe == nullptr) {
    std::fprintf(stderr, "orbe-terminal: the module exports no DescribeIniReportConfig\n");
    return 1;
  }
  positional.resize(3);
  std::string text;
  if (!describe(positional[0], positional[1], orbe::Utf8ToGbk(positional[2]), company, text)) {
    std::fprintf(stderr, "orbe-terminal: cannot read the report %s\n", positional[0].c_str());
    return 1;
  }
  std::fputs(orbe::GbkToUtf8(text).c_str(), stdout);
  return 0;
}

struct Command {
  const char* name;
  const char* help;
  int (*run)(void* module, const std::vector<std::string>& args);
};

constexpr Command kCommands[] = {
    {"version", "print the module's version and build stamp", ShowVersion},
    {"report-config", "print a report INI's cells and expanded statements", ShowReportConfig},
};

void PrintUsage() {
  std::fprintf(stderr, "usage: orbe-terminal <command> [arguments]\n\ncommands:\n");
  for (const Command& command : kCommands) std::fprintf(stderr, "  %-10s %s\n", command.name, command.help);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string name = argc > 1 ? argv[1] : "version";
  if (name == "-h" || name == "--help" || name == "help") {
    PrintUsage();
    return 0;
  }
  for (const Command& command : kCommands) {
    if (name != command.name) continue;
    std::string error;
    ModuleHandle module = LoadModule(&error);
    if (!module) {
      std::fprintf(stderr, "orbe-terminal: cannot load the module: %s\n", error.c_str());
      return 1;
    }
    return command.run(module.get(), std::vector<std::string>(argv + std::min(argc, 2), argv + argc));
  }
  std::fprintf(stderr, "orbe-terminal: unknown command '%s'\n", name.c_str());
  PrintUsage();
  return 2;
}
