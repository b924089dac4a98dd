// Dictionary load time at a realistic size (4 000 tables of 50 fields) and
// lookup rates over it.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "dictionary/dictionary_writer.h"
#include "orbe/dictionary/cw_dictionary.h"
#include "orbe/platform/text.h"

namespace {

constexpr int kTables = 4000;
constexpr int kFieldsPerTable = 50;
constexpr int kConstClasses = 100;
constexpr int kCodesPerClass = 40;

// The files, written once into a temporary folder removed at exit.
class BenchDictionary {
 public:
  BenchDictionary() {
    std::string pattern = (std::filesystem::temp_directory_path() / "orbe-dict-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return;
    dir_ = pattern + "/";
    orbe::DictionarySchema schema;
    for (int t = 0; t < kTables; ++t) {
      orbe::SchemaTable table{static_cast<std::uint32_t>(100000000 + t), 1, orbe::Format("table %d", t), {}};
      for (int f = 1; f <= kFieldsPerTable; ++f) {
        table.fields.push_back({static_cast<std::int16_t>(f), 4, 8, "", orbe::Format("field name %d", f)});
      }
      schema.tables.push_back(std::move(table));
    }
    for (int c = 0; c < kConstClasses; ++c) {
      for (int k = 0; k < kCodesPerClass; ++k) {
        schema.constants.push_back({orbe::Format("%d", c), orbe::Format("%02d", k), "text", "", ""});
      }
    }
    orbe::WriteDictionaryFiles(orbe::BuildDictionaryFiles(schema), dir_, false);
    orbe::LoadDictionaryFiles(loaded_, dir_);
  }
  ~BenchDictionary() {
    std::error_code error;
    if (!dir_.empty()) std::filesystem::remove_all(dir_, error);
  }
  const std::string& Dir() const { return dir_; }
  const orbe::CwDictionary& Loaded() const { return loaded_; }

 private:
  std::string dir_;
  orbe::CwDictionary loaded_;
};

const BenchDictionary& Dictionary() {
  static const auto* dictionary = new BenchDictionary();
  return *dictionary;
}

void BM_LoadDictionary(benchmark::State& state) {
  const std::string& dir = Dictionary().Dir();
  for (auto _ : state) {
    orbe::CwDictionary dictionary;
    benchmark::DoNotOptimize(orbe::LoadDictionaryFiles(dictionary, dir));
  }
}
BENCHMARK(BM_LoadDictionary)->Unit(benchmark::kMillisecond);

void BM_GetOneFieldInfo(benchmark::State& state) {
  const orbe::CwDictionary& dictionary = Dictionary().Loaded();
  std::vector<std::string> names;
  for (int f = 1; f <= kFieldsPerTable; ++f) names.push_back(orbe::Format("T%03d", f));
  tagMemFieldInfo field{};
  std::uint32_t i = 0;
  for (auto _ : state) {
    ++i;
    benchmark::DoNotOptimize(dictionary.GetOneFieldInfo(100000000 + (i * 7919) % kTables,
                                                        names[i % kFieldsPerTable], &field));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GetOneFieldInfo);

void BM_GetFieldInfo(benchmark::State& state) {
  const orbe::CwDictionary& dictionary = Dictionary().Loaded();
  const auto fields = std::make_unique<tagMemFieldInfo[]>(orbe::kMaxFieldsPerTable);
  std::uint32_t i = 0;
  for (auto _ : state) {
    ++i;
    benchmark::DoNotOptimize(dictionary.GetFieldInfo(100000000 + (i * 7919) % kTables, fields.get()));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GetFieldInfo);

void BM_GetConst(benchmark::State& state) {
  const orbe::CwDictionary& dictionary = Dictionary().Loaded();
  std::vector<std::string> classes, codes;
  for (int c = 0; c < kConstClasses; ++c) classes.push_back(orbe::Format("%d", c));
  for (int k = 0; k < kCodesPerClass; ++k) codes.push_back(orbe::Format("%02d", k));
  std::uint32_t i = 0;
  for (auto _ : state) {
    ++i;
    benchmark::DoNotOptimize(dictionary.GetConst(classes[i % kConstClasses], codes[(i * 13) % kCodesPerClass]));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GetConst);

}  // namespace

BENCHMARK_MAIN();
