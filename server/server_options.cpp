#include "server_options.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <functional>
#include <filesystem>
#include <map>

#include "data_server.h"

#include "orbe/platform/echo_text.h"
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
  const char* value = nullptr;  // its value in the help
  const char* help = "";
};

const std::vector<ValueOption>& ValueOptions() {
  static const std::vector<ValueOption> options = {
      {"--db", nullptr,
       [](ServerOptions* o, const std::string& v) { return SetText(&o->config.storage.sqlite_path, v); }, false, "PATH", "SQLite database (docs/storage.md); must exist"},
      {"--pg", "PostgreSQL",
       [](ServerOptions* o, const std::string& v) { return SetText(&o->config.storage.pg_uri, v); }, false, "URI", "PostgreSQL database instead (postgresql://user@host:port/name); needs --file-root"},
      {"--listen", "Listen", SetListen, false, "ADDR", "IPv4 address to listen on, default 127.0.0.1; beyond loopback read-only unless --writable"},
      {"--allow", "Allow", SetAllow, false, "CIDR,...", "client networks served (a.b.c.d/n), default 127.0.0.0/8; needed beyond loopback"},
      {"--writable", "Writable", SetWritable, true, nullptr, "serve writes when --listen is given"},
      {"--workers", "Workers", SetWorkers, false, "N", "threads that run requests, 1 to 256; default one per processor, at least 2"},
      {"--port", "Port", SetPort, false, "N", "data port, 0 to 65535, default 7722; 0 picks a free port"},
      {"--file-port", "FilePort", SetFilePort, false, "N", "serve the file server on port N, 0 to 65535 (0: any free port)"},
      {"--file-root", "FileRoot",
       [](ServerOptions* o, const std::string& v) { return SetText(&o->config.file_root, v); }, false, "DIR", "folder of the files handed out; default PATH.files beside the database"},
      {"--capacity", "Capacity", SetCapacity, false, "N", "capacity reported by the host-load request, 0 to 4294967295, default 3000"},
      {"--log-level", "LogLevel", SetLogLevel, false, "LEVEL", "debug, info (the default), warn, error or off; on stderr"},
      {"--make-sample", nullptr,
       [](ServerOptions* o, const std::string& v) {
         o->mode = ServerMode::kMakeSample;
         return SetText(&o->sample_path, v);
       }, false, "PATH|URI", "create the sample market database file (or load it into PostgreSQL) and exit"},
      {"--scale", nullptr, SetScale, false, "S", "size of the sample market, above 0 and at most 100; 1 = full (about 4000 stocks)"},
      {"--force", nullptr, [](ServerOptions* o, const std::string& v) { return SetSwitch(&o->sample_force, v); },
       true, nullptr, "let --make-sample replace an existing database file"},
      {"--background-network", "BackgroundNetwork",
       [](ServerOptions* o, const std::string& v) { return SetSwitch(&o->config.background_thread, v); }, false, "on|off", "whether the network thread waits for the running thread's turn when it wakes (batch), default on"},
      {"--browse-stamps", "BrowseStamps",
       [](ServerOptions* o, const std::string& v) { return SetSwitch(&o->browse_stamps, v); }, false, "on|off", "whether KVX_DataBrowse answers \"TS|name\", default on"},
  };
  return options;
}

bool ApplyConfigFile(const std::string& path, ServerOptions* options, std::string* error) {
  std::error_code failure;
  if (!std::filesystem::is_regular_file(path, failure)) {
    *error = "--config " + path + ": " + (std::filesystem::exists(path, failure) ? "not a file" : "no such file");
    return false;
  }
  if (ProfileSectionNames(path).empty()) {
    *error = "--config " + path + ": not an INI file (no [server] section)";
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

bool ParseSplitOptions(const std::vector<std::string>& arguments, ServerOptions* options, std::string* error);

bool ParseServerOptions(const std::vector<std::string>& arguments, ServerOptions* options, std::string* error) {
  // The INI file is applied first wherever --config stands, so the command line always wins.
  // --name=VALUE is --name VALUE.
  std::vector<std::string> split;
  for (const std::string& argument : arguments) {
    const std::size_t equals = argument.find('=');
    if (argument.starts_with("--") && equals != std::string::npos) {
      split.push_back(argument.substr(0, equals));
      split.push_back(argument.substr(equals + 1));
    } else {
      split.push_back(argument);
    }
  }
  return ParseSplitOptions(split, options, error);
}

bool ParseSplitOptions(const std::vector<std::string>& arguments, ServerOptions* options, std::string* error) {
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
    if (flag == "--version") {
      options->mode = ServerMode::kVersion;
      return true;
    }
    if (flag == "--config") {
      ++i;
      continue;
    }
    const ValueOption* option = FindOption(flag);
    if (option == nullptr) {
      *error = "unknown option " + EchoText(flag);
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
      *error = flag + ": bad value " + EchoText(arguments[i]) + " (" + option->help + ")";
      return false;
    }
  }
  return CheckCombination(options, error);
}

std::vector<ServerOptionHelp> ServerOptionHelps() {
  std::vector<ServerOptionHelp> helps;
  for (const ValueOption& option : ValueOptions()) helps.push_back({option.flag, option.value, option.help});
  return helps;
}


}  // namespace orbe::server
