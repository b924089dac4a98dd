// A console reporter that keeps every benchmark's item rate and prints, at
// the end, each one's time as a multiple of a reference benchmark's time.
#ifndef ORBE_BENCH_RATIO_REPORTER_H_
#define ORBE_BENCH_RATIO_REPORTER_H_

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace orbe_bench {

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  // `what` names the reference in the printed lines.
  RatioReporter(std::string reference, std::string what, double goal)
      : reference_(std::move(reference)), what_(std::move(what)), goal_(goal) {}

  // With repetitions the median of a benchmark's rates counts.
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      const auto rate = run.counters.find("items_per_second");
      if (rate == run.counters.end()) continue;
      const std::string name = run.run_name.function_name;
      if (run.run_type == Run::RT_Aggregate) {
        if (run.aggregate_name == "median") medians_[name] = rate->second.value;
      } else {
        rates_[name] = rate->second.value;
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void PrintRatios() {
    for (const auto& [name, rate] : medians_) rates_[name] = rate;
    const auto limit = rates_.find(reference_);
    if (limit == rates_.end()) return;
    for (const auto& [name, rate] : rates_) {
      if (name == limit->first || rate <= 0) continue;
      std::printf("%s: %.2f times the time of %s (goal <= %g)\n", name.c_str(), limit->second / rate, what_.c_str(),
                  goal_);
    }
  }

 private:
  std::string reference_;
  std::string what_;
  double goal_;
  std::map<std::string, double> rates_;
  std::map<std::string, double> medians_;
};

// The main of a benchmark program whose ratios are printed at the end.
inline int RunWithRatios(int argc, char** argv, RatioReporter& reporter) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}

}  // namespace orbe_bench

#endif  // ORBE_BENCH_RATIO_REPORTER_H_
