// orbe-dicttool: makes the three dictionary files from a readable schema and
// prints existing files as that schema (docs/dictionary.md).
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "command_line.h"
#include "dictionary/dictionary_reader.h"
#include "orbe/platform/echo_text.h"
#include "dictionary/dictionary_writer.h"
#include "orbe/platform/file.h"
#include "schema_text.h"

namespace {

using orbe::tools::kExitUsage;
constexpr int kExitFailure = orbe::tools::kExitFailed;

constexpr const char* kUsage =
    "usage: orbe-dicttool build [--compress] SCHEMA OUTDIR\n"
    "       orbe-dicttool dump DIR\n"
    "       orbe-dicttool COMMAND --help | --version\n"
    "exit status: 0 done, 1 failed, 2 bad command line\n";

int Fail(const std::string& message) {
  std::fprintf(stderr, "orbe-dicttool: %s\n", message.c_str());
  return kExitFailure;
}

std::string AsDirectory(std::string path) {
  if (path.empty() || path.back() != '/') path.push_back('/');
  return path;
}

int Build(const std::string& schema_path, const std::string& out_dir, bool compress) {
  const std::optional<std::string> text = orbe::ReadWholeFile(schema_path);
  if (!text) return Fail("cannot read " + schema_path);
  const orbe::dicttool::ParsedSchema parsed = orbe::dicttool::ParseSchemaText(*text);
  if (!parsed.error.empty()) return Fail(schema_path + ": " + orbe::EchoText(parsed.error, 200));
  std::error_code error;
  std::filesystem::create_directories(out_dir, error);
  const orbe::DictionaryFiles files = orbe::BuildDictionaryFiles(parsed.schema);
  if (!orbe::WriteDictionaryFiles(files, AsDirectory(out_dir), compress)) return Fail("cannot write to " + out_dir);
  return 0;
}

int Dump(const std::string& dir) {
  const orbe::DictionaryRecords records = orbe::ReadDictionaryFiles(AsDirectory(dir));
  if (!records.tables || !records.fields) return Fail("cannot read tableinfo.idx and fieldinfo.idx in " + dir);
  const std::vector<orbe::ConstFileRecord> no_constants;
  std::vector<std::string> warnings;
  const orbe::DictionarySchema schema = orbe::dicttool::SchemaOfRecords(
      {*records.tables, *records.fields, records.constants ? *records.constants : no_constants}, warnings);
  // Files whose every table disagrees with them are not dictionary files at all.
  const auto broken = static_cast<std::size_t>(std::count_if(
      warnings.begin(), warnings.end(), [](const std::string& warning) { return warning.starts_with("table "); }));
  if (broken > 0 && broken >= schema.tables.size()) {
    return Fail(dir + " does not hold dictionary files (" + std::to_string(broken) +
                " tables disagree with them; the first: " + orbe::EchoText(warnings.front(), 120) + ")");
  }
  constexpr std::size_t kWarningsShown = 10;
  for (std::size_t i = 0; i < warnings.size() && i < kWarningsShown; ++i) {
    std::fprintf(stderr, "orbe-dicttool: warning: %s\n", warnings[i].c_str());
  }
  if (warnings.size() > kWarningsShown) {
    std::fprintf(stderr, "orbe-dicttool: warning: and %zu more\n", warnings.size() - kWarningsShown);
  }
  const std::string text = orbe::dicttool::FormatSchemaText(schema);
  std::fwrite(text.data(), 1, text.size(), stdout);
  return std::fflush(stdout) == 0 ? 0 : kExitFailure;
}

}  // namespace

int main(int argc, char** argv) {
  using orbe::tools::CommandLineSpec;
  const std::vector<std::string> given(argv + 1, argv + argc);
  const std::string command = given.empty() ? "" : given[0];
  if (command == "--version") {
    std::printf("orbe-dicttool %s\n", ORBE_TOOLS_VERSION);
    return 0;
  }
  if (command == "--help" || command == "-h") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  const CommandLineSpec build{"orbe-dicttool build",
                              "make tableinfo.idx, fieldinfo.idx and constinfo.idx from a schema text",
                              {{"--compress", nullptr, "write the files zlib-compressed"}},
                              {},
                              2,
                              "SCHEMA OUTDIR"};
  const CommandLineSpec dump{"orbe-dicttool dump", "print the dictionary files of a folder as a schema text", {}, {},
                             1, "DIR"};
  const CommandLineSpec* spec = command == "build" ? &build : command == "dump" ? &dump : nullptr;
  if (spec == nullptr) {
    std::fprintf(stderr, "orbe-dicttool: %s\n%s", command.empty() ? "a command is needed" : ("unknown command " + orbe::EchoText(command)).c_str(), kUsage);
    return kExitUsage;
  }
  std::vector<std::string> args;
  if (const auto status = orbe::tools::ReadCommandLine(*spec, {given.begin() + 1, given.end()}, &args, ORBE_TOOLS_VERSION)) {
    return *status;
  }
  const bool compress = !args.empty() && args[0] == "--compress";
  if (compress) args.erase(args.begin());
  if (args.size() != (spec == &build ? 2u : 1u)) {
    std::fprintf(stderr, "orbe-dicttool: %s needs %s (see %s --help)\n", spec->program.c_str(), spec->positional,
                 spec->program.c_str());
    return kExitUsage;
  }
  return spec == &build ? Build(args[0], args[1], compress) : Dump(args[0]);
}
