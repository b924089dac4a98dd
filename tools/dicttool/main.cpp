// orbe-dicttool: makes the three dictionary files from a readable schema and
// prints existing files as that schema (docs/dictionary.md).
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "dictionary/dictionary_reader.h"
#include "dictionary/dictionary_writer.h"
#include "orbe/platform/file.h"
#include "schema_text.h"

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

int Usage() {
  std::fputs("usage: orbe-dicttool build [--compress] SCHEMA OUTDIR\n"
             "       orbe-dicttool dump DIR\n", stderr);
  return kExitUsage;
}

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
  if (!parsed.error.empty()) return Fail(schema_path + ": " + parsed.error);
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
  for (const std::string& warning : warnings) std::fprintf(stderr, "orbe-dicttool: warning: %s\n", warning.c_str());
  const std::string text = orbe::dicttool::FormatSchemaText(schema);
  std::fwrite(text.data(), 1, text.size(), stdout);
  return std::fflush(stdout) == 0 ? 0 : kExitFailure;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 2 && args[0] == "dump") return Dump(args[1]);
  if (args.empty() || args[0] != "build") return Usage();
  args.erase(args.begin());
  bool compress = false;
  std::erase_if(args, [&compress](const std::string& arg) { return arg == "--compress" && (compress = true); });
  if (args.size() != 2) return Usage();
  return Build(args[0], args[1], compress);
}
