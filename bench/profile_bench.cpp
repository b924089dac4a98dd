// INI profile costs: a report reads hundreds of keys one call at a time, so
// the cached read path matters most; a write rewrites and syncs the file.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "orbe/platform/file.h"
#include "orbe/platform/profile.h"
#include "platform/ini_document.h"

namespace {

namespace fs = std::filesystem;

constexpr int kSections = 20;
constexpr int kKeysPerSection = 100;  // 2000 keys in all

std::string SectionName(int s) { return "Section" + std::to_string(s); }
std::string KeyName(int k) { return "Key" + std::to_string(k); }

std::string SampleIni() {
  std::string text = "; benchmark settings\r\n";
  for (int s = 0; s < kSections; ++s) {
    text += "[" + SectionName(s) + "]\r\n";
    for (int k = 0; k < kKeysPerSection; ++k)
      text += KeyName(k) + "=value " + std::to_string(s * 1000 + k) + "\r\n";
    text += "\r\n";
  }
  return text;
}

// One sample file for the whole run, removed at exit.
class SampleFile {
 public:
  SampleFile() {
    std::string pattern = (fs::temp_directory_path() / "orbe_profile_bench_XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    folder_ = pattern;
    path_ = folder_ + "/bench.ini";
    if (!orbe::WriteFileAtomically(path_, SampleIni())) std::abort();
  }
  ~SampleFile() { fs::remove_all(folder_); }
  const std::string& path() const { return path_; }

 private:
  std::string folder_;
  std::string path_;
};

const std::string& SamplePath() {
  static SampleFile file;
  return file.path();
}

// 500 keys read one call each, spread over the sections.
void Read500Keys(const std::string& path) {
  char buffer[256];
  for (int i = 0; i < 500; ++i) {
    const std::string section = SectionName(i % kSections);
    const std::string key = KeyName((i * 7) % kKeysPerSection);
    benchmark::DoNotOptimize(
        GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer, sizeof(buffer), path.c_str()));
  }
}

void BM_Read500KeysOneCallEach(benchmark::State& state) {
  const std::string& path = SamplePath();
  for (auto _ : state) Read500Keys(path);
  state.SetItemsProcessed(state.iterations() * 500);
}
BENCHMARK(BM_Read500KeysOneCallEach);

// The same reads inside one ProfileReadScope: one look at the file in all.
void BM_Read500KeysInOneReadScope(benchmark::State& state) {
  const std::string& path = SamplePath();
  for (auto _ : state) {
    const orbe::ProfileReadScope read_once(path);
    Read500Keys(path);
  }
  state.SetItemsProcessed(state.iterations() * 500);
}
BENCHMARK(BM_Read500KeysInOneReadScope);

void BM_ParseAndSerialise2000Keys(benchmark::State& state) {
  const std::string text = SampleIni();
  for (auto _ : state) {
    const orbe::IniDocument document = orbe::IniDocument::Parse(text);
    benchmark::DoNotOptimize(document.Serialize());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ParseAndSerialise2000Keys);

// Includes the fsync of the file and its folder.
void BM_WriteOneKey(benchmark::State& state) {
  const std::string& path = SamplePath();
  int round = 0;
  for (auto _ : state) {
    const std::string value = std::to_string(round++);
    if (!WritePrivateProfileStringA("Section7", "Key42", value.c_str(), path.c_str()))
      state.SkipWithError("write failed");
  }
}
BENCHMARK(BM_WriteOneKey)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
