// User-indicator evaluation: a two-argument script over 4 000 securities
// through the catalogue's call path, against the same function called from a
// plain Python loop in the same run (the limit). The ratio of the two rates
// is printed at the end; the goal is at most 2.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "orbe/indicators/index_base.h"
#include "orbe/indicators/index_calc.h"
#include "orbe/platform/text.h"
#include "orbe/script/script_env.h"
#include "orbe/script/script_ref.h"
#include "ratio_reporter.h"

namespace {

constexpr int kSecurities = 4000;

// Growth rate over two report periods, as a user would write it.
constexpr char kGrowthScript[] =
    "def orbe_bench_growth(current, previous):\n"
    "    return (current - previous) / previous * 100.0 if previous else 0.0\n";

// Deterministic values, the same on both sides.
double CurrentValue(int i) { return 1000.0 + (i * 37) % 991; }
double PreviousValue(int i) { return 900.0 + (i * 53) % 877; }

std::string LoopScript() {
  return orbe::Format(
      "from orbe_bench_growth import orbe_bench_growth as growth\n"
      "_current = [1000.0 + (i * 37) %% 991 for i in range(%d)]\n"
      "_previous = [900.0 + (i * 53) %% 877 for i in range(%d)]\n"
      "def orbe_bench_loop():\n"
      "    for current, previous in zip(_current, _previous):\n"
      "        growth(current, previous)\n"
      "    return 0.0\n",
      kSecurities, kSecurities);
}

struct Fixture {
  std::string dir;
  UsrIndex growth;  // module and function, held as the catalogue holds them
  UsrIndex loop;
  std::vector<std::vector<vtParam>> args;  // per security, as the fetch gathers them

  Fixture() {
    std::string pattern = (std::filesystem::temp_directory_path() / "orbe-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return;
    dir = pattern;
    std::ofstream(dir + "/orbe_bench_growth.py") << kGrowthScript;
    std::ofstream(dir + "/orbe_bench_loop.py") << LoopScript();
    AddPyScriptPath(dir);
    CString err;
    if (!orbe::LoadUsrFunction("orbe_bench_growth", growth.module, growth.function, err) ||
        !orbe::LoadUsrFunction("orbe_bench_loop", loop.module, loop.function, err)) {
      std::fprintf(stderr, "script load failed: %s\n", orbe::GbkToUtf8(err).c_str());
    }
    for (int i = 0; i < kSecurities; ++i) {
      vtParam current;
      current.type = 1;
      current.dbl = CurrentValue(i);
      vtParam previous;
      previous.type = 1;
      previous.dbl = PreviousValue(i);
      args.push_back({current, previous});
    }
  }
  ~Fixture() { std::filesystem::remove_all(dir); }
};

Fixture& Bench() {
  static Fixture fixture;
  return fixture;
}

void EvaluateAll(benchmark::State& state) {
  Fixture& fixture = Bench();
  vtParam result;
  CString err;
  for (const std::vector<vtParam>& security : fixture.args) {
    if (orbe::CallUsrFunction(fixture.growth.function, security, 1, result, err) != orbe::ScriptCallResult::kValue) {
      state.SkipWithError("user indicator failed");
      return;
    }
  }
  benchmark::DoNotOptimize(result.dbl);
}

// Each evaluation takes the interpreter on its own.
void BM_UsrIndexPerCall(benchmark::State& state) {
  for (auto _ : state) EvaluateAll(state);
  state.SetItemsProcessed(state.iterations() * kSecurities);
}
BENCHMARK(BM_UsrIndexPerCall);

// The fetch evaluates a column of securities while holding the interpreter.
void BM_UsrIndexBatch(benchmark::State& state) {
  const orbe::ScriptLock lock;
  for (auto _ : state) EvaluateAll(state);
  state.SetItemsProcessed(state.iterations() * kSecurities);
}
BENCHMARK(BM_UsrIndexBatch);

void BM_PythonLoop(benchmark::State& state) {
  Fixture& fixture = Bench();
  vtParam result;
  CString err;
  for (auto _ : state) {
    if (orbe::CallUsrFunction(fixture.loop.function, {}, 1, result, err) != orbe::ScriptCallResult::kValue) {
      state.SkipWithError("python loop failed");
      return;
    }
  }
  state.SetItemsProcessed(state.iterations() * kSecurities);
}
BENCHMARK(BM_PythonLoop);

}  // namespace

int main(int argc, char** argv) {
  orbe_bench::RatioReporter reporter("BM_PythonLoop", "the plain Python loop", 2);
  return orbe_bench::RunWithRatios(argc, argv, reporter);
}
