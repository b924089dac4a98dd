#include "server_options.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <functional>
#include <map>

#include "data_server.h"

#include "orbe/platform/file.h"
#include "orbe/platform/profile.h"
#include "orbe/platform/text.h"
#include "access_control.h"

namespace orbe::server {
namespace {

constexpr const char* kSection = "server";

bool ParseNumber(std::string_view text, long long low, long long high, long long* value) {
  text = TrimBlanks(text);
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), *value);
  return ec == std::errc() && end == text.data() + text.size() && *value >= low && *value <= high;
}

// One setter per value, shared by the command line and the INI keys.
using Setter = std::function<bool(ServerOptions*, const std::string&)>;

bool SetPort(ServerOptions* options, const std::string& text) {
  long long value = 0;
  if (!ParseNumber(text, 0, 65535, &value)) return false;
  options->config.port = static_cast<std::uint16_t>(value);
  return true;
}

bool SetFilePort(ServerOptions* options, const std::string& text) {
  long long value = 0;
  if (!ParseNumber(text, 0, 65535, &value)) return false;
  options->file_port = static_cast<int>(value);
  return true;
}

bool SetCapacity(ServerOptions* options, const std::string& text) {
  long long value = 0;
  if (!ParseNumber(text, 0, UINT32_MAX, &value)) return false;
  options->config.capacity = static_cast<std::uint32_t>(value);
  return true;
}

bool SetLogLevel(ServerOptions* options, const std::string& text) {
  const auto level = ParseLogLevel(TrimBlanks(text));
  if (level) options->log_level = *level;
  return level.has_value();
}

bool SetScale(ServerOptions* options, const std::string& text) {
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0' || !std::isfinite(value) || value <= 0 || value > 100) return false;
  options->sample_scale = value;
  return true;
}

bool SetSwitch(bool* target, const std::string& text) {
  const std::string_view value = TrimBlanks(text);
  if (value != "on" && value != "off") return false;
  *target = value == "on";
  return true;
}

bool SetText(std::string* target, const std::string& text) {
  if (text.empty()) return false;
  *target = text;
  return true;
}

bool SetWorkers(ServerOptions* options, const std::string& text) {
  long long value = 0;
  if (!ParseNumber(text, 1, 256, &value)) return false;
  options->config.workers = static_cast<int>(value);
  return true;
}

bool SetListen(ServerOptions* options, const std::string& text) {
  if (!ParseAddress(text)) return false;
  options->config.bind_address = std::string(TrimBlanks(text));
  options->listen_given = true;
  return true;
}

bool SetAllow(ServerOptions* options, const std::string& text) {
  std::string ignored;
  if (!ParseNetworks(text, &options->config.access.allowed, &ignored)) return false;
  options->allow_given = true;
  return true;
}

bool SetWritable(ServerOptions* options, const std::string& text) {
  return SetSwitch(&options->writable_given, text);
}

struct ValueOption {
  const char* flag;
  const char* ini_key;  // nullptr: command line only
  Setter set;
  bool switch_flag = false;  // the flag alone means "on"; the INI key takes on or off
};

const std::vector<ValueOption>& ValueOptions() {
  static const std::vector<ValueOption> options = {
      {"--db", nullptr,
       [](ServerOptions* o, const std::string& v) { return SetText(&o->config.storage.sqlite_path, v); }},
      {"--pg", "PostgreSQL",
       [](ServerOptions* o, const std::string& v) { return SetText(&o->config.storage.pg_uri, v); }},
      {"--listen", "Listen", SetListen},
      {"--allow", "Allow", SetAllow},
      {"--writable", "Writable", SetWritable, true},
      {"--workers", "Workers", SetWorkers},
      {"--port", "Port", SetPort},
      {"--file-port", "FilePort", SetFilePort},
      {"--file-root", "FileRoot",
       [](ServerOptions* o, const std::string& v) { return SetText(&o->config.file_root, v); }},
      {"--capacity", "Capacity", SetCapacity},
      {"--log-level", "LogLevel", SetLogLevel},
      {"--make-sample", nullptr,
       [](ServerOptions* o, const std::string& v) {
         o->mode = ServerMode::kMakeSample;
         return SetText(&o->sample_path, v);
       }},
      {"--scale", nullptr, SetScale},
      {"--browse-stamps", "BrowseStamps",
       [](ServerOptions* o, const std::string& v) { return SetSwitch(&o->browse_stamps, v); }},
  };
  return options;
}

bool ApplyConfigFile(const std::string& path, ServerOptions* options, std::string* error) {
  if (!PathFileExistsA(path.c_str())) {
    *error = "configuration file not found: " + path;
    return false;
  }
  for (const ValueOption& option : ValueOptions()) {
    if (option.ini_key == nullptr) continue;
    char value[1024] = {};
    GetPrivateProfileStringA(kSection, option.ini_key, "", value, sizeof(value), path.c_str());
    if (value[0] == '\0') continue;
    if (!option.set(options, value)) {
      *error = Format("%s: [%s] %s has a bad value: %s", path.c_str(), kSection, option.ini_key, value);
      return false;
    }
  }
  return true;
}

const ValueOption* FindOption(std::string_view flag) {
  for (const ValueOption& option : ValueOptions()) {
    if (flag == option.flag) return &option;
  }
  return nullptr;
}

