#include <benchmark/benchmark.h>

#include <string>

#include "orbe/platform/text.h"

namespace {

// A typical report line: Chinese captions mixed with numbers.
std::string SampleGbk(size_t repeats) {
  std::string text;
  for (size_t i = 0; i < repeats; ++i) text += "营业收入(万元) 123456.78 净利润 -42.5 ";
  return text;
}

void BM_GbkToUtf8(benchmark::State& state) {
  const std::string gbk = SampleGbk(static_cast<size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(orbe::GbkToUtf8(gbk));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * gbk.size()));
}
BENCHMARK(BM_GbkToUtf8)->Arg(1)->Arg(100);

void BM_Utf8ToGbk(benchmark::State& state) {
  const std::string utf8 = orbe::GbkToUtf8(SampleGbk(static_cast<size_t>(state.range(0))));
  for (auto _ : state) benchmark::DoNotOptimize(orbe::Utf8ToGbk(utf8));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * utf8.size()));
}
BENCHMARK(BM_Utf8ToGbk)->Arg(1)->Arg(100);

void BM_EqualsIgnoreAsciiCase(benchmark::State& state) {
  const std::string a = "ReportTitle_营业收入";
  const std::string b = "REPORTTITLE_营业收入";
  for (auto _ : state) benchmark::DoNotOptimize(orbe::EqualsIgnoreAsciiCase(a, b));
}
BENCHMARK(BM_EqualsIgnoreAsciiCase);

}  // namespace

BENCHMARK_MAIN();
