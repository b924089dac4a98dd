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

struct Command {
  const char* name;
  const char* help;
  int (*run)(void* module, const std::vector<std::string>& args);
};

constexpr Command kCommands[] = {
    {"version", "print the module's version and build stamp", ShowVersion},
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