// What a set of options means together, and the access policy it makes.
bool CheckCombination(ServerOptions* options, std::string* error) {
  ServerConfig& config = options->config;
  const bool pg = config.storage.IsPostgres();
  if (pg && !config.storage.sqlite_path.empty()) {
    *error = "--db and --pg name two databases; give one";
    return false;
  }
  if (options->mode == ServerMode::kServe && !pg && config.storage.sqlite_path.empty()) {
    *error = "--db PATH or --pg URI is required";
    return false;
  }
  if (options->mode == ServerMode::kServe && pg && config.file_root.empty()) {
    *error = "--pg needs --file-root DIR (the folder of the files the server hands out)";
    return false;
  }
  const auto bound = ParseAddress(config.bind_address);
  const bool loopback = bound && kLoopbackNetwork.Contains(*bound);
  // Beyond loopback only to the networks named; without an explicit
  // --listen the server is the loopback-only, read-write default.
  if (!loopback && !options->allow_given) {
    *error = "listening on " + config.bind_address + " needs --allow CIDR,... (the client networks served)";
    return false;
  }
  config.access.writable = !options->listen_given || options->writable_given;
  return true;
}

}  // namespace

bool ParseServerOptions(const std::vector<std::string>& arguments, ServerOptions* options, std::string* error) {
  // The INI file is applied first wherever --config stands, so the command line always wins.
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    if (arguments[i] == "--config") {
      if (i + 1 >= arguments.size()) {
        *error = "--config needs a value";
        return false;
      }
      if (!ApplyConfigFile(arguments[i + 1], options, error)) return false;
    }
  }
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& flag = arguments[i];
    if (flag == "--help" || flag == "-h") {
      options->mode = ServerMode::kHelp;
      return true;
    }
    if (flag == "--config") {
      ++i;
      continue;
    }
    const ValueOption* option = FindOption(flag);
    if (option == nullptr) {
      *error = "unknown option: " + flag;
      return false;
    }
    if (option->switch_flag) {
      option->set(options, "on");
      continue;
    }
    if (i + 1 >= arguments.size()) {
      *error = flag + " needs a value";
      return false;
    }
    if (!option->set(options, arguments[++i])) {
      *error = Format("bad value for %s: %s", flag.c_str(), arguments[i].c_str());
      return false;
    }
  }
  return CheckCombination(options, error);
}

std::string ServerUsage() {
  return "usage:\n"
         "  orbe-dataserver (--db PATH | --pg URI) [--port N] [--file-port N] [--file-root DIR]\n"
         "                  [--capacity N] [--workers N] [--listen ADDR --allow CIDR,... [--writable]]\n"
         "                  [--log-level LEVEL] [--browse-stamps on|off] [--config FILE]\n"
         "  orbe-dataserver --make-sample PATH|postgresql://... [--scale S]\n"
         "  orbe-dataserver --help\n"
         "\n"
         "Serves the data service's wire protocol (docs/protocol.md).\n"
         "  --db PATH         SQLite database (docs/storage.md); must exist\n"
         "  --pg URI          PostgreSQL database instead (postgresql://user@host:port/name); several\n"
         "                    servers may serve one database (docs/deploy.md); needs --file-root\n"
         "  --port N          data port, default 7722; 0 picks a free port\n"
         "  --file-port N     serve the file server (requests 2500-2504) on port N (0: any free\n"
         "                    port; the module's default is 8368); without it no file server runs\n"
         "  --file-root DIR   folder of the files that request 2009 hands out and the file server\n"
         "                    keeps (uploads, downloads, deletes stay inside it); the dictionary\n"
         "                    files are generated into it; default PATH.files beside the database\n"
         "  --capacity N      capacity reported by the host-load request, default 3000\n"
         "  --workers N       threads that run requests, each with its own database connection;\n"
         "                    default one per processor, at least 2\n"
         "  --listen ADDR     IPv4 address to listen on, default 127.0.0.1 (loopback, read-write);\n"
         "                    with --listen the server is read-only unless --writable is given\n"
         "  --allow CIDR,...  client networks served (a.b.c.d/n); needed to listen beyond loopback;\n"
         "                    default 127.0.0.0/8. Others are refused with status 106\n"
         "  --writable        serve writes (DELETE, UPDATE, INSERT, stamp increases, reloads,\n"
         "                    uploads, file deletes) when --listen is given\n"
         "  --log-level L     debug, info (each request, the default), warn, error or off; on stderr\n"
         "  --browse-stamps S on (default) or off: whether KVX_DataBrowse answers \"TS|name\"; off\n"
         "                    answers it as a service without time stamps would (status 2)\n"
         "  --config FILE     INI file, section [server]: Port, FilePort, FileRoot, Capacity, LogLevel,\n"
         "                    BrowseStamps, PostgreSQL, Listen, Allow, Writable (on|off), Workers;\n"
         "                    options on the command line override it\n"
         "  --make-sample P   create the sample market database file P, or load it into the\n"
         "                    PostgreSQL database of the URI P (replacing its tables), and exit\n"
         "  --scale S         size of the sample market, 1 = full (about 4000 stocks), e.g. 0.01\n"
         "\n"
         "Prints \"listening on ADDR:PORT\" once it accepts connections; SIGTERM or SIGINT stop\n"
         "it cleanly (exit 0).\n";
}

}  // namespace orbe::server
